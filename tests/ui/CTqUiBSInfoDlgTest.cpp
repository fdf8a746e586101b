#include "ui/editor/CTqUiBSInfoDlg.h"

#include "BSListDialogFixture.h"
#include "host/ui/CCtrlMenumGlobalSetting.h"
#include "host/ui/CTqUiPropertyGrid.h"

#include <QLabel>
#include <QLineEdit>

namespace {

/// The construction editor driven as the library dialog drives it: records copied into its
/// members, a mode, the caller's surface coefficients (summer outer 15, winter outer 25, inner 8).
class CTqUiBSInfoDlgTest : public BSListDialogFixture
{
protected:
    /// An editor on stored construction `codeId` (modify mode 2), or on `categoryId` with empty
    /// type and construction (add mode 1).
    std::unique_ptr<CTqUiBSInfoDlg> Make(int mode, int codeId, int categoryId = 0, int provinceId = 0)
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
        return editor;
    }

    std::unique_ptr<CTqUiBSInfoDlg> Open(int mode, int codeId, int categoryId = 0, int provinceId = 0)
    {
        auto editor = Make(mode, codeId, categoryId, provinceId);
        TestHelpers::Show(*editor);
        return editor;
    }

    static CTqUiReportControl& Grid(QWidget& editor)
    {
        return *editor.findChild<CTqUiReportControl*>(QStringLiteral("layerGrid"));
    }
    static QString Box(QWidget& editor, const char* name)
    {
        return editor.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
    }
    static void SetBox(QWidget& editor, const char* name, const QString& text)
    {
        editor.findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
    }
    static void Click(QWidget& editor, const char* button)
    {
        QTest::mouseClick(Button(editor, button), Qt::LeftButton);
    }
    static QStringList Results(QWidget& editor)
    {
        return {Box(editor, "summerCrXsEdit"), Box(editor, "winterCrXsEdit"), Box(editor, "innerCrXsEdit"),
                Box(editor, "attenuationEdit"), Box(editor, "delayEdit")};
    }

