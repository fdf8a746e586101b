#include "ui/library/CTqUiBSListDlg.h"

#include "DialogFixture.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "host/ui/CCtrlMenumGlobalSetting.h"
#include "host/ui/CSuperEdit.h"
#include "ui/editor/CTqUiBSInfoDlg.h"
#include "ui/library/CTqUiBSViewPicDlg.h"
#include "ui/materials/CTqUiStuffListDlg.h"
#include "ui/query/CTqUiBSQueryDlg.h"

#include <QCheckBox>
#include <QTimer>

#include <functional>
#include <tuple>
#include <utility>

namespace {

using CTqUiBSListDlgTest = DialogFixture;

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

const QStringList kAllBricks{"所有围护结构", "外墙", "砖墙"}, kCommonBricks{"常用围护结构", "外墙", "砖墙"};

// The dialog opens where the IDs preset in its construction, wall data, category and type say (the
// entry tests open it on a province's construction), evaluated with the caller's coefficients.
TEST_F(CTqUiBSListDlgTest, OpensWhereThePresetRecordsSayAndWhereItWasLeft)
{
    // The placement is stored when a dialog closes and restored when the next opens.
    OpenOnCode(m_Brick240)->resize(1010, 640);
    auto dialog = OpenOnCode(m_Brick240);
    EXPECT_EQ(dialog->size(), QSize(1010, 640));
    EXPECT_EQ(CurrentTreePath(*dialog), kAllBricks);
    EXPECT_EQ(Names(*List(*dialog)), (QStringList{"240砖墙", "370砖墙"}));
    EXPECT_EQ(List(*dialog)->GetRowTexts(0), kBrick240Row);
    EXPECT_EQ(List(*dialog)->GetFocusedRow(), 0);
    EXPECT_EQ(Rows(*Layers(*dialog)), kBrick240Layers);
    EXPECT_EQ(dialog->m_BoundingStructure.BSCId, m_Brick240);
    // The fields show the caller's coefficients and cannot be edited.
    for (const auto& [name, value] :
         {std::pair("summerHrXsEdit", 15.0), {"winterHrXsEdit", 25.0}, {"innerHrXsEdit", 8.0}}) {
        EXPECT_EQ(Find<CSuperEdit>(*dialog, name)->GetWindowValue(), value) << name;
        EXPECT_TRUE(Find<CSuperEdit>(*dialog, name)->isReadOnly()) << name;
    }

    const struct
    {
        const char* name;
        int code, wall, category, type; ///< preset IDs, 0 for none
        QStringList treePath, listNames;
        int focusedRow;
    } table[] = {
        // clang-format off
        {"the wall's construction alone is enough", 0, m_RoofA, 0, 0, {"所有围护结构", "屋面", "平屋面"}, {"平屋面A"}, 0},
        {"a category alone: an empty list", 0, 0, m_Roof, 0, {"所有围护结构", "屋面"}, {}, -1},
        {"a type alone: its constructions, none chosen", 0, 0, 0, m_Brick, kAllBricks, {"240砖墙", "370砖墙"}, -1},
        {"a construction ID that names nothing", 9999, 9999, 0, 0, {"所有围护结构"}, {}, -1},
        // clang-format on
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        CTqUiBSListDlg preset(CallerCrXs());
        preset.m_Code.SetID(row.code);
        preset.m_WallData.m_nBSCId = row.wall;
        preset.m_Category.SetID(row.category);
        preset.m_Type.SetID(row.type);
        preset.m_Type.Name = "砖墙";
        preset.m_Code.Name = "240砖墙";
        Show(preset);
        EXPECT_EQ(CurrentTreePath(preset), row.treePath);
        EXPECT_EQ(Names(*List(preset)), row.listNames);
        EXPECT_EQ(List(preset)->GetFocusedRow(), row.focusedRow);
        EXPECT_EQ(preset.m_Code.Name, row.focusedRow < 0 ? QString() : row.listNames[row.focusedRow]);
    }
}

TEST_F(CTqUiBSListDlgTest, RowClicksKeysAndTreeClicksChooseAndResetTheRecords)
{
    auto dialog = OpenOnCode(m_Brick240);
    ClickRow(*List(*dialog), 1);
    EXPECT_EQ(dialog->m_Code.Name, "370砖墙");
    EXPECT_EQ(dialog->m_WallData.m_nBSCId, m_Brick370);
    EXPECT_EQ(Layers(*dialog)->RowCount(), 0) << "370砖墙 has no layer set";
    List(*dialog)->setFocus();
    QTest::keyClick(List(*dialog), Qt::Key_Up);
    EXPECT_EQ(dialog->m_Code.Name, "240砖墙");
    EXPECT_EQ(Rows(*Layers(*dialog)), kBrick240Layers);

    // A tree click resets the records but keeps the chosen wall.
    ClickTreeItem(*dialog, {"所有围护结构", "屋面", "平屋面"});
    EXPECT_EQ(Names(*List(*dialog)), QStringList{"平屋面A"});
    EXPECT_EQ(List(*dialog)->GetFocusedRow(), -1);
    EXPECT_EQ(Layers(*dialog)->RowCount(), 0);
    EXPECT_EQ(dialog->m_Type.Name + dialog->m_Category.Name + dialog->m_Code.Name, "平屋面屋面");
    EXPECT_EQ(dialog->m_WallData.m_nBSCId, m_Brick240);

    // Back on the brick walls, now in the common subtree: only the common one is listed, and the
    // kept wall data chooses it again.
    ClickTreeItem(*dialog, kCommonBricks);
    EXPECT_EQ(dialog->m_bCommon, 1);
    EXPECT_EQ(Names(*List(*dialog)), QStringList{"240砖墙"});
    EXPECT_EQ(List(*dialog)->GetFocusedRow(), 0);
    EXPECT_EQ(Rows(*Layers(*dialog)), kBrick240Layers);

    // A province branch lists that province's constructions of the type: none of 砖墙.
    ClickTreeItem(*dialog, {"所有省份", "北京市", "外墙"});
    EXPECT_EQ(dialog->m_Province.Name, "北京市");
    EXPECT_EQ(dialog->m_bCommon, 0);
    EXPECT_EQ(List(*dialog)->RowCount(), 0);

    // Back on all brick walls the kept wall data chooses 240砖墙; OK hands back the row highlighted
    // with the keys below it.
    ClickTreeItem(*dialog, kAllBricks);
    List(*dialog)->setFocus();
    QTest::keyClick(List(*dialog), Qt::Key_Down);
    Click(*dialog, "okButton");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->m_WallData.m_nBSCId, m_Brick370);
}

