#include "ui/materials/CTqUiStuffListDlg.h"

#include "StuffDialogFixture.h"
#include "host/ui/CCtrlMenumGlobalSetting.h"

#include <memory>

namespace {

class CTqUiStuffListDlgTest : public StuffDialogFixture
{
protected:
    /// A dialog preset with a type name and a material as the entry functions preset it, shown.
    std::unique_ptr<CTqUiStuffListDlg> Open(const QString& typeName, const CTQTimbering& material)
    {
        auto dialog = std::make_unique<CTqUiStuffListDlg>();
        dialog->m_Type.Name = typeName;
        dialog->m_Timbering = material;
        Show(*dialog);
        return dialog;
    }
    std::unique_ptr<CTqUiStuffListDlg> OpenOn(const QString& typeName, const QString& materialName)
    {
        CTQTimbering material;
        material.SetStuffName(materialName);
        return Open(typeName, material);
    }

    /// Enabled states of the delete and modify buttons and of the host's menu items 1 to 3.
    static QList<bool> ActionStates(CTqUiStuffListDlg& dialog)
    {
        const CTQMenuItemArray* items = Tree(dialog)->GetMenItemAry();
        return {Button(dialog, "deleteButton")->isEnabled(), Button(dialog, "modifyButton")->isEnabled(),
                items->GetAt(1).bEnable, items->GetAt(2).bEnable, items->GetAt(3).bEnable};
    }
};

TEST_F(CTqUiStuffListDlgTest, OpensOnThePresetNamesAndShowsTheMaterial)
{
    const QString all = QStringLiteral("所有材质");
    const struct
    {
        const char* name;
        QString typeName;
        CTQTimbering material;
        QStringList path;
    } table[] = {
        {"type and material found", QStringLiteral("砂浆"), StoredMaterial(QStringLiteral("水泥砂浆")),
         {all, QStringLiteral("砂浆"), QStringLiteral("水泥砂浆")}},
        {"material not found: its type", QStringLiteral("砂浆"), CTQTimbering(), {all, QStringLiteral("砂浆")}},
        {"type not found: the heading", QStringLiteral("砂"), StoredMaterial(QStringLiteral("水泥砂浆")), {all}},
        {"a province's material under its province", QStringLiteral("保温"),
         StoredMaterial(QStringLiteral("EPS板"), m_Heilongjiang),
         {QStringLiteral("所有省份"), QStringLiteral("黑龙江省"), QStringLiteral("保温"), QStringLiteral("EPS板")}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        auto dialog = Open(row.typeName, row.material);
        EXPECT_EQ(CurrentTreePath(*dialog), row.path);
    }

    auto dialog = OpenOn(QStringLiteral("砂浆"), QStringLiteral("水泥砂浆"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("材质管理"));
    EXPECT_FALSE(dialog->windowIcon().isNull());
    EXPECT_EQ(GridValue(*dialog, QStringLiteral("材质类型")), QStringLiteral("砂浆"));
    EXPECT_EQ(GridValue(*dialog, QStringLiteral("材质名称")), QStringLiteral("水泥砂浆"));
    EXPECT_EQ(GridValue(*dialog, QStringLiteral("干密度(kg/m^3)")), QStringLiteral("1800"));
    EXPECT_EQ(GridValue(*dialog, QStringLiteral("导热系数(W/m*K)")), QStringLiteral("0.930"));
    EXPECT_EQ(GridValue(*dialog, QStringLiteral("比热容(kJ/kg*K)")), QStringLiteral("1.050"));
    EXPECT_EQ(Button(*dialog, "addButton")->toolTip(), QStringLiteral("添加"));
}

TEST_F(CTqUiStuffListDlgTest, NodeKindsSwitchTheButtonsAndMenuItems)
{
    auto dialog = OpenOn(QString(), QString());
    const struct
    {
        QStringList path;
        QList<bool> states; // delete, modify buttons; menu items 1 (delete), 2 (modify), 3 (common)
    } table[] = {
        {{QStringLiteral("常用材质")}, {false, false, false, false, false}},
        {{QStringLiteral("所有省份"), QStringLiteral("北京市")}, {false, false, false, false, false}},
        {{QStringLiteral("所有材质"), QStringLiteral("砌体")}, {true, false, true, false, false}},
        {{QStringLiteral("常用材质"), QStringLiteral("保温"), QStringLiteral("XPS板")}, {true, true, true, true, true}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.path.join(QLatin1Char('/')).toStdString());
        SelectTreeItem(*dialog, row.path);
        EXPECT_EQ(ActionStates(*dialog), row.states);
        EXPECT_TRUE(Button(*dialog, "addButton")->isEnabled());
    }
    EXPECT_EQ(dialog->m_bCommon, 1);
    EXPECT_EQ(Tree(*dialog)->GetMenItemAry()->GetAt(3).nID, 30014) << "the common subtree offers to cancel";
}

TEST_F(CTqUiStuffListDlgTest, AddUnderANewTypeInTheCommonSubtreeMakesACommonMaterial)
{
    // The trees leave out the types 16 to 18; they are taken, so a new type is one the trees show.
    Exec(QStringLiteral("INSERT INTO TimberingType (ID, Name) VALUES (16, '保留16'), (18, '保留18')"));
    auto dialog = OpenOn(QString(), QString());
    SelectTreeItem(*dialog, {QStringLiteral("常用材质"), QStringLiteral("保温")});
    TestHelpers::RunModal<CTqUiStuffInfoDlg>(
        [&dialog] { QTest::mouseClick(Button(*dialog, "addButton"), Qt::LeftButton); },
        [](CTqUiStuffInfoDlg& editor) {
            TypeIntoRow(editor, QStringLiteral("材质类型"), QStringLiteral("新型板材"));
            TypeIntoRow(editor, QStringLiteral("材质名称"), QStringLiteral("Board '%;--"));
            TypeIntoRow(editor, QStringLiteral("导热系数(W/m*K)"), QStringLiteral("0.0325"));
            QTest::mouseClick(Button(editor, "okButton"), Qt::LeftButton);
        });

    const CTQTimbering added = StoredMaterial(QStringLiteral("Board '%;--"));
    ASSERT_GE(added.GetID(), 1);
    EXPECT_EQ(TypeName(added.TTId), QStringLiteral("新型板材"));
    EXPECT_EQ(added.GetCommonFlag(), 1);
    EXPECT_EQ(added.GetDrXs(), 0.0325);
    EXPECT_EQ(CurrentTreePath(*dialog),
              (QStringList{QStringLiteral("常用材质"), QStringLiteral("新型板材"), QStringLiteral("Board '%;--")}));
}

TEST_F(CTqUiStuffListDlgTest, DeleteAsksNamesTheUserAndDeletesOnlyWhatNothingUses)
{
    auto dialog = OpenOn(QStringLiteral("砌体"), QStringLiteral("黏土砖"));
    QPushButton* del = Button(*dialog, "deleteButton");

    Service().QueueAnswer(QMessageBox::Cancel);
    QTest::mouseClick(del, Qt::LeftButton);
    ASSERT_EQ(Service().ShownMessages().size(), 1);
    const CTQUiService::MessageRecord& asked = Service().ShownMessages().front();
    EXPECT_EQ(asked.text, QStringLiteral("确定要删除该材质 \"黏土砖\" 吗?"));
    EXPECT_EQ(asked.icon, QMessageBox::Warning);
    EXPECT_EQ(asked.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(asked.defaultButton, QMessageBox::Cancel);
    EXPECT_EQ(StoredMaterial(QStringLiteral("黏土砖")).GetID(), m_Clay);

    Service().QueueAnswer(QMessageBox::Ok);
    Service().QueueAnswer(QMessageBox::Ok);
    QTest::mouseClick(del, Qt::LeftButton);
    EXPECT_EQ(MessagesShown().last(), QStringLiteral("围护结构 [砖墙] - [240砖墙] 用到了该材质！"));
    EXPECT_EQ(StoredMaterial(QStringLiteral("黏土砖")).GetID(), m_Clay);

    // Unused once the construction's layers no longer name it; the type stays, now empty.
    Exec(QStringLiteral("UPDATE BoundingStructure SET TIdS = ?"), {QString::number(m_Mortar)});
    Service().ClearRecords();
    Service().QueueAnswer(QMessageBox::Ok);
    Service().QueueAnswer(QMessageBox::Ok);
    QTest::mouseClick(del, Qt::LeftButton);
    EXPECT_EQ(MessagesShown().last(), QStringLiteral("删除成功！"));
    EXPECT_EQ(StoredMaterial(QStringLiteral("黏土砖")).GetID(), 0);

    // A type item with children is refused here; one without is deleted without asking, unless
    // the library still holds materials of it elsewhere.
    const struct
    {
        QStringList path;
        QString message;
        bool bTypeGone;
    } types[] = {
        {{QStringLiteral("所有材质"), QStringLiteral("砂浆")}, QStringLiteral("请先删除该类型下的材质！"), false},
        {{QStringLiteral("所有省份"), QStringLiteral("北京市"), QStringLiteral("保温")},
         QStringLiteral("请先删除该分类下的材质！"), false},
        {{QStringLiteral("所有省份"), QStringLiteral("北京市"), QStringLiteral("砌体")}, QStringLiteral("删除成功！"), true},
    };
    for (const auto& row : types) {
        SCOPED_TRACE(row.path.join(QLatin1Char('/')).toStdString());
        SelectTreeItem(*dialog, row.path);
        const int typeId = dialog->m_Type.GetID();
        Service().ClearRecords();
        Service().QueueAnswer(QMessageBox::Ok);
        QTest::mouseClick(del, Qt::LeftButton);
        EXPECT_EQ(MessagesShown(), QStringList{row.message});
        EXPECT_EQ(TypeName(typeId).isEmpty(), row.bTypeGone);
    }
}

TEST_F(CTqUiStuffListDlgTest, CommonFlagCommandMovesAMaterialInAndOutOfTheCommonList)
{
    auto dialog = OpenOn(QStringLiteral("砌体"), QStringLiteral("黏土砖"));
    ChooseFromMenu(*dialog, QStringLiteral("设为常用"));
    EXPECT_EQ(StoredMaterial(QStringLiteral("黏土砖")).GetCommonFlag(), 1);
    EXPECT_EQ(CurrentTreePath(*dialog),
              (QStringList{QStringLiteral("所有材质"), QStringLiteral("砌体"), QStringLiteral("黏土砖")}));

    SelectTreeItem(*dialog, {QStringLiteral("常用材质"), QStringLiteral("砌体"), QStringLiteral("黏土砖")});
    ChooseFromMenu(*dialog, QStringLiteral("取消常用"));
    EXPECT_EQ(StoredMaterial(QStringLiteral("黏土砖")).GetCommonFlag(), 0);
    EXPECT_EQ(CurrentTreePath(*dialog), QStringList{QStringLiteral("常用材质")}) << "no longer in the common list";
}

TEST_F(CTqUiStuffListDlgTest, OkNeedsAMaterialOnlyWhenChoosing)
{
    auto browse = OpenOn(QStringLiteral("砂浆"), QString());
    QTest::mouseClick(Button(*browse, "okButton"), Qt::LeftButton);
    EXPECT_EQ(browse->result(), QDialog::Accepted);

    CTQMateralData chosen;
    auto choose = OpenOn(QStringLiteral("砂浆"), QString());
    choose->AttachData(&chosen);
    Service().QueueAnswer(QMessageBox::Ok);
    QTest::mouseClick(Button(*choose, "okButton"), Qt::LeftButton);
    EXPECT_EQ(MessagesShown(), QStringList{QStringLiteral("请选择某一具体的材质！")});
    EXPECT_TRUE(choose->isVisible());
    EXPECT_EQ(chosen.GetStuffID(), 0);
}

} // namespace
