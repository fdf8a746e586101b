#include "ui/library/CTqUiBSListDlg.h"

#include "BSListDialogFixture.h"
#include "host/ui/CSuperEdit.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "ui/editor/CTqUiBSInfoDlg.h"
#include "ui/materials/CTqUiStuffListDlg.h"
#include "ui/library/CTqUiBSViewPicDlg.h"
#include "ui/query/CTqUiBSQueryDlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>

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
        // clang-format off
        {"a province construction under its province", m_NorthWall, m_NorthWall, 0, 0,
         {"所有省份", "黑龙江省", "外墙", "保温墙"}, {"北方保温墙"}, 0},
        {"the wall's construction alone is enough", 0, m_RoofA, 0, 0, {"所有围护结构", "屋面", "平屋面"}, {"平屋面A"}, 0},
        {"a category alone: an empty list", 0, 0, m_Roof, 0, {"所有围护结构", "屋面"}, {}, -1},
        {"a type alone: its constructions, none chosen", 0, 0, 0, m_Brick, {"所有围护结构", "外墙", "砖墙"},
         {"240砖墙", "370砖墙"}, -1},
        {"a construction ID that names nothing", 9999, 9999, 0, 0, {"所有围护结构"}, {}, -1},
        {"names without IDs select nothing", 0, 0, 0, 0, {"所有围护结构"}, {}, -1},
        // clang-format on
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

// ---------------------------------------------------------------------------------------------
// Actions

TEST_F(CTqUiBSListDlgTest, ButtonsAndTheFirstMenuItemFollowTheChoiceAndTheTree)
{
    auto dialog = OpenOnCode(m_Brick240);
    const auto enabled = [&dialog](const char* name) { return Button(*dialog, name)->isEnabled(); };
    EXPECT_TRUE(enabled("modifyButton") && enabled("deleteButton") && enabled("copyButton"));
    EXPECT_TRUE(enabled("addButton") && enabled("queryButton") && enabled("materialButton"));

    const struct
    {
        QStringList path;
        bool bRowChosen;
        bool bCategory; ///< add button and first menu item
    } table[] = {
        {{QStringLiteral("所有围护结构"), QStringLiteral("屋面"), QStringLiteral("平屋面")}, false, true},
        {{QStringLiteral("所有围护结构"), QStringLiteral("外墙")}, false, true},
        {{QStringLiteral("所有围护结构")}, false, false},
        {{QStringLiteral("常用围护结构"), QStringLiteral("外墙"), QStringLiteral("砖墙")}, true, true},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.path.join(QLatin1Char('/')).toStdString());
        ClickTreeItem(*dialog, row.path);
        EXPECT_EQ(enabled("modifyButton"), row.bRowChosen);
        EXPECT_EQ(enabled("deleteButton"), row.bRowChosen);
        EXPECT_EQ(enabled("copyButton"), row.bRowChosen);
        EXPECT_EQ(enabled("addButton"), row.bCategory);
        EXPECT_TRUE(enabled("queryButton") && enabled("materialButton"));
        const QStringList offered = ChooseFromListMenu(*dialog, -1);
        ASSERT_FALSE(offered.isEmpty());
        EXPECT_EQ(offered.front(), row.bCategory ? QStringLiteral("添加") : QStringLiteral("添加(off)"));
    }
}

TEST_F(CTqUiBSListDlgTest, ArrowKeysChooseTheFocusedRow)
{
    auto dialog = OpenOnCode(m_Brick240);
    CTqUiReportControl& list = *List(*dialog);
    list.setFocus();

    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(dialog->m_Code.Name, QStringLiteral("370砖墙"));
    EXPECT_EQ(Layers(*dialog)->RowCount(), 0);
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(dialog->m_Code.Name, QStringLiteral("240砖墙"));
    EXPECT_EQ(Rows(*Layers(*dialog)), kBrick240Layers);

    QTest::keyClick(&list, Qt::Key_Down);
    QTest::mouseClick(Button(*dialog, "okButton"), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->m_WallData.m_nBSCId, m_Brick370) << "OK hands back the highlighted row";
}

