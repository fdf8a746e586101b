#include "ui/editor/CTqUiBSInfoDlg.h"

#include "DialogFixture.h"
#include "host/ui/CCtrlMenumGlobalSetting.h"

#include <QLabel>

namespace {

/// The construction editor driven as the library dialog drives it: records copied into its
/// members, a mode, the caller's surface coefficients (summer outer 15, winter outer 25, inner 8).
class CTqUiBSInfoDlgTest : public DialogFixture
{
protected:
    /// An editor on stored construction `codeId` (modify mode 2), or on `categoryId` with empty
    /// type and construction (add mode 1), shown unless it is to run modally.
    std::unique_ptr<CTqUiBSInfoDlg> Open(int mode, int codeId, int categoryId = 0, int provinceId = 0,
                                         bool bShow = true)
    {
        auto editor = std::make_unique<CTqUiBSInfoDlg>();
        editor->m_nMode = mode;
        editor->m_CrXs = CallerCrXs();
        if (codeId > 0) {
            editor->m_Code.ReadData(codeId, nullptr);
            editor->m_Type.ReadData(editor->m_Code.BSTId, nullptr);
            categoryId = editor->m_Type.BSDLId;
            provinceId = editor->m_Code.ProvinceId;
            m_Admin.GetBS(editor->m_BoundingStructure, codeId);
        }
        editor->m_Category.ReadData(categoryId, nullptr);
        if (provinceId > 0)
            editor->m_Province.ReadData(provinceId, nullptr);
        if (bShow)
            Show(*editor);
        return editor;
    }

    static QString Box(QWidget& editor, const char* name) { return Find<QLineEdit>(editor, name)->text(); }
    static void SetBox(QWidget& editor, const char* name, const QString& text)
    {
        Find<QLineEdit>(editor, name)->setText(text);
    }
    static QStringList Results(QWidget& editor)
    {
        QStringList results;
        for (const char* box : {"summerCrXsEdit", "winterCrXsEdit", "innerCrXsEdit", "attenuationEdit", "delayEdit"})
            results.append(Box(editor, box));
        return results;
    }

    /// Clicks a node of the material tree and presses "←".
    static void AddMaterial(QWidget& editor, const QStringList& path)
    {
        ClickTreeItem(editor, path);
        Click(editor, "addLayerButton");
    }

