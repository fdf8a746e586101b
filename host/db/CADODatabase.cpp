#include "host/db/CADODatabase.h"

#include "host/db/CTQDBGlobalSetting.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>
#include <initializer_list>

namespace {

QString NextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("tqwall-%1").arg(++counter);
}


// Any number, the same in every process: the key of the PostgreSQL advisory lock that the set-up
// and the first fill of a library hold.
constexpr qint64 kLibraryLockKey = 0x5451'5761'6C6C; // "TQWall"

// What a failed statement means for the user, from the engine's own error code: SQLite's result
// code (its primary code is the low byte of an extended one), PostgreSQL's SQLSTATE.
QString DescribeError(const QSqlError& error, bool sqlite)
{
    const QString code = error.nativeErrorCode();
    const QString text = error.text();
    const int primary = code.toInt() & 0xff;
    auto is = [&](int sqliteCode, std::initializer_list<const char*> states) {
        if (sqlite)
            return primary == sqliteCode;
        for (const char* state : states) {
            if (code.startsWith(QLatin1String(state)))
                return true;
        }
        return false;
    };
    if (!sqlite && (error.type() == QSqlError::ConnectionError || code.isEmpty() || is(0, {"08", "57P"})))
        return QStringLiteral("与数据库服务器的连接已断开，修改未保存");
    if (is(5, {"55P03", "40P01"}) || (sqlite && primary == 6))
        return QStringLiteral("围护结构库正被另一个程序占用，请稍后再试");
    if (!sqlite && is(0, {"42501"}))
        return CTQLibraryPermissions::RefusedText();
    if (is(8, {"25006"}))
        return QStringLiteral("围护结构库是只读的，无法保存修改");
    if (is(13, {"53100"}))
        return QStringLiteral("磁盘已满，修改未保存");
    if (is(26, {"XX001"}) || (sqlite && primary == 11))
        return QStringLiteral("文件不是围护结构库数据库或已损坏");
    if (is(19, {"23505"}))
        return QStringLiteral("已存在同名的记录");
    if (text.contains(QLatin1String("no such table")) || text.contains(QLatin1String("no such column")) ||
        is(-1, {"42P01", "42703"}))
        return QStringLiteral("围护结构库缺少表或列");
    return QStringLiteral("数据库操作失败");
}

/// A text value as both engines give it back. SQLite returns U+FFFE and U+FFFF as U+FFFD and joins
/// an unpaired surrogate with the character after it; PostgreSQL's UTF-8 loses an unpaired
/// surrogate and a leading U+FEFF (byte-order mark) on the way back. Stored as U+FFFD (the mark
/// dropped), such a text reads back as it was bound on either engine and finds its own row.
QVariant StorableText(const QVariant& value)
{
    if (value.typeId() != QMetaType::QString)
        return value;
    QString text = value.toString();
    bool changed = text.startsWith(QChar(0xFEFF));
    if (changed)
        text.remove(0, 1);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;
            continue;
        }
        if (QChar::isSurrogate(c) || c == 0xFFFE || c == 0xFFFF) {
            text[i] = QChar(QChar::ReplacementCharacter);
            changed = true;
        }
    }
    return changed ? QVariant(text) : value;
}

} // namespace

bool TQLoad::RunStatement(QSqlQuery& query, const QString& sql, const QVariantList& values)
{
    CADODatabase::CountStatement(sql);
    if (values.isEmpty())
        return query.exec(sql);
    if (!query.prepare(sql))
        return false;
    for (const QVariant& value : values)
        query.addBindValue(StorableText(value));
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
    m_bRefused = false;
    m_Permissions = config.readOnly ? CTQLibraryPermissions::None() : CTQLibraryPermissions();
    if (!QSqlDatabase::isDriverAvailable(config.driver)) {
        m_strLastError = QStringLiteral("数据库驱动 %1 不可用").arg(config.driver);
        return false;
    }
    if (!OpenConnection())
        return false;
    return IsSQLite() ? ConfigureSQLite() : ConfigurePostgres();
}