// With nothing chosen, OK asks for a choice and the dialog stays open. The OK button and Enter in
// the winter field (the last before OK) press OK; Enter in the other fields does not. Commands that
// need a construction ask for one too, and open no editor.
TEST_F(CTqUiBSListDlgTest, OkAndCommandsWithNothingChosenAskForAChoice)
{
    const std::pair<const char*, bool> controls[] = {
        {"okButton", true}, {"summerHrXsEdit", false}, {"innerHrXsEdit", false}, {"winterHrXsEdit", true}};
    for (const auto& [control, bPressesOk] : controls) {
        SCOPED_TRACE(control);
        Answer({});
        CTqUiBSListDlg dialog(CallerCrXs());
        Show(dialog);
        if (bPressesOk)
            Service().QueueAnswer(QMessageBox::Ok);
        QWidget* widget = Find(dialog, control);
        widget->setFocus();
        QTest::keyClick(widget, qobject_cast<QPushButton*>(widget) != nullptr ? Qt::Key_Space : Qt::Key_Return);
        EXPECT_EQ(MessagesShown(), bPressesOk ? QStringList{"请选择一种围护结构！"} : QStringList());
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), 0);
    }

    Answer({});
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
    const std::pair<const char*, const char*> commands[] = {
        {"修改", "请选择要修改的围护结构！"}, {"复制", "请选择一种围护结构！"}, {"设为常用", "请选择一种围护结构！"}};
    for (const auto& [command, message] : commands) {
        SCOPED_TRACE(command);
        Answer({QMessageBox::Ok});
        ChooseFromListMenu(dialog, -1, QString::fromUtf8(command));
        EXPECT_EQ(MessagesShown(), QStringList{QString::fromUtf8(message)});
    }
    EXPECT_FALSE(bEditorOpened);
    EXPECT_EQ(CountRows("BSCode"), 4) << "nothing copied";
}