    /// The stored layer set of a construction as its three lists and picture flag.
    QStringList StoredLayers(int codeId)
    {
        CTQBoundingStructure layers;
        m_Admin.GetBS(layers, codeId);
        return {layers.TIdS, layers.HouDuS, layers.XzXsS, QString::number(layers.HaveDemoBMP)};
    }
};

// 240砖墙 with the caller's coefficients, by hand in CTqUiBSListDlgTest: K 1.88 / 1.98 / 1.70,
// attenuation 17.35, delay 9.7 h (one decimal).
const QStringList kBrick240Results{"1.88", "1.98", "1.70", "17.35", "9.7"};

TEST_F(CTqUiBSInfoDlgTest, AddModeStoresANewTypeConstructionAndLayersAndKeepsTheNameRules)
{
    // Run modally as the library dialog runs it.
    auto editor = Open(1, 0, m_Wall, m_Heilongjiang, false);
    editor->m_Code.CommonFlag = 1;
    QList<QStringList> rows;
    const int result =
        TestHelpers::RunModal<CTqUiBSInfoDlg>([&] { return editor->DoModal(); },
                                              [&](CTqUiBSInfoDlg&) {
                                                  SetEditorNames(*editor, "夹心墙 '%;--", "  北方夹心墙 ");
                                                  AddMaterial(*editor, {"所有材质", "砂浆", "水泥砂浆"});
                                                  AddMaterial(*editor, {"所有省份", "黑龙江省", "保温", "EPS板"});
                                                  rows = Rows(*Layers(*editor));
                                                  Click(*editor, "executeButton");
                                              });
    ASSERT_EQ(result, QDialog::Accepted);
    // A new layer is 1 mm with factor 1 and goes innermost; the ID cell is kept beyond the columns.
    EXPECT_EQ(rows.value(1), (QStringList{"EPS板", "1.00", "1.00", QString::number(m_Eps)}));
    EXPECT_EQ(editor->m_bChanged, 1);
    CTQBSType stored;
    stored.Name = "夹心墙 '%;--";
    ASSERT_EQ(stored.IsExist(nullptr), TQLoad::DBS_Exist);
    EXPECT_EQ(stored.BSDLId, m_Wall);
    CTQBSCode code;
    ASSERT_TRUE(code.ReadData(editor->m_Code.GetID(), nullptr));
    EXPECT_EQ(code.Name, "北方夹心墙");
    EXPECT_EQ(QList<int>({code.BSTId, code.ProvinceId, code.CommonFlag}),
              QList<int>({stored.GetID(), m_Heilongjiang, 1}));
    EXPECT_EQ(StoredLayers(code.GetID()),
              (QStringList{QStringLiteral("%1,%2").arg(m_Mortar).arg(m_Eps), "1.00,1.00", "1.00,1.00", "0"}));

    // A type name stored under another category: the construction joins that type, no type row
    // is added.
    editor = Open(1, 0, m_Wall);
    SetEditorNames(*editor, "平屋面", "平屋面B");
    Click(*editor, "executeButton");
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(editor->m_Code.BSTId, m_FlatRoof);
    EXPECT_EQ(LastId("BSType"), stored.GetID());

    // The same name in the same type and province: refused with the stored type's name; the
    // same name in another province is accepted.
    editor = Open(1, 0, m_Wall);
    SetEditorNames(*editor, "砖墙", "240砖墙");
    Service().QueueAnswer(QMessageBox::Ok);
    Click(*editor, "executeButton");
    EXPECT_EQ(MessagesShown(), QStringList{"该名称的围护结构已经存在！\r\n[砖墙] - [240砖墙]"});
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->m_bChanged, 0);
    editor = Open(1, 0, m_Wall, m_Beijing);
    SetEditorNames(*editor, "砖墙", "240砖墙");
    Click(*editor, "executeButton");
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(editor->m_Code.ProvinceId, m_Beijing);

    // Empty names: each its message, and the grid points at the row.
    editor = Open(1, 0, m_Wall);
    Answer({QMessageBox::Ok, QMessageBox::Ok});
    Click(*editor, "executeButton");
    SetEditorNames(*editor, "砖墙", "   ");
    Click(*editor, "executeButton");
    EXPECT_EQ(MessagesShown(), (QStringList{"请输入围护结构的类型！", "请输入围护结构的名称！"}));
    EXPECT_EQ(Grid(*editor)->GetRowCaption(Grid(*editor)->GetSelectedRow()), "名称");
    EXPECT_EQ(GridValue(*editor, "省份"), "所有省份");
}

TEST_F(CTqUiBSInfoDlgTest, ModifyModeRenamesMovesAndPutsBackARefusedRename)
{
    // Renamed type and refused construction name: the type row stays renamed, both records are
    // put back, and the caller is told something changed.
    auto editor = Open(2, m_Brick240);
    SetEditorNames(*editor, "实心砖墙", "370砖墙");
    Service().QueueAnswer(QMessageBox::Ok);
    Click(*editor, "executeButton");
    EXPECT_EQ(MessagesShown(), QStringList{"该名称的围护结构已经存在！\r\n[实心砖墙] - [370砖墙]"});
    EXPECT_EQ(editor->m_bChanged, 1);
    EXPECT_EQ(editor->m_Code.GetID(), m_Brick240);
    EXPECT_EQ(editor->m_Type.GetID(), m_Brick);
    CTQBSType brick;
    brick.ReadData(m_Brick, nullptr);
    EXPECT_EQ(brick.Name, "实心砖墙");

    // Another type's name moves the construction to it, with its layers.
    SetEditorNames(*editor, "保温墙", "240砖墙");
    Click(*editor, "executeButton");
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    CTQBSCode code;
    code.ReadData(m_Brick240, nullptr);
    EXPECT_EQ(code.BSTId, m_Insulated);
    EXPECT_EQ(StoredLayers(m_Brick240).mid(0, 3), (QStringList{QStringLiteral("%1,%2,%1").arg(m_Mortar).arg(m_Clay),
                                                               "20.00,240.00,20.00", "1.00,1.00,1.00"}));
}

