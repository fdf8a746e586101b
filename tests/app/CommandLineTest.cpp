// The host's command line: output and exit codes for good and bad input.
#include "app/CTQCommandLine.h"
#include "library/CTQLibrarySeed.h"
#include "support/LibraryFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

class CommandLineTest : public LibraryFixture
{
protected:
    void SetUp() override
    {
        LibraryFixture::SetUp();
        CTQLibrarySeed seed(Db(), QStringLiteral(TQWALL_SOURCE_DATA_DIR));
        ASSERT_TRUE(seed.Fill()) << seed.GetErrorText().toStdString();
        CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(nullptr);
    }

    /// Runs the command line on the test library (on SQLite its file as --db, after the rest).
    int Run(QStringList arguments)
    {
        m_strOut.clear();
        m_strErr.clear();
        QTextStream out(&m_strOut), err(&m_strErr);
        if (!CommandLinePath().isEmpty())
            arguments << "--db" << CommandLinePath();
        return CTQCommandLine(out, err).Run(arguments);
    }
    QJsonObject RunJson(const QStringList& arguments)
    {
        EXPECT_EQ(Run(arguments), CTQCommandLine::Ok) << m_strErr.toStdString();
        QJsonParseError error;
        const QJsonObject object = QJsonDocument::fromJson(m_strOut.toUtf8(), &error).object();
        EXPECT_EQ(error.error, QJsonParseError::NoError) << m_strOut.toStdString();
        return object;
    }

    QString m_strOut;
    QString m_strErr;
};

