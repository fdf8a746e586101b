// The library's actions on a library grown to 10,000 constructions, on SQLite and (when
// TQWALL_BENCH_PSQL names one, "host:port:database:user") on a PostgreSQL server. Each action is
// timed beside the time of reading the rows it shows with one plain SELECT on the same connection,
// and beside the thermal engine's own time for the walls it evaluates. Prints a Markdown table.
#include "app/CTQCommandLine.h"
#include "host/core/CTQUserWork.h"
#include "host/db/CADODatabase.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "host/db/CTQLibraryDatabase.h"
#include "host/ui/CMutiTreeCtrl.h"
#include "host/ui/CTQUiService.h"
#include "library/CTQBSCoefficientSearch.h"
#include "library/CTQBSDataAdmin.h"
#include "library/CTQLibrarySeed.h"
#include "tools/libgrow/CTQLibraryGrower.h"
#include "ui/library/CTqUiBSListDlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kConstructions = 10000;
constexpr int kRuns = 11;

/// Times of several runs, in milliseconds: the median and the best wall-clock time, and the
/// median CPU time of this process. The machine the figures were taken on is shared, so its
/// wall-clock times include waiting for a processor; SQLite works inside this process, and its
/// CPU time is the wall-clock time it takes on a machine of its own.
struct Timing
{
    double median = 0;
    double best = 0;
    double cpu = 0;
};

double CpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