TEST_F(CTqUiBSInfoDlgTest, LayerCommandsAndStoredListsThatDoNotMatch)
{
    // Three materials, the second gone from the library, the lists one and two items short, a
    // thickness that is no number.
    AddLayers(m_Brick370, QStringLiteral("%1,99,%2").arg(m_Mortar).arg(m_Clay), "abc,240", "1.2");
    auto editor = Open(2, m_Brick370);
    CTqUiReportControl& grid = *Layers(*editor);
    const QList<QStringList> stored{{"水泥砂浆", "0.00", "1.20", QString::number(m_Mortar)},
                                    {"（ID 99 的材质不存在）", "240.00", "1.00", "99"},
                                    {"黏土砖", "0.00", "1.00", QString::number(m_Clay)}};
    EXPECT_EQ(Rows(grid), stored);
    EXPECT_EQ(Box(*editor, "summerCrXsEdit"), "-") << "a layer without a material has no values";

    // Up on the first row and down on the last do nothing; moving keeps all four texts.
    grid.SetFocusedRow(0);
    Click(*editor, "upLayerButton");
    grid.SetFocusedRow(2);
    Click(*editor, "downLayerButton");
    EXPECT_EQ(Rows(grid), stored);
    emit grid.menuCommand(TQMenuCommand::MoveUp);
    EXPECT_EQ(Rows(grid), (QList<QStringList>{stored[0], stored[2], stored[1]}));
    EXPECT_EQ(grid.GetFocusedRow(), 1);

    // The Delete key removes the focused layer; the missing material goes and the results return.
    grid.SetFocusedRow(2);
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Delete);
    EXPECT_EQ(Rows(grid), (QList<QStringList>{stored[0], stored[2]}));
    EXPECT_NE(Box(*editor, "summerCrXsEdit"), "-");

    // A heading of the material tree is no material.
    Service().QueueAnswer(QMessageBox::Ok);
    AddMaterial(*editor, {"所有材质", "砂浆"});
    EXPECT_EQ(MessagesShown(), QStringList{"请选择某一具体的材质！"});

    // The thickness editor takes digits and one point only; an edit recomputes.
    const QString summerBefore = Box(*editor, "summerCrXsEdit");
    grid.editItem(grid.topLevelItem(1), 1);
    auto* cellEditor = grid.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(cellEditor, nullptr);
    cellEditor->selectAll();
    QTest::keyClicks(cellEditor, "12a0.x5");
    QTest::keyClick(cellEditor, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid.GetCellText(1, 1) == "120.5"; }));
    EXPECT_NE(Box(*editor, "summerCrXsEdit"), summerBefore);

    // A negative thickness counts as 0 and shows "0"; all layers removed, three empty lists.
    grid.SetCellText(0, 1, "-5");
    editor->CalculateCRXS();
    EXPECT_EQ(grid.GetCellText(0, 1), "0");
    for (int row = grid.RowCount() - 1; row >= 0; --row) {
        grid.SetFocusedRow(row);
        emit grid.menuCommand(TQMenuCommand::Delete);
    }
    Click(*editor, "executeButton");
    EXPECT_EQ(StoredLayers(m_Brick370), (QStringList{QString(), QString(), QString(), "0"}));
}

