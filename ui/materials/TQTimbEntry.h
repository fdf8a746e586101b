#pragma once

#include "TQWallExport.h"

#include <QString>

class CTQMateralData;

/// The host opens the material library through these functions. Each runs the material library
/// dialog modally on the caller's thread and returns when it closes. Changes the user makes to
/// the library are stored as they are made, whatever button closes the dialog.
namespace TQLoad {

/// Opens the library for browsing and editing on the material `materialName` of the type
/// `typeName` (national materials); a name not found leaves the type, or the heading, selected.
TQWALL_EXPORT void ShowTimberingDlg(QString typeName, QString materialName);

/// ShowTimberingDlg with no names; always 1.
TQWALL_EXPORT int ShowTimberingDlg();

/// Opens the library on material `materialId` for a choice. OK (only possible with a material
/// selected): `material` receives the chosen material's name, ID, density, specific heat,
/// conductivity and common flag, and the result is 1. Otherwise `material` is untouched and the
/// result is 0.
TQWALL_EXPORT int ShowTimberingDlgById(long materialId, CTQMateralData& material);

} // namespace TQLoad
