#include "host/ui/CTqUiPropertyGrid.h"

#include <QBrush>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kCaptionColumn = 0;
constexpr int kValueColumn = 1;
constexpr int kRowIdRole = Qt::UserRole;      // on a row's caption cell: its id; categories hold -1
constexpr int kNumberRole = Qt::UserRole + 1; // on a row's value cell: true for a number row

/// A decimal number as the C locale writes it ("-12.5", ".5", "3e-2"), so a typo cannot become a
/// value; an empty text is let through while typing and counts as 0.
const QRegularExpression& NumberPattern()
{
    static const QRegularExpression pattern(QStringLiteral(R"([-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?)"));
    return pattern;
}

/// Gives the in-place editor of a number row a validator; other rows get the plain line edit.
class PropertyValueDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* lineEdit = qobject_cast<QLineEdit*>(editor); lineEdit && index.data(kNumberRole).toBool())
            lineEdit->setValidator(new QRegularExpressionValidator(NumberPattern(), lineEdit));
        return editor;
    }
};

/// Decimals of a "%.3f" / "%0.3f" format; -1 for any other format (shortest text).
int DecimalsOfFormat(const QString& format)
{
    static const QRegularExpression fixed(QStringLiteral(R"(^%0?\.(\d+)[fF]$)"));
    const QRegularExpressionMatch match = fixed.match(format.trimmed());
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

} // namespace

CTqUiPropertyGrid::CTqUiPropertyGrid(QWidget* parent) : QWidget(parent)
{
    m_pTree = new QTreeWidget(this);
    m_pTree->setObjectName(QStringLiteral("propertyTree"));
    m_pTree->setColumnCount(2);
    m_pTree->setHeaderHidden(true);
    m_pTree->setRootIsDecorated(true);
    m_pTree->setIndentation(12);
    m_pTree->setAllColumnsShowFocus(true);
    m_pTree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pTree->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                             QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    m_pTree->setItemDelegate(new PropertyValueDelegate(m_pTree));
    m_pTree->header()->setSectionResizeMode(kCaptionColumn, QHeaderView::Interactive);
    m_pTree->header()->setStretchLastSection(true);
    m_pTree->header()->resizeSection(kCaptionColumn, 90);

    m_pDescription = new QLabel(this);
    m_pDescription->setObjectName(QStringLiteral("propertyDescription"));
    m_pDescription->setWordWrap(true);
    m_pDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pDescription->setTextFormat(Qt::RichText);
    m_pDescription->setMinimumHeight(m_pDescription->fontMetrics().height() * 3);
    m_pDescription->setFrameShape(QFrame::StyledPanel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_pTree, 1);
    layout->addWidget(m_pDescription);

    connect(m_pTree, &QTreeWidget::itemChanged, this, &CTqUiPropertyGrid::OnItemChanged);
    connect(m_pTree, &QTreeWidget::itemClicked, this, &CTqUiPropertyGrid::OnItemClicked);
    connect(m_pTree, &QTreeWidget::currentItemChanged, this, &CTqUiPropertyGrid::ShowDescription);
}

CTqUiPropertyGrid::~CTqUiPropertyGrid()
{
    // The tree outlives this object's own part and reports its items' removal: nobody listens.
    disconnect(m_pTree, nullptr, this, nullptr);
}

int CTqUiPropertyGrid::AddCategory(const QString& caption)
{
    m_bFilling = true;
    auto* item = new QTreeWidgetItem(m_pTree, QStringList{caption});
    item->setData(kCaptionColumn, kRowIdRole, -1);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    QFont font = item->font(kCaptionColumn);
    font.setBold(true);
    item->setFont(kCaptionColumn, font);
    item->setBackground(kCaptionColumn, palette().brush(QPalette::Button));
    item->setBackground(kValueColumn, palette().brush(QPalette::Button));
    item->setFirstColumnSpanned(true);
    m_bFilling = false;
    m_categories.push_back(item);
    return static_cast<int>(m_categories.size()) - 1;
}

int CTqUiPropertyGrid::AddRow(int category, const QString& caption, const QString& value, const QString& description)
{
    return AppendRow(category, caption, value, description, Row{});
}

int CTqUiPropertyGrid::AddBoundRow(int category, const QString& caption, QString* pValue, const QString& description)
{
    if (pValue == nullptr)
        return AddRow(category, caption, {}, description);
    Row row;
    row.kind = RowKind::Bound;
    row.pBound = pValue;
    return AppendRow(category, caption, *pValue, description, row);
}

int CTqUiPropertyGrid::AddDoubleRow(int category, const QString& caption, double value, const QString& format,
                                    const QString& description)
{
    Row row;
    row.kind = RowKind::Double;
    row.format = format;
    return AppendRow(category, caption, FormatDouble(row, value), description, row);
}

int CTqUiPropertyGrid::AppendRow(int category, const QString& caption, const QString& value, const QString& description,
                                 Row row)
{
    if (category < 0 || category >= static_cast<int>(m_categories.size()))
        return -1;
    const int id = static_cast<int>(m_rows.size());
    m_bFilling = true;
    row.item = new QTreeWidgetItem(m_categories[static_cast<size_t>(category)], QStringList{caption, value});
    row.item->setData(kCaptionColumn, kRowIdRole, id);
    row.item->setData(kValueColumn, kNumberRole, row.kind == RowKind::Double);
    row.item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    m_bFilling = false;
    row.description = description;
    m_rows.push_back(row);
    return id;
}

