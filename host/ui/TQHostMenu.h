#pragma once

#include "host/ui/stuMenuItem.h"

#include <QPoint>

class QWidget;

namespace TQLoad {

/// Shows the host's menu items as a popup menu at `globalPos` and waits for the user's choice.
/// Returns the command number of the chosen item, or 0 when the menu was closed without a choice
/// (separators and disabled items cannot be chosen). An array without items shows nothing.
int ExecHostMenu(const CTQMenuItemArray& items, const QPoint& globalPos, QWidget* parent);

} // namespace TQLoad
