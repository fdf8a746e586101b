#include "host/db/CTQLibraryDatabase.h"

#include "host/db/CTQDBGlobalSetting.h"
#include "host/db/CTQLibrarySchema.h"
#include "host/core/CTQUserWork.h"

#include <QDir>
#include <QFileInfo>

namespace {

// A setting the ini holds itself; empty when it is left to its default.
QString Stored(CTQSettingsTable::Key key)
{
    return CTQDBGlobalSetting::GetGlobalSetting()->GetSysIni(CTQSettingsTable::Section(key),
                                                             CTQSettingsTable::Name(key), QString());
}

// With a service, what the ini leaves out comes from pg_service.conf rather than from the ini's
// defaults; the password, best kept out of the ini, from ~/.pgpass or PGPASSFILE.
CTQDatabaseConfig PostgresConfig(CTQDatabaseConfig config)
{
    const CTQDBGlobalSetting* settings = CTQDBGlobalSetting::GetGlobalSetting();
    config.service = Stored(CTQSettingsTable::DatabaseService);
    config.sslMode = Stored(CTQSettingsTable::DatabaseSSLMode);
    const auto value = [&](CTQSettingsTable::Key key) {
        return config.service.isEmpty() ? settings->GetValue(key) : Stored(key);
    };
    config.host = value(CTQSettingsTable::DatabaseHost);
    config.port = value(CTQSettingsTable::DatabasePort).toInt();
    config.databaseName = value(CTQSettingsTable::DatabaseName);
    config.user = Stored(CTQSettingsTable::DatabaseUser);
    config.password = Stored(CTQSettingsTable::DatabasePassword);
    static bool warned = false;
    if (!config.password.isEmpty() && !warned) {
        warned = true;
        qWarning("tqwall: %s holds the database password in plain text; move it to ~/.pgpass (or the file "
                 "PGPASSFILE names) and delete Database/Password from the ini",
                 qPrintable(settings->GetIniPath()));
    }
    return config;
}

} // namespace

CTQDatabaseConfig CTQLibraryDatabase::ConfigFromSettings(const QString& commandLinePath)
{
    const CTQDBGlobalSetting* settings = CTQDBGlobalSetting::GetGlobalSetting();
    CTQDatabaseConfig config;
    const QString environmentPath = QString::fromLocal8Bit(qgetenv("TQWALL_DB"));
    if (!commandLinePath.isEmpty() || !environmentPath.isEmpty()) {
        config.path = !commandLinePath.isEmpty() ? commandLinePath : environmentPath;
        return config;
    }
    config.driver = settings->GetValue(CTQSettingsTable::DatabaseDriver).toUpper();
    if (config.driver == QLatin1String("QPSQL"))
        return PostgresConfig(config);
    config.driver = QStringLiteral("QSQLITE");
    config.path = settings->GetValue(CTQSettingsTable::DatabasePath);
    if (config.path.isEmpty())
        config.path = DefaultSQLitePath();
    return config;
}

QString CTQLibraryDatabase::DefaultSQLitePath()
{
    return CTQUserWork::GetUserWork()->GetUserDataDir() + QStringLiteral("library.sqlite");
}

namespace {

bool SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

// Makes the missing tables and key indexes under the library's write lock, so a second process
// opening the same new library waits and then finds them made.
bool UpgradeSchema(CADODatabase* database, QString* error, QStringList* duplicates, bool* created)
{
    if (!database->BeginExclusiveTransaction())
        return SetError(error, database->GetLastError());
    const int missing = static_cast<int>(CTQLibrarySchema::MissingTables(database).size());
    QString failure;
    bool ok = CTQLibrarySchema::CreateMissingTables(database, &failure) &&
              CTQLibrarySchema::CreateKeyIndexes(database, duplicates, &failure);
    if (ok && !database->CommitTransaction()) {
        failure = database->GetLastError();
        ok = false;
    }
    if (!ok) {
        database->RollbackTransaction();
        return SetError(error, failure);
    }
    if (created)
        *created = missing == CTQLibrarySchema::TableCount();
    return true;
}

} // namespace

std::unique_ptr<CADODatabase> CTQLibraryDatabase::Open(const CTQDatabaseConfig& config, QString* error, bool* created,
                                                       QStringList* duplicates)
{
    if (created)
        *created = false;
    auto database = std::make_unique<CADODatabase>();
    if (config.driver == QLatin1String("QSQLITE") && !config.readOnly &&
        !QDir().mkpath(QFileInfo(config.path).absolutePath())) {
        SetError(error, QStringLiteral("无法创建文件夹 %1").arg(QFileInfo(config.path).absolutePath()));
        return nullptr;
    }
    if (!database->Open(config)) {
        SetError(error, database->GetLastError());
        return nullptr;
    }
    // A library of an older or foreign make whose tables lack columns is not touched: every
    // statement on it would fail.
    const QStringList columns = CTQLibrarySchema::MissingColumns(database.get());
    if (!columns.isEmpty()) {
        SetError(error, QStringLiteral("围护结构库的表缺少列：%1").arg(columns.join(QStringLiteral(", "))));
        return nullptr;
    }
    const bool upToDate = CTQLibrarySchema::MissingTables(database.get()).isEmpty() &&
                          CTQLibrarySchema::MissingKeyIndexes(database.get()).isEmpty();
    if (upToDate || config.readOnly) {
        if (!CTQLibrarySchema::MissingTables(database.get()).isEmpty()) {
            SetError(error, QStringLiteral("只读的围护结构库缺少表"));
            return nullptr;
        }
        return database;
    }
    if (!UpgradeSchema(database.get(), error, duplicates, created))
        return nullptr;
    return database;
}