/// Measures one call.
class Stopwatch
{
public:
    Stopwatch() : m_Cpu(CpuMs()) { m_Wall.start(); }
    void Record(std::vector<double>& walls, std::vector<double>& cpus) const
    {
        walls.push_back(static_cast<double>(m_Wall.nsecsElapsed()) / 1e6);
        cpus.push_back(CpuMs() - m_Cpu);
    }

private:
    QElapsedTimer m_Wall;
    double m_Cpu;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

Timing Summarize(const std::vector<double>& walls, const std::vector<double>& cpus)
{
    return {Median(walls), *std::min_element(walls.begin(), walls.end()), Median(cpus)};
}

/// Times calls after one unmeasured call: at least `runs`, and more (up to 101) while they
/// have taken less than half a second, so that short actions get enough runs for a steady figure.
Timing Time(const std::function<void()>& action, int runs = kRuns)
{
    action();
    std::vector<double> walls, cpus;
    double total = 0;
    while (static_cast<int>(walls.size()) < runs || (total < 500 && walls.size() < 101)) {
        const Stopwatch stopwatch;
        action();
        stopwatch.Record(walls, cpus);
        total += walls.back();
    }
    return Summarize(walls, cpus);
}

CADODatabase* Library()
{
    return CTQDBGlobalSetting::GetGlobalSetting()->GetLoadParamDatabase();
}

/// Reads every value of every row of one plain SELECT.
void PlainSelect(const QString& sql, const QVariantList& values = {})
{
    QSqlQuery query(Library()->GetActiveConnection());
    query.setForwardOnly(true);
    query.prepare(sql);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        std::fprintf(stderr, "plain select failed: %s\n", qPrintable(sql));
    QVariant sink;
    while (query.next()) {
        const int columns = query.record().count();
        for (int column = 0; column < columns; ++column)
            sink = query.value(column);
    }
}

/// The engine's own time: evaluating walls already in memory as a listing does.
Timing Evaluation(CTQArray<CTQWallData> walls)
{
    const CTQCrXs crxs;
    return Time([&] {
        for (CTQWallData& wall : walls) {
            wall.SetDjWHrXsData(crxs.m_dDjWHrXs, false);
            wall.SetWHrXsData(crxs.m_dWHrXs, false);
            wall.SetNHrXsData(crxs.m_dNHrXs, false);
            wall.Cal(1);
            wall.Cal(0);
        }
    });
}

/// All walls of the list mode, unevaluated, of one type or (type 0) of every type.
CTQArray<CTQWallData> Walls(int provinceId, int typeId)
{
    CTQBSDataAdmin admin;
    admin.m_BSProvince.SetID(provinceId);
    CTQArray<CTQWallData> walls;
    if (typeId != 0) {
        CTQBSType type;
        type.SetID(typeId);
        admin.GetBSCodeCWallDataAry(type, walls, false, CTQCrXs());
        return walls;
    }
    QHash<int, CTQArray<CTQWallData>> ofTypes;
    admin.GetBSCodeCWallDataAryOfTypes(0, ofTypes, false, CTQCrXs());
    for (const CTQArray<CTQWallData>& list : ofTypes)
        for (const CTQWallData& wall : list)
            walls.Add(wall);
    return walls;
}

int Statements(const std::function<void()>& action)
{
    CADODatabase::StartStatementCount();
    action();
    CADODatabase::StopStatementCount();
    return CADODatabase::GetStatementCount();
}

struct Measurement
{
    QString action;
    Timing time;
    Timing plain;      ///< reading the rows it shows with one plain SELECT
    Timing evaluation; ///< the thermal engine on the walls it evaluates
    bool evaluates = false;
    int statements = 0;
    double limit = 0; ///< the goal's limit on SQLite, ms; 0: none
};

/// The two national types with the most constructions, by the tree's items.
QList<QTreeWidgetItem*> BusiestTypeItems(CMutiTreeCtrl& tree)
{
    QList<QTreeWidgetItem*> types;
    QTreeWidgetItem* all = tree.topLevelItem(0);
    for (int c = 0; c < all->childCount(); ++c)
        for (int t = 0; t < all->child(c)->childCount(); ++t)
            types.append(all->child(c)->child(t));
    QHash<QTreeWidgetItem*, int> counts;
    for (QTreeWidgetItem* item : types)
        counts[item] = Walls(0, static_cast<const tagBSNode*>(CMutiTreeCtrl::GetItemNode(item))->ID).GetSize();
    std::stable_sort(types.begin(), types.end(), [&](auto* a, auto* b) { return counts[a] > counts[b]; });
    return types.mid(0, 2);
}

QList<Measurement> MeasureActions(const QString& commandLinePath)
{
    QList<Measurement> rows;
    const QString joined = QStringLiteral("SELECT * FROM BSCode c LEFT JOIN BoundingStructure l ON l.BSCId = c.ID ");
    CTQBSCode first;
    first.ReadData(1, nullptr);

    {
        Measurement open;
        open.action = QStringLiteral("Open the library dialog on a construction");
        const auto openDialog = [] {
            CTqUiBSListDlg dialog{CTQCrXs()};
            dialog.m_Code.SetID(1);
            dialog.m_WallData.m_nBSCId = 1;
            dialog.show();
            dialog.reject();
        };
        open.time = Time(openDialog);
        open.statements = Statements(openDialog);
        open.plain = Time([&] {
            PlainSelect(joined + QStringLiteral("WHERE c.BSTId = ? AND c.ProvinceId = 0 ORDER BY c.ID"), {first.BSTId});
        });
        open.evaluates = true;
        open.evaluation = Evaluation(Walls(0, first.BSTId));
        open.limit = 100;
        rows.append(open);

        // The same reads without the window: what the dialog's time is beyond its widgets.
        Measurement reads;
        reads.action = QStringLiteral("… of which its reads: the tree, the type's list, the layers");
        const auto read = [&] {
            CTQBSDataAdmin admin;
            admin.GetBSNodes(1);
            CTQBSType type;
            type.SetID(first.BSTId);
            CTQArray<CTQWallData> walls;
            admin.GetBSCodeCWallDataAry(type, walls, true, CTQCrXs());
            CTQBoundingStructure layers;
            admin.GetBS(layers, 1);
        };
        reads.time = Time(read);
        reads.statements = Statements(read);
        reads.plain = Time([&] {
            PlainSelect(QStringLiteral("SELECT BSTId, ProvinceId, CommonFlag FROM BSCode"));
            PlainSelect(joined + QStringLiteral("WHERE c.BSTId = ? AND c.ProvinceId = 0 ORDER BY c.ID"), {first.BSTId});
        });
        reads.evaluates = true;
        reads.evaluation = open.evaluation;
        rows.append(reads);
    }
    {
        Measurement select;
        CTqUiBSListDlg dialog{CTQCrXs()};
        dialog.show();
        auto* tree = dialog.findChild<CMutiTreeCtrl*>(QStringLiteral("bsTree"));
        const QList<QTreeWidgetItem*> types = BusiestTypeItems(*tree);
        // Every measured selection moves to the busiest type from the other one.
        std::vector<double> walls, cpus;
        for (int run = 0; run < 101; ++run) {
            tree->setCurrentItem(types[1]);
            const Stopwatch stopwatch;
            tree->setCurrentItem(types[0]);
            stopwatch.Record(walls, cpus);
        }
        select.time = Summarize(walls, cpus);
        tree->setCurrentItem(types[1]);
        select.statements = Statements([&] { tree->setCurrentItem(types[0]); });
        const int typeId = static_cast<const tagBSNode*>(CMutiTreeCtrl::GetItemNode(types[0]))->ID;
        select.plain = Time([&] {
            PlainSelect(joined + QStringLiteral("WHERE c.BSTId = ? AND c.ProvinceId = 0 ORDER BY c.ID"), {typeId});
        });
        select.evaluates = true;
        const CTQArray<CTQWallData> typeWalls = Walls(0, typeId);
        select.evaluation = Evaluation(typeWalls);
        select.action =
            QStringLiteral("Select a type (the busiest national one, %1 constructions)").arg(typeWalls.GetSize());
        dialog.reject();
        rows.append(select);

        Measurement listing;
        listing.action = QStringLiteral("… of which its list: the type's constructions read and evaluated");
        const auto read = [&] {
            CTQBSDataAdmin admin;
            CTQBSType type;
            type.SetID(typeId);
            CTQArray<CTQWallData> listed;
            admin.GetBSCodeCWallDataAry(type, listed, true, CTQCrXs());
        };
        listing.time = Time(read);
        listing.statements = Statements(read);
        listing.plain = select.plain;
        listing.evaluates = true;
        listing.evaluation = select.evaluation;
        rows.append(listing);
    }
    {
        Measurement query;
        const auto search = [] { CTQBSCoefficientSearch().SearchAll(0.0, 1000.0); };
        query.time = Time(search);
        query.statements = Statements(search);
        query.plain = Time([&] { PlainSelect(joined + QStringLiteral("WHERE c.ProvinceId = 0 ORDER BY c.ID")); });
        query.evaluates = true;
        const CTQArray<CTQWallData> national = Walls(0, 0);
        query.evaluation = Evaluation(national);
        query.action = QStringLiteral("Query all kinds (%1 national constructions, any K)").arg(national.GetSize());
        query.limit = 100;
        rows.append(query);
    }
    {
        Measurement tree;
        tree.action = QStringLiteral("Build the construction tree");
        const auto build = [] { CTQBSDataAdmin().GetBSNodes(1); };
        tree.time = Time(build);
        tree.statements = Statements(build);
        tree.plain = Time([] { PlainSelect(QStringLiteral("SELECT BSTId, ProvinceId, CommonFlag FROM BSCode")); });
        rows.append(tree);
    }
    {
        Measurement tree;
        tree.action = QStringLiteral("Build the material tree");
        const auto build = [] { CTQBSDataAdmin().GetTimbNodes(1); };
        tree.time = Time(build);
        tree.statements = Statements(build);
        tree.plain = Time([] { PlainSelect(QStringLiteral("SELECT * FROM Timbering ORDER BY ID")); });
        rows.append(tree);
    }
    {
        Measurement list;
        list.action = QStringLiteral("`tqwall list` (opens the library, output to memory)");
        const auto run = [&] {
            QString out, err;
            QTextStream outStream(&out), errStream(&err);
            QStringList arguments{QStringLiteral("list")};
            if (!commandLinePath.isEmpty())
                arguments << QStringLiteral("--db") << commandLinePath;
            if (CTQCommandLine(outStream, errStream).Run(arguments) != CTQCommandLine::Ok)
                std::fprintf(stderr, "tqwall list failed: %s\n", qPrintable(err));
        };
        list.time = Time(run);
        list.statements = Statements(run);
        list.plain = Time([&] { PlainSelect(joined + QStringLiteral("ORDER BY c.ID")); });
        CTQBSDataAdmin admin;
        QHash<int, QHash<int, CTQArray<CTQWallData>>> all;
        admin.GetAllBSCodeCWallDataAry(all, false, CTQCrXs());
        CTQArray<CTQWallData> walls;
        for (const auto& types : all)
            for (const CTQArray<CTQWallData>& ofType : types)
                for (const CTQWallData& wall : ofType)
                    walls.Add(wall);
        list.evaluates = true;
        list.evaluation = Evaluation(walls);
        list.limit = 200;
        rows.append(list);
    }
    return rows;
}

/// Makes the library of `config`: the default library grown to 10,000 constructions, the
/// library of the settings from then on. False with a message on stderr when it cannot.
bool MakeLibrary(const CTQDatabaseConfig& config)
{
    CTQDBGlobalSetting* settings = CTQDBGlobalSetting::GetGlobalSetting();
    settings->SetLoadParamDatabase(nullptr);
    QString error;
    auto database = CTQLibraryDatabase::Open(config, &error);
    if (!database) {
        std::fprintf(stderr, "cannot open the library: %s\n", qPrintable(error));
        return false;
    }
    CTQLibrarySeed seed(database.get(), QStringLiteral(TQWALL_SOURCE_DATA_DIR));
    if (!seed.Fill()) {
        std::fprintf(stderr, "cannot fill the library: %s\n", qPrintable(seed.GetErrorText()));
        return false;
    }
    CTQLibraryGrower grower(database.get());
    if (!grower.GrowTo(kConstructions)) {
        std::fprintf(stderr, "cannot grow the library: %s\n", qPrintable(grower.GetErrorText()));
        return false;
    }
    settings->SetLoadParamDatabase(std::move(database));
    return true;
}

QString Ms(double value)
{
    return QString::number(value, 'f', value < 10 ? 1 : 0);
}

QString Wall(const Timing& timing)
{
    return Ms(timing.median) + QStringLiteral(" (") + Ms(timing.best) + QStringLiteral(")");
}

/// The goals of an action on SQLite: at most `limit` ms (0: none) and at most three times the
/// plain read plus the engine's evaluation, in CPU time; on PostgreSQL, whose server works in a
/// process of its own, the best wall-clock time at most twice the SQLite time.
QString Goals(const Measurement& sqlite, const Measurement* postgres)
{
    QStringList verdicts;
    const double time = sqlite.time.cpu;
    const double limit = sqlite.limit;
    if (limit > 0)
        verdicts << QStringLiteral("%1 ≤ %2 %3").arg(Ms(time), Ms(limit), time <= limit ? "✓" : "✗");
    const double bound = 3 * sqlite.plain.cpu + (sqlite.evaluates ? sqlite.evaluation.cpu : 0.0);
    verdicts << QStringLiteral("%1 ≤ 3 × plain + evaluation = %2 %3").arg(Ms(time), Ms(bound), time <= bound ? "✓" : "✗");
    if (postgres) {
        const double twice = 2 * time;
        verdicts << QStringLiteral("PostgreSQL %1 ≤ 2 × SQLite = %2 %3")
                        .arg(Ms(postgres->time.best), Ms(twice), postgres->time.best <= twice ? "✓" : "✗");
    }
    return verdicts.join(QStringLiteral("; "));
}

/// A keystroke in the construction tree's search box: typing "EPS" and deleting it again, each
/// step timed with the tree's relayout (the items hidden and shown, the parents opened), without
/// painting. The line to print: the CPU time of the slowest step, median of 21 rounds.
QString MeasureTreeSearch()
{
    CTqUiBSListDlg dialog{CTQCrXs()};
    dialog.m_Code.SetID(1);
    dialog.m_WallData.m_nBSCId = 1;
    dialog.show();
    auto* tree = dialog.findChild<CMutiTreeCtrl*>(QStringLiteral("bsTree"));
    auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("treeSearchEdit"));
    int items = 0;
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it)
        ++items;

    const QStringList steps{QStringLiteral("E"), QStringLiteral("EP"), QStringLiteral("EPS"),
                            QStringLiteral("EP"), QStringLiteral("E"), QString()};
    std::vector<std::vector<double>> walls(static_cast<std::size_t>(steps.size()));
    std::vector<std::vector<double>> cpus(walls.size());
    for (int round = 0; round < 21; ++round) {
        for (int step = 0; step < steps.size(); ++step) {
            const Stopwatch stopwatch;
            box->setText(steps[step]);
            tree->doItemsLayout();
            stopwatch.Record(walls[static_cast<std::size_t>(step)], cpus[static_cast<std::size_t>(step)]);
        }
    }
    double slowest = 0;
    int slowestStep = 0;
    for (int step = 0; step < steps.size(); ++step) {
        const double median = Median(cpus[static_cast<std::size_t>(step)]);
        if (median > slowest) {
            slowest = median;
            slowestStep = step;
        }
    }
    dialog.reject();
    const QString what = steps[slowestStep].isEmpty() ? QStringLiteral("the box emptied")
                                                        : QStringLiteral("\"%1\"").arg(steps[slowestStep]);
    return QStringLiteral("\nA keystroke in the construction tree's search box (%1 items), the slowest of typing "
                          "and deleting \"EPS\" (%2): %3 ms CPU time, goal ≤ 50 %4\n")
        .arg(items)
        .arg(what, Ms(slowest), slowest <= 50 ? QStringLiteral("✓") : QStringLiteral("✗"));
}

