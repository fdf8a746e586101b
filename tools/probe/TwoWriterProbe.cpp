// Two processes adding to one library at the same moment: 500 names both add and 500 of each
// process's own. Afterwards every name is stored exactly once and nothing is lost.
//
//   tqwall_probe PATH              SQLite library file (made afresh)
//   tqwall_probe host:port:db:user PostgreSQL database (its library tables made afresh)
#include "host/db/CTQDBGlobalSetting.h"
#include "host/db/CADORecordset.h"
#include "host/db/CTQLibraryDatabase.h"
#include "records/CTQBSType.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTextStream>

namespace {

constexpr int kAdditions = 500;

CTQDatabaseConfig Config(const QString& target)
{
    CTQDatabaseConfig config;
    const QStringList parts = target.split(QLatin1Char(':'));
    if (parts.size() != 4) {
        config.path = target;
        return config;
    }
    config.driver = QStringLiteral("QPSQL");
    config.host = parts[0];
    config.port = parts[1].toInt();
    config.databaseName = parts[2];
    config.user = parts[3];
    return config;
}

// One writer: each addition either stores the name or finds it stored; anything else fails.
int Write(const QString& target, const QString& tag)
{
    QString error;
    auto database = CTQLibraryDatabase::Open(Config(target), &error);
    if (!database) {
        QTextStream(stderr) << tag << ": " << error << Qt::endl;
        return 1;
    }
    CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(std::move(database));
    int failures = 0;
    for (int i = 0; i < kAdditions; ++i) {
        for (const QString& name : {QStringLiteral("共同-%1").arg(i), QStringLiteral("%1-%2").arg(tag).arg(i)}) {
            CTQBSType type;
            type.Name = name;
            const TQLoad::DBStatusCode status = type.AddIfNotExist(nullptr, 1);
            if ((status != TQLoad::DBS_Added && status != TQLoad::DBS_Exist) || type.GetID() <= 0 || type.Name != name) {
                QTextStream(stderr) << tag << ": " << name << " gave " << status << " "
                                    << CTQDBGlobalSetting::GetGlobalSetting()->GetLoadParamDatabase()->GetLastError()
                                    << Qt::endl;
                ++failures;
            }
        }
    }
    CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(nullptr);
    return failures == 0 ? 0 : 1;
}

int Check(const QString& target)
{
    QString error;
    auto database = CTQLibraryDatabase::Open(Config(target), &error);
    if (!database)
        return 1;
    CADORecordset rows;
    if (!rows.Open(database.get(), QStringLiteral("SELECT Name, COUNT(*) AS N FROM BSType GROUP BY Name")))
        return 1;
    int names = 0, duplicates = 0;
    for (; !rows.IsEOF(); rows.MoveNext()) {
        int n = 0;
        rows.GetFieldValue(QStringLiteral("N"), n);
        ++names;
        duplicates += n > 1 ? 1 : 0;
    }
    QTextStream(stdout) << names << " names, " << duplicates << " stored twice (expected " << 3 * kAdditions
                        << " and 0)" << Qt::endl;
    return names == 3 * kAdditions && duplicates == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 4 && arguments[1] == QLatin1String("--writer"))
        return Write(arguments[2], arguments[3]);
    if (arguments.size() != 2) {
        QTextStream(stderr) << "usage: tqwall_probe PATH | host:port:database:user" << Qt::endl;
        return 2;
    }
    const QString target = arguments[1];
    const CTQDatabaseConfig config = Config(target);
    if (config.driver == QLatin1String("QSQLITE"))
        QFile::remove(target);
    else {
        CADODatabase database;
        if (!database.Open(config))
            return 2;
        const CTQDBGlobalSetting* s = CTQDBGlobalSetting::GetGlobalSetting();
        for (const QString& table : {s->GetBSDaLeiTableName(), s->GetBSTypeTableName(), s->GetBSCodeTableName(),
                                     s->GetBoundingStructureTableName(), s->GetTimberingTableName(),
                                     s->GetTimberingTypeTableName(), s->GetProvinceTableName()})
            database.Execute(QStringLiteral("DROP TABLE IF EXISTS %1").arg(table));
    }
    // Both writers also make the new library at the same moment.
    QProcess first, second;
    first.setProcessChannelMode(QProcess::ForwardedChannels);
    second.setProcessChannelMode(QProcess::ForwardedChannels);
    first.start(arguments[0], {QStringLiteral("--writer"), target, QStringLiteral("甲")});
    second.start(arguments[0], {QStringLiteral("--writer"), target, QStringLiteral("乙")});
    const bool finished = first.waitForFinished(600000) && second.waitForFinished(600000);
    const bool clean = finished && first.exitStatus() == QProcess::NormalExit && first.exitCode() == 0 &&
                       second.exitStatus() == QProcess::NormalExit && second.exitCode() == 0;
    QTextStream(stdout) << "writers " << (clean ? "ended cleanly" : "FAILED") << Qt::endl;
    return clean && Check(target) == 0 ? 0 : 1;
}