TEST_F(CommandLineTest, EachCommandGivesItsExitCodeAndOutput)
{
    using C = CTQCommandLine;
    const QString exported = m_Folder.filePath("common.json");
    const QString sheet = m_Folder.filePath("sheet.pdf");
    const std::tuple<QStringList, int, const char*> cases[] = {
        // arguments, exit code, part of the output (stdout when Ok, else stderr)
        {{"list"}, C::Ok, "所有围护结构\n  外墙\n"},
        {{"list"}, C::Ok, "370红砖墙+80聚苯板外保温(习题)  K(夏)=0.42"},
        {{"list"}, C::Ok, "黑龙江省\n  外墙\n"}, // province constructions follow
        {{"calc", "4"}, C::Ok, "模塑聚苯板(EPS)\t80.00\t1.20"},
        {{"calc", "4"}, C::Ok, "传热系数(夏)(W/m^2·K): 0.42"},
        {{"--json", "calc", "4"}, C::Ok, "\"id\": 4"}, // an option before the command
        {{"query", "--min", "0.01", "--max", "0.02"}, C::Ok, "没有找到满足要求的传热系数！"},
        {{"query", "--min", "0", "--max", "9", "--kind", "屋面"}, C::Ok, "\n1\t屋面\t"}, // numbered from 1, one kind
        {{"materials"}, C::Ok, "] 水泥砂浆  干密度(kg/m^3)=1800  导热系数(W/m*K)=0.93  比热容(kJ/kg*K)=1.05  常用\n"},
        {{"--help"}, C::Ok, "tqwall calc ID [--json]"},
        {{"--version"}, C::Ok, "tqwall "},
        {{"--no-such-option"}, C::BadInput, "no-such-option"},
        {{"calc", "999999"}, C::UnknownRecord, "没有 ID 为 999999 的围护结构"},
        {{"calc", "abc"}, C::BadInput, "正整数"},
        {{"calc"}, C::BadInput, "用法"},
        {{"query", "--min", "x", "--max", "1"}, C::BadInput, "应为数字"},
        {{"query", "--min", "1", "--max", "1"}, C::BadInput, "最小值不能大于最大值！"},
        {{"query", "--min", "1", "--max", "2", "--kind", "火星"}, C::BadInput, "未知的类型"},
        {{"query", "--min", "1"}, C::BadInput, "用法"},
        {{"frobnicate"}, C::BadInput, "用法"},
        {{"materials", "水泥砂浆"}, C::BadInput, "用法：tqwall materials"},
        {{"calc", "1", "--profile"}, C::Ok, "内部冷凝：第1层与第2层之间"},
        {{"calc", "7", "--profile"}, C::Ok, "无法判断：第2层 模塑聚苯板(EPS) 无蒸汽渗透系数"},
        {{"calc", "1", "--profile", "--ti", "warm"}, C::BadInput, "--ti 不是数值"},
        {{"calc", "1", "--profile", "--phi-i", "120"}, C::BadInput, "0 到 100"},
        {{"calc", "1", "--te", "-5"}, C::BadInput, "只用于 --profile"},
        {{"export", "--all"}, C::BadInput, "用法：tqwall export"},                     // no file
        {{"export", "--all", "--common", "-o", exported}, C::BadInput, "用法：tqwall export"}, // two selections
        {{"export", "--type", "火星墙", "-o", exported}, C::BadInput, "没有名为“火星墙”的类型"},
        {{"export", "--common", "-o", exported}, C::Ok, "已导出到"},
        {{"import", exported}, C::Ok, "导入完成：新增 0 项"}, // its own constructions: nothing new
        {{"import", exported, "--on-duplicate", "merge"}, C::BadInput, "用法：tqwall import"},
        {{"import", m_Folder.filePath("none.json")}, C::BadInput, "无法读取文件"},
        {{"export-materials"}, C::BadInput, "用法：tqwall export-materials"},
        {{"materials", "--where-used", "水泥砂浆"}, C::Ok, "水泥砂浆（全国）："},
        {{"materials", "--where-used", "水泥砂浆"}, C::Ok, " / 第 1、"}, // outer and inner plaster
        {{"materials", "--where-used", "水泥砂浆", "--province", "火星省"}, C::UnknownRecord, "火星省 没有名为“水泥砂浆”的材质"},
        {{"materials", "--where-used", "火星砂"}, C::UnknownRecord, "没有名为“火星砂”的材质"},
        {{"materials", "--province", "北京市"}, C::BadInput, "用法：tqwall materials"},
        {{"report", "4"}, C::BadInput, "用法：tqwall report"},
        {{"report", "4", "x", "-o", sheet}, C::BadInput, "正整数：x"},
        {{"report", "999999", "-o", sheet}, C::UnknownRecord, "没有 ID 为 999999 的围护结构"},
    };
    for (const auto& [arguments, exitCode, message] : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        EXPECT_EQ(Run(arguments), exitCode) << m_strErr.toStdString();
        EXPECT_TRUE((exitCode == C::Ok ? m_strOut : m_strErr).contains(QString::fromUtf8(message)))
            << m_strOut.toStdString() << m_strErr.toStdString();
    }
    EXPECT_TRUE(Run({"list"}) == C::Ok && m_strOut.startsWith("所有围护结构\n")) << "national constructions first";

    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const QString missing = m_Folder.filePath("missing.sqlite");
    EXPECT_EQ(CTQCommandLine(outStream, errStream).Run({"list", "--db", missing}), CTQCommandLine::NoLibrary);
    EXPECT_TRUE(err.contains("围护结构库文件不存在"));
    EXPECT_FALSE(QFile::exists(missing)) << "a read-only command creates no library";
}

TEST_F(CommandLineTest, AnExportedLibraryImportedIntoANewFileListsTheSame)
{
    if (IsPostgres())
        GTEST_SKIP() << "a new library file is an SQLite file";
    const QString file = m_Folder.filePath("lib.json");
    const QString newLibrary = m_Folder.filePath("new.sqlite");
    ASSERT_EQ(Run({"export", "--all", "-o", file}), CTQCommandLine::Ok) << m_strErr.toStdString();
    ASSERT_EQ(Run({"list"}), CTQCommandLine::Ok);
    const QString listed = m_strOut;
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    ASSERT_EQ(CTQCommandLine(outStream, errStream).Run({"import", file, "--db", newLibrary}), CTQCommandLine::Ok)
        << err.toStdString();
    out.clear();
    ASSERT_EQ(CTQCommandLine(outStream, errStream).Run({"list", "--db", newLibrary}), CTQCommandLine::Ok);
    EXPECT_EQ(out, listed);
}