// A construction's own picture comes first; one without shows its section drawn from its layers
// (neither colour below), and one without layers its type's picture.
TEST_F(CTqUiBSListDlgTest, PicturePrefersTheConstructionsOwnThenItsLayersThenItsTypes)
{
    // The pictures written here are 60 px wide, a drawn section 800.
    const QColor typeColour(220, 30, 30), codeColour(30, 30, 220), drawn(Qt::white);
    // The construction, pictures of its type and of itself present, and the colour shown (invalid: none).
    const std::tuple<int, bool, bool, QColor> table[] = {
        {m_Brick240, false, false, drawn},     {m_Brick240, true, false, drawn},
        {m_Brick240, false, true, codeColour}, {m_Brick370, true, false, typeColour},
        {m_Brick370, true, true, codeColour},  {m_Brick370, false, false, QColor()}};
    for (const auto& [code, bTypePicture, bCodePicture, expected] : table) {
        SCOPED_TRACE(testing::Message() << code << bTypePicture << bCodePicture);
        const QString typePicture = TypePicturePath("砖墙");
        const QString codePicture = CodePicturePath("砖墙", code == m_Brick240 ? "240砖墙" : "370砖墙");
        QFile::remove(typePicture);
        QFile::remove(codePicture);
        if (bTypePicture)
            WritePicture(typePicture, typeColour);
        if (bCodePicture)
            WritePicture(codePicture, codeColour);
        auto dialog = OpenOnCode(code);
        ASSERT_EQ(Picture(*dialog)->HasImage(), expected.isValid());
        if (!expected.isValid()) {
            EXPECT_EQ(Picture(*dialog)->text(), "无示意图片");
            continue;
        }
        EXPECT_EQ(Picture(*dialog)->GetImage().width(), expected == drawn ? 800 : 60);
        if (expected == drawn)
            continue;
        // The colour at the middle of the drawn picture; JPEG keeps a flat colour within a few levels.
        const QImage shown = Picture(*dialog)->grab().toImage();
        const QColor centre = shown.pixelColor(shown.width() / 2, shown.height() / 2);
        EXPECT_NEAR(centre.red(), expected.red(), 12);
        EXPECT_NEAR(centre.blue(), expected.blue(), 12);
    }

    // A click on the picture opens it in the viewer.
    auto dialog = OpenOnCode(m_Brick240);
    TestHelpers::RunModal<CTqUiBSViewPicDlg>([&] { QTest::mouseClick(Picture(*dialog), Qt::LeftButton); },
                                             [](CTqUiBSViewPicDlg& viewer) { viewer.close(); });
}

TEST_F(CTqUiBSListDlgTest, ButtonsAndTheMenuFollowTheChoiceAndTheTree)
{
    auto dialog = OpenOnCode(m_Brick240);
    const auto enabled = [&dialog](const char* name) { return Button(*dialog, name)->isEnabled(); };
    const struct
    {
        QStringList path;
        bool bRowChosen; ///< modify and copy
        bool bCategory;  ///< add button and first menu item
        bool bDelete;    ///< a chosen construction, or a chosen type: button and third menu item
    } table[] = {
        {{}, true, true, true},
        {{"所有围护结构", "屋面", "平屋面"}, false, true, true},
        {{"所有围护结构", "外墙"}, false, true, false},
        {{"所有围护结构"}, false, false, false},
        {kCommonBricks, true, true, true},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.path.join(QLatin1Char('/')).toStdString());
        if (!row.path.isEmpty())
            ClickTreeItem(*dialog, row.path);
        for (const char* button : {"modifyButton", "copyButton"})
            EXPECT_EQ(enabled(button), row.bRowChosen) << button;
        EXPECT_EQ(enabled("addButton"), row.bCategory);
        EXPECT_EQ(enabled("deleteButton"), row.bDelete);
        EXPECT_TRUE(enabled("queryButton") && enabled("materialButton"));
        const QStringList menu = ChooseFromListMenu(*dialog, -1);
        EXPECT_EQ(menu.value(0), row.bCategory ? "添加" : "添加(off)");
        EXPECT_EQ(menu.value(2), row.bDelete ? "删除" : "删除(off)");
    }
}

