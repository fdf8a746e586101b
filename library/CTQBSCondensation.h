#pragma once

#include "TQWallExport.h"
#include "host/thermal/VapourProfile.h"
#include "host/walldata/CTQWallData.h"

#include <QString>
#include <QStringList>

/// The condensation check of a construction: its conditions (from the settings and the climate
/// zone of its province), its profile with the vapour data of its materials, and the verdict in words.
class TQWALL_EXPORT CTQBSCondensation
{
public:
    /// Conditions of the settings section "Condensation"; without an outdoor temperature there,
    /// the design value of the zone of province `provinceId` (national: −10 °C).
    static thermal::MoistureConditions GetConditions(int provinceId);
    static void SaveConditions(const thermal::MoistureConditions& conditions);
    /// Outdoor design temperature of a thermal climate zone (CId 1–5), °C.
    static double ZoneOutdoorTemperature(int zoneId);

    /// Profile of the wall's layers with the winter films and each material's μ from the library.
    static thermal::VapourProfileResult Evaluate(const CTQWallData& wall,
                                                 const thermal::MoistureConditions& conditions);

    /// The verdict in words: one line for the interior surface, one for the inside of the construction.
    static QStringList VerdictLines(const CTQWallData& wall, const thermal::VapourProfileResult& result);
};
