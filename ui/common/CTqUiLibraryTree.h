#pragma once

#include "TQWallExport.h"
#include "library/CTQBSDataAdmin.h"

#include <QObject>
#include <QString>

#include <functional>
#include <initializer_list>

class CMutiTreeCtrl;
class QAbstractButton;
class QLabel;
class QLineEdit;
class QTreeWidgetItem;

/// What the construction and the material library share about their trees: filling a tree from
/// the library manager's nodes, finding items by caption, walking up from an item by node, the
/// context-menu commands and the action buttons, and the search box above the tree.
///
/// The search box filters as one types: an item stays when its caption holds the text (case and
/// full- or half-width forms alike) or when one of its descendants does; the label beside the
/// box counts the matching items. Esc in the box clears it, Enter makes the first match current,
/// and Ctrl+F anywhere in the dialog goes to the box.
class TQWALL_EXPORT CTqUiLibraryTree : public QObject
{
    Q_OBJECT

public:
    /// The handlers of the host's menu commands; an empty one leaves its command unanswered.
    struct MenuHandlers
    {
        std::function<void()> add, modify, remove, copy, toggleCommon;
    };

    /// An action button's icon (":/tqwall/icons/<icon>.png") and tool tip, both UTF-8.
    struct ActionLook
    {
        QAbstractButton* button;
        const char* icon;
        const char* toolTip;
    };

    /// Puts the search box above `tree` in the tree's box layout; `tree` needs a parent widget.
    explicit CTqUiLibraryTree(CMutiTreeCtrl* tree);
    ~CTqUiLibraryTree() override;

    /// Empties the tree and fills it with the children of `root` (null: stays empty), each item
    /// expanded as its node says; the filter typed so far applies to the new items.
    void Fill(const tagBSNode* root);
    /// Empties the tree and the search box without reporting a selection change.
    void Clear();
    /// Makes the tree at least as wide as its widest caption needs, but not wider than `maxWidth`;
    /// a caption cut off beyond that reads whole in its tool tip.
    void FitWidthToCaptions(int maxWidth);

    /// The node an item carries; null for a null item or one without a node.
    static const tagBSNode* Node(const QTreeWidgetItem* item);
    /// Calls `visit` with the node of `item` and of each of its parents, nearest first.
    static void ForEachNodeUp(const QTreeWidgetItem* item, const std::function<void(const tagBSNode&)>& visit);
    /// The first child of `parent` captioned `text`, or null.
    static QTreeWidgetItem* ChildByText(QTreeWidgetItem* parent, const QString& text, Qt::CaseSensitivity cs);

    /// Runs the handler of a host menu command (TQMenuCommand).
    static void RunMenuCommand(int command, const MenuHandlers& handlers);
    /// Gives each button its icon at 16×16 pixels and its tool tip.
    static void DecorateActions(std::initializer_list<ActionLook> actions);

    /// Text folded for searching: compatibility forms (full-width letters, digits and signs, the
    /// ideographic space) become their plain forms, and case is folded.
    static QString SearchKey(const QString& text);

    QString FilterText() const;
    void SetFilterText(const QString& text);
    /// Items whose caption matches the filter; 0 without a filter.
    int MatchCount() const { return m_nMatches; }
    QLineEdit* SearchEdit() const { return m_pSearchEdit; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void InsertNode(const tagBSNode* node, QTreeWidgetItem* parentItem);
    void ApplyFilter();
    /// Shows the items of the subtree that match `key` or hold a match; true when one does.
    bool FilterSubtree(QTreeWidgetItem* item, const QString& key);
    void ShowAll(QTreeWidgetItem* item);
    QTreeWidgetItem* FirstMatch(QTreeWidgetItem* item, const QString& key) const;

    CMutiTreeCtrl* m_pTree;
    QLineEdit* m_pSearchEdit;
    QLabel* m_pCountLabel;
    int m_nMatches = 0;
};