void PrintTable(const QList<Measurement>& sqlite, const QList<Measurement>& postgres)
{
    QTextStream out(stdout);
    const bool withPostgres = !postgres.isEmpty();
    out << "\n" << kConstructions << " constructions. SQLite and the evaluation: CPU time, median of " << kRuns
        << " to 101 runs, ms. PostgreSQL: wall-clock time, median (best), ms.\n\n"
        << "| Action | Statements | SQLite | One plain SELECT | "
        << (withPostgres ? "PostgreSQL | One plain SELECT | " : "") << "Engine's evaluation |\n"
        << "|---|---:|---:|---:|" << (withPostgres ? "---:|---:|" : "") << "---:|\n";
    for (int action = 0; action < sqlite.size(); ++action) {
        const Measurement& m = sqlite[action];
        out << "| " << m.action << " | " << m.statements << " | " << Ms(m.time.cpu) << " | " << Ms(m.plain.cpu)
            << " | ";
        if (withPostgres)
            out << Wall(postgres[action].time) << " | " << Wall(postgres[action].plain) << " | ";
        out << (m.evaluates ? Ms(m.evaluation.cpu) : QStringLiteral("—")) << " |\n";
    }
    out << "\nGoals:\n\n";
    for (int action = 0; action < sqlite.size(); ++action) {
        if (withPostgres && sqlite[action].statements != postgres[action].statements)
            out << "- " << sqlite[action].action << ": the engines issue different numbers of statements\n";
        out << "- " << sqlite[action].action << ": "
            << Goals(sqlite[action], withPostgres ? &postgres[action] : nullptr) << "\n";
    }
    out.flush();
}