TEST_F(CommandLineTest, JsonOutputHoldsConsistentFigures)
{
    const QJsonObject wall = RunJson({"calc", "4", "--json"});
    EXPECT_EQ(wall["id"].toInt(), 4);
    EXPECT_EQ(wall["category"].toString(), QStringLiteral("外墙"));
    const QJsonArray layers = wall["layers"].toArray();
    ASSERT_EQ(layers.size(), 4);
    EXPECT_DOUBLE_EQ(layers[0].toObject()["thicknessMm"].toDouble(), 80.0);
    // The summer K follows from the printed layers: 1/(1/8.7 + Σ δ/(λ·a) + 1/19).
    double resistance = 1.0 / 8.7 + 1.0 / 19.0;
    for (const QJsonValue& layer : layers) {
        const QJsonObject l = layer.toObject();
        resistance += l["thicknessMm"].toDouble() / 1000.0 / (l["conductivity"].toDouble() * l["correctionFactor"].toDouble());
    }
    EXPECT_NEAR(wall["kSummer"].toDouble(), 1.0 / resistance, 1e-12);
    EXPECT_GT(wall["kWinter"].toDouble(), wall["kSummer"].toDouble());
    EXPECT_GT(wall["delayHours"].toDouble(), 5.0) << "a 370 mm brick wall delays heat for hours";

    // The seed's material types in ID order, the reserved 16 to 18 included; values of materials.csv.
    const QJsonArray types = RunJson({"materials", "--json"})["types"].toArray();
    ASSERT_EQ(types.size(), 10);
    EXPECT_EQ(types[1].toObject()["name"].toString(), QStringLiteral("砂浆和砌体"));
    EXPECT_EQ(types[9].toObject()["id"].toInt(), 18);
    QJsonObject mortar;
    for (const QJsonValue& material : types[1].toObject()["materials"].toArray()) {
        if (material.toObject()["name"].toString() == QStringLiteral("水泥砂浆"))
            mortar = material.toObject();
    }
    EXPECT_EQ(std::tuple(mortar["density"].toDouble(), mortar["conductivity"].toDouble(),
                         mortar["specificHeat"].toDouble(), mortar["common"].toBool(), mortar["province"].isNull()),
              std::tuple(1800.0, 0.93, 1.05, true, true));
}

