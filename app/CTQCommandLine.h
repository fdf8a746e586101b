#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

class CTQWallData;
class QJsonArray;

/// The host's command line for use without a screen:
///   tqwall list                          categories, types and constructions with their K
///   tqwall calc ID [--json]              one construction's layers and five results
///   tqwall query --min A --max B [--kind 外墙]   constructions by summer K, as the query dialog
///   tqwall materials [--json]            material types and their materials with their values
/// Each takes --db PATH for another library file.
class CTQCommandLine
{
public:
    enum ExitCode
    {
        Ok = 0,
        BadInput = 1,      ///< unknown command, missing or bad argument
        NoLibrary = 2,     ///< the library database cannot be opened
        UnknownRecord = 3, ///< no construction of that ID
    };

    CTQCommandLine(QTextStream& out, QTextStream& err);

    static bool IsCommand(const QString& word);
    /// Runs the command in `arguments` (without the program name); returns the exit code.
    int Run(const QStringList& arguments);

private:
    int List();
    int Calc(const QString& idText, bool json);
    int Query(const QString& minText, const QString& maxText, const QString& kind);
    int Materials(bool json);
    void PrintMaterials(const QJsonArray& types);
    bool OpenLibrary(const QString& databasePath);
    void PrintWall(const CTQWallData& wall, const QString& category, const QString& type);
    void PrintWallJson(const CTQWallData& wall, const QString& category, const QString& type);
    int Fail(ExitCode code, const QString& message);

    QTextStream& m_Out;
    QTextStream& m_Err;
};
