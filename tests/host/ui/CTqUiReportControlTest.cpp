#include "host/ui/CTqUiReportControl.h"

#include "support/QtTestHelpers.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Offered = QList<QPair<QString, bool>>;

/// A shown layer grid: three columns, rows carrying their layer number as data and the material
/// ID in a fourth, hidden cell.
class CTqUiReportControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_grid.AddColumn(QStringLiteral("材质名称(外-内)"), 100);
        m_grid.AddColumn(QStringLiteral("厚度(mm)"), 80);
        m_grid.AddColumn(QStringLiteral("导热修正系数"), 80);
        m_grid.AddRow({"水泥砂浆", "20.00", "1.00", "7"}, 0);
        m_grid.AddRow({"粘土砖", "240.00", "1.00", "12"}, 1);
        m_grid.AddRow({"石灰砂浆", "9.50", "1.20", "3"}, 2);
        m_grid.resize(400, 300);
        m_grid.show();
        QApplication::setActiveWindow(&m_grid);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_grid));
    }

    QPoint Cell(int row, int col) const { return TestHelpers::CellCenter(m_grid, m_grid.topLevelItem(row), col); }

    void ClickHeader(int col)
    {
        QHeaderView* header = m_grid.header();
        const QPoint at(header->sectionViewportPosition(col) + header->sectionSize(col) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    /// Double-clicks a cell as the mouse does it (press, release, double click, release).
    void DoubleClick(int row, int col)
    {
        QTest::mouseClick(m_grid.viewport(), Qt::LeftButton, {}, Cell(row, col));
        QTest::mouseDClick(m_grid.viewport(), Qt::LeftButton, {}, Cell(row, col));
        QTest::mouseRelease(m_grid.viewport(), Qt::LeftButton, {}, Cell(row, col));
    }

    /// Double-clicks a cell; returns the in-place editor that opened, or null.
    QLineEdit* OpenEditor(int row, int col)
    {
        DoubleClick(row, col);
        if (!QTest::qWaitFor([this] { return m_grid.IsEditing(); }))
            return nullptr;
        for (QLineEdit* editor : m_grid.viewport()->findChildren<QLineEdit*>()) {
            if (editor->isVisible())
                return editor;
        }
        return nullptr;
    }

    QList<int> RowDataInOrder() const
    {
        QList<int> data;
        for (int row = 0; row < m_grid.RowCount(); ++row)
            data.append(m_grid.GetRowData(row).toInt());
        return data;
    }

    Offered ChooseFromContextMenu(int row, const QString& choice)
    {
        return TestHelpers::ChooseFromContextMenu(m_grid.viewport(), Cell(row, 0), choice);
    }

    CTqUiReportControl m_grid;
};

TEST_F(CTqUiReportControlTest, ClickOrSetFocusedRowFocusesOneRow)
{
    QSignalSpy clicks(&m_grid, &CTqUiReportControl::rowClicked);
    ASSERT_EQ(m_grid.GetFocusedRow(), -1);
    QTest::mouseClick(m_grid.viewport(), Qt::LeftButton, {}, Cell(1, 2));
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks.at(0), (QVariantList{1, 2}));
    EXPECT_EQ(m_grid.GetFocusedRow(), 1);
    // Below the last row: no cell, nothing reported, the focused row stays.
    QTest::mouseClick(m_grid.viewport(), Qt::LeftButton, {}, QPoint(50, m_grid.viewport()->height() - 5));
    EXPECT_EQ(clicks.size(), 1);
    EXPECT_EQ(m_grid.GetFocusedRow(), 1);

    for (int layer = 3; layer < 200; ++layer)
        m_grid.AddRow({QStringLiteral("层%1").arg(layer)}, layer);
    m_grid.SetFocusedRow(150);
    EXPECT_EQ(m_grid.GetFocusedRow(), 150);
    EXPECT_EQ(m_grid.selectedItems(), QList<QTreeWidgetItem*>{m_grid.topLevelItem(150)});
    EXPECT_TRUE(m_grid.viewport()->rect().contains(m_grid.visualItemRect(m_grid.topLevelItem(150))));
    m_grid.SetFocusedRow(2);
    EXPECT_EQ(m_grid.selectedItems(), QList<QTreeWidgetItem*>{m_grid.topLevelItem(2)});
    for (int outside : {-1, 1000}) {
        m_grid.SetFocusedRow(outside);
        EXPECT_EQ(m_grid.GetFocusedRow(), -1);
        EXPECT_TRUE(m_grid.selectedItems().isEmpty());
    }
}

