// Exchange files from the construction library: the chosen construction exported with its picture,
// and a file imported after its preview, new or in conflict with what the library holds.
#include "ui/library/CTqUiBSExchangeDlg.h"

#include "DialogFixture.h"

#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPlainTextEdit>

using CTqUiBSExchangeDlgTest = DialogFixture;

TEST_F(CTqUiBSExchangeDlgTest, AnExportedConstructionComesBackWithItsLayersAndPicture)
{
    const QString picture = CodePicturePath("砖墙", "240砖墙");
    WritePicture(picture, Qt::blue);
    QFile pictureFile(picture);
    ASSERT_TRUE(pictureFile.open(QIODevice::ReadOnly));
    const QByteArray pictureBytes = pictureFile.readAll();
    pictureFile.close();
    CTQBoundingStructure source;
    m_Admin.GetBS(source, m_Brick240);

    auto dialog = OpenOnCode(m_Brick240);
    const QString file = m_Folder.filePath("240.json");
    Answer({QMessageBox::Ok});
    Service().QueueFileAnswer(file);
    Click(*dialog, "exportButton");
    EXPECT_EQ(MessagesShown(), QStringList{"已导出到 " + file});
    QFile exported(file);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    const QJsonArray constructions = QJsonDocument::fromJson(exported.readAll())["constructions"].toArray();
    ASSERT_EQ(constructions.size(), 1) << "the chosen construction only";
    EXPECT_EQ(constructions[0]["name"].toString(), "240砖墙");

    // The construction gone from the library, then imported from the file.
    Exec("DELETE FROM BoundingStructure WHERE BSCId = ?", {m_Brick240});
    Exec("DELETE FROM BSCode WHERE ID = ?", {m_Brick240});
    ASSERT_TRUE(QFile::remove(picture));
    const auto import = [&](const std::function<void(CTqUiBSExchangeDlg&)>& answer) {
        Answer({});
        Service().QueueFileAnswer(file);
        TestHelpers::RunModal<CTqUiBSExchangeDlg>(
            [&] {
                Click(*dialog, "importButton");
                return 0;
            },
            answer);
    };
    import([](CTqUiBSExchangeDlg& preview) {
        const QString plan = preview.findChild<QPlainTextEdit*>("planText")->toPlainText();
        EXPECT_TRUE(plan.contains("将新增（1）：\n    围护结构“240砖墙”")) << plan.toStdString();
        EXPECT_FALSE(preview.findChild<QComboBox*>("policyBox")->isEnabled()) << "nothing in conflict";
        preview.accept();
    });
    EXPECT_EQ(Names(*List(*dialog)), (QStringList{"370砖墙", "240砖墙"})) << "the tree and list show it";
    CTQBSCode code;
    code.Name = "240砖墙";
    code.BSTId = m_Brick;
    ASSERT_EQ(code.IsExist(nullptr), TQLoad::DBS_Exist);
    CTQBoundingStructure layers;
    m_Admin.GetBS(layers, code.GetID());
    EXPECT_EQ(QStringList({layers.TIdS, layers.HouDuS, layers.XzXsS}), QStringList({source.TIdS, "20,240,20", "1,1,1"}));
    ASSERT_TRUE(pictureFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(pictureFile.readAll(), pictureBytes);

    // Changed in the library: the preview names the conflict, and replace restores the file's layers.
    Exec("UPDATE BoundingStructure SET HouDuS = '20,300,20' WHERE BSCId = ?", {code.GetID()});
    import([](CTqUiBSExchangeDlg& preview) {
        auto* policy = preview.findChild<QComboBox*>("policyBox");
        EXPECT_TRUE(policy->isEnabled());
        EXPECT_TRUE(preview.findChild<QPlainTextEdit*>("planText")->toPlainText().contains("库中同名而内容不同（1）"));
        policy->setCurrentIndex(2);
        preview.accept();
    });
    m_Admin.GetBS(layers, code.GetID());
    EXPECT_EQ(layers.HouDuS, "20,240,20");
    EXPECT_EQ(Names(*List(*dialog)), (QStringList{"370砖墙", "240砖墙"}));
}