    /// Selects a node of the material tree and presses "←".
    static void AddMaterial(QWidget& editor, const QStringList& path)
    {
        auto* tree = editor.findChild<CMutiTreeCtrl*>(QStringLiteral("timbTree"));
        QTreeWidgetItem* item = TestHelpers::FindTreeItem(*tree, path);
        ASSERT_NE(item, nullptr) << path.join(QLatin1Char('/')).toStdString();
        tree->setCurrentItem(item);
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
const QStringList kBrick240Results{QStringLiteral("1.88"), QStringLiteral("1.98"), QStringLiteral("1.70"),
                                   QStringLiteral("17.35"), QStringLiteral("9.7")};

TEST_F(CTqUiBSInfoDlgTest, AddModeStoresANewTypeConstructionAndLayersWhenRunModally)
{
    auto editor = Make(1, 0, m_Wall, m_Heilongjiang);
    editor->m_Code.CommonFlag = 1;
    QString title;
    QList<QStringList> rows;
    const int result = TestHelpers::RunModal<CTqUiBSInfoDlg>(
        [&] { return editor->DoModal(); },
        [&](CTqUiBSInfoDlg&) {
            title = editor->windowTitle() + QLatin1Char('|') + Button(*editor, "executeButton")->text();
            SetEditorNames(*editor, QStringLiteral("夹心墙 '%;--"), QStringLiteral("  北方夹心墙 "));
            AddMaterial(*editor, {QStringLiteral("所有材质"), QStringLiteral("砂浆"), QStringLiteral("水泥砂浆")});
            AddMaterial(*editor, {QStringLiteral("所有省份"), QStringLiteral("黑龙江省"), QStringLiteral("保温"),
                                  QStringLiteral("EPS板")});
            rows = Rows(Grid(*editor));
            Click(*editor, "executeButton");
        });
    ASSERT_EQ(result, QDialog::Accepted);

    EXPECT_EQ(title, QStringLiteral("添加围护结构信息|添加"));
    // A new layer is 1 mm with factor 1 and goes innermost; the ID cell is kept beyond the columns.
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows.at(1), (QStringList{QStringLiteral("EPS板"), QStringLiteral("1.00"), QStringLiteral("1.00"),
                                       QString::number(m_Eps)}));
    EXPECT_EQ(editor->m_bChanged, 1);
    CTQBSType stored;
    stored.Name = QStringLiteral("夹心墙 '%;--");
    ASSERT_EQ(stored.IsExist(nullptr), TQLoad::DBS_Exist);
    EXPECT_EQ(stored.BSDLId, m_Wall);
    CTQBSCode code;
    ASSERT_TRUE(code.ReadData(editor->m_Code.GetID(), nullptr));
    EXPECT_EQ(code.Name, QStringLiteral("北方夹心墙"));
    EXPECT_EQ(code.BSTId, stored.GetID());
    EXPECT_EQ(code.ProvinceId, m_Heilongjiang);
    EXPECT_EQ(code.CommonFlag, 1);
    EXPECT_EQ(StoredLayers(code.GetID()),
              (QStringList{QStringLiteral("%1,%2").arg(m_Mortar).arg(m_Eps), QStringLiteral("1.00,1.00"),
                           QStringLiteral("1.00,1.00"), QStringLiteral("0")}));
}

TEST_F(CTqUiBSInfoDlgTest, AddModeNameRules)
{
    // A type name stored under another category: the construction joins that type, no type row
    // is added.
    auto editor = Open(1, 0, m_Wall);
    SetEditorNames(*editor, QStringLiteral("平屋面"), QStringLiteral("平屋面B"));
    Click(*editor, "executeButton");
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(editor->m_Code.BSTId, m_FlatRoof);
    EXPECT_EQ(LastId(QStringLiteral("BSType")), m_FlatRoof);

    // The same name in the same type and province: refused with the stored type's name; the
    // same name in another province is accepted.
    editor = Open(1, 0, m_Wall);
    SetEditorNames(*editor, QStringLiteral("砖墙"), QStringLiteral("240砖墙"));
    Service().QueueAnswer(QMessageBox::Ok);
    Click(*editor, "executeButton");
    EXPECT_EQ(MessagesShown(), QStringList{QStringLiteral("该名称的围护结构已经存在！\r\n[砖墙] - [240砖墙]")});
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->m_bChanged, 0);
    editor = Open(1, 0, m_Wall, m_Beijing);
    SetEditorNames(*editor, QStringLiteral("砖墙"), QStringLiteral("240砖墙"));
    Click(*editor, "executeButton");
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(editor->m_Code.ProvinceId, m_Beijing);

    // Empty names: each its message, and the grid points at the row.
    editor = Open(1, 0, m_Wall);
    Service().ClearRecords();
    Service().QueueAnswer(QMessageBox::Ok);
    Service().QueueAnswer(QMessageBox::Ok);
    Click(*editor, "executeButton");
    SetEditorNames(*editor, QStringLiteral("砖墙"), QStringLiteral("   "));
    Click(*editor, "executeButton");
    EXPECT_EQ(MessagesShown(),
              (QStringList{QStringLiteral("请输入围护结构的类型！"), QStringLiteral("请输入围护结构的名称！")}));
    auto* grid = editor->findChild<CTqUiPropertyGrid*>(QStringLiteral("propertyGrid"));
    EXPECT_EQ(grid->GetRowCaption(grid->GetSelectedRow()), QStringLiteral("名称"));
    EXPECT_EQ(grid->GetRowValue(grid->FindRow(QStringLiteral("省份"))), QStringLiteral("所有省份"));
}