TEST_F(CTqUiBSListDlgTest, DeletionAsksWithTheNameAndCancelDeletesNothing)
{
    auto dialog = OpenOnCode(m_Brick240);
    const QString codeQuestion = "确定要删除该围护结构 \"240砖墙\" 吗?";
    Service().QueueAnswer(QMessageBox::Cancel);
    Click(*dialog, "deleteButton");
    ASSERT_EQ(MessagesShown(), QStringList{codeQuestion});
    const CTQUiService::MessageRecord& asked = Service().ShownMessages().front();
    EXPECT_EQ(asked.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(asked.defaultButton, QMessageBox::Cancel);
    EXPECT_TRUE(RowExists("BSCode", m_Brick240));

    // The Delete key asks the same; OK deletes the construction and its layer set.
    Answer({QMessageBox::Ok, QMessageBox::Ok});
    List(*dialog)->setFocus();
    QTest::keyClick(List(*dialog), Qt::Key_Delete);
    EXPECT_EQ(MessagesShown(), (QStringList{codeQuestion, "删除成功！"}));
    EXPECT_FALSE(RowExists("BSCode", m_Brick240));
    EXPECT_EQ(CountRows("BoundingStructure", "BSCId = ?", {m_Brick240}), 0);
    EXPECT_EQ(Names(*List(*dialog)), QStringList{"370砖墙"});
    EXPECT_TRUE(dialog->m_Code.Name.isEmpty()) << "the deleted construction is no choice";

    // With no construction chosen the type, chosen again in the tree, goes with all its
    // constructions and leaves the tree.
    Answer({QMessageBox::Ok, QMessageBox::Ok});
    ClickTreeItem(*dialog, kAllBricks);
    EXPECT_EQ(ChooseFromListMenu(*dialog, -1, "删除").value(2), "删除");
    EXPECT_EQ(MessagesShown(),
              (QStringList{"确定要删除该围护结构类型 \"砖墙\" 及其所属的所有围护结构吗?", "删除成功！"}));
    EXPECT_FALSE(RowExists("BSType", m_Brick));
    EXPECT_EQ(CountRows("BSCode", "BSTId = ?", {m_Brick}), 0);
    EXPECT_EQ(TreeItem(*dialog, kAllBricks), nullptr);
    EXPECT_EQ(CurrentTreePath(*dialog), (QStringList{"所有围护结构", "外墙"}));

    // On a category nothing is deleted and nothing asked.
    Answer({});
    QTest::keyClick(List(*dialog), Qt::Key_Delete);
    EXPECT_TRUE(MessagesShown().isEmpty());
}

// Sequences of user actions that once left the dialog or the library in a wrong state, each with
// the state it must leave now. The rows share one library, in this order.
TEST_F(CTqUiBSListDlgTest, ActionSequencesLeaveTheChoiceTheMenuAndTheLibraryRight)
{
    const auto menuItem = [](CTqUiBSListDlg& dialog, int index) { return ChooseFromListMenu(dialog, -1).value(index); };
    const auto runMaterialLibrary = [](CTqUiBSListDlg& dialog) {
        TestHelpers::RunModal<CTqUiStuffListDlg>([&dialog] { Click(dialog, "materialButton"); },
                                                 [](CTqUiStuffListDlg& library) { library.reject(); });
    };
    const struct
    {
        const char* name;
        std::function<void(CTqUiBSListDlg&)> actions;
        std::function<void(CTqUiBSListDlg&)> check;
    } table[] = {
        {"a heading, then the material library: adding stays off, and a forced add is refused",
         [&](CTqUiBSListDlg& dialog) {
             ClickTreeItem(dialog, {"所有围护结构"});
             runMaterialLibrary(dialog);
         },
         [&](CTqUiBSListDlg& dialog) {
             EXPECT_EQ(menuItem(dialog, 0), "添加(off)");
             EXPECT_FALSE(Button(dialog, "addButton")->isEnabled());
             Answer({QMessageBox::Ok});
             emit List(dialog)->menuCommand(TQMenuCommand::Add);
             EXPECT_EQ(MessagesShown(), QStringList{"请先选择围护结构的大类！"});
             EXPECT_EQ(CountRows("BSType", "BSDLId = 0"), 0);
         }},
        {"a heading, then a category: the button and the menu both offer adding",
         [](CTqUiBSListDlg& dialog) {
             ClickTreeItem(dialog, {"所有省份"});
             ClickTreeItem(dialog, {"所有围护结构", "外墙"});
         },
         [&](CTqUiBSListDlg& dialog) {
             EXPECT_EQ(menuItem(dialog, 0), "添加");
             EXPECT_TRUE(Button(dialog, "addButton")->isEnabled());
         }},
        {"added under 屋面 with the name of 外墙's type: shown under 外墙",
         [](CTqUiBSListDlg& dialog) {
             ClickTreeItem(dialog, {"所有围护结构", "屋面"});
             TestHelpers::RunModal<CTqUiBSInfoDlg>([&] { Click(dialog, "addButton"); },
                                                   [](CTqUiBSInfoDlg& editor) {
                                                       SetEditorNames(editor, "砖墙", "新砖墙");
                                                       Click(editor, "executeButton");
                                                   });
         },
         [](CTqUiBSListDlg& dialog) {
             EXPECT_EQ(CurrentTreePath(dialog), kAllBricks);
             EXPECT_EQ(dialog.m_Category.Name, "外墙");
             EXPECT_EQ(dialog.m_Code.Name, "新砖墙");
             EXPECT_EQ(List(dialog)->GetCellText(List(dialog)->GetFocusedRow(), 0), "新砖墙");
         }},
        {"a modified thickness: the drawn section follows what was saved",
         [](CTqUiBSListDlg& dialog) {
             dialog.setProperty("before", Picture(dialog)->GetImage());
             TestHelpers::RunModal<CTqUiBSInfoDlg>([&] { Click(dialog, "modifyButton"); },
                                                   [](CTqUiBSInfoDlg& editor) {
                                                       Layers(editor)->SetCellText(1, 1, "370");
                                                       Click(editor, "executeButton");
                                                   });
         },
         [](CTqUiBSListDlg& dialog) {
             EXPECT_EQ(Rows(*Layers(dialog)).value(1).value(1), "370.00");
             const QImage before = dialog.property("before").value<QImage>();
             EXPECT_EQ(Picture(dialog)->GetImage().width(), 800);
             EXPECT_NE(Picture(dialog)->GetImage(), before);
         }},
        {"a copy whose layer set cannot be stored: no copy, no picture, the error",
         [this](CTqUiBSListDlg& dialog) {
             WritePicture(CodePicturePath("砖墙", "240砖墙"), Qt::blue);
             Exec("ALTER TABLE BoundingStructure RENAME TO BoundingStructureGone");
             Answer({QMessageBox::Ok});
             Click(dialog, "copyButton");
             Exec("ALTER TABLE BoundingStructureGone RENAME TO BoundingStructure");
         },
         [this](CTqUiBSListDlg&) {
             EXPECT_EQ(MessagesShown(), QStringList{"操作数据库时出错！"});
             EXPECT_EQ(CountRows("BSCode", "Name LIKE ?", {"复件%"}), 0);
             EXPECT_FALSE(QFileInfo(CodePicturePath("砖墙", "复件 240砖墙")).exists());
         }},
        {"a construction deleted: Delete again does nothing until the type is chosen again",
         [](CTqUiBSListDlg& dialog) {
             Answer({QMessageBox::Ok, QMessageBox::Ok});
             List(dialog)->setFocus();
             QTest::keyClick(List(dialog), Qt::Key_Delete);
             Answer({});
             QTest::keyClick(List(dialog), Qt::Key_Delete);
         },
         [&](CTqUiBSListDlg& dialog) {
             EXPECT_TRUE(MessagesShown().isEmpty());
             EXPECT_TRUE(RowExists("BSType", m_Brick));
             EXPECT_EQ(menuItem(dialog, 2), "删除(off)");
             EXPECT_FALSE(Button(dialog, "deleteButton")->isEnabled());
             ClickTreeItem(dialog, kAllBricks);
             EXPECT_EQ(menuItem(dialog, 2), "删除");
             EXPECT_TRUE(Button(dialog, "deleteButton")->isEnabled());
         }},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        Answer({});
        auto dialog = OpenOnCode(m_Brick240);
        row.actions(*dialog);
        row.check(*dialog);
    }
}

TEST_F(CTqUiBSListDlgTest, CopyingTwicePrefixesOnceAndTwiceWithTheSameLayersAndPicture)
{
    WritePicture(CodePicturePath("砖墙", "240砖墙"), Qt::blue);
    auto dialog = OpenOnCode(m_Brick240);
    Click(*dialog, "copyButton");
    EXPECT_EQ(ChooseFromListMenu(*dialog, 0, "复制").value(3), "复制");

    EXPECT_EQ(Names(*List(*dialog)), (QStringList{"240砖墙", "370砖墙", "复件 240砖墙", "复件 复件 240砖墙"}));
    EXPECT_EQ(dialog->m_Code.Name, "240砖墙") << "the source stays chosen";
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
        EXPECT_EQ(QStringList({layers.TIdS, layers.HouDuS, layers.XzXsS}),
                  QStringList({source.TIdS, source.HouDuS, source.XzXsS}));
        EXPECT_TRUE(QFileInfo(CodePicturePath("砖墙", name)).isFile());
    }
    EXPECT_TRUE(MessagesShown().isEmpty());

    // A library that refuses the copy: the error, and no layer set or picture for it.
    if (IsPostgres())
        return; // a read-only library is an SQLite file
    OpenLibrary(true);
    Service().QueueAnswer(QMessageBox::Ok);
    Click(*dialog, "copyButton");
    EXPECT_EQ(MessagesShown(), QStringList{"操作数据库时出错！"});
    EXPECT_EQ(Service().ShownMessages().front().icon, QMessageBox::Critical);
    EXPECT_FALSE(QFileInfo(CodePicturePath("砖墙", "复件 复件 复件 240砖墙")).exists());
}

