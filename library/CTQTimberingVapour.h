#pragma once

#include "TQWallExport.h"

#include <QHash>

class CADODatabase;

/// Vapour permeability μ of materials, g/(m·h·Pa), kept in a table of its own keyed by material ID
/// (table name "Tables/TimberingVapour"). A material without a row has no vapour data; NaN stands
/// for it in and out.
class TQWALL_EXPORT CTQTimberingVapour
{
public:
    /// μ of one material, NaN when it has none or the table cannot be read.
    static double Read(int materialId, CADODatabase* database = nullptr);
    /// μ of every material that has one; false when the table cannot be read.
    static bool ReadAll(QHash<int, double>& values, CADODatabase* database = nullptr);
    /// Stores μ (a finite value > 0) or, for NaN, removes the material's row. False on a database
    /// failure or a value that is neither.
    static bool Write(int materialId, double permeability, CADODatabase* database = nullptr);
    static QString GetTableName();
};