TEST_F(CTqUiBSInfoDlgTest, ModifyModeRenamesMovesAndPutsBackARefusedRename)
{
    auto editor = Open(2, m_Brick240);
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("修改围护结构信息  修改:[砖墙]/[240砖墙]"));
    EXPECT_EQ(Button(*editor, "executeButton")->text(), QStringLiteral("修改"));

    // Renamed type and refused construction name: the type row stays renamed, both records are
    // put back, and the caller is told something changed.
    SetEditorNames(*editor, QStringLiteral("实心砖墙"), QStringLiteral("370砖墙"));
    Service().QueueAnswer(QMessageBox::Ok);
    Click(*editor, "executeButton");
    EXPECT_EQ(MessagesShown(), QStringList{QStringLiteral("该名称的围护结构已经存在！\r\n[实心砖墙] - [370砖墙]")});
    EXPECT_EQ(editor->m_bChanged, 1);
    EXPECT_EQ(editor->m_Code.GetID(), m_Brick240);
    EXPECT_EQ(editor->m_Type.GetID(), m_Brick);
    CTQBSType brick;
    brick.ReadData(m_Brick, nullptr);
    EXPECT_EQ(brick.Name, QStringLiteral("实心砖墙"));

    // Another type's name moves the construction to it.
    SetEditorNames(*editor, QStringLiteral("保温墙"), QStringLiteral("240砖墙"));
    Click(*editor, "executeButton");
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    CTQBSCode code;
    code.ReadData(m_Brick240, nullptr);
    EXPECT_EQ(code.BSTId, m_Insulated);
    EXPECT_EQ(StoredLayers(m_Brick240).mid(0, 3),
              (QStringList{QStringLiteral("%1,%2,%1").arg(m_Mortar).arg(m_Clay), QStringLiteral("20.00,240.00,20.00"),
                           QStringLiteral("1.00,1.00,1.00")}));
}

TEST_F(CTqUiBSInfoDlgTest, LayerCommandsAndStoredListsThatDoNotMatch)
{
    // Three materials, the second gone from the library, the lists one and two items short, a
    // thickness that is no number.
    AddLayers(m_Brick370, QStringLiteral("%1,99,%2").arg(m_Mortar).arg(m_Clay), QStringLiteral("abc,240"),
              QStringLiteral("1.2"));
    auto editor = Open(2, m_Brick370);
    CTqUiReportControl& grid = Grid(*editor);
    const QList<QStringList> stored{
        {QStringLiteral("水泥砂浆"), QStringLiteral("0.00"), QStringLiteral("1.20"), QString::number(m_Mortar)},
        {QStringLiteral("（ID 99 的材质不存在）"), QStringLiteral("240.00"), QStringLiteral("1.00"),
         QStringLiteral("99")},
        {QStringLiteral("黏土砖"), QStringLiteral("0.00"), QStringLiteral("1.00"), QString::number(m_Clay)}};
    EXPECT_EQ(Rows(grid), stored);
    EXPECT_EQ(Box(*editor, "summerCrXsEdit"), QStringLiteral("-")) << "a layer without a material has no values";

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
    EXPECT_NE(Box(*editor, "summerCrXsEdit"), QStringLiteral("-"));

    // A heading of the material tree is no material.
    Service().QueueAnswer(QMessageBox::Ok);
    AddMaterial(*editor, {QStringLiteral("所有材质"), QStringLiteral("砂浆")});
    EXPECT_EQ(MessagesShown(), QStringList{QStringLiteral("请选择某一具体的材质！")});

    // The thickness editor takes digits and one point only; an edit recomputes.
    const QString summerBefore = Box(*editor, "summerCrXsEdit");
    grid.editItem(grid.topLevelItem(1), 1);
    auto* cellEditor = grid.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(cellEditor, nullptr);
    cellEditor->selectAll();
    QTest::keyClicks(cellEditor, QStringLiteral("12a0.x5"));
    QTest::keyClick(cellEditor, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid.GetCellText(1, 1) == QStringLiteral("120.5"); }));
    EXPECT_NE(Box(*editor, "summerCrXsEdit"), summerBefore);

    // A negative thickness counts as 0 and shows "0"; all layers removed, three empty lists.
    grid.SetCellText(0, 1, QStringLiteral("-5"));
    editor->CalculateCRXS();
    EXPECT_EQ(grid.GetCellText(0, 1), QStringLiteral("0"));
    for (int row = grid.RowCount() - 1; row >= 0; --row) {
        grid.SetFocusedRow(row);
        emit grid.menuCommand(TQMenuCommand::Delete);
    }
    Click(*editor, "executeButton");
    EXPECT_EQ(StoredLayers(m_Brick370), (QStringList{QString(), QString(), QString(), QStringLiteral("0")}));
}