TEST_F(CTqUiBSListDlgTest, TheCommonFlagTogglesInAndOutOfTheCommonConstructions)
{
    const auto isCommon = [this](int id) { return CountRows("BSCode", "ID = ? AND CommonFlag <> 0", {id}) == 1; };
    auto dialog = OpenOnCode(m_Brick370);
    EXPECT_EQ(ChooseFromListMenu(*dialog, 1, "设为常用").value(5), "设为常用");
    EXPECT_TRUE(isCommon(m_Brick370));
    EXPECT_EQ(CurrentTreePath(*dialog), kAllBricks);
    EXPECT_EQ(dialog->m_Code.Name, "370砖墙");

    ClickTreeItem(*dialog, kCommonBricks);
    EXPECT_EQ(Names(*List(*dialog)), (QStringList{"240砖墙", "370砖墙"}));
    ClickRow(*List(*dialog), 1);
    EXPECT_EQ(ChooseFromListMenu(*dialog, 1, "取消常用").value(5), "取消常用");
    EXPECT_FALSE(isCommon(m_Brick370));
    EXPECT_TRUE(isCommon(m_Brick240));
    EXPECT_EQ(CurrentTreePath(*dialog), kCommonBricks);
    EXPECT_EQ(Names(*List(*dialog)), QStringList{"240砖墙"});
}