void CTqUiPropertyGrid::SetRowReadOnly(int row, bool bReadOnly)
{
    if (FindRowData(row) == nullptr)
        return;
    Row& rowData = m_rows[static_cast<size_t>(row)];
    rowData.bReadOnly = bReadOnly;
    m_bFilling = true;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!bReadOnly)
        flags |= Qt::ItemIsEditable;
    rowData.item->setFlags(flags);
    rowData.item->setForeground(kValueColumn, bReadOnly ? palette().brush(QPalette::Disabled, QPalette::Text)
                                                        : palette().brush(QPalette::Active, QPalette::Text));
    m_bFilling = false;
}

bool CTqUiPropertyGrid::IsRowReadOnly(int row) const
{
    const Row* pRow = FindRowData(row);
    return pRow != nullptr && pRow->bReadOnly;
}

QString CTqUiPropertyGrid::GetRowValue(int row) const
{
    const Row* pRow = FindRowData(row);
    return pRow == nullptr ? QString() : pRow->item->text(kValueColumn);
}

double CTqUiPropertyGrid::GetRowDouble(int row) const
{
    bool bOk = false;
    const double value = QLocale::c().toDouble(GetRowValue(row).trimmed(), &bOk);
    return bOk ? value : 0.0;
}

void CTqUiPropertyGrid::SetRowValue(int row, const QString& value)
{
    const Row* pRow = FindRowData(row);
    if (pRow == nullptr)
        return;
    if (pRow->pBound != nullptr)
        *pRow->pBound = value;
    ShowRowText(row, value);
}

void CTqUiPropertyGrid::SetRowDouble(int row, double value)
{
    if (const Row* pRow = FindRowData(row))
        SetRowValue(row, FormatDouble(*pRow, value));
}

void CTqUiPropertyGrid::RefreshBoundRows()
{
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].pBound != nullptr)
            ShowRowText(static_cast<int>(i), *m_rows[i].pBound);
    }
}

int CTqUiPropertyGrid::FindRow(const QString& caption, int category) const
{
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const QTreeWidgetItem* item = m_rows[i].item;
        const bool bInCategory = category < 0 || (category < static_cast<int>(m_categories.size()) &&
                                                  item->parent() == m_categories[static_cast<size_t>(category)]);
        if (bInCategory && item->text(kCaptionColumn) == caption)
            return static_cast<int>(i);
    }
    return -1;
}

bool CTqUiPropertyGrid::SelectRow(const QString& caption)
{
    const int row = FindRow(caption);
    if (row < 0)
        return false;
    QTreeWidgetItem* item = m_rows[static_cast<size_t>(row)].item;
    item->parent()->setExpanded(true);
    m_pTree->setCurrentItem(item, kValueColumn);
    m_pTree->scrollToItem(item);
    m_pTree->setFocus(Qt::OtherFocusReason);
    return true;
}

int CTqUiPropertyGrid::GetSelectedRow() const
{
    return RowOfItem(m_pTree->currentItem());
}

QString CTqUiPropertyGrid::GetRowCaption(int row) const
{
    const Row* pRow = FindRowData(row);
    return pRow == nullptr ? QString() : pRow->item->text(kCaptionColumn);
}

void CTqUiPropertyGrid::ExpandCategory(int category, bool bExpand)
{
    if (category >= 0 && category < static_cast<int>(m_categories.size()))
        m_categories[static_cast<size_t>(category)]->setExpanded(bExpand);
}

void CTqUiPropertyGrid::ExpandAll()
{
    for (QTreeWidgetItem* item : m_categories)
        item->setExpanded(true);
}

void CTqUiPropertyGrid::ClearAll()
{
    m_bFilling = true;
    m_pTree->clear();
    m_bFilling = false;
    m_categories.clear();
    m_rows.clear();
    ShowDescription();
}

const CTqUiPropertyGrid::Row* CTqUiPropertyGrid::FindRowData(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return nullptr;
    return &m_rows[static_cast<size_t>(row)];
}

int CTqUiPropertyGrid::RowOfItem(const QTreeWidgetItem* item) const
{
    if (item == nullptr)
        return -1;
    const QVariant id = item->data(kCaptionColumn, kRowIdRole);
    return id.isValid() ? id.toInt() : -1;
}

void CTqUiPropertyGrid::ShowRowText(int row, const QString& value)
{
    m_bFilling = true;
    m_rows[static_cast<size_t>(row)].item->setText(kValueColumn, value);
    m_bFilling = false;
}

QString CTqUiPropertyGrid::FormatDouble(const Row& row, double value) const
{
    const int decimals = DecimalsOfFormat(row.format);
    if (decimals >= 0)
        return QLocale::c().toString(value, 'f', decimals);
    return QLocale::c().toString(value, 'g', QLocale::FloatingPointShortest);
}

void CTqUiPropertyGrid::OnItemChanged(QTreeWidgetItem* item, int column)
{
    if (m_bFilling || column != kValueColumn)
        return;
    const int row = RowOfItem(item);
    const Row* pRow = FindRowData(row);
    if (pRow == nullptr)
        return;
    const QString value = item->text(kValueColumn);
    if (pRow->pBound != nullptr)
        *pRow->pBound = value;
    emit valueChanged(row, value);
}

void CTqUiPropertyGrid::OnItemClicked(QTreeWidgetItem* item, int column)
{
    // A click on a value opens its editor at once, as a property sheet does; captions only select.
    if (column == kValueColumn && (item->flags() & Qt::ItemIsEditable))
        m_pTree->editItem(item, kValueColumn);
}

void CTqUiPropertyGrid::ShowDescription()
{
    const Row* pRow = FindRowData(GetSelectedRow());
    if (pRow == nullptr) {
        m_pDescription->clear();
        return;
    }
    m_pDescription->setText(
        QStringLiteral("<b>%1</b><br>%2")
            .arg(pRow->item->text(kCaptionColumn).toHtmlEscaped(), pRow->description.toHtmlEscaped()));
}