bool CADODatabase::OpenConnection()
{
    const CTQDatabaseConfig& config = m_Config;
    QStringList options;
    if (!IsSQLite() && (!AddConnectOption(options, QStringLiteral("service"), config.service) ||
                        !AddConnectOption(options, QStringLiteral("sslmode"), config.sslMode))) {
        m_strLastError = QStringLiteral("数据库连接设置无效：%1").arg(options.last());
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(config.driver, m_strConnectionName);
    if (IsSQLite()) {
        db.setDatabaseName(config.path);
        QString sqliteOptions = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(config.busyTimeoutMs);
        if (config.readOnly)
            sqliteOptions += QStringLiteral(";QSQLITE_OPEN_READONLY");
        db.setConnectOptions(sqliteOptions);
    } else {
        // Only what is given goes to libpq, so the service, PG* variables and ~/.pgpass fill in
        // the rest.
        if (!config.host.isEmpty())
            db.setHostName(config.host);
        if (config.port > 0)
            db.setPort(config.port);
        db.setDatabaseName(config.databaseName);
        db.setUserName(config.user);
        db.setPassword(config.password);
        db.setConnectOptions(options.join(QLatin1Char(';')));
    }
    if (!db.open()) {
        SetLastError(db.lastError());
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
        SetLastError(query.lastError());
        query.finish();
        query = QSqlQuery();
        Close();
        return false;
    }
    return true;
}

bool CADODatabase::ConfigurePostgres()
{
    QSqlQuery* session = QuerySessionAndPermissions();
    const bool read = session && session->next();
    if (read) {
        m_Permissions.bMayChangeTypes = session->value(QStringLiteral("types")).toBool();
        m_Permissions.bMayChangeConstructions = session->value(QStringLiteral("constructions")).toBool();
        m_Permissions.bMayChangeMaterials = session->value(QStringLiteral("materials")).toBool();
        m_Permissions.bOnlyProvincial = session->value(QStringLiteral("provincial")).toBool();
    } else if (session) {
        m_strLastError = QStringLiteral("数据库操作失败");
    }
    if (session)
        session->finish();
    if (m_Config.readOnly)
        m_Permissions = CTQLibraryPermissions::None();
    if (!read)
        Close();
    return read;
}

// One round trip: the lock timeout and a read-only connection's refusal of writes are settings of
// the session, so they hold for every transaction of this connection; the privileges are the role's on each library table (a table not made yet
// counts as allowed: whoever makes it owns it), and the row rule of scripts/library-roles.sql
// applies to a member of tqwall_engineer that is no member of tqwall_librarian.
QSqlQuery* CADODatabase::QuerySessionAndPermissions()
{
    const CTQDBGlobalSetting* settings = CTQDBGlobalSetting::GetGlobalSetting();
    QVariantList values{QStringLiteral("%1ms").arg(m_Config.busyTimeoutMs),
                        m_Config.readOnly ? QStringLiteral("on") : QStringLiteral("off")};
    const auto mayChange = [&values](const QStringList& tables) {
        QStringList privileges;
        for (const QString& table : tables) {
            for (const char* privilege : {"INSERT", "UPDATE", "DELETE"}) {
                privileges.append(QStringLiteral("has_table_privilege(to_regclass(?), '%1')").arg(QLatin1String(privilege)));
                values.append(table);
            }
        }
        return QStringLiteral("COALESCE(%1, true)").arg(privileges.join(QStringLiteral(" AND ")));
    };
    const auto member = [](const char* role) {
        return QStringLiteral("COALESCE((SELECT pg_has_role(oid, 'MEMBER') FROM pg_roles WHERE rolname = '%1'), false)")
            .arg(QLatin1String(role));
    };
    const QString types = mayChange({settings->GetBSDaLeiTableName(), settings->GetBSTypeTableName()});
    const QString constructions =
        mayChange({settings->GetBSCodeTableName(), settings->GetBoundingStructureTableName()});
    const QString materials = mayChange({settings->GetTimberingTableName(), settings->GetTimberingTypeTableName()});
    const QString sql = QStringLiteral("SELECT set_config('lock_timeout', ?, false) AS timeout, "
                                       "set_config('default_transaction_read_only', ?, false) AS readonly, %1 AS types, "
                                       "%2 AS constructions, %3 AS materials, %4 AND NOT %5 AS provincial")
                            .arg(types, constructions, materials, member("tqwall_engineer"), member("tqwall_librarian"));
    return RunQuery(sql, values);
}

bool CADODatabase::AddConnectOption(QStringList& options, const QString& key, const QString& value)
{
    // A value with a blank, quote or semicolon would split libpq's connection string.
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_.-]*$"));
    if (!plain.match(value).hasMatch()) {
        options.append(key);
        return false;
    }
    if (!value.isEmpty())
        options.append(key + QLatin1Char('=') + value);
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
        SetLastError(query.lastError());
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
        SetLastError(m_pQuery->lastError());
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
            query->bindValue(i, StorableText(values[i]));
        if (query->exec())
            return query;
        SetLastError(query->lastError());
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
        SetLastError(query->lastError());
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

void CADODatabase::SetLastError(const QSqlError& error)
{
    m_bRefused = !IsSQLite() && error.nativeErrorCode() == QLatin1String("42501");
    m_strLastError = QStringLiteral("%1（%2）").arg(DescribeError(error, IsSQLite()), error.text().trimmed());
}

bool CADODatabase::BeginTransaction()
{
    return IsOpen() && GetActiveConnection().transaction();
}

bool CADODatabase::BeginExclusiveTransaction()
{
    if (!IsOpen())
        return false;
    if (IsSQLite())
        return Execute(QStringLiteral("BEGIN IMMEDIATE"));
    if (!GetActiveConnection().transaction()) {
        SetLastError(GetActiveConnection().lastError());
        return false;
    }
    if (Execute(QStringLiteral("SELECT pg_advisory_xact_lock(?)"), {kLibraryLockKey}))
        return true;
    GetActiveConnection().rollback();
    return false;
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