TEST_F(CTqUiReportControlTest, OnlyEditableCellsAreEditedInPlaceAndEachEditIsReportedOnce)
{
    m_grid.SetCellEditable(1, 1, true);
    m_grid.SetCellEditable(0, 2, true);
    QSignalSpy edits(&m_grid, &CTqUiReportControl::cellEdited);
    QSignalSpy deletes(&m_grid, &CTqUiReportControl::deleteKeyPressed);

    DoubleClick(1, 0);
    DoubleClick(2, 1);
    QTest::keyClick(&m_grid, Qt::Key_F2);
    EXPECT_FALSE(m_grid.IsEditing());
    // The delete key is the grid's own outside an editor.
    QTest::keyClick(&m_grid, Qt::Key_Delete);
    EXPECT_EQ(deletes.size(), 1);

    QLineEdit* editor = OpenEditor(1, 1);
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Delete);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("370.00"));
    QTest::keyClick(editor, Qt::Key_Return);
    // The item delegate commits an edit from the event loop, after the key press.
    ASSERT_TRUE(QTest::qWaitFor([&edits] { return edits.size() == 1; }));
    EXPECT_EQ(edits.at(0), (QVariantList{1, 1, QStringLiteral("370.00")}));
    EXPECT_EQ(m_grid.GetCellText(1, 1), QStringLiteral("370.00"));
    EXPECT_EQ(deletes.size(), 1);
    // The editor's focus leaving afterwards must not report the edit again.
    m_grid.setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(edits.size(), 1);

    // Escape cancels an edit without a report.
    editor = OpenEditor(0, 2);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("9"));
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !m_grid.IsEditing(); }));
    EXPECT_EQ(edits.size(), 1);
    EXPECT_EQ(m_grid.GetCellText(0, 2), QStringLiteral("1.00"));
}

TEST_F(CTqUiReportControlTest, HeaderClickSortsByValueWhereSortingIsOn)
{
    m_grid.SetFocusedRow(1); // 240.00
    ClickHeader(1);
    EXPECT_EQ(RowDataInOrder(), (QList<int>{2, 0, 1})); // 9.50, 20.00, 240.00: numbers, not text
    EXPECT_EQ(m_grid.GetFocusedRow(), 2) << "the focus and the hidden cell follow the row";
    EXPECT_EQ(m_grid.GetCellText(2, 3), QStringLiteral("12"));
    ClickHeader(1);
    EXPECT_EQ(RowDataInOrder(), (QList<int>{1, 0, 2}));
    EXPECT_EQ(m_grid.GetFocusedRow(), 0);

    m_grid.SetFirColSortable(false);
    ClickHeader(0);
    EXPECT_EQ(RowDataInOrder(), (QList<int>{1, 0, 2}));
    ClickHeader(2); // other columns still sort: 1.00, 1.00, 1.20, stable
    ClickHeader(2);
    EXPECT_EQ(RowDataInOrder(), (QList<int>{2, 1, 0}));
    m_grid.EnableSort(false);
    ClickHeader(1);
    EXPECT_EQ(RowDataInOrder(), (QList<int>{2, 1, 0}));
}

TEST_F(CTqUiReportControlTest, ContextMenuShowsTheHostItemsAsTheyStandAndReportsTheChoice)
{
    CTQMenuItemArray items;
    items.Add({30001, QStringLiteral("添加"), true, false});
    items.Add({0, QString(), true, true});
    items.Add({30002, QStringLiteral("修改"), true, false});
    items.Add({30003, QStringLiteral("删除"), false, false});
    m_grid.AttachMenItemAry(&items);
    QSignalSpy commands(&m_grid, &CTqUiReportControl::menuCommand);

    EXPECT_EQ(ChooseFromContextMenu(2, QStringLiteral("修改")),
              (Offered{{"添加", true}, {"-", true}, {"修改", true}, {"删除", false}}));
    ASSERT_EQ(commands.size(), 1);
    EXPECT_EQ(commands.at(0).at(0).toInt(), 30002);
    EXPECT_EQ(m_grid.GetFocusedRow(), 2);

    // A dialog enables an item in place; the next menu shows it enabled.
    items[3].bEnable = true;
    ChooseFromContextMenu(0, QStringLiteral("删除"));
    ASSERT_EQ(commands.size(), 2);
    EXPECT_EQ(commands.at(1).at(0).toInt(), 30003);
    EXPECT_EQ(m_grid.GetFocusedRow(), 0);

    ChooseFromContextMenu(1, QString()); // closed without a choice
    EXPECT_EQ(commands.size(), 2);
}

} // namespace
