#pragma once

#include "host/TQHostExport.h"
#include "host/ui/stuMenuItem.h"

#include <QTreeWidget>

/// The host's tree control: one column without header, lines and expand buttons down to the
/// top-level items, one selected item that stays highlighted when the tree loses the focus, and
/// a node pointer as each item's data. The host's menu items are its context menu; a right click
/// on an item selects it first.
class TQHOST_EXPORT CMutiTreeCtrl : public QTreeWidget
{
    Q_OBJECT

public:
    explicit CMutiTreeCtrl(QWidget* parent = nullptr);
    ~CMutiTreeCtrl() override;

    /// Appends an item with `text` and `node` as last child of `parent` (top level when null).
    QTreeWidgetItem* InsertItem(const QString& text, QTreeWidgetItem* parent = nullptr, void* node = nullptr);

    /// The node pointer an item carries; the tree does not own it.
    void SetItemNode(QTreeWidgetItem* item, void* node);
    /// The item's node pointer; null for a null item or one without a node.
    static void* GetItemNode(const QTreeWidgetItem* item);

    /// Removes every item.
    void DeleteAllItems();

    /// Gives the tree the host's menu items as its context menu; null removes the menu. The array
    /// is not copied: it must outlive the attachment, and is read each time the menu opens.
    void AttachMenItemAry(CTQMenuItemArray* pItems);
    CTQMenuItemArray* GetMenItemAry() const { return m_pMenuItems; }

signals:
    /// A host menu item was chosen from the context menu.
    void menuCommand(int commandNumber);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CTQMenuItemArray* m_pMenuItems = nullptr;
};
