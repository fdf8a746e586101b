#pragma once

#include "host/TQHostExport.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

class QSqlError;
class QSqlQuery;

namespace TQLoad {
/// Runs `sql` on `query` with `values` bound to its placeholders in order. A statement without
/// values runs directly: PostgreSQL cannot prepare every statement (CREATE TABLE, for one).
TQHOST_EXPORT bool RunStatement(QSqlQuery& query, const QString& sql, const QVariantList& values);
} // namespace TQLoad

/// Connection settings of a library database. SQLite needs only the file; PostgreSQL takes the
/// usual connection settings. The same statements run on both.
struct TQHOST_EXPORT CTQDatabaseConfig
{
    QString driver = QStringLiteral("QSQLITE"); ///< "QSQLITE" or "QPSQL"
    QString path;                               ///< SQLite file
    QString host;                               ///< PostgreSQL server
    int port = 5432;
    QString databaseName;
    QString user;
    QString password;
    bool readOnly = false; ///< SQLite: open the file without write access
    int busyTimeoutMs = 10000; ///< SQLite: how long a statement waits for another process's lock
};

/// One open connection to a library database over Qt SQL. Every value a statement uses is
/// bound; only table names from the settings are put into statement text.
class TQHOST_EXPORT CADODatabase
{
public:
    CADODatabase();
    ~CADODatabase();
    CADODatabase(const CADODatabase&) = delete;
    CADODatabase& operator=(const CADODatabase&) = delete;

    /// Opens the connection; false with GetLastError() set when it cannot be opened.
    bool Open(const CTQDatabaseConfig& config);
    bool IsOpen() const;
    void Close();

    /// Runs one statement that returns no rows; non-zero on success.
    int Execute(const QString& sql, const QVariantList& values = {});

    bool BeginTransaction();
    /// A transaction that holds the library's write lock from its first statement, so two
    /// processes that both set up or fill a library run one after the other: SQLite takes the
    /// write lock at once (BEGIN IMMEDIATE, waiting the busy timeout), PostgreSQL a transaction
    /// advisory lock. Ended by CommitTransaction or RollbackTransaction.
    bool BeginExclusiveTransaction();
    bool CommitTransaction();
    bool RollbackTransaction();

    /// The Qt connection behind this database (invalid while closed).
    QSqlDatabase GetActiveConnection() const;
    /// The options object of the connection: its settings.
    const CTQDatabaseConfig& GetActiveAdoap() const { return m_Config; }
    /// The connection kind, as the Qt driver name ("QSQLITE", "QPSQL").
    QString GetCurrentConnectType() const { return m_Config.driver; }
    bool IsSQLite() const { return m_Config.driver == QLatin1String("QSQLITE"); }

    QString GetLastError() const { return m_strLastError; }
    void SetLastError(const QString& error) { m_strLastError = error; }
    /// Records a failed statement's error as a text a user can act on (a read-only or full
    /// library, a lock held too long, a lost server, ...), with the driver's own words after it.
    void SetLastError(const QSqlError& error);
    /// Table names present in the database, lower-cased.
    QStringList GetTableNames() const;

private:
    bool OpenConnection();
    bool ConfigureSQLite();

    QString m_strConnectionName;
    CTQDatabaseConfig m_Config;
    QString m_strLastError;
};