TEST_F(CTqUiBSInfoDlgTest, ThicknessFromATargetCoefficient)
{
    auto editor = Open(2, m_Brick240);
    EXPECT_EQ(Results(*editor), kBrick240Results);
    QLabel& status = *Find<QLabel>(*editor, "thicknessStatus");
    EXPECT_EQ(status.text(), "由K定厚度将改变第2层 黏土砖的厚度");
    AddMaterial(*editor, {"所有省份", "黑龙江省", "保温", "EPS板"});
    // Before anything changes the status names the layer the buttons will size.
    EXPECT_EQ(status.text(), "由K定厚度将改变第4层 EPS板的厚度");
    CTqUiReportControl& grid = *Layers(*editor);
    QList<QStringList> before = Rows(grid);
    QWidget& winterBox = *Find<QWidget>(*editor, "winterCrXsEdit");
    const QPoint boxAt = winterBox.mapTo(editor.get(), QPoint());

    // Within 0.01 of the coefficient shown: nothing changes, not even the boxes.
    SetBox(*editor, "winterCrXsEdit", QString::number(Results(*editor).at(1).toDouble() + 0.005));
    const QStringList typed = Results(*editor);
    Click(*editor, "winterThickButton");
    EXPECT_EQ(Rows(grid), before);
    EXPECT_EQ(Results(*editor), typed);

    // Winter target 0.45, by hand: the EPS layer (lowest λ·a, 0.042) needs
    // R = 1/0.45 − 1/8 − 1/25 − 0.339306 = 1.717916 m²·K/W, δ = 0.042 × 1.717916 = 72.15 mm.
    SetBox(*editor, "winterCrXsEdit", "0.45");
    Click(*editor, "winterThickButton");
    before[3][1] = "72.15";
    EXPECT_EQ(Rows(grid), before);
    EXPECT_EQ(grid.topLevelItem(3)->foreground(1).color(), QColor(255, 0, 0));
    EXPECT_EQ(Box(*editor, "winterCrXsEdit"), "0.45");
    EXPECT_EQ(status.text(), "第4层 EPS板：1.00 → 72.15 mm");

    // A summer target above what the films alone allow needs a negative thickness: 0.00, and the
    // status says the target is out of reach. The longer text moves nothing around it.
    SetBox(*editor, "summerCrXsEdit", "9");
    Click(*editor, "summerThickButton");
    EXPECT_EQ(grid.GetCellText(3, 1), "0.00");
    EXPECT_EQ(status.text(), "目标传热系数 9 达不到：第4层 EPS板减到0也不够，已置为0.00 mm，请改正");
    QApplication::processEvents();
    EXPECT_EQ(winterBox.mapTo(editor.get(), QPoint()), boxAt);
}

TEST_F(CTqUiBSInfoDlgTest, DemoPictureIsCopiedOnlyWhenANewFileWasChosen)
{
    const QString own = CodePicturePath("砖墙", "240砖墙"), other = m_Folder.filePath("chosen.JPG");
    WritePicture(own, Qt::red);
    WritePicture(other, Qt::blue);

    // The construction's own picture chosen again, its path in other case: nothing is copied (a
    // copy would first remove the picture), but the layer set says a picture was chosen.
    auto editor = Open(2, m_Brick240);
    Service().QueueFileAnswer(own.left(own.size() - 4) + ".JPG");
    Click(*editor, "selectDemoPictureButton");
    Click(*editor, "executeButton");
    EXPECT_EQ(StoredLayers(m_Brick240).at(3), "1");
    EXPECT_GT(QImage(own).pixelColor(1, 1).red(), 200);

    // Another file is copied over the construction's picture, into a folder made for it.
    editor = Open(2, AddCode("新墙", m_Brick, 0, 0));
    Service().QueueFileAnswer(other);
    Click(*editor, "selectDemoPictureButton");
    EXPECT_EQ(Service().ShownFileDialogs().last().filter, "墙体形象图形文件(*.JPG)|*.JPG||");
    Click(*editor, "executeButton");
    const QImage copied(CodePicturePath("砖墙", "新墙"));
    ASSERT_FALSE(copied.isNull());
    EXPECT_GT(copied.pixelColor(1, 1).blue(), 200);

    // Saving without choosing a file clears the flag.
    editor = Open(2, m_Brick240);
    Click(*editor, "executeButton");
    EXPECT_EQ(StoredLayers(m_Brick240).at(3), "0");
}

} // namespace
