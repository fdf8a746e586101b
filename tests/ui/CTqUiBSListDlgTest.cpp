#include "ui/library/CTqUiBSListDlg.h"

#include "BSListDialogFixture.h"
#include "host/ui/CSuperEdit.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "ui/library/CTqUiBSViewPicDlg.h"

#include <tuple>
#include <utility>

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
const QStringList kBrick240Row{"240砖墙", "1.88", "1.98", "1.70", "17.35", "9.7"};

// The layer grid shows millimetres with two decimals: 0.24 m is "240.00".
const QList<QStringList> kBrick240Layers{
    {"水泥砂浆", "20.00", "1.00"}, {"黏土砖", "240.00", "1.00"}, {"水泥砂浆", "20.00", "1.00"}};

TEST_F(CTqUiBSListDlgTest, OpensOnAStoredConstructionEvaluatedWithTheCallersCoefficients)
{
    auto dialog = OpenOnCode(m_Brick240);

    EXPECT_EQ(CurrentTreePath(*dialog), (QStringList{"所有围护结构", "外墙", "砖墙"}));
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

// Where the dialog opens for the IDs preset in its construction, wall data, category and type.
TEST_F(CTqUiBSListDlgTest, OpensWhereThePresetRecordsSay)
{
    const struct
    {
        const char* name;
        int code, wall, category, type; ///< preset IDs, 0 for none
        QStringList treePath, listNames;
        int focusedRow;
    } table[] = {
        {"a province construction under its province",
         m_NorthWall,
         m_NorthWall,
         0,
         0,
         {"所有省份", "黑龙江省", "外墙", "保温墙"},
         {"北方保温墙"},
         0},
        {"the wall's construction alone is enough",
         0,
         m_RoofA,
         0,
         0,
         {"所有围护结构", "屋面", "平屋面"},
         {"平屋面A"},
         0},
        {"a category alone: an empty list", 0, 0, m_Roof, 0, {"所有围护结构", "屋面"}, {}, -1},
        {"a type alone: its constructions, none chosen",
         0,
         0,
         0,
         m_Brick,
         {"所有围护结构", "外墙", "砖墙"},
         {"240砖墙", "370砖墙"},
         -1},
        {"a construction ID that names nothing", 9999, 9999, 0, 0, {"所有围护结构"}, {}, -1},
        {"names without IDs select nothing", 0, 0, 0, 0, {"所有围护结构"}, {}, -1},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        CTqUiBSListDlg dialog(CallerCrXs());
        dialog.m_Code.SetID(row.code);
        dialog.m_WallData.m_nBSCId = row.wall;
        dialog.m_Category.SetID(row.category);
        dialog.m_Type.SetID(row.type);
        dialog.m_Type.Name = QStringLiteral("砖墙");
        dialog.m_Code.Name = QStringLiteral("240砖墙");
        Show(dialog);
        EXPECT_EQ(CurrentTreePath(dialog), row.treePath);
        EXPECT_EQ(Names(*List(dialog)), row.listNames);
        EXPECT_EQ(List(dialog)->GetFocusedRow(), row.focusedRow);
        EXPECT_EQ(dialog.m_Code.Name, row.focusedRow < 0 ? QString() : row.listNames[row.focusedRow]);
    }
}

TEST_F(CTqUiBSListDlgTest, RowAndTreeClicksChooseAndResetTheRecords)
{
    auto dialog = OpenOnCode(m_Brick240);
    ClickRow(*List(*dialog), 1);
    EXPECT_EQ(dialog->m_Code.Name, QStringLiteral("370砖墙"));
    EXPECT_EQ(dialog->m_WallData.m_nBSCId, m_Brick370);
    EXPECT_EQ(Layers(*dialog)->RowCount(), 0) << "370砖墙 has no layer set";
    ClickRow(*List(*dialog), 0);
    EXPECT_EQ(dialog->m_Code.Name, QStringLiteral("240砖墙"));
    EXPECT_EQ(Rows(*Layers(*dialog)), kBrick240Layers);

    // A tree click resets the records but keeps the chosen wall.
    ClickTreeItem(*dialog, {"所有围护结构", "屋面", "平屋面"});
    EXPECT_EQ(Names(*List(*dialog)), QStringList{"平屋面A"});
    EXPECT_EQ(List(*dialog)->GetFocusedRow(), -1);
    EXPECT_EQ(Layers(*dialog)->RowCount(), 0);
    EXPECT_EQ(dialog->m_Type.Name, QStringLiteral("平屋面"));
    EXPECT_EQ(dialog->m_Category.Name, QStringLiteral("屋面"));
    EXPECT_TRUE(dialog->m_Code.Name.isEmpty());
    EXPECT_EQ(dialog->m_WallData.m_nBSCId, m_Brick240);

    // Back on the brick walls, now in the common subtree: only the common one is listed, and the
    // kept wall data chooses it again.
    ClickTreeItem(*dialog, {"常用围护结构", "外墙", "砖墙"});
    EXPECT_EQ(dialog->m_bCommon, 1);
    EXPECT_EQ(Names(*List(*dialog)), QStringList{"240砖墙"});
    EXPECT_EQ(List(*dialog)->GetFocusedRow(), 0);
    EXPECT_EQ(dialog->m_Code.Name, QStringLiteral("240砖墙"));
    EXPECT_EQ(Rows(*Layers(*dialog)), kBrick240Layers);

    // A province branch lists that province's constructions of the type: none of 砖墙.
    ClickTreeItem(*dialog, {"所有省份", "北京市", "外墙"});
    EXPECT_EQ(dialog->m_Province.Name, QStringLiteral("北京市"));
    EXPECT_EQ(dialog->m_bCommon, 0);
    EXPECT_EQ(List(*dialog)->RowCount(), 0);
}

// With nothing chosen, OK asks for a choice and the dialog stays open. The OK button and Enter in
// the winter field (the last before OK) press OK; Enter in the other fields does not.
TEST_F(CTqUiBSListDlgTest, OkWithoutAChoiceAsksForOneAndStaysOpen)
{
    const std::pair<const char*, bool> table[] = {
        {"okButton", true}, {"summerHrXsEdit", false}, {"innerHrXsEdit", false}, {"winterHrXsEdit", true}};
    for (const auto& [control, bPressesOk] : table) {
        SCOPED_TRACE(control);
        Service().ClearRecords();
        CTqUiBSListDlg dialog(CallerCrXs());
        Show(dialog);
        if (bPressesOk)
            Service().QueueAnswer(QMessageBox::Ok);
        auto* widget = dialog.findChild<QWidget*>(QString::fromLatin1(control));
        if (qobject_cast<QPushButton*>(widget) != nullptr) {
            QTest::mouseClick(widget, Qt::LeftButton);
        } else {
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_Return);
        }
        ASSERT_EQ(Service().ShownMessages().size(), bPressesOk ? 1 : 0);
        if (bPressesOk) {
            const CTQUiService::MessageRecord& shown = Service().ShownMessages().front();
            EXPECT_EQ(shown.text, QStringLiteral("请选择一种围护结构！"));
            EXPECT_EQ(shown.icon, QMessageBox::NoIcon);
            EXPECT_EQ(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        }
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), 0);
    }
}

