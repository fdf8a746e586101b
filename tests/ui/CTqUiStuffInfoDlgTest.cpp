#include "ui/materials/CTqUiStuffInfoDlg.h"

#include "StuffDialogFixture.h"

#include <QLabel>

#include <memory>

namespace {

class CTqUiStuffInfoDlgTest : public StuffDialogFixture
{
protected:
    /// An editor for a new material of type `typeName` in `provinceId`, shown.
    std::unique_ptr<CTqUiStuffInfoDlg> OpenToAdd(const QString& typeName, int provinceId = 0)
    {
        auto editor = std::make_unique<CTqUiStuffInfoDlg>();
        editor->m_nMode = 1;
        editor->m_Type.Name = typeName;
        if (provinceId > 0)
            editor->m_Province.ReadData(provinceId, nullptr);
        Show(*editor);
        return editor;
    }

    /// An editor for the stored material of that name (national), shown.
    std::unique_ptr<CTqUiStuffInfoDlg> OpenToModify(const QString& materialName, int provinceId = 0)
    {
        auto editor = std::make_unique<CTqUiStuffInfoDlg>();
        editor->m_nMode = 2;
        editor->m_Timbering = StoredMaterial(materialName, provinceId);
        editor->m_Type.ReadData(editor->m_Timbering.TTId, nullptr);
        Show(*editor);
        return editor;
    }

    static void PressOk(CTqUiStuffInfoDlg& editor) { QTest::mouseClick(Button(editor, "okButton"), Qt::LeftButton); }
};

TEST_F(CTqUiStuffInfoDlgTest, TitleAndButtonFollowTheMode)
{
    auto add = OpenToAdd(QStringLiteral("砂浆"));
    EXPECT_EQ(add->windowTitle(), QStringLiteral("添加材质信息"));
    EXPECT_EQ(Button(*add, "okButton")->text(), QStringLiteral("添加"));
    EXPECT_EQ(GridValue(*add, QStringLiteral("材质类型")), QStringLiteral("砂浆"));

    auto modify = OpenToModify(QStringLiteral("水泥砂浆"));
    EXPECT_EQ(modify->windowTitle(), QStringLiteral("修改:[砂浆]/[水泥砂浆]"));
    EXPECT_EQ(Button(*modify, "okButton")->text(), QStringLiteral("修改"));
    EXPECT_EQ(GridValue(*modify, QStringLiteral("导热系数(W/m*K)")), QStringLiteral("0.930"));
}

TEST_F(CTqUiStuffInfoDlgTest, BlankNamesAreRefusedAndNamesAreStoredTrimmed)
{
    auto editor = OpenToAdd(QStringLiteral("   "));
    Service().QueueAnswer(QMessageBox::Ok);
    PressOk(*editor);
    EXPECT_EQ(MessagesShown(), QStringList{QStringLiteral("请输入材质的类型！")});
    EXPECT_EQ(Grid(*editor)->GetRowCaption(Grid(*editor)->GetSelectedRow()), QStringLiteral("材质类型"));

    TypeIntoRow(*editor, QStringLiteral("材质类型"), QStringLiteral(" 木材 "));
    TypeIntoRow(*editor, QStringLiteral("材质名称"), QStringLiteral("  "));
    Service().ClearRecords();
    Service().QueueAnswer(QMessageBox::Ok);
    PressOk(*editor);
    EXPECT_EQ(MessagesShown(), QStringList{QStringLiteral("请输入材质的名称！")});
    EXPECT_EQ(Grid(*editor)->GetRowCaption(Grid(*editor)->GetSelectedRow()), QStringLiteral("材质名称"));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->m_bChanged, 0);

    TypeIntoRow(*editor, QStringLiteral("材质名称"), QStringLiteral(" 松木 "));
    PressOk(*editor);
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(editor->m_bChanged, 1);
    const CTQTimbering stored = StoredMaterial(QStringLiteral("松木"));
    EXPECT_EQ(TypeName(stored.TTId), QStringLiteral("木材"));
    EXPECT_EQ(editor->m_Type.GetID(), stored.TTId);
}