TEST_F(CTqUiBSListDlgTest, DeletionAsksWithTheNameAndCancelDeletesNothing)
{
    auto dialog = OpenOnCode(m_Brick240);
    const QString codeQuestion = QStringLiteral("确定要删除该围护结构 \"240砖墙\" 吗?");

    Service().QueueAnswer(QMessageBox::Cancel);
    QTest::mouseClick(Button(*dialog, "deleteButton"), Qt::LeftButton);
    ASSERT_EQ(MessagesShown(), QStringList{codeQuestion});
    const CTQUiService::MessageRecord& asked = Service().ShownMessages().front();
    EXPECT_EQ(asked.icon, QMessageBox::Warning);
    EXPECT_EQ(asked.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(asked.defaultButton, QMessageBox::Cancel);
    EXPECT_EQ(CountRows(QStringLiteral("BSCode"), QStringLiteral("ID = ?"), {m_Brick240}), 1);

    // The Delete key asks the same; OK deletes the construction and its layer set.
    Service().ClearRecords();
    Service().QueueAnswer(QMessageBox::Ok);
    Service().QueueAnswer(QMessageBox::Ok);
    List(*dialog)->setFocus();
    QTest::keyClick(List(*dialog), Qt::Key_Delete);
    EXPECT_EQ(MessagesShown(), (QStringList{codeQuestion, QStringLiteral("删除成功！")}));
    EXPECT_EQ(Service().ShownMessages().back().icon, QMessageBox::Information);
    EXPECT_EQ(CountRows(QStringLiteral("BSCode"), QStringLiteral("ID = ?"), {m_Brick240}), 0);
    EXPECT_EQ(CountRows(QStringLiteral("BoundingStructure"), QStringLiteral("BSCId = ?"), {m_Brick240}), 0);
    EXPECT_EQ(Names(*List(*dialog)), QStringList{QStringLiteral("370砖墙")});
    EXPECT_TRUE(dialog->m_Code.Name.isEmpty()) << "the deleted construction is no choice";

    // With no construction chosen the type goes, with all its constructions, and leaves the tree.
    Service().ClearRecords();
    Service().QueueAnswer(QMessageBox::Ok);
    Service().QueueAnswer(QMessageBox::Ok);
    EXPECT_EQ(ChooseFromListMenu(*dialog, -1, QStringLiteral("删除")).value(2), QStringLiteral("删除"));
    EXPECT_EQ(MessagesShown(), (QStringList{QStringLiteral("确定要删除该围护结构类型 \"砖墙\" 及其所属的所有围护结构吗?"),
                                            QStringLiteral("删除成功！")}));
    EXPECT_EQ(CountRows(QStringLiteral("BSType"), QStringLiteral("ID = ?"), {m_Brick}), 0);
    EXPECT_EQ(CountRows(QStringLiteral("BSCode"), QStringLiteral("BSTId = ?"), {m_Brick}), 0);
    EXPECT_EQ(TreeItem(*dialog, {QStringLiteral("所有围护结构"), QStringLiteral("外墙"), QStringLiteral("砖墙")}),
              nullptr);
    EXPECT_EQ(CurrentTreePath(*dialog), (QStringList{QStringLiteral("所有围护结构"), QStringLiteral("外墙")}));

    // On a category nothing is deleted and nothing asked.
    Service().ClearRecords();
    QTest::keyClick(List(*dialog), Qt::Key_Delete);
    EXPECT_TRUE(MessagesShown().isEmpty());
}

TEST_F(CTqUiBSListDlgTest, CopyingTwicePrefixesOnceAndTwiceWithTheSameLayersAndPicture)
{
    WritePicture(CodePicturePath(QStringLiteral("砖墙"), QStringLiteral("240砖墙")), Qt::blue);
    auto dialog = OpenOnCode(m_Brick240);
    QTest::mouseClick(Button(*dialog, "copyButton"), Qt::LeftButton);
    EXPECT_EQ(ChooseFromListMenu(*dialog, 0, QStringLiteral("复制")).value(3), QStringLiteral("复制"));

    const QString once = QStringLiteral("复件 240砖墙");
    const QString twice = QStringLiteral("复件 复件 240砖墙");
    EXPECT_EQ(Names(*List(*dialog)), (QStringList{QStringLiteral("240砖墙"), QStringLiteral("370砖墙"), once, twice}));
    EXPECT_EQ(dialog->m_Code.Name, QStringLiteral("240砖墙")) << "the source stays chosen";
    CTQBoundingStructure source;
    m_Admin.GetBS(source, m_Brick240);
    for (int row : {2, 3}) {
        const QString name = List(*dialog)->GetCellText(row, 0);
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(List(*dialog)->GetRowTexts(row).mid(1), kBrick240Row.mid(1)) << "the same layers evaluate alike";
        CTQBSCode copy;
        copy.Name = name;
        copy.BSTId = m_Brick;
        ASSERT_EQ(copy.IsExist(nullptr), TQLoad::DBS_Exist);
        EXPECT_EQ(copy.CommonFlag, 1);
        CTQBoundingStructure layers;
        m_Admin.GetBS(layers, copy.GetID());
        EXPECT_EQ(layers.TIdS, source.TIdS);
        EXPECT_EQ(layers.HouDuS, source.HouDuS);
        EXPECT_EQ(layers.XzXsS, source.XzXsS);
        EXPECT_TRUE(QFileInfo(CodePicturePath(QStringLiteral("砖墙"), name)).isFile());
    }
    EXPECT_TRUE(MessagesShown().isEmpty());

    // A library that refuses the copy: the error, and no layer set or picture for it.
    if (IsPostgres())
        return; // a read-only library is an SQLite file
    OpenLibrary(true);
    Service().QueueAnswer(QMessageBox::Ok);
    QTest::mouseClick(Button(*dialog, "copyButton"), Qt::LeftButton);
    EXPECT_EQ(MessagesShown(), QStringList{QStringLiteral("操作数据库时出错！")});
    EXPECT_EQ(Service().ShownMessages().front().icon, QMessageBox::Critical);
    EXPECT_FALSE(QFileInfo(CodePicturePath(QStringLiteral("砖墙"), QStringLiteral("复件 复件 复件 240砖墙"))).exists());
}

TEST_F(CTqUiBSListDlgTest, TheCommonFlagTogglesInAndOutOfTheCommonConstructions)
{
    const QStringList commonBricks{QStringLiteral("常用围护结构"), QStringLiteral("外墙"), QStringLiteral("砖墙")};
    const auto isCommon = [this](int id) {
        return CountRows(QStringLiteral("BSCode"), QStringLiteral("ID = ? AND CommonFlag <> 0"), {id}) == 1;
    };
    auto dialog = OpenOnCode(m_Brick370);
    EXPECT_EQ(ChooseFromListMenu(*dialog, 1, QStringLiteral("设为常用")).value(5), QStringLiteral("设为常用"));
    EXPECT_TRUE(isCommon(m_Brick370));
    EXPECT_EQ(CurrentTreePath(*dialog), (QStringList{QStringLiteral("所有围护结构"), QStringLiteral("外墙"),
                                                     QStringLiteral("砖墙")}));
    EXPECT_EQ(dialog->m_Code.Name, QStringLiteral("370砖墙"));

    ClickTreeItem(*dialog, commonBricks);
    EXPECT_EQ(Names(*List(*dialog)), (QStringList{QStringLiteral("240砖墙"), QStringLiteral("370砖墙")}));
    ClickRow(*List(*dialog), 1);
    EXPECT_EQ(ChooseFromListMenu(*dialog, 1, QStringLiteral("取消常用")).value(5), QStringLiteral("取消常用"));
    EXPECT_FALSE(isCommon(m_Brick370));
    EXPECT_EQ(CurrentTreePath(*dialog), commonBricks);
    EXPECT_EQ(Names(*List(*dialog)), QStringList{QStringLiteral("240砖墙")});

    // With nothing chosen the command asks for a construction.
    Service().QueueAnswer(QMessageBox::Ok);
    ChooseFromListMenu(*dialog, -1, QStringLiteral("取消常用"));
    EXPECT_EQ(MessagesShown(), QStringList{QStringLiteral("请选择一种围护结构！")});
    EXPECT_TRUE(isCommon(m_Brick240));
}

TEST_F(CTqUiBSListDlgTest, AQueryResultChosenWithOkBecomesTheChoice)
{
    auto dialog = OpenOnCode(m_RoofA);
    ClickTreeItem(*dialog, {QStringLiteral("常用围护结构"), QStringLiteral("外墙"), QStringLiteral("砖墙")});
    TestHelpers::RunModal<CTqUiBSQueryDlg>(
        [&dialog] {
            QTest::mouseClick(Button(*dialog, "queryButton"), Qt::LeftButton);
            return 0;
        },
        [](CTqUiBSQueryDlg& query) {
            query.findChild<QCheckBox*>(QStringLiteral("typeCheckBox"))->setChecked(false);
            query.findChild<QLineEdit*>(QStringLiteral("minValueEdit"))->setText(QStringLiteral("1.5"));
            query.findChild<QLineEdit*>(QStringLiteral("maxValueEdit"))->setText(QStringLiteral("2"));
            QTest::mouseClick(Button(query, "queryButton"), Qt::LeftButton);
            // 240砖墙 evaluated with the library dialog's coefficients; the others have no layers.
            auto* results = query.findChild<CTqUiReportControl*>(QStringLiteral("resultGrid"));
            EXPECT_EQ(Names(*results), QStringList{QStringLiteral("1")});
            EXPECT_EQ(results->GetCellText(0, 4), QStringLiteral("1.88"));
            results->SetFocusedRow(0);
            QTest::mouseClick(Button(query, "okButton"), Qt::LeftButton);
        });

    // A national construction is shown under all constructions, whatever subtree was selected.
    EXPECT_EQ(CurrentTreePath(*dialog), (QStringList{QStringLiteral("所有围护结构"), QStringLiteral("外墙"),
                                                     QStringLiteral("砖墙")}));
    EXPECT_EQ(List(*dialog)->GetFocusedRow(), 0);
    EXPECT_EQ(dialog->m_Code.Name, QStringLiteral("240砖墙"));
    EXPECT_EQ(Rows(*Layers(*dialog)), kBrick240Layers);
}

TEST_F(CTqUiBSListDlgTest, AddAndModifyRunTheEditorAndShowWhatItSaved)
{
    auto dialog = OpenOnCode(m_Brick240);
    const auto runEditor = [](const std::function<void()>& open, std::function<void(CTqUiBSInfoDlg&)> answer) {
        TestHelpers::RunModal<CTqUiBSInfoDlg>(
            [&open] {
                open();
                return 0;
            },
            std::move(answer));
    };
    const auto click = [&dialog](const char* button) {
        return [&dialog, button] { QTest::mouseClick(Button(*dialog, button), Qt::LeftButton); };
    };

    // Added on a category: a new type with its construction, selected in the rebuilt tree.
    ClickTreeItem(*dialog, {QStringLiteral("所有围护结构"), QStringLiteral("门")});
    runEditor(click("addButton"), [](CTqUiBSInfoDlg& editor) {
        EXPECT_EQ(editor.m_nMode, 1);
        EXPECT_EQ(editor.m_Category.Name, QStringLiteral("门"));
        EXPECT_EQ(editor.m_Code.CommonFlag, 0);
        SetEditorNames(editor, QStringLiteral("木门"), QStringLiteral("实木门"));
        QTest::mouseClick(Button(editor, "executeButton"), Qt::LeftButton);
    });
    EXPECT_EQ(CurrentTreePath(*dialog), (QStringList{QStringLiteral("所有围护结构"), QStringLiteral("门"),
                                                     QStringLiteral("木门")}));
    EXPECT_EQ(Names(*List(*dialog)), QStringList{QStringLiteral("实木门")});
    EXPECT_EQ(List(*dialog)->GetFocusedRow(), 0);
    EXPECT_EQ(dialog->m_Code.Name, QStringLiteral("实木门"));

    // A double click modifies; a renamed type is renamed in the tree too.
    CTqUiReportControl& list = *List(*dialog);
    const auto doubleClick = [&list] {
        // As the mouse does it: press, release, double click; the last release comes after.
        const QPoint at = TestHelpers::CellCenter(list, list.topLevelItem(0), 0);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    };
    runEditor(doubleClick, [](CTqUiBSInfoDlg& editor) {
        EXPECT_EQ(editor.m_nMode, 2);
        EXPECT_EQ(editor.m_Code.Name, QStringLiteral("实木门"));
        EXPECT_EQ(editor.m_CrXs.m_dWHrXs, CallerCrXs().m_dWHrXs);
        SetEditorNames(editor, QStringLiteral("木质门"), QStringLiteral("实木门2"));
        QTest::mouseClick(Button(editor, "executeButton"), Qt::LeftButton);
    });
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, TestHelpers::CellCenter(list, list.topLevelItem(0), 0));
    EXPECT_EQ(CurrentTreePath(*dialog), (QStringList{QStringLiteral("所有围护结构"), QStringLiteral("门"),
                                                     QStringLiteral("木质门")}));
    EXPECT_EQ(Names(*List(*dialog)), QStringList{QStringLiteral("实木门2")});
    EXPECT_EQ(dialog->m_Code.Name, QStringLiteral("实木门2"));

    // Added on the common constructions: a common one. Cancel in the editor changes nothing.
    ClickTreeItem(*dialog, {QStringLiteral("常用围护结构"), QStringLiteral("外墙"), QStringLiteral("砖墙")});
    runEditor(click("addButton"), [](CTqUiBSInfoDlg& editor) {
        EXPECT_EQ(editor.m_Code.CommonFlag, 1);
        editor.reject();
    });
    EXPECT_EQ(CurrentTreePath(*dialog), (QStringList{QStringLiteral("常用围护结构"), QStringLiteral("外墙"),
                                                     QStringLiteral("砖墙")}));
}

