#include "ui/query/CTqUiBSQueryDlg.h"

#include "host/db/CTQDBGlobalSetting.h"
#include "host/ui/CTqUiReportControl.h"
#include "library/ManagerFixture.h"
#include "support/QtTestHelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

/// The small library of ManagerFixture with its categories in the order of the fixed kinds
/// (外墙, 内墙, 屋面, 楼板, 门, 窗), and constructions of one layer whose summer K is known
/// exactly when the surface coefficients are αi = αe = 10 W/(m²·K), so 1/αi + 1/αe = 0.2:
///
/// | construction | type | layer | K = 1/(0.2 + d/λ) |
/// |---|---|---|---|
/// | K1.8墙 | 砖墙 (外墙) | 48 mm, λ 0.135 | 1/(0.2 + 0.35556) = 1.8 (evaluates to 1.8000000000000003) |
/// | K1.80001墙 | 砖墙 (外墙) | 48 mm, λ 0.13500117187866215 | 1.80001 |
/// | K1.0屋面 | 平屋面 (屋面) | 48 mm, λ 0.06 | 1/(0.2 + 0.8) = 1.0 exactly |
/// | K1.5门 | 木门 (门) | 48 mm, λ 0.048/(1/1.5 − 0.2) | 1.5 |
/// | 缺厚度墙 | 砖墙 (外墙) | thickness missing | not a number |
///
/// The fixture's own constructions are out of [1, 1.8]: 240砖墙 1.855, those without layers
/// 1/0.2 = 5; 北方保温墙 belongs to a province and is never searched.
class CTqUiBSQueryDlgTest : public ManagerFixture
{
protected:
    void SetUp() override
    {
        ManagerFixture::SetUp();
        Exec(QStringLiteral("UPDATE BSDaLei SET OrderId = 1 WHERE ID = ?"), {m_Wall});
        Exec(QStringLiteral("UPDATE BSDaLei SET OrderId = 3 WHERE ID = ?"), {m_Roof});
        Exec(QStringLiteral("UPDATE BSDaLei SET OrderId = 5 WHERE ID = ?"), {m_Door});
        AddCategory(QStringLiteral("内墙"), 2);
        AddCategory(QStringLiteral("楼板"), 4);
        AddCategory(QStringLiteral("窗"), 6);
        const int woodenDoor = AddType(QStringLiteral("木门"), m_Door);

        m_K18 = AddOneLayer(QStringLiteral("K1.8墙"), m_Brick, 0.135);
        AddOneLayer(QStringLiteral("K1.80001墙"), m_Brick, 0.13500117187866215);
        m_K10 = AddOneLayer(QStringLiteral("K1.0屋面"), m_FlatRoof, 0.06);
        AddOneLayer(QStringLiteral("K1.5门"), woodenDoor, 0.048 / (1.0 / 1.5 - 0.2));
        const int noThickness = AddCode(QStringLiteral("缺厚度墙"), m_Brick, 0, 0);
        AddLayers(noThickness, QString::number(m_Mortar), QString(), QStringLiteral("1"));
    }

    int AddOneLayer(const QString& name, int typeId, double conductivity)
    {
        const int material = AddMaterial(name + QStringLiteral("材料"), m_MortarType, 0, 0, 1000, conductivity, 1.0);
        const int code = AddCode(name, typeId, 0, 0);
        AddLayers(code, QString::number(material), QStringLiteral("48"), QStringLiteral("1"));
        return code;
    }

    /// A query dialog evaluating with αi = αe = 10, shown.
    static std::unique_ptr<CTqUiBSQueryDlg> Open()
    {
        auto dialog = std::make_unique<CTqUiBSQueryDlg>();
        dialog->m_CrXs = CTQCrXs(10.0, 25.0, 10.0);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return dialog;
    }

    template <class Widget>
    static Widget* Find(QWidget& dialog, const char* name)
    {
        return dialog.findChild<Widget*>(QString::fromLatin1(name));
    }
    static CTqUiReportControl* Grid(QWidget& dialog) { return Find<CTqUiReportControl>(dialog, "resultGrid"); }