TEST_F(CTqUiBSListDlgTest, AQueryResultChosenWithOkBecomesTheChoice)
{
    auto dialog = OpenOnCode(m_RoofA);
    ClickTreeItem(*dialog, kCommonBricks);
    TestHelpers::RunModal<CTqUiBSQueryDlg>([&dialog] { Click(*dialog, "queryButton"); },
                                           [](CTqUiBSQueryDlg& query) {
                                               Find<QCheckBox>(query, "typeCheckBox")->setChecked(false);
                                               Find<QLineEdit>(query, "minValueEdit")->setText("1.5");
                                               Find<QLineEdit>(query, "maxValueEdit")->setText("2");
                                               Click(query, "queryButton");
                                               // 240砖墙 with the library dialog's coefficients; the
                                               // others have no layers.
                                               auto* results = Find<CTqUiReportControl>(query, "resultGrid");
                                               EXPECT_EQ(Names(*results), QStringList{"1"});
                                               EXPECT_EQ(results->GetCellText(0, 4), "1.88");
                                               results->SetFocusedRow(0);
                                               Click(query, "okButton");
                                           });
    // A national construction is shown under all constructions, whatever subtree was selected.
    EXPECT_EQ(CurrentTreePath(*dialog), kAllBricks);
    EXPECT_EQ(List(*dialog)->GetFocusedRow(), 0);
    EXPECT_EQ(Rows(*Layers(*dialog)), kBrick240Layers);
}

