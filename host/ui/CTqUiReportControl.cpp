#include "host/ui/CTqUiReportControl.h"

#include "host/ui/TQHostMenu.h"

#include <QBrush>
#include <QColor>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kRowDataRole = Qt::UserRole;      // on the first cell: the row's data value
constexpr int kEditableRole = Qt::UserRole + 1; // on each cell: in-place editing allowed

/// Order of two cells: finite numbers by value and before any other text, other text alphabetically
/// in the user's locale, so "9" comes before "10" and "墙" is placed as a reader expects.
bool CellLess(const QString& left, const QString& right)
{
    bool bLeftNumber = false;
    bool bRightNumber = false;
    const double leftValue = QLocale::c().toDouble(left.trimmed(), &bLeftNumber);
    const double rightValue = QLocale::c().toDouble(right.trimmed(), &bRightNumber);
    bLeftNumber = bLeftNumber && std::isfinite(leftValue);
    bRightNumber = bRightNumber && std::isfinite(rightValue);
    if (bLeftNumber && bRightNumber)
        return leftValue < rightValue;
    if (bLeftNumber != bRightNumber)
        return bLeftNumber;
    return QString::localeAwareCompare(left, right) < 0;
}

} // namespace

CTqUiReportControl::CTqUiReportControl(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(0);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed);

    // Sorting is ours, not QTreeView's: QTreeView sorts at once when sorting is switched on and
    // keeps every added row sorted, while the grid keeps the order rows were added in until the
    // user asks for another.
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    connect(header(), &QHeaderView::sectionClicked, this, &CTqUiReportControl::OnHeaderClicked);

    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { emit rowClicked(index.row(), index.column()); });
}

CTqUiReportControl::~CTqUiReportControl() = default;

int CTqUiReportControl::AddColumn(const QString& header, int width)
{
    const int col = columnCount();
    setColumnCount(col + 1);
    headerItem()->setText(col, header);
    this->header()->resizeSection(col, width);
    return col;
}

int CTqUiReportControl::AddRow(const QStringList& cells, const QVariant& rowData)
{
    addTopLevelItem(MakeRow(cells, rowData));
    return topLevelItemCount() - 1;
}

int CTqUiReportControl::InsertRow(int row, const QStringList& cells, const QVariant& rowData)
{
    const int index = std::clamp(row, 0, topLevelItemCount());
    insertTopLevelItem(index, MakeRow(cells, rowData));
    return index;
}

void CTqUiReportControl::RemoveRow(int row)
{
    delete takeTopLevelItem(row);
}

void CTqUiReportControl::ClearRows()
{
    clear();
    // New rows come in the caller's order; an indicator of an earlier sort would misreport it.
    m_nSortColumn = -1;
    header()->setSortIndicatorShown(false);
}

int CTqUiReportControl::RowCount() const
{
    return topLevelItemCount();
}

QVariant CTqUiReportControl::GetRowData(int row) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item != nullptr ? item->data(0, kRowDataRole) : QVariant();
}

void CTqUiReportControl::SetRowData(int row, const QVariant& rowData)
{
    if (QTreeWidgetItem* item = topLevelItem(row))
        item->setData(0, kRowDataRole, rowData);
}

QString CTqUiReportControl::GetCellText(int row, int col) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item != nullptr ? item->text(col) : QString();
}

void CTqUiReportControl::SetCellText(int row, int col, const QString& text)
{
    if (QTreeWidgetItem* item = topLevelItem(row); item != nullptr && col >= 0)
        item->setText(col, text);
}

QStringList CTqUiReportControl::GetRowTexts(int row) const
{
    QStringList texts;
    if (const QTreeWidgetItem* item = topLevelItem(row)) {
        for (int col = 0; col < item->columnCount(); ++col)
            texts.append(item->text(col));
    }
    return texts;
}

void CTqUiReportControl::SetCellTextColor(int row, int col, const QColor& color)
{
    if (QTreeWidgetItem* item = topLevelItem(row); item != nullptr && col >= 0)
        item->setForeground(col, QBrush(color));
}

int CTqUiReportControl::GetFocusedRow() const
{
    QTreeWidgetItem* item = currentItem();
    return item != nullptr && item->isSelected() ? indexOfTopLevelItem(item) : -1;
}

void CTqUiReportControl::SetFocusedRow(int row)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (item == nullptr) {
        clearSelection();
        setCurrentItem(nullptr);
        return;
    }
    setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollToItem(item);
}

void CTqUiReportControl::SetCellEditable(int row, int col, bool bEditable)
{
    // Only shown cells can be edited; marking a hidden one would also add an empty cell to the row.
    if (QTreeWidgetItem* item = topLevelItem(row); item != nullptr && col >= 0 && col < columnCount())
        item->setData(col, kEditableRole, bEditable);
}

