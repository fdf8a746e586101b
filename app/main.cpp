#include "app/CTQCommandLine.h"
#include "app/CTQHostMainWindow.h"
#include "app/CTQHostProject.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "host/ui/CTQUiService.h"
#include "host/ui/TQQtTranslations.h"
#include "library/CTQLibrarySeed.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <memory>

namespace {

// Whether a window can be shown to anyone: with no display server the platform plugin would
// abort the program, and on the offscreen or minimal platform a message box would wait for an
// answer nobody can give.
bool HasScreen()
{
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platform.startsWith(QLatin1String("offscreen")) || platform.startsWith(QLatin1String("minimal")))
        return false;
    if (!platform.isEmpty())
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Shows a failure to the user: in a message box where there is a screen, on stderr where there
// is none.
void Report(const QString& text, QMessageBox::Icon icon)
{
    if (HasScreen()) {
        CTQUiService::Instance().MessageBox(nullptr, text, icon);
        return;
    }
    QTextStream(stderr) << "tqwall: " << text << Qt::endl;
}

// The window: the wall list of a building on the library of the settings (or --db PATH), with
// the project file given on the command line or a new example project.
int RunWindow(int argc, char* argv[], const QStringList& arguments)
{
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platform.isEmpty() && !HasScreen()) {
        QTextStream(stderr) << "tqwall: 没有可用的显示器，无法打开窗口。不需要显示器的命令：\n"
                            << "  tqwall list | calc ID [--json] | query --min A --max B [--kind 外墙] | materials [--json]" << Qt::endl;
        return CTQCommandLine::NoDisplay;
    }
    QApplication app(argc, argv);
    TQLoad::InstallQtTranslations(app);
    QString databasePath;
    QString projectPath;
    CTQCommandLine::WindowArguments(arguments, &databasePath, &projectPath);

    QString error;
    QStringList duplicates;
    if (!CTQLibrarySeed::OpenLibrary(databasePath, &error, &duplicates)) {
        Report(QStringLiteral("无法打开围护结构库：%1").arg(error), QMessageBox::Critical);
        return CTQCommandLine::NoLibrary;
    }
    if (!duplicates.isEmpty())
        Report(QStringLiteral("围护结构库中有重复的记录，请修改或删除其中一条：\n%1")
                   .arg(duplicates.join(QLatin1Char('\n'))),
               QMessageBox::Warning);
    CTQHostMainWindow window;
    if (!projectPath.isEmpty() && !HasScreen()) {
        // No one could answer the window's message box: the project is checked here.
        CTQHostProject project;
        if (!project.Load(projectPath, &error)) {
            Report(error, QMessageBox::Warning);
            return CTQCommandLine::BadInput;
        }
    }
    if (projectPath.isEmpty() || !window.OpenProject(projectPath))
        window.SetProject(CTQHostProject::MakeExample(), QString());
    window.show();
    return QApplication::exec();
}

int RunCommand(int argc, char* argv[], const QStringList& arguments)
{
    // The construction sheet draws text and pictures, which needs a graphical application; it is
    // made on the offscreen platform, so that it runs where there is no screen too.
    std::unique_ptr<QCoreApplication> app;
    if (CTQCommandLine::NeedsGui(arguments)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
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

    // A command, --help and --version run without a screen; anything else opens the window.
    const int exitCode =
        CTQCommandLine::WantsWindow(arguments) ? RunWindow(argc, argv, arguments) : RunCommand(argc, argv, arguments);
    CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(nullptr);
    return exitCode;
}