TEST_F(CTqUiBSInfoDlgTest, ThicknessFromATargetCoefficient)
{
    auto editor = Open(2, m_Brick240);
    EXPECT_EQ(Results(*editor), kBrick240Results);
    AddMaterial(*editor, {QStringLiteral("所有省份"), QStringLiteral("黑龙江省"), QStringLiteral("保温"),
                          QStringLiteral("EPS板")});
    CTqUiReportControl& grid = Grid(*editor);
    QList<QStringList> before = Rows(grid);

    // Within 0.01 of the coefficient shown: nothing changes, not even the boxes.
    const QStringList shown = Results(*editor);
    SetBox(*editor, "winterCrXsEdit", QString::number(shown.at(1).toDouble() + 0.005));
    const QStringList typed = Results(*editor);
    Click(*editor, "winterThickButton");
    EXPECT_EQ(Rows(grid), before);
    EXPECT_EQ(Results(*editor), typed);

    // Winter target 0.45, by hand: the EPS layer (lowest λ·a, 0.042) needs
    // R = 1/0.45 − 1/8 − 1/25 − 0.339306 = 1.717916 m²·K/W, δ = 0.042 × 1.717916 = 72.15 mm.
    SetBox(*editor, "winterCrXsEdit", QStringLiteral("0.45"));
    Click(*editor, "winterThickButton");
    before[3][1] = QStringLiteral("72.15");
    EXPECT_EQ(Rows(grid), before);
    EXPECT_EQ(grid.topLevelItem(3)->foreground(1).color(), QColor(255, 0, 0));
    EXPECT_EQ(Box(*editor, "winterCrXsEdit"), QStringLiteral("0.45"));
    EXPECT_EQ(editor->findChild<QLabel*>(QStringLiteral("thicknessStatus"))->text(),
              QStringLiteral("第4层 EPS板：1.00 → 72.15 mm"));

    // A summer target above what the films alone allow needs a negative thickness: 0.00.
    SetBox(*editor, "summerCrXsEdit", QStringLiteral("9"));
    Click(*editor, "summerThickButton");
    EXPECT_EQ(grid.GetCellText(3, 1), QStringLiteral("0.00"));
    EXPECT_TRUE(editor->findChild<QLabel*>(QStringLiteral("thicknessStatus"))
                    ->text()
                    .contains(QStringLiteral("改变一层的厚度达不到目标传热系数")));
    EXPECT_EQ(Box(*editor, "delayEdit"), QStringLiteral("9.7")) << "one decimal";
}

TEST_F(CTqUiBSInfoDlgTest, DemoPictureIsCopiedOnlyWhenANewFileWasChosen)
{
    const QString own = CodePicturePath(QStringLiteral("砖墙"), QStringLiteral("240砖墙"));
    WritePicture(own, Qt::red);
    const QString other = m_Folder.filePath(QStringLiteral("chosen.JPG"));
    WritePicture(other, Qt::blue);

    // The construction's own picture chosen again, its path in other case: nothing is copied (a
    // copy would first remove the picture), but the layer set says a picture was chosen.
    auto editor = Open(2, m_Brick240);
    Service().QueueFileAnswer(own.left(own.size() - 4) + QStringLiteral(".JPG"));
    Click(*editor, "selectDemoPictureButton");
    Click(*editor, "executeButton");
    EXPECT_EQ(StoredLayers(m_Brick240).at(3), QStringLiteral("1"));
    EXPECT_GT(QImage(own).pixelColor(1, 1).red(), 200);

    // Another file is copied over the construction's picture, into a folder made for it.
    editor = Open(2, AddCode(QStringLiteral("新墙"), m_Brick, 0, 0));
    Service().QueueFileAnswer(other);
    Click(*editor, "selectDemoPictureButton");
    EXPECT_EQ(Service().ShownFileDialogs().last().filter, QStringLiteral("墙体形象图形文件(*.JPG)|*.JPG||"));
    Click(*editor, "executeButton");
    const QImage copied(CodePicturePath(QStringLiteral("砖墙"), QStringLiteral("新墙")));
    ASSERT_FALSE(copied.isNull());
    EXPECT_GT(copied.pixelColor(1, 1).blue(), 200);

    // Saving without choosing a file clears the flag.
    editor = Open(2, m_Brick240);
    Click(*editor, "executeButton");
    EXPECT_EQ(StoredLayers(m_Brick240).at(3), QStringLiteral("0"));
}

} // namespace
