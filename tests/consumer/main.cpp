// Opens (and so makes) the default library in the file given on the command line, from the data
// folder the installed libraries find beside themselves, and prints the five results of the first
// construction. Exit 0 only when every result is a finite number.
#include "host/walldata/CTQCrXs.h"
#include "host/walldata/CTQWallData.h"
#include "library/CTQBSDataAdmin.h"
#include "library/CTQLibrarySeed.h"
#include "records/CTQBSCode.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cmath>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    if (argc != 2) {
        out << "usage: tqwall_consumer LIBRARY.sqlite" << Qt::endl;
        return 2;
    }
    QString error;
    if (!CTQLibrarySeed::OpenLibrary(QString::fromLocal8Bit(argv[1]), &error)) {
        out << "cannot open the library: " << error << Qt::endl;
        return 1;
    }
    CTQBSCode code;
    if (!code.ReadData(1, nullptr)) {
        out << "the default library has no construction 1" << Qt::endl;
        return 1;
    }
    CTQBSDataAdmin admin;
    const CTQWallData wall = admin.GetBSCodeWallData(code, true, CTQCrXs());
    const double results[] = {wall.GetCrXs(), wall.GetDjCrXs(), wall.GetNCrXs(), wall.GetSj(), wall.GetYc()};
    out << wall.m_strBSCName;
    bool finite = true;
    for (double value : results) {
        out << ' ' << value;
        finite = finite && std::isfinite(value);
    }
    out << Qt::endl;
    return finite && wall.GetTimbering().GetSize() > 0 ? 0 : 1;
}
