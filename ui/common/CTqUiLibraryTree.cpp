#include "ui/common/CTqUiLibraryTree.h"

#include "host/ui/CCtrlMenumGlobalSetting.h"
#include "host/ui/CMutiTreeCtrl.h"
#include "host/ui/TQToolTip.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>

namespace {

/// Where an item keeps its caption folded for searching (the node pointer is Qt::UserRole).
constexpr int kSearchKeyRole = Qt::UserRole + 1;

} // namespace

CTqUiLibraryTree::CTqUiLibraryTree(CMutiTreeCtrl* tree)
    : QObject(tree), m_pTree(tree), m_pSearchEdit(new QLineEdit), m_pCountLabel(new QLabel)
{
    m_pSearchEdit->setObjectName(QStringLiteral("treeSearchEdit"));
    m_pSearchEdit->setPlaceholderText(QStringLiteral("按名称查找"));
    m_pSearchEdit->setClearButtonEnabled(true);
    m_pSearchEdit->installEventFilter(this);
    m_pCountLabel->setObjectName(QStringLiteral("treeSearchCount"));

    // The box stands right above the tree, and is reached with Tab just before it.
    m_pSearchEdit->setParent(tree->parentWidget());
    m_pCountLabel->setParent(tree->parentWidget());
    if (auto* layout = qobject_cast<QBoxLayout*>(tree->parentWidget()->layout())) {
        auto* row = new QHBoxLayout;
        row->addWidget(m_pSearchEdit, 1);
        row->addWidget(m_pCountLabel);
        layout->insertLayout(layout->indexOf(tree), row);
    }
    QWidget::setTabOrder(m_pSearchEdit, tree);

    connect(m_pSearchEdit, &QLineEdit::textChanged, this, &CTqUiLibraryTree::ApplyFilter);
    // Ctrl+F anywhere in the dialog goes to the box.
    auto* find = new QShortcut(QKeySequence::Find, tree->window());
    connect(find, &QShortcut::activated, m_pSearchEdit, [this] {
        m_pSearchEdit->setFocus(Qt::ShortcutFocusReason);
        m_pSearchEdit->selectAll();
    });

    // Long captions scroll sideways instead of being cut off, and read whole in their tool tips.
    tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree->header()->setStretchLastSection(false);
}

CTqUiLibraryTree::~CTqUiLibraryTree() = default;

// ---------------------------------------------------------------------------------------------
// Filling

void CTqUiLibraryTree::Fill(const tagBSNode* root)
{
    m_pTree->DeleteAllItems();
    if (root != nullptr) {
        for (const tagBSNode* child : root->Children)
            InsertNode(child, nullptr);
    }
    if (!FilterText().isEmpty())
        ApplyFilter();
}

void CTqUiLibraryTree::Clear()
{
    const QSignalBlocker blocker(m_pTree);
    m_pTree->DeleteAllItems();
    m_pSearchEdit->clear();
}

void CTqUiLibraryTree::FitWidthToCaptions(int maxWidth)
{
    // Every caption as deep as it stands, the expand button's room included in the indentation,
    // plus the frame and a vertical scroll bar.
    const QFontMetrics metrics(m_pTree->font());
    int widest = 0;
    std::function<void(const QTreeWidgetItem*, int)> measure = [&](const QTreeWidgetItem* item, int depth) {
        for (int i = 0; i < item->childCount(); ++i) {
            const QTreeWidgetItem* child = item->child(i);
            widest = std::max(widest, (depth + 1) * m_pTree->indentation() + metrics.horizontalAdvance(child->text(0)));
            measure(child, depth + 1);
        }
    };
    measure(m_pTree->invisibleRootItem(), 0);
    const int chrome = 2 * m_pTree->frameWidth() + m_pTree->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                       2 * m_pTree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + metrics.averageCharWidth();
    m_pTree->setMinimumWidth(std::min(maxWidth, widest + chrome));
}

void CTqUiLibraryTree::InsertNode(const tagBSNode* node, QTreeWidgetItem* parentItem)
{
    if (node == nullptr)
        return;
    // The tree hands its nodes back to the dialogs, which only read them.
    QTreeWidgetItem* item = m_pTree->InsertItem(node->Name, parentItem, const_cast<tagBSNode*>(node));
    item->setToolTip(0, node->Name);
    item->setData(0, kSearchKeyRole, SearchKey(node->Name));
    for (const tagBSNode* child : node->Children)
        InsertNode(child, item);
    item->setExpanded(node->Expand != 0);
}

// ---------------------------------------------------------------------------------------------
// Items and nodes

const tagBSNode* CTqUiLibraryTree::Node(const QTreeWidgetItem* item)
{
    return static_cast<const tagBSNode*>(CMutiTreeCtrl::GetItemNode(item));
}

