#include "host/ui/CMutiTreeCtrl.h"

#include "host/ui/TQHostMenu.h"

#include <QContextMenuEvent>
#include <QPalette>

namespace {

constexpr int kNodeRole = Qt::UserRole;

} // namespace

CMutiTreeCtrl::CMutiTreeCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);

    // The dialogs act on the selected item while the user works in other controls, so the
    // selection is drawn the same with and without the focus.
    QPalette colours = palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);
}

CMutiTreeCtrl::~CMutiTreeCtrl() = default;

QTreeWidgetItem* CMutiTreeCtrl::InsertItem(const QString& text, QTreeWidgetItem* parent, void* node)
{
    auto* item = new QTreeWidgetItem(QStringList{text});
    SetItemNode(item, node);
    if (parent != nullptr)
        parent->addChild(item);
    else
        addTopLevelItem(item);
    return item;
}

void CMutiTreeCtrl::SetItemNode(QTreeWidgetItem* item, void* node)
{
    if (item != nullptr)
        item->setData(0, kNodeRole, QVariant::fromValue(reinterpret_cast<quintptr>(node)));
}

void* CMutiTreeCtrl::GetItemNode(const QTreeWidgetItem* item)
{
    return item != nullptr ? reinterpret_cast<void*>(item->data(0, kNodeRole).value<quintptr>()) : nullptr;
}

void CMutiTreeCtrl::DeleteAllItems()
{
    clear();
}

void CMutiTreeCtrl::AttachMenItemAry(CTQMenuItemArray* pItems)
{
    m_pMenuItems = pItems;
}

void CMutiTreeCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_pMenuItems == nullptr || m_pMenuItems->IsEmpty()) {
        event->ignore();
        return;
    }
    // The commands act on the selected item, so the item under a right click becomes it.
    if (event->reason() == QContextMenuEvent::Mouse) {
        if (QTreeWidgetItem* item = itemAt(event->pos()))
            setCurrentItem(item);
    }
    event->accept();
    const int command = TQLoad::ExecHostMenu(*m_pMenuItems, event->globalPos(), this);
    if (command != 0)
        emit menuCommand(command);
}
