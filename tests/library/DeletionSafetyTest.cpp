// Deletions that are all-or-nothing, reference checks that see every layer set and only live
// ones, and demo pictures that go with their construction or type.
#include "host/core/CTQEnviroment.h"
#include "host/core/CTQUserWork.h"
#include "ManagerFixture.h"

#include <QDir>
#include <QFile>

class DeletionSafetyTest : public ManagerFixture
{
protected:
    bool RowExists(const QString& table, int id)
    {
        CADORecordset rows;
        EXPECT_TRUE(rows.Open(Db(), QStringLiteral("SELECT ID FROM %1 WHERE ID = ?").arg(table), {id}));
        return rows.GetRecordCount() > 0;
    }
    int LayerSets(int codeId)
    {
        CADORecordset rows;
        EXPECT_TRUE(rows.Open(Db(), QStringLiteral("SELECT ID FROM BoundingStructure WHERE BSCId = ?"), {codeId}));
        return static_cast<int>(rows.GetRecordCount());
    }
    /// Writes an (empty) picture file for the construction, as the editor stores one.
    QString MakePicture(int typeId, int codeId)
    {
        CTQBSType type;
        CTQBSCode code;
        EXPECT_TRUE(type.ReadData(typeId, nullptr));
        EXPECT_TRUE(code.ReadData(codeId, nullptr));
        const QString path = m_Admin.GetBSDemoBMPPath(type, code);
        EXPECT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }
};

TEST_F(DeletionSafetyTest, AFailedStepDeletesNothing)
{
    // The layer sets cannot be deleted: the construction stays with them.
    Exec(QStringLiteral("ALTER TABLE BoundingStructure RENAME TO BoundingStructureGone"));
    CTQBSCode code;
    code.SetID(m_Brick240);
    QString message;
    CTQUiService::Instance().QueueAnswer(QMessageBox::Ok);
    EXPECT_EQ(m_Admin.DeleteBSCode(code, message), 1);
    EXPECT_EQ(message, QStringLiteral("删除表 \"BoundingStructure\" 时出错！"));
    EXPECT_TRUE(RowExists(QStringLiteral("BSCode"), m_Brick240));
    Exec(QStringLiteral("ALTER TABLE BoundingStructureGone RENAME TO BoundingStructure"));

    // The constructions of a type cannot be read: the type stays with all of them.
    Exec(QStringLiteral("ALTER TABLE BSCode RENAME TO BSCodeGone"));
    CTQBSType type;
    type.SetID(m_Brick);
    CTQUiService::Instance().QueueAnswer(QMessageBox::Ok);
    EXPECT_EQ(m_Admin.DeleteBSType(type), 0);
    EXPECT_EQ(CTQUiService::Instance().ShownMessages().last().icon, QMessageBox::Critical);
    Exec(QStringLiteral("ALTER TABLE BSCodeGone RENAME TO BSCode"));
    EXPECT_TRUE(RowExists(QStringLiteral("BSType"), m_Brick));
    EXPECT_TRUE(RowExists(QStringLiteral("BSCode"), m_Brick370));
    EXPECT_EQ(LayerSets(m_Brick240), 1);
}

TEST_F(DeletionSafetyTest, AMaterialCheckSeesEveryLiveLayerSetAndNoOrphan)
{
    // An orphaned layer set (its construction is gone) comes first, a live one after it.
    const int eps = m_Eps;
    Exec(QStringLiteral("INSERT INTO BoundingStructure (BSCId, TIdS, HouDuS, XzXsS) VALUES (99999, ?, '80', '1')"),
         {QString::number(eps)});
    CTQTimbering material;
    material.SetID(eps);
    QString message;
    EXPECT_EQ(m_Admin.DeleteTimbering(material, message), 0) << "only an orphan names it";
    EXPECT_FALSE(RowExists(QStringLiteral("Timbering"), eps));

    AddLayers(m_NorthWall, QStringLiteral("%1,%2").arg(m_Mortar).arg(m_Xps), QStringLiteral("20,80"), QStringLiteral("1,1"));
    Exec(QStringLiteral("INSERT INTO BoundingStructure (BSCId, TIdS, HouDuS, XzXsS) VALUES (99998, ?, '80', '1')"),
         {QString::number(m_Xps)});
    Exec(QStringLiteral("UPDATE BoundingStructure SET ID = ID + 1000 WHERE BSCId = ?"), {m_NorthWall});
    material.SetID(m_Xps);
    CTQUiService::Instance().QueueAnswer(QMessageBox::Ok);
    EXPECT_EQ(m_Admin.DeleteTimbering(material, message), 5);
    EXPECT_EQ(MessagesShown(), QStringList{QStringLiteral("围护结构 [保温墙] - [北方保温墙] 用到了该材质！")});
    EXPECT_TRUE(RowExists(QStringLiteral("Timbering"), m_Xps));
}

TEST_F(DeletionSafetyTest, PicturesGoWithTheirConstructionAndType)
{
    const QString brick370 = MakePicture(m_Brick, m_Brick370);
    QString message;
    CTQBSCode code;
    code.SetID(m_Brick370);
    ASSERT_EQ(m_Admin.DeleteBSCode(code, message), 0);
    EXPECT_FALSE(QFile::exists(brick370));
    const int again = AddCode(QStringLiteral("370砖墙"), m_Brick, 0, 0);
    CTQBSType type;
    ASSERT_TRUE(type.ReadData(m_Brick, nullptr));
    CTQBSCode newer;
    ASSERT_TRUE(newer.ReadData(again, nullptr));
    EXPECT_FALSE(QFile::exists(m_Admin.GetBSDemoBMPPath(type, newer))) << "a new construction shows no old picture";

    // A picture that a construction of the same name in a province still shows stays.
    const int beijing = AddCode(QStringLiteral("370砖墙"), m_Brick, m_Beijing, 0);
    MakePicture(m_Brick, again);
    code.SetID(beijing);
    ASSERT_EQ(m_Admin.DeleteBSCode(code, message), 0);
    EXPECT_TRUE(QFile::exists(brick370));

    const QString brick240 = MakePicture(m_Brick, m_Brick240);
    ASSERT_EQ(m_Admin.DeleteBSType(type), 1);
    EXPECT_FALSE(QFile::exists(brick240));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(brick240).absolutePath()));
    EXPECT_TRUE(QFileInfo::exists(CTQUserWork::GetUserWork()->GetWallBmpDir())) << "the picture folder stays";
}

TEST_F(DeletionSafetyTest, PictureNamesNeverShareAFile)
{
    CTQBSType type;
    CTQBSCode slash, underscore;
    type.Name = QStringLiteral("a");
    slash.Name = QStringLiteral("a/b");
    underscore.Name = QStringLiteral("a_b");
    EXPECT_NE(m_Admin.GetBSDemoBMPPath(type, slash), m_Admin.GetBSDemoBMPPath(type, underscore));
    CTQBSType unnamed;
    const QString path = m_Admin.GetBSDemoBMPPath(unnamed, slash);
    EXPECT_FALSE(path.contains(QStringLiteral("//"))) << path.toStdString();
    EXPECT_NE(m_Admin.GetBSTDemoBMPPath(unnamed), CTQEnviroment::GetEnviroment()->GetWallBmpDir() + QStringLiteral(".jpg"));
}