TEST_F(CTqUiStuffInfoDlgTest, ANameIsUniquePerProvinceWhateverTheType)
{
    // Same province (national), typed under another type: refused, naming the stored one's type;
    // the type row was written all the same.
    auto editor = OpenToAdd(QStringLiteral("新砂浆类"));
    TypeIntoRow(*editor, QStringLiteral("材质名称"), QStringLiteral("水泥砂浆"));
    TypeIntoRow(*editor, QStringLiteral("干密度(kg/m^3)"), QStringLiteral("1700"));
    Service().QueueAnswer(QMessageBox::Ok);
    PressOk(*editor);
    ASSERT_EQ(Service().ShownMessages().size(), 1);
    EXPECT_EQ(Service().ShownMessages().front().text, QStringLiteral("该名称的材质已经存在！\r\n[砂浆] - [水泥砂浆]"));
    EXPECT_EQ(Service().ShownMessages().front().icon, QMessageBox::Warning);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(GridValue(*editor, QStringLiteral("干密度(kg/m^3)")), QStringLiteral("1700")) << "the input stays";
    EXPECT_EQ(editor->m_bChanged, 1);
    EXPECT_GE(CTQTimberingType::HasTimberingType(QStringLiteral("新砂浆类"), nullptr), 1);

    // Another province: a material of its own, under the existing type of that name.
    auto province = OpenToAdd(QStringLiteral("砂浆"), m_Beijing);
    TypeIntoRow(*province, QStringLiteral("材质名称"), QStringLiteral("水泥砂浆"));
    PressOk(*province);
    const CTQTimbering beijing = StoredMaterial(QStringLiteral("水泥砂浆"), m_Beijing);
    ASSERT_GE(beijing.GetID(), 1);
    EXPECT_NE(beijing.GetID(), m_Mortar);
    EXPECT_EQ(beijing.TTId, m_MortarType);
}

TEST_F(CTqUiStuffInfoDlgTest, ModifyRenamesTheTypeOrMovesTheMaterial)
{
    // A name no other type has renames the type for all its materials.
    auto rename = OpenToModify(QStringLiteral("黏土砖"));
    TypeIntoRow(*rename, QStringLiteral("材质类型"), QStringLiteral("砖砌体"));
    PressOk(*rename);
    EXPECT_EQ(TypeName(m_MasonryType), QStringLiteral("砖砌体"));
    EXPECT_EQ(StoredMaterial(QStringLiteral("黏土砖")).TTId, m_MasonryType);

    // Another type's name moves the material to that type; that type is not renamed.
    auto move = OpenToModify(QStringLiteral("黏土砖"));
    TypeIntoRow(*move, QStringLiteral("材质类型"), QStringLiteral("保温"));
    PressOk(*move);
    EXPECT_EQ(StoredMaterial(QStringLiteral("黏土砖")).TTId, m_InsulationType);
    EXPECT_EQ(TypeName(m_MasonryType), QStringLiteral("砖砌体"));
    EXPECT_EQ(move->m_Type.GetID(), m_InsulationType);
}

TEST_F(CTqUiStuffInfoDlgTest, ValuesAreStoredAsTypedAndUneditedOnesKeepTheirPrecision)
{
    Exec(QStringLiteral("UPDATE Timbering SET DrXs = ?, BRr = ? WHERE ID = ?"), {0.0325, 1.3804, m_Eps});
    auto editor = OpenToModify(QStringLiteral("EPS板"), m_Heilongjiang);
    auto* warning = editor->findChild<QLabel*>(QStringLiteral("warningLabel"));
    EXPECT_FALSE(warning->isVisible());

    TypeIntoRow(*editor, QStringLiteral("材质名称"), QStringLiteral("EPS板(20)"));
    TypeIntoRow(*editor, QStringLiteral("干密度(kg/m^3)"), QStringLiteral("-5"));
    TypeIntoRow(*editor, QStringLiteral("导热系数(W/m*K)"), QStringLiteral("0"));
    EXPECT_TRUE(warning->isVisible()) << "constructions using it cannot be evaluated";
    PressOk(*editor);

    const CTQTimbering stored = StoredMaterial(QStringLiteral("EPS板(20)"), m_Heilongjiang);
    ASSERT_EQ(stored.GetID(), m_Eps);
    EXPECT_EQ(stored.GetGMD(), -5.0);
    EXPECT_EQ(stored.GetDrXs(), 0.0);
    EXPECT_EQ(stored.GetBRr(), 1.3804) << "shown as 1.380, not edited";
}

} // namespace
