#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTextStream>

class CTQBSCode;
class CTQWallData;
namespace thermal {
struct MoistureConditions;
struct VapourProfileResult;
} // namespace thermal
class QJsonArray;

/// The host's command line for use without a screen:
///   tqwall list                          categories, types and constructions with their K
///   tqwall calc ID [--json]              one construction's layers and five results
///   tqwall calc ID --profile [--ti T --phi-i RH --te T --phi-e RH] [--json]   its temperature and vapour profile
///   tqwall query --min A --max B [--kind 外墙]   constructions by summer K, as the query dialog
///   tqwall materials [--json]            material types and their materials with their values
///   tqwall materials --where-used NAME [--province P]   the constructions made of the material
///   tqwall export SELECTION -o FILE      constructions and their materials to an exchange file
///   tqwall export-materials -o FILE      every material to an exchange file
///   tqwall import FILE [--on-duplicate P]   an exchange file into the library
///   tqwall report ID [ID ...] -o FILE.pdf   the constructions' sheets, one page each
/// Each takes --db PATH for another library file.
class QCommandLineParser;

class CTQCommandLine
{
public:
    enum ExitCode
    {
        Ok = 0,
        BadInput = 1,      ///< unknown command, missing or bad argument, unreadable project file
        NoLibrary = 2,     ///< the library database cannot be opened
        UnknownRecord = 3, ///< no construction of that ID
        NoDisplay = 4,     ///< the window was asked for where there is no screen
    };

    CTQCommandLine(QTextStream& out, QTextStream& err);

    static bool IsCommand(const QString& word);
    /// Whether `arguments` (without the program name) ask for the window: no command, no
    /// --help or --version, and nothing the parser refuses. Options may stand before or after
    /// the command ("tqwall --db LIB list").
    static bool WantsWindow(const QStringList& arguments);
    /// Whether the command draws (the construction sheet): it runs with a graphical application on
    /// the offscreen platform, still without a screen.
    static bool NeedsGui(const QStringList& arguments);
    /// The --db path and the project file of a window start.
    static void WindowArguments(const QStringList& arguments, QString* databasePath, QString* project);
    /// Runs the command, --help or --version in `arguments` (without the program name); returns
    /// the exit code. Nothing here needs a screen.
    int Run(const QStringList& arguments);

private:
    /// A command: its name, its usage line and what runs it (with the parsed options and the
    /// words after the name). A new command is one more row of Commands().
    struct Command
    {
        QString name;
        QString usage;
        int (CTQCommandLine::*run)(const QCommandLineParser& parser, const QStringList& words);
    };
    static const QList<Command>& Commands();
    static void AddOptions(QCommandLineParser& parser);
    static QString Usage();

    int RunList(const QCommandLineParser& parser, const QStringList& words);
    int RunCalc(const QCommandLineParser& parser, const QStringList& words);
    int RunQuery(const QCommandLineParser& parser, const QStringList& words);
    int RunMaterials(const QCommandLineParser& parser, const QStringList& words);
    int RunExport(const QCommandLineParser& parser, const QStringList& words);
    int RunExportMaterials(const QCommandLineParser& parser, const QStringList& words);
    int RunImport(const QCommandLineParser& parser, const QStringList& words);
    int RunReport(const QCommandLineParser& parser, const QStringList& words);

    int List();
    /// Reads the construction of the ID `idText`; Ok, or the exit code with its message written.
    int ReadConstruction(const QString& idText, CTQBSCode* code);
    /// Adds every province's name to `names`, by ID; false when they cannot be read.
    static bool ReadProvinceNames(QMap<int, QString>* names);
    int Calc(const QString& idText, bool json);
    int Profile(const QString& idText, const QCommandLineParser& parser, bool json);
    void PrintProfile(const CTQWallData& wall, const thermal::MoistureConditions& conditions,
                      const thermal::VapourProfileResult& result, const QStringList& verdict);
    void PrintProfileJson(const CTQWallData& wall, const thermal::MoistureConditions& conditions,
                          const thermal::VapourProfileResult& result, const QStringList& verdict);
    int Query(const QString& minText, const QString& maxText, const QString& kind);
    int Materials(bool json);
    int WhereUsed(const QString& name, bool byProvince, const QString& provinceName);
    void PrintMaterials(const QJsonArray& types);
    int Export(int selection, const QString& name, const QString& path);
    bool OpenLibrary(const QString& databasePath);
    bool OpenNewLibrary(const QString& databasePath);
    void PrintWall(const CTQWallData& wall, const QString& category, const QString& type);
    void PrintWallJson(const CTQWallData& wall, const QString& category, const QString& type);
    int Fail(ExitCode code, const QString& message);

    QTextStream& m_Out;
    QTextStream& m_Err;
};
