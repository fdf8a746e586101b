#include "app/CTQCommandLine.h"
#include "app/CTQHostMainWindow.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "host/ui/CTQUiService.h"
#include "library/CTQLibrarySeed.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>

namespace {

// The window: the wall list of a building on the library of the settings (or --db PATH), with
// the project file given on the command line or a new example project.
int RunWindow(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("TQWall: the building-envelope library. Commands without a "
                                                    "screen: tqwall list | calc ID [--json] | query --min A --max B | "
                                                    "materials [--json]"));
    parser.addHelpOption();
    const QCommandLineOption db(QStringLiteral("db"), QStringLiteral("Library database file."), QStringLiteral("PATH"));
    parser.addOption(db);
    parser.addPositionalArgument(QStringLiteral("project"), QStringLiteral("Project file to open."));
    parser.process(app);

    QString error;
    if (!CTQLibrarySeed::OpenLibrary(parser.value(db), &error)) {
        CTQUiService::Instance().MessageBox(nullptr, QStringLiteral("无法打开围护结构库：%1").arg(error),
                                            QMessageBox::Critical);
        return CTQCommandLine::NoLibrary;
    }
    CTQHostMainWindow window;
    const QStringList projects = parser.positionalArguments();
    if (projects.isEmpty() || !window.OpenProject(projects.front()))
        window.SetProject(CTQHostProject::MakeExample(), QString());
    window.show();
    return QApplication::exec();
}

int RunCommand(int argc, char* argv[], const QStringList& arguments)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return CTQCommandLine(out, err).Run(arguments);
}

} // namespace

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCoreApplication::setApplicationName(QStringLiteral("TQWall"));

    // A command runs without a screen; anything else opens the window.
    const bool command = !arguments.isEmpty() && CTQCommandLine::IsCommand(arguments.front());
    const int exitCode = command ? RunCommand(argc, argv, arguments) : RunWindow(argc, argv);
    CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(nullptr);
    return exitCode;
}
