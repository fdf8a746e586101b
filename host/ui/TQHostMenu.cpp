#include "host/ui/TQHostMenu.h"

#include <QAction>
#include <QMenu>

namespace TQLoad {

int ExecHostMenu(const CTQMenuItemArray& items, const QPoint& globalPos, QWidget* parent)
{
    if (items.IsEmpty())
        return 0;

    QMenu menu(parent);
    for (const stuMenuItem& item : items) {
        if (item.bSeparator) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(item.strText);
        action->setData(item.nID);
        action->setEnabled(item.bEnable);
    }
    const QAction* chosen = menu.exec(globalPos);
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

} // namespace TQLoad
