#pragma once

#include "host/TQHostExport.h"
#include "host/db/CTQLibraryPermissions.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <list>
#include <memory>
#include <utility>

class QSqlError;
class QSqlQuery;

namespace TQLoad {
/// Runs `sql` on `query` with `values` bound to its placeholders in order. A statement without
/// values runs directly: PostgreSQL cannot prepare every statement (CREATE TABLE, for one).
TQHOST_EXPORT bool RunStatement(QSqlQuery& query, const QString& sql, const QVariantList& values);
} // namespace TQLoad

/// Connection settings of a library database. SQLite needs only the file; PostgreSQL takes libpq's
/// settings: what is left empty (host, port 0, database, user, password) libpq takes from the
/// service, its environment variables or ~/.pgpass. The same statements run on both.
struct TQHOST_EXPORT CTQDatabaseConfig
{
    QString driver = QStringLiteral("QSQLITE"); ///< "QSQLITE" or "QPSQL"
    QString path;                               ///< SQLite file
    QString host;                               ///< PostgreSQL server
    int port = 5432;
    QString databaseName;
    QString user;
    QString password;
    /// A service of pg_service.conf (PGSERVICEFILE or ~/.pg_service.conf) naming server, database,
    /// user and the rest; the settings above that are given take precedence.
    QString service;
    /// libpq's sslmode (disable, prefer, require, verify-ca, verify-full); empty: libpq's default.
    QString sslMode;
    /// Refuse every write: SQLite opens the file without write access, PostgreSQL makes every
    /// transaction of the connection read-only.
    bool readOnly = false;
    /// How long a statement waits for a lock another process holds before it fails: SQLite's busy
    /// timeout, PostgreSQL's lock_timeout.
    int busyTimeoutMs = 10000;
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
    /// Runs a query: `sql` with `values` bound to its placeholders in order. On PostgreSQL a
    /// statement with values is prepared once and kept for the next run of the same text (the
    /// latest kPreparedStatements texts), since preparing and releasing it are round trips of
    /// their own; SQLite prepares in-process, and its kept statements would not follow a table
    /// that another connection makes anew. The query is positioned before its first row and
    /// stays valid until the next RunQuery; the caller reads its rows and then calls finish().
    /// Null when the statement failed (GetLastError says why).
    QSqlQuery* RunQuery(const QString& sql, const QVariantList& values);
    static constexpr int kPreparedStatements = 64;
    /// Statement counting, for measurements and tests: off until started, so a normal run keeps
    /// nothing. Starting resets the count; every statement any connection then runs (through
    /// TQLoad::RunStatement: Execute and the recordsets) counts once, whether it succeeds or not,
    /// also on a connection an action opens itself. Each is a round trip to the server on
    /// PostgreSQL. The library runs on one thread, the one that counts.
    static void StartStatementCount();
    static void StopStatementCount();
    /// Statements counted since the last start.
    static int GetStatementCount();
    /// Their texts, in the order they ran, to show which statements an action issues.
    static QStringList GetCountedStatements();
    /// Counts one statement while counting is on.
    static void CountStatement(const QString& sql);

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

    /// What the connection's role may change, read when it was opened.
    const CTQLibraryPermissions& GetPermissions() const { return m_Permissions; }
    /// Whether the last statement that failed was refused for want of privileges (PostgreSQL's
    /// SQLSTATE 42501, also raised by the library's row rule). Statements that succeed after it
    /// leave it, since a refused write is often followed by reads (a record checking its key).
    bool WasRefused() const { return m_bRefused; }

    QString GetLastError() const { return m_strLastError; }
    void SetLastError(const QString& error)
    {
        m_strLastError = error;
        m_bRefused = false;
    }
    /// Records a failed statement's error as a text a user can act on (a read-only or full
    /// library, a lock held too long, a lost server, ...), with the driver's own words after it.
    void SetLastError(const QSqlError& error);
    /// Table names present in the database, lower-cased.
    QStringList GetTableNames() const;

private:
    bool OpenConnection();
    /// Appends "key=value" for libpq when a value is given; false when the value would not be
    /// one word of its connection string.
    static bool AddConnectOption(QStringList& options, const QString& key, const QString& value);
    bool ConfigureSQLite();
    bool ConfigurePostgres();
    /// The connection's own settings and what its role may change, in one statement.
    QSqlQuery* QuerySessionAndPermissions();
    /// The kept query prepared with `sql`, prepared now when there is none; null when it cannot be
    /// prepared.
    QSqlQuery* PreparedQuery(const QString& sql);
    void ForgetPrepared(const QString& sql);

    QString m_strConnectionName;
    CTQDatabaseConfig m_Config;
    QString m_strLastError;
    CTQLibraryPermissions m_Permissions;
    bool m_bRefused = false;
    /// The kept statements, most recently run first.
    std::list<std::pair<QString, std::unique_ptr<QSqlQuery>>> m_Prepared;
    /// The query of the last statement not kept.
    std::unique_ptr<QSqlQuery> m_pQuery;
};
