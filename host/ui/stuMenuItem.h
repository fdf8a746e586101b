#pragma once

#include "host/thermal/TQArray.h"

#include <QString>

/// One context-menu item supplied by the host. The dialogs bind items by `nID`
/// (30001 add, 30002 modify, 30003 delete, 30004 copy, 30006 move up, 30007 move down,
/// 30013 and 30014 common flag) and may switch `bEnable` in place while the array is attached.
struct stuMenuItem
{
    int nID = 0;             ///< command number the control reports when the item is chosen
    QString strText;         ///< caption shown in the menu
    bool bEnable = true;     ///< false shows the item greyed out; it cannot be chosen
    bool bSeparator = false; ///< true draws a separator line; nID, strText and bEnable are then unused
};

/// The host's menu arrays are growable arrays of items; the controls keep a pointer to one
/// and read it each time the menu opens, so changes made in place show at the next opening.
using CTQMenuItemArray = CTQArray<stuMenuItem>;
