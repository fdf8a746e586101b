#pragma once

#include "host/db/CADODatabase.h"
#include "host/TQHostExport.h"

#include <QString>
#include <QStringList>
#include <memory>

/// The one place that opens the library database from the settings.
///
/// SQLite is the default: a file in the user's data folder, created with the library tables on
/// first use. Another file is chosen by the command line (--db PATH), then by the environment
/// variable TQWALL_DB, then by "[Database] Path" in the ini. "[Database] Driver=QPSQL" opens a
/// PostgreSQL library shared by an office: with a Service of pg_service.conf, or with the Host, Port,
/// Name and User settings, and SSLMode; the password comes from ~/.pgpass (or PGPASSFILE). A
/// Password still in the ini is used, with a warning once on stderr that it should move.
class TQHOST_EXPORT CTQLibraryDatabase
{
public:
    /// Connection settings, from the command line's path, the environment and the ini storage.
    static CTQDatabaseConfig ConfigFromSettings(const QString& commandLinePath = {});
    /// "<user data folder>/library.sqlite".
    static QString DefaultSQLitePath();

    /// Opens the database and creates the library tables and key indexes it lacks. Null with
    /// `error` set when it cannot be opened, its tables lack columns or cannot be made; `created`
    /// tells a library whose tables were all made just now (an empty library, to be filled with
    /// the default data). Keys that rows of an older library already share keep their rows and
    /// get no index; `duplicates` describes them.
    static std::unique_ptr<CADODatabase> Open(const CTQDatabaseConfig& config, QString* error, bool* created = nullptr,
                                              QStringList* duplicates = nullptr);
};