    /// Types the range, sets the "类型:" box (and the kind) and presses "查询".
    static void Query(QWidget& dialog, const QString& minText, const QString& maxText, const QString& kind = {})
    {
        Find<QLineEdit>(dialog, "minValueEdit")->setText(minText);
        Find<QLineEdit>(dialog, "maxValueEdit")->setText(maxText);
        auto* typeBox = Find<QCheckBox>(dialog, "typeCheckBox");
        if (typeBox->isChecked() != !kind.isEmpty())
            typeBox->click();
        if (!kind.isEmpty())
            Find<QComboBox>(dialog, "kindComboBox")->setCurrentText(kind);
        QTest::mouseClick(Find<QPushButton>(dialog, "queryButton"), Qt::LeftButton);
    }

    /// The first five cells of every row: number, category, type, name, K.
    static QList<QStringList> Rows(const CTqUiReportControl& grid)
    {
        QList<QStringList> rows;
        for (int row = 0; row < grid.RowCount(); ++row)
            rows.append(grid.GetRowTexts(row).mid(0, 5));
        return rows;
    }

    static CTQUiService& Service() { return CTQUiService::Instance(); }

    static QString Ini(const char* key)
    {
        return CTQDBGlobalSetting::GetGlobalSetting()->GetSysIni(QStringLiteral("BSStruct"), QString::fromLatin1(key),
                                                                 QStringLiteral("absent"));
    }

    int m_K18 = 0, m_K10 = 0;
};

TEST_F(CTqUiBSQueryDlgTest, FindsTheRangeBoundsIncludedAndNumbersRowsAcrossCategories)
{
    const QString wall = QStringLiteral("外墙"), roof = QStringLiteral("屋面"), door = QStringLiteral("门");
    const struct
    {
        const char* name;
        QString minText, maxText, kind;
        QList<QStringList> rows;
    } table[] = {
        // clang-format off
        {"all kinds, in category, type and ID order", "1", "1.8", {},
         {{"1", wall, "砖墙", "K1.8墙", "1.80"}, {"2", roof, "平屋面", "K1.0屋面", "1.00"},
          {"3", door, "木门", "K1.5门", "1.50"}}},
        {"one kind: 屋面 is the third category", "1", "1.8", roof, {{"1", roof, "平屋面", "K1.0屋面", "1.00"}}},
        {"a range just above 1.8 holds only 1.80001", "1.800001", "1.9", wall,
         {{"1", wall, "砖墙", "240砖墙", "1.85"}, {"2", wall, "砖墙", "K1.80001墙", "1.80"}}},
        // clang-format on
    };
    auto dialog = Open();
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        Query(*dialog, row.minText, row.maxText, row.kind);
        EXPECT_EQ(Rows(*Grid(*dialog)), row.rows);
        EXPECT_EQ(dialog->m_nResultCount, row.rows.size());
        EXPECT_EQ(Find<QLabel>(*dialog, "statusLabel")->text(), QStringLiteral("查询结束。"));
    }
    EXPECT_EQ(dialog->m_nBSType, 0) << "the kind last searched";

    // A construction that cannot be evaluated is in no range, however wide.
    Query(*dialog, QStringLiteral("-1e9"), QStringLiteral("1e9"));
    const CTqUiReportControl& grid = *Grid(*dialog);
    EXPECT_EQ(grid.RowCount(), 7);
    for (int row = 0; row < grid.RowCount(); ++row)
        EXPECT_NE(grid.GetCellText(row, 3), QStringLiteral("缺厚度墙"));
}

TEST_F(CTqUiBSQueryDlgTest, RefusesARangeThatIsNoneAndReportsAnEmptyResult)
{
    const struct
    {
        const char* name;
        QString minText, maxText;
        QString message;
        QMessageBox::Icon icon;
        int rowsAfter; ///< a refused range leaves the last results
    } table[] = {
        {"equal bounds", QStringLiteral("1.5"), QStringLiteral("1.5"), QStringLiteral("最小值不能大于最大值！"),
         QMessageBox::NoIcon, 3},
        {"reversed bounds", QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("最小值不能大于最大值！"),
         QMessageBox::NoIcon, 3},
        {"no number", QStringLiteral("1"), QStringLiteral("1,8x"), QStringLiteral("请输入一个数字。"),
         QMessageBox::Warning, 3},
        {"nothing in range", QStringLiteral("0.01"), QStringLiteral("0.02"),
         QStringLiteral("没有找到满足要求的传热系数！"), QMessageBox::Information, 0},
    };
    auto dialog = Open();
    Query(*dialog, QStringLiteral("1"), QStringLiteral("1.8"));
    ASSERT_EQ(Grid(*dialog)->RowCount(), 3);
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        Service().ClearRecords();
        Service().QueueAnswer(QMessageBox::Ok);
        Query(*dialog, row.minText, row.maxText);
        ASSERT_EQ(MessagesShown(), QStringList{row.message});
        EXPECT_EQ(Service().ShownMessages().front().icon, row.icon);
        EXPECT_EQ(Grid(*dialog)->RowCount(), row.rowsAfter);
    }
}