TEST_F(CTqUiBSListDlgTest, AddAndModifyRunTheEditorAndShowWhatItSaved)
{
    auto dialog = OpenOnCode(m_Brick240);
    CTqUiReportControl& list = *List(*dialog);
    // Added on a category: a new type with its construction, selected in the rebuilt tree.
    ClickTreeItem(*dialog, {"所有围护结构", "门"});
    TestHelpers::RunModal<CTqUiBSInfoDlg>([&] { Click(*dialog, "addButton"); },
                                          [](CTqUiBSInfoDlg& editor) {
                                              EXPECT_EQ(editor.m_nMode, 1);
                                              EXPECT_EQ(editor.m_Category.Name, "门");
                                              EXPECT_EQ(editor.m_Code.CommonFlag, 0);
                                              SetEditorNames(editor, "木门", "实木门");
                                              Click(editor, "executeButton");
                                          });
    EXPECT_EQ(CurrentTreePath(*dialog), (QStringList{"所有围护结构", "门", "木门"}));
    EXPECT_EQ(Names(list), QStringList{"实木门"});
    EXPECT_EQ(list.GetFocusedRow(), 0);
    EXPECT_EQ(dialog->m_Code.Name, "实木门");

    // A double click modifies; a renamed type is renamed in the tree too.
    const QPoint at = TestHelpers::CellCenter(list, list.topLevelItem(0), 0);
    TestHelpers::RunModal<CTqUiBSInfoDlg>(
        [&] {
            // As the mouse does it: press, release, double click; the last release comes after.
            QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
        },
        [](CTqUiBSInfoDlg& editor) {
            EXPECT_EQ(editor.m_nMode, 2);
            EXPECT_EQ(editor.m_Code.Name, "实木门");
            EXPECT_EQ(editor.m_CrXs.m_dWHrXs, CallerCrXs().m_dWHrXs);
            SetEditorNames(editor, "木质门", "实木门2");
            Click(editor, "executeButton");
        });
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(CurrentTreePath(*dialog), (QStringList{"所有围护结构", "门", "木质门"}));
    EXPECT_EQ(Names(list), QStringList{"实木门2"});

    // Added on the common constructions: a common one. Cancel in the editor changes nothing.
    ClickTreeItem(*dialog, kCommonBricks);
    TestHelpers::RunModal<CTqUiBSInfoDlg>([&] { Click(*dialog, "addButton"); },
                                          [](CTqUiBSInfoDlg& editor) {
                                              EXPECT_EQ(editor.m_Code.CommonFlag, 1);
                                              editor.reject();
                                          });
    EXPECT_EQ(CurrentTreePath(*dialog), kCommonBricks);
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
        },
        [this](CTqUiStuffListDlg& library) {
            EXPECT_EQ(library.m_Timbering.GetID(), m_Clay);
            EXPECT_EQ(library.m_Type.GetID(), m_MasonryType);
            // As if the engineer corrected the brick's conductivity there: 0.81 becomes 0.58.
            Exec("UPDATE Timbering SET DrXs = 0.58 WHERE ID = ?", {m_Clay});
            library.reject();
        });
    QTest::mouseRelease(layers.viewport(), Qt::LeftButton, {}, brick);

    // K summer = 1/(1/8 + 2 × 0.020/0.93 + 0.240/0.58 + 1/15) = 1/0.64847 = 1.54.
    EXPECT_EQ(List(*dialog)->GetCellText(0, 1), "1.54");
    EXPECT_EQ(dialog->m_Code.Name, "240砖墙") << "the choice stays";

    // The button opens the library without a preset material.
    TestHelpers::RunModal<CTqUiStuffListDlg>([&dialog] { Click(*dialog, "materialButton"); },
                                             [](CTqUiStuffListDlg& library) {
                                                 EXPECT_EQ(library.m_Timbering.GetID(), 0);
                                                 library.reject();
                                             });
}

} // namespace
