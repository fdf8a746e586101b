#include "app/CTQCommandLine.h"
#include "host/CTQDBGlobalSetting.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

#include <memory>

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    // A command runs without a screen; anything else opens the window.
    const bool command = !arguments.isEmpty() && CTQCommandLine::IsCommand(arguments.front());
    std::unique_ptr<QCoreApplication> app =
        command ? std::make_unique<QCoreApplication>(argc, argv) : std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("TQWall"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    int exitCode = 0;
    if (command) {
        exitCode = CTQCommandLine(out, err).Run(arguments);
    } else {
        err << "The window of the host application comes next; use: tqwall list | calc ID | query" << Qt::endl;
        exitCode = CTQCommandLine::BadInput;
    }
    CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(nullptr);
    return exitCode;
}
