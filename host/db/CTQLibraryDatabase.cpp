#include "host/db/CTQLibraryDatabase.h"

#include "host/db/CTQDBGlobalSetting.h"
#include "host/db/CTQLibrarySchema.h"
#include "host/core/CTQUserWork.h"

#include <QDir>
#include <QFileInfo>

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
    if (config.driver == QLatin1String("QPSQL")) {
        config.host = settings->GetValue(CTQSettingsTable::DatabaseHost);
        config.port = settings->GetValue(CTQSettingsTable::DatabasePort).toInt();
        config.databaseName = settings->GetValue(CTQSettingsTable::DatabaseName);
        config.user = settings->GetValue(CTQSettingsTable::DatabaseUser);
        config.password = settings->GetValue(CTQSettingsTable::DatabasePassword);
        return config;
    }
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

std::unique_ptr<CADODatabase> CTQLibraryDatabase::Open(const CTQDatabaseConfig& config, QString* error, bool* created)
{
    if (created)
        *created = false;
    auto database = std::make_unique<CADODatabase>();
    if (config.driver == QLatin1String("QSQLITE") && !config.readOnly &&
        !QDir().mkpath(QFileInfo(config.path).absolutePath())) {
        if (error)
            *error = QStringLiteral("无法创建文件夹 %1").arg(QFileInfo(config.path).absolutePath());
        return nullptr;
    }
    if (!database->Open(config)) {
        if (error)
            *error = database->GetLastError();
        return nullptr;
    }
    const int missing = static_cast<int>(CTQLibrarySchema::MissingTables(database.get()).size());
    if (missing > 0 && !CTQLibrarySchema::CreateMissingTables(database.get(), error))
        return nullptr;
    if (created)
        *created = missing == 7;
    return database;
}
