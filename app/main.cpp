#include "host/CADORecordset.h"
#include "host/CTQDBGlobalSetting.h"
#include "host/CTQLibraryDatabase.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSqlRecord>
#include <QTextStream>

// Opens the library database of the settings and prints what each library table holds.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tqwall"));
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption dbOption(QStringLiteral("db"), QStringLiteral("Library database file."),
                                      QStringLiteral("PATH"));
    parser.addOption(dbOption);
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    QString error;
    auto database = CTQLibraryDatabase::Open(CTQLibraryDatabase::ConfigFromSettings(parser.value(dbOption)), &error);
    if (!database) {
        err << "无法打开围护结构库: " << error << Qt::endl;
        return 2;
    }
    CTQDBGlobalSetting* settings = CTQDBGlobalSetting::GetGlobalSetting();
    const QStringList tables{settings->GetBSDaLeiTableName(),          settings->GetBSTypeTableName(),
                             settings->GetBSCodeTableName(),           settings->GetBoundingStructureTableName(),
                             settings->GetTimberingTypeTableName(),    settings->GetTimberingTableName(),
                             settings->GetProvinceTableName()};
    for (const QString& table : tables) {
        CADORecordset rows;
        rows.Open(database.get(), QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(table));
        out << "== " << table << " (" << rows.GetRecordCount() << ")" << Qt::endl;
    }
    return 0;
}
