#pragma once

#include "host/TQHostExport.h"

#include <QString>
#include <QStringList>

class CADODatabase;

/// The seven tables of the construction and material libraries, created where missing. The same
/// columns on SQLite and PostgreSQL; only the generated ID column is written per engine.
class TQHOST_EXPORT CTQLibrarySchema
{
public:
    /// Names of the library tables the database lacks.
    static QStringList MissingTables(CADODatabase* database);
    /// Creates the missing tables and their indexes; false with `error` set on failure.
    static bool CreateMissingTables(CADODatabase* database, QString* error = nullptr);
};
