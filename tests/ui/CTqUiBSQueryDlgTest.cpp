#include "ui/query/CTqUiBSQueryDlg.h"

#include "DialogFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>

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
class CTqUiBSQueryDlgTest : public DialogFixture
{
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        for (const auto& [id, order] : {std::pair(m_Wall, 1), {m_Roof, 3}, {m_Door, 5}})
            Exec("UPDATE BSDaLei SET OrderId = ? WHERE ID = ?", {order, id});
        for (const auto& [name, order] : {std::pair("内墙", 2), {"楼板", 4}, {"窗", 6}})
            AddCategory(QString::fromUtf8(name), order);
        const int woodenDoor = AddType(QStringLiteral("木门"), m_Door);

        AddOneLayer(QStringLiteral("K1.8墙"), m_Brick, 0.135);
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
        Show(*dialog);
        return dialog;
    }
    static CTqUiReportControl& Results(QWidget& dialog) { return *Find<CTqUiReportControl>(dialog, "resultGrid"); }

    /// Types the range, sets the "类型:" box (and the kind) and presses "查询".
    static void Query(QWidget& dialog, const QString& minText, const QString& maxText, const QString& kind = {})
    {
        Find<QLineEdit>(dialog, "minValueEdit")->setText(minText);
        Find<QLineEdit>(dialog, "maxValueEdit")->setText(maxText);
        if (Find<QCheckBox>(dialog, "typeCheckBox")->isChecked() == kind.isEmpty())
            Find<QCheckBox>(dialog, "typeCheckBox")->click();
        if (!kind.isEmpty())
            Find<QComboBox>(dialog, "kindComboBox")->setCurrentText(kind);
        Click(dialog, "queryButton");
    }

    /// Whether one kind is searched, the kind, and the range, as the dialog shows them.
    static QStringList Settings(QWidget& dialog)
    {
        return {QString::number(Find<QComboBox>(dialog, "kindComboBox")->isEnabled()),
                Find<QComboBox>(dialog, "kindComboBox")->currentText(), Find<QLineEdit>(dialog, "minValueEdit")->text(),
                Find<QLineEdit>(dialog, "maxValueEdit")->text()};
    }

    int m_K10 = 0;
};

TEST_F(CTqUiBSQueryDlgTest, FindsTheRangeBoundsIncludedAndRefusesARangeThatIsNone)
{
    const struct
    {
        const char* name;
        QString minText, maxText, kind;
        QList<QStringList> rows; ///< number, category, type, name, K
    } table[] = {
        // clang-format off
        {"all kinds, in category, type and ID order", "1", "1.8", {},
         {{"1", "外墙", "砖墙", "K1.8墙", "1.80"}, {"2", "屋面", "平屋面", "K1.0屋面", "1.00"}, {"3", "门", "木门", "K1.5门", "1.50"}}},
        {"one kind: 屋面 is the third category", "1", "1.8", "屋面", {{"1", "屋面", "平屋面", "K1.0屋面", "1.00"}}},
        {"a range just above 1.8 holds only 1.80001", "1.800001", "1.9", "外墙",
         {{"1", "外墙", "砖墙", "240砖墙", "1.85"}, {"2", "外墙", "砖墙", "K1.80001墙", "1.80"}}},
        // clang-format on
    };
    auto dialog = Open();
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        Query(*dialog, row.minText, row.maxText, row.kind);
        QList<QStringList> rows;
        for (const QStringList& cells : Rows(Results(*dialog)))
            rows.append(cells.mid(0, 5));
        EXPECT_EQ(rows, row.rows);
        EXPECT_EQ(dialog->m_nResultCount, row.rows.size());
        EXPECT_EQ(Find<QLabel>(*dialog, "statusLabel")->text(), "查询结束。");
    }

    // A construction that cannot be evaluated is in no range, however wide.
    Query(*dialog, "-1e9", "1e9");
    EXPECT_EQ(Results(*dialog).RowCount(), 7);
    for (const QStringList& cells : Rows(Results(*dialog)))
        EXPECT_NE(cells.value(3), "缺厚度墙");

    // A range that is none is refused; an empty result is reported.
    const struct
    {
        const char* name;
        QString minText, maxText, message;
        QMessageBox::Icon icon;
        int rowsAfter; ///< a refused range leaves the last results
    } refused[] = {
        {"equal bounds", "1.5", "1.5", "最小值不能大于最大值！", QMessageBox::NoIcon, 7},
        {"reversed bounds", "2", "1", "最小值不能大于最大值！", QMessageBox::NoIcon, 7},
        {"no number", "1", "1,8x", "请输入一个数字。", QMessageBox::Warning, 7},
        {"nothing in range", "0.01", "0.02", "没有找到满足要求的传热系数！", QMessageBox::Information, 0},
    };
    for (const auto& row : refused) {
        SCOPED_TRACE(row.name);
        Answer({QMessageBox::Ok});
        Query(*dialog, row.minText, row.maxText);
        ASSERT_EQ(MessagesShown(), QStringList{row.message});
        EXPECT_EQ(Service().ShownMessages().front().icon, row.icon);
        EXPECT_EQ(Results(*dialog).RowCount(), row.rowsAfter);
    }
}

TEST_F(CTqUiBSQueryDlgTest, KeepsItsSettingsBetweenRuns)
{
    auto dialog = Open();
    EXPECT_EQ(Settings(*dialog), (QStringList{"1", "内墙", "1", "1.8"})) << "nothing stored yet";
    Query(*dialog, "1.234", "1.9", "门");
    ASSERT_EQ(Results(*dialog).RowCount(), 1);
    dialog.reset();
    dialog = Open();
    EXPECT_EQ(Settings(*dialog), (QStringList{"1", "门", "1.23", "1.9"}));
    // Unchecking the box is kept too, though no search ran.
    Find<QCheckBox>(*dialog, "typeCheckBox")->click();
    dialog.reset();
    EXPECT_EQ(Settings(*Open()).value(0), "0");
}

TEST_F(CTqUiBSQueryDlgTest, OkOnAResultRowIsTheChoiceEvenAfterSorting)
{
    auto dialog = Open();
    Query(*dialog, "1", "1.8");
    CTqUiReportControl& grid = Results(*dialog);
    // Sorted by K, the first row is K1.0屋面 (result 2 of the search).
    QTest::mouseClick(grid.header()->viewport(), Qt::LeftButton, {},
                      QPoint(grid.header()->sectionViewportPosition(4) + 5, grid.header()->height() / 2));
    ASSERT_EQ(grid.GetCellText(0, 3), "K1.0屋面");
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, TestHelpers::CellCenter(grid, grid.topLevelItem(0), 3));
    Click(*dialog, "okButton");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->m_bChosen, 1);
    EXPECT_EQ(dialog->m_Code.GetID(), m_K10);
    EXPECT_EQ(dialog->m_Type.GetID(), m_FlatRoof);

    // A new run starts with an empty grid; OK without a row and Cancel choose nothing.
    dialog->show();
    EXPECT_EQ(Results(*dialog).RowCount(), 0);
    Click(*dialog, "okButton");
    EXPECT_EQ(dialog->m_bChosen, 0);
    dialog->show();
    Query(*dialog, "1", "1.8");
    Results(*dialog).SetFocusedRow(0);
    Click(*dialog, "cancelButton");
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->m_bChosen, 0);
}

} // namespace