bool CTqUiReportControl::IsCellEditable(int row, int col) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item != nullptr && col >= 0 && col < columnCount() && item->data(col, kEditableRole).toBool();
}

void CTqUiReportControl::EnableSort(bool bEnable)
{
    m_bSortEnabled = bEnable;
    header()->setSectionsClickable(bEnable);
    if (!bEnable) {
        m_nSortColumn = -1;
        header()->setSortIndicatorShown(false);
    }
}

void CTqUiReportControl::SetFirColSortable(bool bSortable)
{
    m_bFirColSortable = bSortable;
}

void CTqUiReportControl::AttachMenItemAry(CTQMenuItemArray* pItems)
{
    m_pMenuItems = pItems;
}

bool CTqUiReportControl::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (index.isValid() && !IsCellEditable(index.row(), index.column()))
        return false;
    const bool bHandled = QTreeWidget::edit(index, trigger, event);
    // A click on the focused row only starts a timer here; the editor exists once edit() is
    // called again when it expires.
    QWidget* editor = bHandled ? indexWidget(index) : nullptr;
    if (editor != nullptr && FindEditedCell(editor) < 0) {
        m_editedCells.removeIf([](const EditedCell& edited) { return edited.editor.isNull(); });
        m_editedCells.append({editor, QPersistentModelIndex(index)});
    }
    return bHandled;
}

void CTqUiReportControl::commitData(QWidget* editor)
{
    QTreeWidget::commitData(editor);
    const int found = FindEditedCell(editor);
    if (found < 0 || !m_editedCells.at(found).cell.isValid())
        return;
    const QPersistentModelIndex cell = m_editedCells.at(found).cell;
    emit cellEdited(cell.row(), cell.column(), cell.data(Qt::DisplayRole).toString());
}

void CTqUiReportControl::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    // The editor is finished with; a late commit from it is not a new edit.
    if (const int found = FindEditedCell(editor); found >= 0)
        m_editedCells.removeAt(found);
    QTreeWidget::closeEditor(editor, hint);
}

void CTqUiReportControl::mousePressEvent(QMouseEvent* event)
{
    // QTreeView drops the selection on a press in empty space; the focused row is the user's
    // choice (the dialogs confirm it) and stays.
    if (!indexAt(event->position().toPoint()).isValid()) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void CTqUiReportControl::keyPressEvent(QKeyEvent* event)
{
    // The Delete key of the numeric keypad counts too.
    if (event->key() == Qt::Key_Delete && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        emit deleteKeyPressed();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CTqUiReportControl::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_pMenuItems == nullptr || m_pMenuItems->IsEmpty()) {
        event->ignore();
        return;
    }
    // The commands act on the focused row, so the row under a right click becomes it.
    if (event->reason() == QContextMenuEvent::Mouse) {
        if (QTreeWidgetItem* item = itemAt(event->pos()))
            SetFocusedRow(indexOfTopLevelItem(item));
    }
    event->accept();
    emit menuAboutToShow();
    const int command = TQLoad::ExecHostMenu(*m_pMenuItems, event->globalPos(), this);
    if (command != 0)
        emit menuCommand(command);
}

int CTqUiReportControl::FindEditedCell(const QWidget* editor) const
{
    for (int i = 0; i < m_editedCells.size(); ++i) {
        if (m_editedCells.at(i).editor == editor)
            return i;
    }
    return -1;
}

QTreeWidgetItem* CTqUiReportControl::MakeRow(const QStringList& cells, const QVariant& rowData) const
{
    auto* item = new QTreeWidgetItem(cells);
    // Every cell may be opened by the view; edit() lets through only the cells allowed one by one.
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setData(0, kRowDataRole, rowData);
    return item;
}

void CTqUiReportControl::OnHeaderClicked(int col)
{
    if (!m_bSortEnabled || (col == 0 && !m_bFirColSortable))
        return;
    m_sortOrder = col == m_nSortColumn && m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_nSortColumn = col;
    header()->setSortIndicator(col, m_sortOrder);
    header()->setSortIndicatorShown(true);
    SortRows(col, m_sortOrder);
}

void CTqUiReportControl::SortRows(int col, Qt::SortOrder order)
{
    QTreeWidgetItem* current = currentItem();
    const bool bCurrentFocused = current != nullptr && current->isSelected();

    QList<QTreeWidgetItem*> rows = invisibleRootItem()->takeChildren();
    std::stable_sort(rows.begin(), rows.end(), [col, order](const QTreeWidgetItem* left, const QTreeWidgetItem* right) {
        return order == Qt::AscendingOrder ? CellLess(left->text(col), right->text(col))
                                           : CellLess(right->text(col), left->text(col));
    });
    addTopLevelItems(rows);

    // Taking the rows out dropped the current row and the selection; the focused row stays focused.
    if (bCurrentFocused)
        SetFocusedRow(indexOfTopLevelItem(current));
    else if (current != nullptr)
        setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
}
