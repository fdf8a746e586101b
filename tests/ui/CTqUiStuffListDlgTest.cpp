#include "ui/materials/CTqUiStuffListDlg.h"

#include "DialogFixture.h"
#include "ui/materials/CTqUiStuffInfoDlg.h"
#include "ui/materials/CTqUiStuffUsageDlg.h"

#include <memory>

namespace {

class CTqUiStuffListDlgTest : public DialogFixture
{
protected:
    /// A dialog preset with a type name and a material as the entry functions preset it, shown.
    std::unique_ptr<CTqUiStuffListDlg> Open(const QString& typeName, const CTQTimbering& material = {})
    {
        auto dialog = std::make_unique<CTqUiStuffListDlg>();
        dialog->m_Type.Name = typeName;
        dialog->m_Timbering = material;
        Show(*dialog);
        return dialog;
    }
};

// Where the dialog opens for preset names, and what it shows of a material.
TEST_F(CTqUiStuffListDlgTest, OpensOnThePresetNamesAndShowsTheMaterial)
{
    const struct
    {
        const char* name;
        QString typeName;
        CTQTimbering material;
        QStringList path;
    } table[] = {
        {"material not found: its type", "砂浆", CTQTimbering(), {"所有材质", "砂浆"}},
        {"type not found: the heading", "砂", StoredMaterial("水泥砂浆"), {"所有材质"}},
        {"a province's material under its province",
         "保温",
         StoredMaterial("EPS板", m_Heilongjiang),
         {"所有省份", "黑龙江省", "保温", "EPS板"}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CurrentTreePath(*Open(row.typeName, row.material)), row.path);
    }

    auto dialog = Open("砂浆", StoredMaterial("水泥砂浆"));
    EXPECT_EQ(CurrentTreePath(*dialog), (QStringList{"所有材质", "砂浆", "水泥砂浆"}));
    QStringList shown;
    for (const char* caption : {"材质类型", "材质名称", "干密度(kg/m^3)", "导热系数(W/m*K)", "比热容(kJ/kg*K)"})
        shown.append(GridValue(*dialog, QString::fromUtf8(caption)));
    EXPECT_EQ(shown, (QStringList{"砂浆", "水泥砂浆", "1800", "0.930", "1.050"}));
}

TEST_F(CTqUiStuffListDlgTest, AddUnderANewTypeInTheCommonSubtreeMakesACommonMaterial)
{
    // The trees leave out the types 16 to 18; they are taken, so a new type is one the trees show.
    Exec("INSERT INTO TimberingType (ID, Name) VALUES (16, '保留16'), (18, '保留18')");
    auto dialog = Open({});
    ClickTreeItem(*dialog, {"常用材质", "保温"});
    TestHelpers::RunModal<CTqUiStuffInfoDlg>([&dialog] { Click(*dialog, "addButton"); },
                                             [](CTqUiStuffInfoDlg& editor) {
                                                 TypeIntoRow(editor, "材质类型", "新型板材");
                                                 TypeIntoRow(editor, "材质名称", "Board '%;--");
                                                 TypeIntoRow(editor, "导热系数(W/m*K)", "0.0325");
                                                 Click(editor, "okButton");
                                             });
    const CTQTimbering added = StoredMaterial("Board '%;--");
    ASSERT_GE(added.GetID(), 1);
    EXPECT_EQ(TypeName(added.TTId), "新型板材");
    EXPECT_EQ(added.GetCommonFlag(), 1);
    EXPECT_EQ(added.GetDrXs(), 0.0325);
    EXPECT_EQ(CurrentTreePath(*dialog), (QStringList{"常用材质", "新型板材", "Board '%;--"}));
}

TEST_F(CTqUiStuffListDlgTest, DeleteAsksNamesTheUserAndDeletesOnlyWhatNothingUses)
{
    auto dialog = Open("砌体", StoredMaterial("黏土砖"));
    Service().QueueAnswer(QMessageBox::Cancel);
    Click(*dialog, "deleteButton");
    ASSERT_EQ(MessagesShown(), QStringList{"确定要删除该材质 \"黏土砖\" 吗?"});
    EXPECT_EQ(Service().ShownMessages().front().defaultButton, QMessageBox::Cancel);
    EXPECT_EQ(StoredMaterial("黏土砖").GetID(), m_Clay);

    Answer({QMessageBox::Ok, QMessageBox::Ok});
    Click(*dialog, "deleteButton");
    EXPECT_EQ(MessagesShown().last(), "围护结构 [砖墙] - [240砖墙] 用到了该材质！");
    EXPECT_EQ(StoredMaterial("黏土砖").GetID(), m_Clay);

    // Unused once the construction's layers no longer name it; the type stays, now empty.
    Exec("UPDATE BoundingStructure SET TIdS = ?", {QString::number(m_Mortar)});
    Answer({QMessageBox::Ok, QMessageBox::Ok});
    Click(*dialog, "deleteButton");
    EXPECT_EQ(MessagesShown().last(), "删除成功！");
    EXPECT_EQ(StoredMaterial("黏土砖").GetID(), 0);

    // A type item with children is refused here; one without is deleted without asking, unless
    // the library still holds materials of it elsewhere.
    const struct
    {
        QStringList path;
        QString message;
        bool bTypeGone;
    } types[] = {
        {{"所有材质", "砂浆"}, "请先删除该类型下的材质！", false},
        {{"所有省份", "北京市", "保温"}, "请先删除该分类下的材质！", false},
        {{"所有省份", "北京市", "砌体"}, "删除成功！", true},
    };
    for (const auto& row : types) {
        SCOPED_TRACE(row.path.join(QLatin1Char('/')).toStdString());
        ClickTreeItem(*dialog, row.path);
        const int typeId = dialog->m_Type.GetID();
        Answer({QMessageBox::Ok});
        Click(*dialog, "deleteButton");
        EXPECT_EQ(MessagesShown(), QStringList{row.message});
        EXPECT_EQ(TypeName(typeId).isEmpty(), row.bTypeGone);
    }
}

TEST_F(CTqUiStuffListDlgTest, CommonFlagCommandMovesAMaterialInAndOutOfTheCommonList)
{
    auto dialog = Open("砌体", StoredMaterial("黏土砖"));
    EXPECT_TRUE(ChooseFromMenu(*Tree(*dialog), Tree(*dialog)->currentItem(), "设为常用").contains("设为常用"));
    EXPECT_EQ(StoredMaterial("黏土砖").GetCommonFlag(), 1);
    EXPECT_EQ(CurrentTreePath(*dialog), (QStringList{"所有材质", "砌体", "黏土砖"}));

    ClickTreeItem(*dialog, {"常用材质", "砌体", "黏土砖"});
    EXPECT_TRUE(ChooseFromMenu(*Tree(*dialog), Tree(*dialog)->currentItem(), "取消常用").contains("取消常用"));
    EXPECT_EQ(StoredMaterial("黏土砖").GetCommonFlag(), 0);
    EXPECT_EQ(CurrentTreePath(*dialog), QStringList{"常用材质"}) << "no longer in the common list";
}

// 水泥砂浆 is layers 1 and 3 of 240砖墙 and layer 2 of 北方保温墙. A list naming material 1212
// (not 12), a layer set without its construction and a construction whose type is gone do not
// use it. A double click opens the construction in the construction library.
TEST_F(CTqUiStuffListDlgTest, UsageListsEveryConstructionWithItsLayersAndOpensOne)
{
    const QString mortar = QString::number(m_Mortar);
    AddLayers(m_NorthWall, QStringLiteral("%1,%2").arg(m_Clay).arg(m_Mortar), "240,20", "1,1");
    AddLayers(m_Brick370, mortar + mortar, "370", "1");
    AddLayers(99999, mortar, "20", "1");
    AddLayers(AddCode(QStringLiteral("孤立墙"), 99999, 0, 0), mortar, "20", "1");

    auto dialog = Open("砂浆", StoredMaterial("水泥砂浆"));
    ClickTreeItem(*dialog, {"所有材质", "砂浆"});
    EXPECT_FALSE(Button(*dialog, "usageButton")->isEnabled()) << "a type is no material";
    ClickTreeItem(*dialog, {"所有材质", "砂浆", "水泥砂浆"});
    ASSERT_TRUE(Button(*dialog, "usageButton")->isEnabled());

    TestHelpers::RunModal<CTqUiStuffUsageDlg>(
        [&] { Click(*dialog, "usageButton"); },
        [this](CTqUiStuffUsageDlg& usage) {
            auto* list = usage.findChild<CTqUiReportControl*>("usageList");
            ASSERT_EQ(list->RowCount(), 2);
            EXPECT_EQ(list->GetRowTexts(0), (QStringList{"外墙", "砖墙", "240砖墙", "全国", "1、3"}));
            EXPECT_EQ(list->GetRowTexts(1), (QStringList{"外墙", "保温墙", "北方保温墙", "黑龙江省", "2"}));
            const QPoint first = TestHelpers::CellCenter(*list, list->topLevelItem(0), 2);
            TestHelpers::RunModal<CTqUiBSListDlg>(
                [&] {
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
                    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
                },
                [this](CTqUiBSListDlg& library) {
                    EXPECT_EQ(library.m_Code.GetID(), m_Brick240);
                    EXPECT_EQ(CurrentTreePath(library), (QStringList{"所有围护结构", "外墙", "砖墙"}));
                    library.reject();
                });
            QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, first);
            usage.reject();
        });

    const auto uses = CTQMaterialUsage::Find(m_Clay);
    ASSERT_TRUE(uses.has_value());
    ASSERT_EQ(uses->size(), 2);
    EXPECT_EQ(uses->at(0).Layers, QList<int>{2});
}

TEST_F(CTqUiStuffListDlgTest, OkNeedsAMaterialOnlyWhenChoosing)
{
    auto browse = Open("砂浆");
    Click(*browse, "okButton");
    EXPECT_EQ(browse->result(), QDialog::Accepted);

    CTQMateralData chosen;
    auto choose = Open("砂浆");
    choose->AttachData(&chosen);
    Service().QueueAnswer(QMessageBox::Ok);
    Click(*choose, "okButton");
    EXPECT_EQ(MessagesShown(), QStringList{"请选择某一具体的材质！"});
    EXPECT_TRUE(choose->isVisible());
    EXPECT_EQ(chosen.GetStuffID(), 0);
}

} // namespace