TEST_F(CTqUiBSListDlgTest, PicturePrefersTheConstructionsOwnToItsTypes)
{
    const QColor typeColour(220, 30, 30);
    const QColor codeColour(30, 30, 220);
    // Pictures of the type and of the construction present, and the colour shown (invalid: none).
    const std::tuple<bool, bool, QColor> table[] = {
        {false, false, QColor()}, {true, false, typeColour}, {false, true, codeColour}, {true, true, codeColour}};
    const QString typePicture = TypePicturePath(QStringLiteral("砖墙"));
    const QString codePicture = CodePicturePath(QStringLiteral("砖墙"), QStringLiteral("240砖墙"));
    for (const auto& [bTypePicture, bCodePicture, expected] : table) {
        SCOPED_TRACE(testing::Message() << bTypePicture << bCodePicture);
        QFile::remove(typePicture);
        QFile::remove(codePicture);
        if (bTypePicture)
            WritePicture(typePicture, typeColour);
        if (bCodePicture)
            WritePicture(codePicture, codeColour);

        auto dialog = OpenOnCode(m_Brick240);
        CPictureCtrl& picture = *Picture(*dialog);
        ASSERT_EQ(picture.HasImage(), expected.isValid());
        if (!expected.isValid()) {
            EXPECT_EQ(picture.text(), QStringLiteral("无示意图片"));
            continue;
        }
        // JPEG keeps a flat colour within a few levels.
        const QColor shown = ShownColour(picture);
        EXPECT_NEAR(shown.red(), expected.red(), 12);
        EXPECT_NEAR(shown.blue(), expected.blue(), 12);
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