TEST_F(CommandLineTest, ProfileOfEveryConstructionAgreesWithItsFilms)
{
    const QRegularExpression idPattern(QStringLiteral("\\[(\\d+)\\]"));
    ASSERT_EQ(Run({"list"}), CTQCommandLine::Ok);
    QStringList ids;
    for (const QRegularExpressionMatch& match : idPattern.globalMatch(m_strOut))
        ids.append(match.captured(1));
    ASSERT_GT(ids.size(), 40);
    for (const QString& id : ids) {
        SCOPED_TRACE(id.toStdString());
        const QJsonObject profile = RunJson({"calc", id, "--profile", "--json", "--ti", "20", "--te", "-15"});
        const QJsonArray planes = profile["planes"].toArray();
        ASSERT_EQ(planes.size(), profile["layers"].toArray().size() + 1);
        for (const QJsonValue& plane : planes) {
            EXPECT_TRUE(plane.toObject()["temperature"].isDouble());
            EXPECT_TRUE(plane.toObject()["saturationPressure"].isDouble());
            EXPECT_EQ(plane.toObject()["vapourPressure"].isDouble(), profile["interstitial"] != "noVapourData");
        }
        // θi = ti − (ti − te)·Ri/R0 with Ri = 1/αi and R0 = 1/K(winter).
        const double expected = 20.0 - 35.0 * (1.0 / profile["innerFilm"].toDouble()) * profile["kWinter"].toDouble();
        EXPECT_NEAR(profile["innerSurfaceTemperature"].toDouble(), expected, 0.05);
        EXPECT_NEAR(planes.last().toObject()["temperature"].toDouble(), expected, 0.05);
    }

    // 240砖墙(双面抹灰) at 18 °C / 60 % and −10 °C / 80 %, by hand (outside to inside: 20 水泥砂浆 λ 0.93
    // μ 0.000021, 240 brick λ 0.81 μ 0.000105, 20 石灰水泥砂浆 λ 0.87 μ 0.0000975; αe 23, αi 8.7):
    // R0 = 0.0435 + 0.0215 + 0.2963 + 0.0230 + 0.1149 = 0.4992; behind the outer mortar θ = −10 + 28·0.0650/0.4992
    // = −6.36 °C, Ps (ice) = 357 Pa; Pe = 0.8·259.3 = 207.5, Pi = 0.6·2062.8 = 1237.7 Pa; H = 952.4, 2285.7,
    // 205.1 (H0 3443.2), so P there = 207.5 + 1030.2·952.4/3443.2 = 492.4 Pa > 357 Pa: it condenses there.
    const QJsonObject brick = RunJson({"calc", "1", "--profile", "--json"});
    EXPECT_EQ(brick["interstitial"].toString(), QStringLiteral("condensing"));
    EXPECT_EQ(brick["zoneOuterPlane"].toInt(), 1);
    const QJsonObject behindMortar = brick["planes"].toArray()[1].toObject();
    EXPECT_NEAR(behindMortar["temperature"].toDouble(), -6.36, 0.1);
    EXPECT_NEAR(behindMortar["saturationPressure"].toDouble(), 357.0, 3.6);
    EXPECT_NEAR(behindMortar["vapourPressure"].toDouble(), 492.4, 4.9);
    EXPECT_FALSE(brick["surfaceCondensation"].toBool());
}

// The program itself, started the way a script starts it: no display, no window, no wait. Only a
// project or no argument at all asks for the window.
TEST_F(CommandLineTest, TheProgramRunsWithoutADisplay)
{
    using C = CTQCommandLine;
    // what, arguments after the library's, QT_QPA_PLATFORM (none when empty), exit code, part of the
    // output (stdout when Ok, else stderr)
    const std::tuple<const char*, QStringList, QString, int, const char*> cases[] = {
        {"options before the command", {"list"}, {}, C::Ok, "所有围护结构"},
        {"options after the command", {"calc", "4", "--json"}, {}, C::Ok, "\"id\": 4"},
        {"help", {"-h"}, {}, C::Ok, "tqwall list"},
        {"an unknown option", {"--no-such-option"}, {}, C::BadInput, "no-such-option"},
        {"version", {"--version"}, {}, C::Ok, "tqwall"},
        {"the window without a display", {}, {}, C::NoDisplay, "显示器"},
        {"an unreadable project, offscreen", {m_Folder.filePath("no-such-building.json")}, "offscreen", C::BadInput,
         "no-such-building.json"},
        {"a sheet drawn without a display", {"report", "4", "1", "-o", m_Folder.filePath("two.pdf")}, {}, C::Ok,
         "已导出 2 个围护结构的计算书"},
    };
    for (const auto& [what, arguments, platform, exitCode, output] : cases) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        if (!platform.isEmpty())
            environment.insert("QT_QPA_PLATFORM", platform);
        environment.insert("TQWALL_INI", m_Folder.filePath("tqwall.ini"));
        environment.insert("TQWALL_USER_DIR", m_Folder.filePath("user"));
        QProcess process;
        process.setProcessEnvironment(environment);
        // On PostgreSQL the settings name the library.
        const QStringList library = CommandLinePath().isEmpty() ? QStringList() : QStringList{"--db", CommandLinePath()};
        process.start(TQWALL_BINARY, library + arguments);
        ASSERT_TRUE(process.waitForFinished(60000)) << what << ": still running, a window is waiting";
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(std::pair(process.exitStatus(), process.exitCode()), std::pair(QProcess::NormalExit, exitCode))
            << what << err.toStdString();
        EXPECT_TRUE((exitCode == C::Ok ? out : err).contains(QString::fromUtf8(output))) << what << err.toStdString();
    }
}
