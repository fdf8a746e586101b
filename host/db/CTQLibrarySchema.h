#pragma once

#include "host/TQHostExport.h"

#include <QString>
#include <QStringList>

class CADODatabase;

/// The tables of the construction and material libraries and of the materials' vapour data, created
/// where missing. The same columns on SQLite and PostgreSQL; only the generated ID column is written per engine.
///
/// Stored values: names are stored as typed (an empty name as "", never NULL; rows of older
/// libraries that hold NULL count as ""), except what neither engine gives back: an unpaired
/// surrogate, U+FFFE and U+FFFF are stored as U+FFFD and a leading U+FEFF is dropped, in what is
/// written and in what is looked for alike. Real columns hold infinities as they are; a NaN is
/// stored as NULL on both engines (SQLite cannot hold a NaN) and a NULL real reads back as NaN.
///
/// The keys of the records are unique indexes: a type's name, a construction's name, type and
/// province, a material's name and province, a material type's name. They are built on the same
/// NULL-as-empty expression the key queries use.
class TQHOST_EXPORT CTQLibrarySchema
{
public:
    /// Names of the library tables the database lacks.
    static QStringList MissingTables(CADODatabase* database);
    /// How many tables a library has: all of them are missing from a new one.
    static int TableCount();
    /// Creates the missing tables and their indexes; false with `error` set on failure.
    static bool CreateMissingTables(CADODatabase* database, QString* error = nullptr);

    /// Names of the key indexes the database lacks.
    static QStringList MissingKeyIndexes(CADODatabase* database);
    /// Adds the missing key indexes. A table whose rows already break its key keeps them all and
    /// gets no index: each such key is described in `duplicates` (table, key, IDs of the rows),
    /// so the user can resolve it. False with `error` set when a statement failed.
    static bool CreateKeyIndexes(CADODatabase* database, QStringList* duplicates, QString* error = nullptr);
    /// Library columns the existing tables lack, as "table.column".
    static QStringList MissingColumns(CADODatabase* database);
};
