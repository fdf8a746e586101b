#pragma once

#include "host/TQHostExport.h"
#include "host/ui/stuMenuItem.h"

#include <QAbstractItemDelegate>
#include <QList>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStringList>
#include <QTreeWidget>
#include <QVariant>

class QColor;

/// The host's report (grid) control: a flat list of rows under a header of columns.
///
/// - A row holds its cell texts and one data value (a record index, a pointer as quintptr, ...).
///   A row may hold more cells than there are columns; the extra cells are not shown but keep
///   their text (the dialogs keep an ID there).
/// - The focused row is the current row shown as selected; there is at most one.
/// - Chosen cells can be edited in place (double click, a click on a cell of the focused row, F2);
///   the new text is reported by cellEdited.
/// - A header click sorts the rows by that column (numbers by value, other text alphabetically),
///   unless sorting is switched off; rows are never sorted by anything else, so AddRow appends.
/// - The host's menu items are the context menu; a right click on a row focuses it first.
class TQHOST_EXPORT CTqUiReportControl : public QTreeWidget
{
    Q_OBJECT

public:
    explicit CTqUiReportControl(QWidget* parent = nullptr);
    ~CTqUiReportControl() override;

    /// Appends a column with its header text and width in pixels; returns its index.
    int AddColumn(const QString& header, int width);

    /// Appends a row; returns its index.
    int AddRow(const QStringList& cells, const QVariant& rowData = {});
    /// Inserts a row before `row` (RowCount() appends); returns its index.
    int InsertRow(int row, const QStringList& cells, const QVariant& rowData = {});
    void RemoveRow(int row);
    /// Removes all rows; the columns stay.
    void ClearRows();
    int RowCount() const;

    /// The row's data value; an invalid QVariant for a row that does not exist.
    QVariant GetRowData(int row) const;
    void SetRowData(int row, const QVariant& rowData);

    /// Text of a cell, hidden cells included; empty for a cell that does not exist.
    QString GetCellText(int row, int col) const;
    void SetCellText(int row, int col, const QString& text);
    /// All cells of a row in order, hidden cells included.
    QStringList GetRowTexts(int row) const;
    void SetCellTextColor(int row, int col, const QColor& color);

    /// Index of the focused row, -1 when there is none.
    int GetFocusedRow() const;
    /// Makes `row` the focused row: current, the only selected row and scrolled into view.
    /// -1 (or any index without a row) leaves no row focused. Keyboard focus is not moved.
    void SetFocusedRow(int row);

    /// Allows or forbids in-place editing of one cell. Cells are not editable until allowed.
    void SetCellEditable(int row, int col, bool bEditable);
    bool IsCellEditable(int row, int col) const;
    /// A cell's in-place editor is open.
    bool IsEditing() const { return state() == QAbstractItemView::EditingState; }

    /// Switches sorting by header click on or off (on at construction). Switching it off keeps the
    /// present order.
    void EnableSort(bool bEnable);
    /// Whether a click on the first column's header sorts (true at construction).
    void SetFirColSortable(bool bSortable);

    /// Gives the control the host's menu items as its context menu; null removes the menu. The
    /// array is not copied: it must outlive the attachment, and is read each time the menu opens.
    void AttachMenItemAry(CTQMenuItemArray* pItems);
    CTQMenuItemArray* GetMenItemAry() const { return m_pMenuItems; }

signals:
    /// An in-place edit of a cell ended with the new text stored in the cell.
    void cellEdited(int row, int col, const QString& text);
    /// A host menu item was chosen from the context menu.
    void menuCommand(int commandNumber);
    /// The context menu is about to open: the owner may set its items' states for this opening.
    void menuAboutToShow();
    /// The Delete key was pressed in the grid (not while a cell is being edited).
    void deleteKeyPressed();
    /// A left click on a cell; a click in empty space reports nothing.
    void rowClicked(int row, int col);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QTreeWidgetItem* MakeRow(const QStringList& cells, const QVariant& rowData) const;
    int FindEditedCell(const QWidget* editor) const;
    void OnHeaderClicked(int col);
    void SortRows(int col, Qt::SortOrder order);

    CTQMenuItemArray* m_pMenuItems = nullptr;
    bool m_bSortEnabled = true;
    bool m_bFirColSortable = true;
    int m_nSortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    /// An open in-place editor and the cell it edits, so its commit can be reported with row and
    /// column. The editor is watched, not owned: the view deletes it.
    struct EditedCell
    {
        QPointer<QWidget> editor;
        QPersistentModelIndex cell;
    };
    QList<EditedCell> m_editedCells;
};