// The offscreen platform says at every dialog shown that it cannot pass size hints on; the
// table is easier to find without those lines.
QtMessageHandler g_nextMessageHandler = nullptr;

void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.contains(QLatin1String("propagateSizeHints")) && g_nextMessageHandler)
        g_nextMessageHandler(type, context, message);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    g_nextMessageHandler = qInstallMessageHandler(QuietOffscreen);
    QApplication app(argc, argv);
    QTemporaryDir folder;
    CTQDBGlobalSetting* settings = CTQDBGlobalSetting::GetGlobalSetting();
    settings->SetIniPath(folder.filePath(QStringLiteral("tqwall.ini")));
    CTQUserWork::GetUserWork()->SetUserDataDir(folder.filePath(QStringLiteral("user")));
    // A message box would wait for a click; the benchmark counts any that was shown.
    CTQUiService::Instance().SetTestMode(true);

    CTQDatabaseConfig sqlite;
    sqlite.path = folder.filePath(QStringLiteral("library.sqlite"));
    std::fprintf(stderr, "Growing an SQLite library to %d constructions...\n", kConstructions);
    if (!MakeLibrary(sqlite))
        return 1;
    const QList<Measurement> onSQLite = MeasureActions(sqlite.path);
    const QString treeSearch = MeasureTreeSearch();
    QList<Measurement> onPostgres;

    const QStringList server = qEnvironmentVariable("TQWALL_BENCH_PSQL").split(QLatin1Char(':'));
    if (server.size() == 4) {
        CTQDatabaseConfig postgres;
        postgres.driver = QStringLiteral("QPSQL");
        postgres.host = server[0];
        postgres.port = server[1].toInt();
        postgres.databaseName = server[2];
        postgres.user = server[3];
        // `tqwall list` opens the library of the settings.
        settings->WriteSysIni(QStringLiteral("Database"), QStringLiteral("Driver"), postgres.driver);
        settings->WriteSysIni(QStringLiteral("Database"), QStringLiteral("Host"), postgres.host);
        settings->WriteSysIni(QStringLiteral("Database"), QStringLiteral("Port"), QString::number(postgres.port));
        settings->WriteSysIni(QStringLiteral("Database"), QStringLiteral("Name"), postgres.databaseName);
        settings->WriteSysIni(QStringLiteral("Database"), QStringLiteral("User"), postgres.user);
        std::fprintf(stderr, "Growing a PostgreSQL library to %d constructions...\n", kConstructions);
        if (!MakeLibrary(postgres))
            return 1;
        onPostgres = MeasureActions(QString());
    }
    PrintTable(onSQLite, onPostgres);
    QTextStream(stdout) << treeSearch;
    const int shown = static_cast<int>(CTQUiService::Instance().ShownMessages().size());
    settings->SetLoadParamDatabase(nullptr);
    if (shown > 0) {
        std::fprintf(stderr, "%d message box(es) were shown during the measurements\n", shown);
        return 1;
    }
    return 0;
}
