#pragma once

#include "host/TQHostExport.h"

#include <QString>
#include <QWidget>

#include <vector>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

/// The host's property grid: rows of caption and value grouped under category headings, with the
/// selected row's caption and description shown in a pane below the rows.
///
/// - Categories and rows are addressed by the ids AddCategory and the Add...Row functions return
///   (0, 1, 2, ... in the order they were added); an id that names nothing is ignored.
/// - A row's value is edited in place (a click on the value, F2 or typing on the selected row)
///   unless the row is read-only. An edit reports valueChanged; a row bound to a string writes the
///   text into that string as typed, so the record it belongs to holds what the grid shows.
/// - Number rows show their value with a printf format and accept only decimal numbers.
///
/// Object names for tests: "propertyTree" (the rows, a QTreeWidget with caption and value
/// columns) and "propertyDescription" (the description pane).
class TQHOST_EXPORT CTqUiPropertyGrid : public QWidget
{
    Q_OBJECT

public:
    explicit CTqUiPropertyGrid(QWidget* parent = nullptr);
    ~CTqUiPropertyGrid() override;

    /// Appends a category heading, collapsed; returns its id.
    int AddCategory(const QString& caption);

    /// Appends a text row to a category; returns its id, -1 when the category does not exist.
    int AddRow(int category, const QString& caption, const QString& value, const QString& description = {});
    /// Appends a row bound to `*pValue`: it shows the string and every edit is written into it.
    /// The string is not owned and must outlive the grid (or ClearAll). Returns the row's id.
    int AddBoundRow(int category, const QString& caption, QString* pValue, const QString& description = {});
    /// Appends a number row showing `value` with `format` ("%0.3f"); an empty format shows the
    /// shortest text that reads back as the same number. Its editor accepts decimal numbers only.
    int AddDoubleRow(int category, const QString& caption, double value, const QString& format = {},
                     const QString& description = {});

    /// A read-only row shows its value in grey and cannot be edited in place.
    void SetRowReadOnly(int row, bool bReadOnly);
    bool IsRowReadOnly(int row) const;

    /// The row's text as shown; empty for a row that does not exist.
    QString GetRowValue(int row) const;
    /// The row's text as a number: 0 when it is not one (or the row does not exist).
    double GetRowDouble(int row) const;
    /// Shows `value` in the row (and writes it into a bound string); reports no valueChanged.
    void SetRowValue(int row, const QString& value);
    /// Shows `value` with the row's number format.
    void SetRowDouble(int row, double value);
    /// Shows the bound strings' present texts again, after their records were changed by code.
    void RefreshBoundRows();

    /// Id of the first row with this caption, in `category` or (with -1) in any category; -1 when
    /// there is none.
    int FindRow(const QString& caption, int category = -1) const;
    /// Selects the first row with this caption (its category is expanded), scrolls it into view
    /// and gives the grid the keyboard focus. Returns false, and changes nothing, when no row has
    /// the caption.
    bool SelectRow(const QString& caption);
    /// Id of the selected row; -1 when none (or a category heading) is selected.
    int GetSelectedRow() const;
    QString GetRowCaption(int row) const;

    /// Expands or collapses one category, or every category.
    void ExpandCategory(int category, bool bExpand = true);
    void ExpandAll();

    /// Removes every category and row; ids start again at 0.
    void ClearAll();

signals:
    /// The user finished an in-place edit of a row: `value` is its new text (already written into
    /// the bound string of a bound row).
    void valueChanged(int row, const QString& value);

private:
    enum class RowKind
    {
        Text,
        Bound,
        Double
    };
    struct Row
    {
        QTreeWidgetItem* item = nullptr;
        RowKind kind = RowKind::Text;
        QString* pBound = nullptr;
        QString format;
        QString description;
        bool bReadOnly = false;
    };

    int AppendRow(int category, const QString& caption, const QString& value, const QString& description, Row row);
    const Row* FindRowData(int row) const;
    int RowOfItem(const QTreeWidgetItem* item) const;
    void ShowRowText(int row, const QString& value);
    QString FormatDouble(const Row& row, double value) const;
    void OnItemChanged(QTreeWidgetItem* item, int column);
    void OnItemClicked(QTreeWidgetItem* item, int column);
    void ShowDescription();

    QTreeWidget* m_pTree = nullptr;
    QLabel* m_pDescription = nullptr;
    std::vector<QTreeWidgetItem*> m_categories;
    std::vector<Row> m_rows;
    bool m_bFilling = false; ///< text is being set by code: not a user's edit
};