void CTqUiLibraryTree::ForEachNodeUp(const QTreeWidgetItem* item, const std::function<void(const tagBSNode&)>& visit)
{
    for (const QTreeWidgetItem* up = item; up != nullptr; up = up->parent()) {
        if (const tagBSNode* node = Node(up))
            visit(*node);
    }
}

QTreeWidgetItem* CTqUiLibraryTree::ChildByText(QTreeWidgetItem* parent, const QString& text, Qt::CaseSensitivity cs)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0).compare(text, cs) == 0)
            return parent->child(i);
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Commands and buttons

void CTqUiLibraryTree::RunMenuCommand(int command, const MenuHandlers& handlers)
{
    const std::function<void()>* handler = nullptr;
    switch (command) {
    case TQMenuCommand::Add:
        handler = &handlers.add;
        break;
    case TQMenuCommand::Modify:
        handler = &handlers.modify;
        break;
    case TQMenuCommand::Delete:
        handler = &handlers.remove;
        break;
    case TQMenuCommand::Copy:
        handler = &handlers.copy;
        break;
    case TQMenuCommand::SetCommon:
    case TQMenuCommand::CancelCommon:
        handler = &handlers.toggleCommon;
        break;
    default:
        return;
    }
    if (*handler)
        (*handler)();
}

void CTqUiLibraryTree::DecorateActions(std::initializer_list<ActionLook> actions)
{
    for (const ActionLook& action : actions) {
        action.button->setIcon(QIcon(QStringLiteral(":/tqwall/icons/%1.png").arg(QLatin1String(action.icon))));
        action.button->setIconSize(QSize(16, 16));
        TQLoad::SetToolTip(action.button, QString::fromUtf8(action.toolTip));
    }
}

// ---------------------------------------------------------------------------------------------
// Search

QString CTqUiLibraryTree::SearchKey(const QString& text)
{
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

QString CTqUiLibraryTree::FilterText() const
{
    return m_pSearchEdit->text();
}

void CTqUiLibraryTree::SetFilterText(const QString& text)
{
    m_pSearchEdit->setText(text);
}

void CTqUiLibraryTree::ApplyFilter()
{
    const QString key = SearchKey(FilterText().trimmed());
    m_nMatches = 0;
    QTreeWidgetItem* root = m_pTree->invisibleRootItem();
    if (key.isEmpty()) {
        ShowAll(root);
        m_pCountLabel->clear();
        if (m_pTree->currentItem() != nullptr)
            m_pTree->scrollToItem(m_pTree->currentItem());
        return;
    }
    for (int i = 0; i < root->childCount(); ++i)
        FilterSubtree(root->child(i), key);
    m_pCountLabel->setText(QStringLiteral("找到 %1 项").arg(m_nMatches));
}

bool CTqUiLibraryTree::FilterSubtree(QTreeWidgetItem* item, const QString& key)
{
    const bool bMatches = item->data(0, kSearchKeyRole).toString().contains(key);
    m_nMatches += bMatches ? 1 : 0;
    bool bHoldsMatch = false;
    for (int i = 0; i < item->childCount(); ++i)
        bHoldsMatch = FilterSubtree(item->child(i), key) || bHoldsMatch;
    // A parent is opened so that the matches under it are seen.
    if (bHoldsMatch)
        item->setExpanded(true);
    item->setHidden(!bMatches && !bHoldsMatch);
    return bMatches || bHoldsMatch;
}

void CTqUiLibraryTree::ShowAll(QTreeWidgetItem* item)
{
    for (int i = 0; i < item->childCount(); ++i) {
        item->child(i)->setHidden(false);
        ShowAll(item->child(i));
    }
}

QTreeWidgetItem* CTqUiLibraryTree::FirstMatch(QTreeWidgetItem* item, const QString& key) const
{
    for (int i = 0; i < item->childCount(); ++i) {
        QTreeWidgetItem* child = item->child(i);
        if (child->data(0, kSearchKeyRole).toString().contains(key))
            return child;
        if (QTreeWidgetItem* found = FirstMatch(child, key))
            return found;
    }
    return nullptr;
}

bool CTqUiLibraryTree::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_pSearchEdit || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    // Esc clears a filter; on an empty box it closes the dialog as anywhere else.
    if (key == Qt::Key_Escape && !FilterText().isEmpty()) {
        m_pSearchEdit->clear();
        return true;
    }
    // Enter goes to the first match instead of pressing the dialog's default button.
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        const QString search = SearchKey(FilterText().trimmed());
        if (QTreeWidgetItem* first = search.isEmpty() ? nullptr : FirstMatch(m_pTree->invisibleRootItem(), search))
            m_pTree->setCurrentItem(first);
        return true;
    }
    return QObject::eventFilter(watched, event);
}