TEST_F(CTqUiBSListDlgTest, TheMaterialLibraryOpensOnALayerAndItsChangesShowInTheList)
{
    auto dialog = OpenOnCode(m_Brick240);
    CTqUiReportControl& layers = *Layers(*dialog);
    const QPoint brick = TestHelpers::CellCenter(layers, layers.topLevelItem(1), 0);
    TestHelpers::RunModal<CTqUiStuffListDlg>(
        [&layers, brick] {
            QTest::mouseClick(layers.viewport(), Qt::LeftButton, {}, brick);
            QTest::mouseDClick(layers.viewport(), Qt::LeftButton, {}, brick);
            return 0;
        },
        [this](CTqUiStuffListDlg& library) {
            EXPECT_EQ(library.m_Timbering.GetID(), m_Clay);
            EXPECT_EQ(library.m_Type.GetID(), m_MasonryType);
            // As if the engineer corrected the brick's conductivity there: 0.81 becomes 0.58.
            Exec(QStringLiteral("UPDATE Timbering SET DrXs = 0.58 WHERE ID = ?"), {m_Clay});
            library.reject();
        });
    QTest::mouseRelease(layers.viewport(), Qt::LeftButton, {}, brick);

    // K summer = 1/(1/8 + 2 × 0.020/0.93 + 0.240/0.58 + 1/15) = 1/0.64847 = 1.54.
    EXPECT_EQ(List(*dialog)->GetCellText(0, 1), QStringLiteral("1.54"));
    EXPECT_EQ(dialog->m_Code.Name, QStringLiteral("240砖墙")) << "the choice stays";

    // The button opens the library without a preset material.
    TestHelpers::RunModal<CTqUiStuffListDlg>(
        [&dialog] {
            QTest::mouseClick(Button(*dialog, "materialButton"), Qt::LeftButton);
            return 0;
        },
        [](CTqUiStuffListDlg& library) {
            EXPECT_EQ(library.m_Timbering.GetID(), 0);
            library.reject();
        });
}

TEST_F(CTqUiBSListDlgTest, ModifyWithNothingChosenAsksForAChoiceAndOpensNoEditor)
{
    CTqUiBSListDlg dialog(CallerCrXs());
    dialog.m_Type.SetID(m_Brick);
    Show(dialog);
    bool bEditorOpened = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&bEditorOpened] {
        if (auto* editor = qobject_cast<CTqUiBSInfoDlg*>(QApplication::activeModalWidget())) {
            bEditorOpened = true;
            editor->reject();
        }
    });
    watch.start(10);

    Service().QueueAnswer(QMessageBox::Ok);
    ChooseFromListMenu(dialog, -1, QStringLiteral("修改"));
    EXPECT_EQ(MessagesShown(), QStringList{QStringLiteral("请选择要修改的围护结构！")});
    EXPECT_EQ(Service().ShownMessages().front().icon, QMessageBox::Warning);
    EXPECT_FALSE(bEditorOpened);
}

} // namespace
