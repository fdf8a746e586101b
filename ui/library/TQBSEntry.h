#pragma once

#include "TQWallExport.h"

#include <QString>

class CTQWallData;

/// The host opens the construction library through these functions. Each runs the construction
/// library dialog modally on the caller's thread and returns when it closes. Changes the user
/// makes to the library are stored as they are made, whatever button closes the dialog.
namespace TQLoad {

/// Opens the library on construction `bscId`, evaluating the list with the surface coefficients
/// of `wall`. OK: `wall` receives the chosen construction (name, ID, layers and results) and the
/// result is 1. Otherwise `wall` is untouched and the result is 0.
TQWALL_EXPORT int ShowBSDlgByBSCId(long bscId, CTQWallData& wall);

/// The same, with category `categoryId` as the current category: with no stored construction
/// (`bscId` below 1) the library opens on that category.
TQWALL_EXPORT int ShowBSDlgByBSCIdEx(long bscId, CTQWallData& wall, int categoryId);

/// Opens the library for browsing and editing; nothing is handed back. The names do not select
/// anything: the library opens on "所有围护结构".
TQWALL_EXPORT void ShowBSDlg(QString typeName, QString codeName);

/// ShowBSDlg with no names; always 1.
TQWALL_EXPORT int ShowBSDlg();

} // namespace TQLoad
