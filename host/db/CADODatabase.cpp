#include "host/db/CADODatabase.h"

#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

namespace {

QString NextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("tqwall-%1").arg(++counter);
}

// A second process on the same SQLite library waits this long for a lock instead of failing.
constexpr int kSQLiteBusyTimeoutMs = 10000;

} // namespace

bool TQLoad::RunStatement(QSqlQuery& query, const QString& sql, const QVariantList& values)
{
    CADODatabase::CountStatement(sql);
    if (values.isEmpty())
        return query.exec(sql);
    if (!query.prepare(sql))
        return false;
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec();
}

CADODatabase::CADODatabase() : m_strConnectionName(NextConnectionName()) {}

CADODatabase::~CADODatabase()
{
    Close();
}

bool CADODatabase::Open(const CTQDatabaseConfig& config)
{
    Close();
    m_Config = config;
    m_strLastError.clear();
    if (!QSqlDatabase::isDriverAvailable(config.driver)) {
        m_strLastError = QStringLiteral("数据库驱动 %1 不可用").arg(config.driver);
        return false;
    }
    if (!OpenConnection())
        return false;
    return !IsSQLite() || ConfigureSQLite();
}

bool CADODatabase::OpenConnection()
{
    const CTQDatabaseConfig& config = m_Config;
    QSqlDatabase db = QSqlDatabase::addDatabase(config.driver, m_strConnectionName);
    if (IsSQLite()) {
        db.setDatabaseName(config.path);
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kSQLiteBusyTimeoutMs);
        if (config.readOnly)
            options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        db.setConnectOptions(options);
    } else {
        db.setHostName(config.host);
        db.setPort(config.port);
        db.setDatabaseName(config.databaseName);
        db.setUserName(config.user);
        db.setPassword(config.password);
    }
    if (!db.open()) {
        m_strLastError = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_strConnectionName);
        return false;
    }
    return true;
}

bool CADODatabase::ConfigureSQLite()
{
    QSqlQuery query(GetActiveConnection());
    // Write-ahead logging lets readers go on while another process writes. Some file systems
    // (network shares) cannot hold the shared-memory file; the default journal then serves.
    if (!m_Config.readOnly)
        query.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    // A file that is not a database at all fails on its first read.
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        m_strLastError = query.lastError().text();
        query.finish();
        query = QSqlQuery();
        Close();
        return false;
    }
    return true;
}

bool CADODatabase::IsOpen() const
{
    return QSqlDatabase::contains(m_strConnectionName) && GetActiveConnection().isOpen();
}

void CADODatabase::Close()
{
    // The kept queries go before the connection they belong to.
    m_Prepared.clear();
    m_pQuery.reset();
    if (!QSqlDatabase::contains(m_strConnectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_strConnectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_strConnectionName);
}

int CADODatabase::Execute(const QString& sql, const QVariantList& values)
{
    if (!IsOpen()) {
        m_strLastError = QStringLiteral("数据库未打开");
        return 0;
    }
    QSqlQuery query(GetActiveConnection());
    if (!TQLoad::RunStatement(query, sql, values)) {
        m_strLastError = query.lastError().text();
        return 0;
    }
    return 1;
}

QSqlQuery* CADODatabase::RunQuery(const QString& sql, const QVariantList& values)
{
    if (!IsOpen()) {
        m_strLastError = QStringLiteral("数据库未打开");
        return nullptr;
    }
    if (values.isEmpty() || IsSQLite()) {
        m_pQuery = std::make_unique<QSqlQuery>(GetActiveConnection());
        m_pQuery->setForwardOnly(true);
        if (TQLoad::RunStatement(*m_pQuery, sql, values))
            return m_pQuery.get();
        m_strLastError = m_pQuery->lastError().text();
        return nullptr;
    }
    // A kept statement that fails may have gone stale (its table made anew): it is prepared
    // afresh once.
    for (int attempt = 0; attempt < 2; ++attempt) {
        QSqlQuery* query = PreparedQuery(sql);
        if (!query)
            return nullptr;
        CountStatement(sql);
        for (int i = 0; i < values.size(); ++i)
            query->bindValue(i, values[i]);
        if (query->exec())
            return query;
        m_strLastError = query->lastError().text();
        ForgetPrepared(sql);
    }
    return nullptr;
}

QSqlQuery* CADODatabase::PreparedQuery(const QString& sql)
{
    for (auto kept = m_Prepared.begin(); kept != m_Prepared.end(); ++kept) {
        if (kept->first == sql) {
            m_Prepared.splice(m_Prepared.begin(), m_Prepared, kept);
            return m_Prepared.front().second.get();
        }
    }
    auto query = std::make_unique<QSqlQuery>(GetActiveConnection());
    query->setForwardOnly(true);
    if (!query->prepare(sql)) {
        m_strLastError = query->lastError().text();
        return nullptr;
    }
    m_Prepared.emplace_front(sql, std::move(query));
    if (static_cast<int>(m_Prepared.size()) > kPreparedStatements)
        m_Prepared.pop_back();
    return m_Prepared.front().second.get();
}

void CADODatabase::ForgetPrepared(const QString& sql)
{
    m_Prepared.remove_if([&](const auto& kept) { return kept.first == sql; });
}

bool CADODatabase::BeginTransaction()
{
    return IsOpen() && GetActiveConnection().transaction();
}

bool CADODatabase::CommitTransaction()
{
    return IsOpen() && GetActiveConnection().commit();
}

bool CADODatabase::RollbackTransaction()
{
    return IsOpen() && GetActiveConnection().rollback();
}

QSqlDatabase CADODatabase::GetActiveConnection() const
{
    if (!QSqlDatabase::contains(m_strConnectionName))
        return {};
    return QSqlDatabase::database(m_strConnectionName, false);
}

QStringList CADODatabase::GetTableNames() const
{
    QStringList names;
    if (!IsOpen())
        return names;
    for (const QString& name : GetActiveConnection().tables())
        names.append(name.toLower());
    return names;
}

// ---------------------------------------------------------------------------------------------
// Statement count

namespace {

// The statements of every connection, kept only while counting is on.
struct StatementCount
{
    bool counting = false;
    QStringList statements;
};

StatementCount& Counted()
{
    static StatementCount count;
    return count;
}

} // namespace

void CADODatabase::CountStatement(const QString& sql)
{
    if (Counted().counting)
        Counted().statements.append(sql);
}

void CADODatabase::StartStatementCount()
{
    Counted().statements.clear();
    Counted().counting = true;
}

void CADODatabase::StopStatementCount()
{
    Counted().counting = false;
}

int CADODatabase::GetStatementCount()
{
    return static_cast<int>(Counted().statements.size());
}

QStringList CADODatabase::GetCountedStatements()
{
    return Counted().statements;
}