TEST_F(CTqUiBSQueryDlgTest, KeepsItsSettingsInTheIniBetweenRuns)
{
    {
        auto dialog = Open();
        // Nothing stored yet: one kind, the second kind, 1 to 1.8.
        EXPECT_TRUE(Find<QCheckBox>(*dialog, "typeCheckBox")->isChecked());
        EXPECT_TRUE(Find<QComboBox>(*dialog, "kindComboBox")->isEnabled());
        EXPECT_EQ(Find<QComboBox>(*dialog, "kindComboBox")->currentText(), QStringLiteral("内墙"));
        EXPECT_EQ(Find<QLineEdit>(*dialog, "minValueEdit")->text(), QStringLiteral("1"));
        EXPECT_EQ(Find<QLineEdit>(*dialog, "maxValueEdit")->text(), QStringLiteral("1.8"));

        Query(*dialog, QStringLiteral("1.234"), QStringLiteral("1.9"), QStringLiteral("门"));
        ASSERT_EQ(Grid(*dialog)->RowCount(), 1);
        EXPECT_EQ(Ini("MinValue"), QStringLiteral("absent")) << "written when the dialog goes";
    }
    EXPECT_EQ(Ini("TypeCheck"), QStringLiteral("1"));
    EXPECT_EQ(Ini("BSType"), QStringLiteral("4"));
    EXPECT_EQ(Ini("MinValue"), QStringLiteral("1.23"));
    EXPECT_EQ(Ini("MaxValue"), QStringLiteral("1.90"));

    auto dialog = Open();
    EXPECT_EQ(Find<QComboBox>(*dialog, "kindComboBox")->currentText(), QStringLiteral("门"));
    EXPECT_EQ(Find<QLineEdit>(*dialog, "minValueEdit")->text(), QStringLiteral("1.23"));
    // Unchecking the box is kept too, though no search ran.
    Find<QCheckBox>(*dialog, "typeCheckBox")->click();
    EXPECT_FALSE(Find<QComboBox>(*dialog, "kindComboBox")->isEnabled());
    dialog.reset();
    EXPECT_EQ(Ini("TypeCheck"), QStringLiteral("0"));
}

TEST_F(CTqUiBSQueryDlgTest, OkOnAResultRowIsTheChoiceEvenAfterSorting)
{
    auto dialog = Open();
    Query(*dialog, QStringLiteral("1"), QStringLiteral("1.8"));
    CTqUiReportControl& grid = *Grid(*dialog);
    ASSERT_EQ(grid.RowCount(), 3);

    // Sorted by K, the first row is K1.0屋面 (result 2 of the search).
    QTest::mouseClick(grid.header()->viewport(), Qt::LeftButton, {},
                      QPoint(grid.header()->sectionViewportPosition(4) + 5, grid.header()->height() / 2));
    ASSERT_EQ(grid.GetCellText(0, 3), QStringLiteral("K1.0屋面"));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, TestHelpers::CellCenter(grid, grid.topLevelItem(0), 3));
    QTest::mouseClick(Find<QPushButton>(*dialog, "okButton"), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->m_bChosen, 1);
    EXPECT_EQ(dialog->m_Code.GetID(), m_K10);
    EXPECT_EQ(dialog->m_Type.GetID(), m_FlatRoof);

    // A new run starts with an empty grid; OK without a row and Cancel choose nothing.
    dialog->show();
    EXPECT_EQ(Grid(*dialog)->RowCount(), 0);
    QTest::mouseClick(Find<QPushButton>(*dialog, "okButton"), Qt::LeftButton);
    EXPECT_EQ(dialog->m_bChosen, 0);
    dialog->show();
    Query(*dialog, QStringLiteral("1"), QStringLiteral("1.8"));
    Grid(*dialog)->SetFocusedRow(0);
    QTest::mouseClick(Find<QPushButton>(*dialog, "cancelButton"), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->m_bChosen, 0);
}

} // namespace
