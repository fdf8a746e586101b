#include "ui/library/CTqUiBSListDlg.h"

#include "BSListDialogFixture.h"
#include "host/ui/CSuperEdit.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "ui/library/CTqUiBSViewPicDlg.h"

#include <functional>

namespace {

using CTqUiBSListDlgTest = BSListDialogFixture;

// 240砖墙 evaluated with the caller's coefficients (αe summer 15, winter 25, αi 8), by hand:
// ΣR = 2 × 0.020/0.93 + 0.240/0.81 = 0.04301 + 0.29630 = 0.33931 m²·K/W;
// K summer = 1/(1/8 + 0.33931 + 1/15) = 1.883, winter = 1/(1/8 + 0.33931 + 1/25) = 1.983,
// inner (αi on both sides) = 1/(2/8 + 0.33931) = 1.697 W/(m²·K).
// Attenuation and delay by the simplified method of GB 50176, layers counted from the inside:
// S = √(2π·λ·c·ρ/86.4): mortar 11.306, brick 10.551; ΣD = 2 × 0.2431 + 3.1263 = 3.6126.
// Outer-surface storage coefficients: Y1 = (R·S² + αi)/(1 + R·αi) = 9.171 (inner mortar),
// Y2 = S = 10.551 (brick, D ≥ 1), Y3 = (R·S² + Y2)/(1 + R·Y2) = 10.840 (outer mortar) = Yef; from the
// outside the same layers give Yif = 10.840.
// ν0 = 0.9·e^(ΣD/√2)·(S1 + αi)/(S1 + Y1)·(S2 + Y1)/(S2 + Y2)·(S3 + Y2)/(S3 + Y3)·(Y3 + αe)/αe
//    = 0.9 × 12.865 × 0.9428 × 0.9346 × 0.9869 × 1.7227 = 17.35;
// ξ0 = (40.5·ΣD − arctan(αi/(αi + √2·Yif)) + arctan(Yef/(Yef + √2·αe)))/15
//    = (146.31° − 18.93° + 18.69°)/15 = 9.74 h.
const QStringList kBrick240Row{QStringLiteral("240砖墙"), QStringLiteral("1.88"),  QStringLiteral("1.98"),
                               QStringLiteral("1.70"),    QStringLiteral("17.35"), QStringLiteral("9.7")};

// The layer grid shows millimetres with two decimals: 0.24 m is "240.00".
const QList<QStringList> kBrick240Layers{
    {QStringLiteral("水泥砂浆"), QStringLiteral("20.00"), QStringLiteral("1.00")},
    {QStringLiteral("黏土砖"), QStringLiteral("240.00"), QStringLiteral("1.00")},
    {QStringLiteral("水泥砂浆"), QStringLiteral("20.00"), QStringLiteral("1.00")},
};

TEST_F(CTqUiBSListDlgTest, OpensOnAStoredConstructionEvaluatedWithTheCallersCoefficients)
{
    auto dialog = OpenOnCode(m_Brick240);

    EXPECT_EQ(CurrentTreePath(*dialog),
              (QStringList{QStringLiteral("所有围护结构"), QStringLiteral("外墙"), QStringLiteral("砖墙")}));
    const CTqUiReportControl* list = List(*dialog);
    ASSERT_EQ(list->RowCount(), 2);
    EXPECT_EQ(list->GetRowTexts(0), kBrick240Row);
    EXPECT_EQ(list->GetCellText(1, 0), QStringLiteral("370砖墙"));
    EXPECT_EQ(list->GetFocusedRow(), 0);
    EXPECT_EQ(Rows(*Layers(*dialog)), kBrick240Layers);
    EXPECT_EQ(dialog->m_Code.Name, QStringLiteral("240砖墙"));
    EXPECT_EQ(dialog->m_BoundingStructure.BSCId, m_Brick240);

    // The fields show the caller's coefficients and cannot be edited.
    const auto* summer = dialog->findChild<CSuperEdit*>(QStringLiteral("summerHrXsEdit"));
    const auto* winter = dialog->findChild<CSuperEdit*>(QStringLiteral("winterHrXsEdit"));
    const auto* inner = dialog->findChild<CSuperEdit*>(QStringLiteral("innerHrXsEdit"));
    EXPECT_EQ(summer->GetWindowValue(), 15.0);
    EXPECT_EQ(winter->GetWindowValue(), 25.0);
    EXPECT_EQ(inner->GetWindowValue(), 8.0);
    EXPECT_TRUE(summer->isReadOnly() && winter->isReadOnly() && inner->isReadOnly());
}

/// How a dialog is preset before it opens, and where it must open.
struct InitialSelectionCase
{
    const char* name;
    std::function<void(CTqUiBSListDlg&)> preset;
    QStringList treePath;
    QStringList listNames;
    int focusedRow;
    QString chosenName;
};

TEST_F(CTqUiBSListDlgTest, OpensWhereThePresetRecordsSay)
{
    const QString all = QStringLiteral("所有围护结构");
    const QList<InitialSelectionCase> table{
        {"a province construction opens under its province",
         [this](CTqUiBSListDlg& dlg) {
             dlg.m_Code.SetID(m_NorthWall);
             dlg.m_WallData.m_nBSCId = m_NorthWall;
         },
         {QStringLiteral("所有省份"), QStringLiteral("黑龙江省"), QStringLiteral("外墙"), QStringLiteral("保温墙")},
         {QStringLiteral("北方保温墙")},
         0,
         QStringLiteral("北方保温墙")},
        {"the wall's construction alone is enough",
         [this](CTqUiBSListDlg& dlg) { dlg.m_WallData.m_nBSCId = m_RoofA; },
         {all, QStringLiteral("屋面"), QStringLiteral("平屋面")},
         {QStringLiteral("平屋面A")},
         0,
         QStringLiteral("平屋面A")},
        {"a category alone opens on the category with an empty list",
         [this](CTqUiBSListDlg& dlg) { dlg.m_Category.SetID(m_Roof); },
         {all, QStringLiteral("屋面")},
         {},
         -1,
         {}},
        {"a type alone lists its constructions and chooses none",
         [this](CTqUiBSListDlg& dlg) { dlg.m_Type.SetID(m_Brick); },
         {all, QStringLiteral("外墙"), QStringLiteral("砖墙")},
         {QStringLiteral("240砖墙"), QStringLiteral("370砖墙")},
         -1,
         {}},
        {"names without IDs select nothing",
         [](CTqUiBSListDlg& dlg) {
             dlg.m_Type.Name = QStringLiteral("砖墙");
             dlg.m_Code.Name = QStringLiteral("240砖墙");
         },
         {all},
         {},
         -1,
         {}},
        {"a construction ID that names nothing opens without a choice",
         [](CTqUiBSListDlg& dlg) {
             dlg.m_Code.SetID(9999);
             dlg.m_WallData.m_nBSCId = 9999;
         },
         {all},
         {},
         -1,
         {}},
    };
    for (const InitialSelectionCase& row : table) {
        SCOPED_TRACE(row.name);
        CTqUiBSListDlg dialog(CallerCrXs());
        row.preset(dialog);
        Show(dialog);
        EXPECT_EQ(CurrentTreePath(dialog), row.treePath);
        EXPECT_EQ(Names(*List(dialog)), row.listNames);
        EXPECT_EQ(List(dialog)->GetFocusedRow(), row.focusedRow);
        EXPECT_EQ(dialog.m_Code.Name, row.chosenName);
    }
}

TEST_F(CTqUiBSListDlgTest, TreeSelectionResetsTheRecordsButKeepsTheChosenWall)
{
    auto dialog = OpenOnCode(m_Brick240);

    ClickTreeItem(*dialog, {QStringLiteral("所有围护结构"), QStringLiteral("屋面"), QStringLiteral("平屋面")});
    EXPECT_EQ(Names(*List(*dialog)), QStringList{QStringLiteral("平屋面A")});
    EXPECT_EQ(List(*dialog)->GetFocusedRow(), -1);
    EXPECT_EQ(Layers(*dialog)->RowCount(), 0);
    EXPECT_EQ(dialog->m_Type.Name, QStringLiteral("平屋面"));
    EXPECT_EQ(dialog->m_Category.Name, QStringLiteral("屋面"));
    EXPECT_TRUE(dialog->m_Code.Name.isEmpty());
    EXPECT_EQ(dialog->m_WallData.m_nBSCId, m_Brick240);

    // Back on the brick walls, now in the common subtree: only the common one is listed, and the
    // kept wall data chooses it again.
    ClickTreeItem(*dialog, {QStringLiteral("常用围护结构"), QStringLiteral("外墙"), QStringLiteral("砖墙")});
    EXPECT_EQ(dialog->m_bCommon, 1);
    EXPECT_EQ(Names(*List(*dialog)), QStringList{QStringLiteral("240砖墙")});
    EXPECT_EQ(List(*dialog)->GetFocusedRow(), 0);
    EXPECT_EQ(dialog->m_Code.Name, QStringLiteral("240砖墙"));
    EXPECT_EQ(Rows(*Layers(*dialog)), kBrick240Layers);

    // A province branch lists that province's constructions of the type: none of 砖墙.
    ClickTreeItem(*dialog, {QStringLiteral("所有省份"), QStringLiteral("北京市"), QStringLiteral("外墙")});
    EXPECT_EQ(dialog->m_Province.Name, QStringLiteral("北京市"));
    EXPECT_EQ(dialog->m_bCommon, 0);
    EXPECT_EQ(List(*dialog)->RowCount(), 0);
}

TEST_F(CTqUiBSListDlgTest, ClickingARowChoosesItsConstruction)
{
    auto dialog = OpenOnCode(m_Brick240);
    CTqUiReportControl& list = *List(*dialog);

    ClickRow(list, 1);
    EXPECT_EQ(dialog->m_Code.Name, QStringLiteral("370砖墙"));
    EXPECT_EQ(dialog->m_WallData.m_nBSCId, m_Brick370);
    EXPECT_EQ(Layers(*dialog)->RowCount(), 0) << "370砖墙 has no layer set";

    ClickRow(list, 0);
    EXPECT_EQ(dialog->m_Code.Name, QStringLiteral("240砖墙"));
    EXPECT_EQ(Rows(*Layers(*dialog)), kBrick240Layers);
}

TEST_F(CTqUiBSListDlgTest, OkWithoutAChoiceAsksForOneAndStaysOpen)
{
    CTqUiBSListDlg dialog(CallerCrXs());
    Show(dialog);

    Service().QueueAnswer(QMessageBox::Ok);
    QTest::mouseClick(Button(dialog, "okButton"), Qt::LeftButton);

    ASSERT_EQ(Service().ShownMessages().size(), 1);
    const CTQUiService::MessageRecord& shown = Service().ShownMessages().front();
    EXPECT_EQ(shown.text, QStringLiteral("请选择一种围护结构！"));
    EXPECT_EQ(shown.icon, QMessageBox::NoIcon);
    EXPECT_EQ(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
}

TEST_F(CTqUiBSListDlgTest, EnterPressesOkOnlyFromTheWinterField)
{
    // With nothing chosen, a pressed OK shows its message: that is how the test sees it.
    const struct
    {
        const char* field;
        bool bPressesOk;
    } table[] = {{"summerHrXsEdit", false}, {"innerHrXsEdit", false}, {"winterHrXsEdit", true}};

    for (const auto& row : table) {
        SCOPED_TRACE(row.field);
        CTqUiBSListDlg dialog(CallerCrXs());
        Show(dialog);
        if (row.bPressesOk)
            Service().QueueAnswer(QMessageBox::Ok);
        auto* field = dialog.findChild<CSuperEdit*>(QString::fromLatin1(row.field));
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_EQ(Service().ShownMessages().size(), row.bPressesOk ? 1 : 0);
        EXPECT_TRUE(dialog.isVisible());
        Service().ClearRecords();
    }
}

TEST_F(CTqUiBSListDlgTest, PicturePrefersTheConstructionsOwnToItsTypes)
{
    const QColor typeColour(220, 30, 30);
    const QColor codeColour(30, 30, 220);
    const struct
    {
        const char* name;
        bool bTypePicture;
        bool bCodePicture;
        QColor expected; // invalid: no picture
    } table[] = {{"neither", false, false, QColor()},
                 {"the type's only", true, false, typeColour},
                 {"the construction's only", false, true, codeColour},
                 {"both", true, true, codeColour}};

    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        QFile::remove(TypePicturePath(QStringLiteral("砖墙")));
        QFile::remove(CodePicturePath(QStringLiteral("砖墙"), QStringLiteral("240砖墙")));
        if (row.bTypePicture)
            WritePicture(TypePicturePath(QStringLiteral("砖墙")), typeColour);
        if (row.bCodePicture)
            WritePicture(CodePicturePath(QStringLiteral("砖墙"), QStringLiteral("240砖墙")), codeColour);

        auto dialog = OpenOnCode(m_Brick240);
        CPictureCtrl& picture = *Picture(*dialog);
        ASSERT_EQ(picture.HasImage(), row.expected.isValid());
        if (!row.expected.isValid()) {
            EXPECT_EQ(picture.text(), QStringLiteral("无示意图片"));
            continue;
        }
        // JPEG keeps a flat colour within a few levels.
        const QColor shown = ShownColour(picture);
        EXPECT_NEAR(shown.red(), row.expected.red(), 12);
        EXPECT_NEAR(shown.blue(), row.expected.blue(), 12);
    }
}

TEST_F(CTqUiBSListDlgTest, AClickOnThePictureOpensItInTheViewer)
{
    WritePicture(TypePicturePath(QStringLiteral("砖墙")), Qt::darkGreen);
    auto dialog = OpenOnCode(m_Brick240);

    QString title;
    TestHelpers::RunModal<CTqUiBSViewPicDlg>([&] { QTest::mouseClick(Picture(*dialog), Qt::LeftButton); },
                                             [&title](CTqUiBSViewPicDlg& viewer) {
                                                 title = viewer.windowTitle();
                                                 viewer.close();
                                             });
    EXPECT_EQ(title, QStringLiteral("围护结构示例图片"));
}

TEST_F(CTqUiBSListDlgTest, PlacementIsStoredWhenTheDialogClosesAndRestoredWhenItOpens)
{
    {
        auto dialog = OpenOnCode(m_Brick240);
        dialog->resize(1010, 640);
        dialog->reject();
    }
    EXPECT_FALSE(CTQDBGlobalSetting::GetGlobalSetting()
                     ->GetSysIni(QStringLiteral("Placement"), QStringLiteral("围护结构对话框位置"), QString())
                     .isEmpty());

    auto reopened = OpenOnCode(m_Brick240);
    EXPECT_EQ(reopened->size(), QSize(1010, 640));
}

} // namespace
