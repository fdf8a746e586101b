#include "ui/materials/CTqUiStuffInfoDlg.h"

#include "DialogFixture.h"
#include "library/CTQTimberingVapour.h"

#include <QLabel>

#include <memory>

namespace {

class CTqUiStuffInfoDlgTest : public DialogFixture
{
protected:
    /// An editor for a new material of type `name` (mode 1) or for the stored material `name`
    /// (mode 2), in province `provinceId`, shown.
    std::unique_ptr<CTqUiStuffInfoDlg> Open(int mode, const QString& name, int provinceId = 0)
    {
        auto editor = std::make_unique<CTqUiStuffInfoDlg>();
        editor->m_nMode = mode;
        editor->m_Type.Name = name;
        if (mode == 2) {
            editor->m_Timbering = StoredMaterial(name, provinceId);
            editor->m_Type.ReadData(editor->m_Timbering.TTId, nullptr);
        } else if (provinceId > 0) {
            editor->m_Province.ReadData(provinceId, nullptr);
        }
        Show(*editor);
        return editor;
    }
};

// Blank names are refused, names are stored trimmed, and a name is unique per province whatever
// the type.
TEST_F(CTqUiStuffInfoDlgTest, NameRules)
{
    auto editor = Open(1, "   ");
    Service().QueueAnswer(QMessageBox::Ok);
    Click(*editor, "okButton");
    EXPECT_EQ(MessagesShown(), QStringList{"请输入材质的类型！"});
    EXPECT_EQ(Grid(*editor)->GetRowCaption(Grid(*editor)->GetSelectedRow()), "材质类型");

    TypeIntoRow(*editor, "材质类型", " 木材 ");
    TypeIntoRow(*editor, "材质名称", "  ");
    Answer({QMessageBox::Ok});
    Click(*editor, "okButton");
    EXPECT_EQ(MessagesShown(), QStringList{"请输入材质的名称！"});
    EXPECT_EQ(Grid(*editor)->GetRowCaption(Grid(*editor)->GetSelectedRow()), "材质名称");
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->m_bChanged, 0);

    TypeIntoRow(*editor, "材质名称", " 松木 ");
    Click(*editor, "okButton");
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(editor->m_bChanged, 1);
    const CTQTimbering stored = StoredMaterial("松木");
    EXPECT_EQ(TypeName(stored.TTId), "木材");
    EXPECT_EQ(editor->m_Type.GetID(), stored.TTId);

    // Same province (national), typed under another type: refused, naming the stored one's type;
    // the type row was written all the same.
    auto same = Open(1, "新砂浆类");
    TypeIntoRow(*same, "材质名称", "水泥砂浆");
    TypeIntoRow(*same, "干密度(kg/m^3)", "1700");
    Answer({QMessageBox::Ok});
    Click(*same, "okButton");
    EXPECT_EQ(MessagesShown(), QStringList{"该名称的材质已经存在！\r\n[砂浆] - [水泥砂浆]"});
    EXPECT_TRUE(same->isVisible());
    EXPECT_EQ(GridValue(*same, "干密度(kg/m^3)"), "1700") << "the input stays";
    EXPECT_EQ(same->m_bChanged, 1);
    EXPECT_GE(CTQTimberingType::HasTimberingType("新砂浆类", nullptr), 1);

    // Another province: a material of its own, under the existing type of that name.
    auto province = Open(1, "砂浆", m_Beijing);
    TypeIntoRow(*province, "材质名称", "水泥砂浆");
    Click(*province, "okButton");
    const CTQTimbering beijing = StoredMaterial("水泥砂浆", m_Beijing);
    ASSERT_GE(beijing.GetID(), 1);
    EXPECT_NE(beijing.GetID(), m_Mortar);
    EXPECT_EQ(beijing.TTId, m_MortarType);
}

TEST_F(CTqUiStuffInfoDlgTest, ModifyRenamesTheTypeOrMovesTheMaterial)
{
    // A name no other type has renames the type for all its materials.
    auto rename = Open(2, "黏土砖");
    TypeIntoRow(*rename, "材质类型", "砖砌体");
    Click(*rename, "okButton");
    EXPECT_EQ(TypeName(m_MasonryType), "砖砌体");
    EXPECT_EQ(StoredMaterial("黏土砖").TTId, m_MasonryType);

    // Another type's name moves the material to that type; that type is not renamed.
    auto move = Open(2, "黏土砖");
    TypeIntoRow(*move, "材质类型", "保温");
    Click(*move, "okButton");
    EXPECT_EQ(StoredMaterial("黏土砖").TTId, m_InsulationType);
    EXPECT_EQ(TypeName(m_MasonryType), "砖砌体");
    EXPECT_EQ(move->m_Type.GetID(), m_InsulationType);
}

TEST_F(CTqUiStuffInfoDlgTest, ValuesAreStoredAsTypedAndUneditedOnesKeepTheirPrecision)
{
    Exec("UPDATE Timbering SET DrXs = ?, BRr = ? WHERE ID = ?", {0.0325, 1.3804, m_Eps});
    auto editor = Open(2, "EPS板", m_Heilongjiang);
    EXPECT_EQ(GridValue(*editor, "比热容(kJ/kg*K)"), "1.380");
    auto* warning = Find<QLabel>(*editor, "warningLabel");
    EXPECT_FALSE(warning->isVisible());

    TypeIntoRow(*editor, "材质名称", "EPS板(20)");
    TypeIntoRow(*editor, "干密度(kg/m^3)", "-5");
    TypeIntoRow(*editor, "导热系数(W/m*K)", "0");
    EXPECT_TRUE(warning->isVisible()) << "constructions using it cannot be evaluated";
    Click(*editor, "okButton");

    const CTQTimbering stored = StoredMaterial("EPS板(20)", m_Heilongjiang);
    ASSERT_EQ(stored.GetID(), m_Eps);
    EXPECT_EQ(stored.GetGMD(), -5.0);
    EXPECT_EQ(stored.GetDrXs(), 0.0);
    EXPECT_EQ(stored.GetBRr(), 1.3804) << "shown as 1.380, not edited";
}

// The vapour permeability is optional: shown when stored, refused when it is no positive number,
// stored when typed and removed when cleared; the material's other values are saved either way.
TEST_F(CTqUiStuffInfoDlgTest, VapourPermeabilityIsOptional)
{
    auto editor = Open(2, "EPS板", m_Heilongjiang);
    auto* vapour = Find<QLineEdit>(*editor, "vapourEdit");
    EXPECT_TRUE(vapour->text().isEmpty());
    vapour->setText("-1");
    Answer({QMessageBox::Ok});
    Click(*editor, "okButton");
    EXPECT_EQ(MessagesShown(), QStringList{"蒸汽渗透系数应为正数，或留空表示无数据！"});
    EXPECT_TRUE(std::isnan(CTQTimberingVapour::Read(m_Eps)));
    vapour->setText(" 0.0000162 ");
    Click(*editor, "okButton");
    EXPECT_EQ(CTQTimberingVapour::Read(m_Eps), 0.0000162);

    editor = Open(2, "EPS板", m_Heilongjiang);
    vapour = Find<QLineEdit>(*editor, "vapourEdit");
    EXPECT_EQ(vapour->text(), "1.62e-05");
    vapour->clear();
    Click(*editor, "okButton");
    EXPECT_TRUE(std::isnan(CTQTimberingVapour::Read(m_Eps)));
}

} // namespace
