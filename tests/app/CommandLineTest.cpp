// The host's command line: output and exit codes for good and bad input.
#include "app/CTQCommandLine.h"
#include "library/CTQLibrarySeed.h"
#include "support/LibraryFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <tuple>

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

    int Run(QStringList arguments)
    {
        m_strOut.clear();
        m_strErr.clear();
        QTextStream out(&m_strOut);
        QTextStream err(&m_strErr);
        if (!CommandLinePath().isEmpty())
            arguments << QStringLiteral("--db") << CommandLinePath();
        return CTQCommandLine(out, err).Run(arguments);
    }

    QString m_strOut;
    QString m_strErr;
};

TEST_F(CommandLineTest, ListShowsTheLibraryWithItsCoefficients)
{
    ASSERT_EQ(Run({QStringLiteral("list")}), CTQCommandLine::Ok) << m_strErr.toStdString();
    EXPECT_TRUE(m_strOut.startsWith(QStringLiteral("所有围护结构\n  外墙\n")));
    EXPECT_TRUE(m_strOut.contains(QStringLiteral("370红砖墙+80聚苯板外保温(习题)  K(夏)=0.42")));
    EXPECT_TRUE(m_strOut.contains(QStringLiteral("黑龙江省\n  外墙\n"))) << "province constructions follow";
}

TEST_F(CommandLineTest, CalcJsonHasLayersAndConsistentResults)
{
    ASSERT_EQ(Run({QStringLiteral("calc"), QStringLiteral("4"), QStringLiteral("--json")}), CTQCommandLine::Ok)
        << m_strErr.toStdString();
    QJsonParseError parseError;
    const QJsonObject wall = QJsonDocument::fromJson(m_strOut.toUtf8(), &parseError).object();
    ASSERT_EQ(parseError.error, QJsonParseError::NoError) << m_strOut.toStdString();
    EXPECT_EQ(wall[QStringLiteral("id")].toInt(), 4);
    EXPECT_EQ(wall[QStringLiteral("category")].toString(), QStringLiteral("外墙"));
    const QJsonArray layers = wall[QStringLiteral("layers")].toArray();
    ASSERT_EQ(layers.size(), 4);
    EXPECT_DOUBLE_EQ(layers[0].toObject()[QStringLiteral("thicknessMm")].toDouble(), 80.0);

    // The summer K follows from the printed layers: 1/(1/8.7 + Σ δ/(λ·a) + 1/19).
    double resistance = 1.0 / 8.7 + 1.0 / 19.0;
    for (const QJsonValue& layer : layers) {
        const QJsonObject l = layer.toObject();
        resistance += l[QStringLiteral("thicknessMm")].toDouble() / 1000.0 /
                      (l[QStringLiteral("conductivity")].toDouble() * l[QStringLiteral("correctionFactor")].toDouble());
    }
    EXPECT_NEAR(wall[QStringLiteral("kSummer")].toDouble(), 1.0 / resistance, 1e-12);
    EXPECT_GT(wall[QStringLiteral("kWinter")].toDouble(), wall[QStringLiteral("kSummer")].toDouble());
    EXPECT_GT(wall[QStringLiteral("delayHours")].toDouble(), 5.0) << "a 370 mm brick wall delays heat for hours";

    ASSERT_EQ(Run({QStringLiteral("calc"), QStringLiteral("4")}), CTQCommandLine::Ok);
    EXPECT_TRUE(m_strOut.contains(QStringLiteral("模塑聚苯板(EPS)\t80.00\t1.20")));
    EXPECT_TRUE(m_strOut.contains(QStringLiteral("传热系数(夏)(W/m^2·K): 0.42")));
}

TEST_F(CommandLineTest, QueryListsOnlyTheRange)
{
    ASSERT_EQ(Run({QStringLiteral("query"), QStringLiteral("--min"), QStringLiteral("0.4"), QStringLiteral("--max"),
                   QStringLiteral("0.6"), QStringLiteral("--kind"), QStringLiteral("外墙")}),
              CTQCommandLine::Ok);
    const QStringList lines = m_strOut.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2);
    for (const QString& line : lines.mid(1)) {
        const QStringList cells = line.split(QLatin1Char('\t'));
        ASSERT_EQ(cells.size(), 8) << line.toStdString();
        EXPECT_EQ(cells[1], QStringLiteral("外墙"));
        const double k = cells[5].toDouble();
        EXPECT_TRUE(k >= 0.4 && k <= 0.6) << line.toStdString();
    }
    EXPECT_EQ(lines[1].split(QLatin1Char('\t'))[0], QStringLiteral("1"));

    ASSERT_EQ(Run({QStringLiteral("query"), QStringLiteral("--min"), QStringLiteral("0.01"), QStringLiteral("--max"),
                   QStringLiteral("0.02")}),
              CTQCommandLine::Ok);
    EXPECT_TRUE(m_strOut.contains(QStringLiteral("没有找到满足要求的传热系数！")));
}

TEST_F(CommandLineTest, MaterialsListsTypesAndMaterialsWithTheirValues)
{
    ASSERT_EQ(Run({QStringLiteral("materials"), QStringLiteral("--json")}), CTQCommandLine::Ok) << m_strErr.toStdString();
    QJsonParseError parseError;
    const QJsonArray types =
        QJsonDocument::fromJson(m_strOut.toUtf8(), &parseError).object()[QStringLiteral("types")].toArray();
    ASSERT_EQ(parseError.error, QJsonParseError::NoError) << m_strOut.toStdString();
    // The seed's material types in ID order, the reserved 16 to 18 included.
    ASSERT_EQ(types.size(), 10);
    EXPECT_EQ(types[1].toObject()[QStringLiteral("name")].toString(), QStringLiteral("砂浆和砌体"));
    EXPECT_EQ(types[9].toObject()[QStringLiteral("id")].toInt(), 18);
    QJsonObject mortar;
    for (const QJsonValue& material : types[1].toObject()[QStringLiteral("materials")].toArray()) {
        if (material.toObject()[QStringLiteral("name")].toString() == QStringLiteral("水泥砂浆"))
            mortar = material.toObject();
    }
    // Values of data/materials.csv.
    EXPECT_EQ(mortar[QStringLiteral("density")].toDouble(), 1800.0);
    EXPECT_EQ(mortar[QStringLiteral("conductivity")].toDouble(), 0.93);
    EXPECT_EQ(mortar[QStringLiteral("specificHeat")].toDouble(), 1.05);
    EXPECT_TRUE(mortar[QStringLiteral("common")].toBool());
    EXPECT_TRUE(mortar[QStringLiteral("province")].isNull());

    ASSERT_EQ(Run({QStringLiteral("materials")}), CTQCommandLine::Ok);
    EXPECT_TRUE(m_strOut.contains(
        QStringLiteral("] 水泥砂浆  干密度(kg/m^3)=1800  导热系数(W/m*K)=0.93  比热容(kJ/kg*K)=1.05  常用\n")));
}

TEST_F(CommandLineTest, BadInputGivesAMessageAndAnExitCode)
{
    const std::tuple<QStringList, int, const char*> cases[] = {
        // arguments, exit code, part of the message
        {{"calc", "999999"}, CTQCommandLine::UnknownRecord, "没有 ID 为 999999 的围护结构"},
        {{"calc", "abc"}, CTQCommandLine::BadInput, "正整数"},
        {{"calc"}, CTQCommandLine::BadInput, "用法"},
        {{"query", "--min", "x", "--max", "1"}, CTQCommandLine::BadInput, "应为数字"},
        {{"query", "--min", "1", "--max", "1"}, CTQCommandLine::BadInput, "最小值不能大于最大值！"},
        {{"query", "--min", "1", "--max", "2", "--kind", "火星"}, CTQCommandLine::BadInput, "未知的类型"},
        {{"query", "--min", "1"}, CTQCommandLine::BadInput, "用法"},
        {{"frobnicate"}, CTQCommandLine::BadInput, "用法"},
        {{"materials", "水泥砂浆"}, CTQCommandLine::BadInput, "用法：tqwall materials"},
    };
    for (const auto& [arguments, exitCode, message] : cases) {
        EXPECT_EQ(Run(arguments), exitCode) << arguments.join(' ').toStdString();
        EXPECT_TRUE(m_strErr.contains(QString::fromUtf8(message))) << m_strErr.toStdString();
    }

    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const QString missing = m_Folder.filePath(QStringLiteral("missing.sqlite"));
    EXPECT_EQ(CTQCommandLine(outStream, errStream).Run({"list", "--db", missing}), CTQCommandLine::NoLibrary);
    EXPECT_TRUE(err.contains(QStringLiteral("围护结构库文件不存在")));
    EXPECT_FALSE(QFile::exists(missing)) << "a read-only command creates no library";
}

TEST_F(CommandLineTest, OptionsMayStandBeforeTheCommand)
{
    struct Case
    {
        QStringList arguments;
        bool window;
    };
    const Case cases[] = {
        {{}, true},
        {{"building.json"}, true},
        {{"--db", "lib.sqlite", "building.json"}, true},
        {{"--db", "lib.sqlite", "list"}, false},
        {{"list", "--db", "lib.sqlite"}, false},
        {{"--json", "calc", "4"}, false},
        {{"--help"}, false},
        {{"-h"}, false},
        {{"--version"}, false},
        {{"--no-such-option"}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CTQCommandLine::WantsWindow(c.arguments), c.window) << c.arguments.join(' ').toStdString();

    QStringList arguments{QStringLiteral("--json")};
    if (!CommandLinePath().isEmpty())
        arguments << QStringLiteral("--db") << CommandLinePath();
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    ASSERT_EQ(CTQCommandLine(outStream, errStream).Run(arguments + QStringList{"calc", "4"}), CTQCommandLine::Ok)
        << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("\"id\": 4")));
}

TEST_F(CommandLineTest, HelpAndVersionNeedNoLibrary)
{
    ASSERT_EQ(Run({QStringLiteral("--help")}), CTQCommandLine::Ok);
    EXPECT_TRUE(m_strOut.contains(QStringLiteral("tqwall calc ID [--json]")));
    ASSERT_EQ(Run({QStringLiteral("--version")}), CTQCommandLine::Ok);
    EXPECT_TRUE(m_strOut.startsWith(QStringLiteral("tqwall ")));
    EXPECT_EQ(Run({QStringLiteral("--no-such-option")}), CTQCommandLine::BadInput);
    EXPECT_TRUE(m_strErr.contains(QStringLiteral("no-such-option")));
}

// The program itself, started the way a script starts it: no display, no window, no wait.
TEST_F(CommandLineTest, TheProgramRunsWithoutADisplay)
{
    struct Case
    {
        const char* what;
        QStringList arguments;
        QString platform; ///< QT_QPA_PLATFORM, empty for none
        int exitCode;
        const char* stdoutHas;
        const char* stderrHas;
    };
    const QString unreadable = m_Folder.filePath(QStringLiteral("no-such-building.json"));
    const Case cases[] = {
        {"options before the command", {"--db", "%DB%", "list"}, {}, CTQCommandLine::Ok, "所有围护结构", ""},
        {"help", {"--help"}, {}, CTQCommandLine::Ok, "tqwall list", ""},
        {"version", {"--version"}, {}, CTQCommandLine::Ok, "tqwall", ""},
        {"the window without a display", {"--db", "%DB%"}, {}, CTQCommandLine::NoDisplay, "", "显示器"},
        {"an unreadable project, offscreen", {"--db", "%DB%", unreadable}, QStringLiteral("offscreen"),
         CTQCommandLine::BadInput, "", "no-such-building.json"},
    };
    for (const Case& c : cases) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        if (!c.platform.isEmpty())
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), c.platform);
        environment.insert(QStringLiteral("TQWALL_INI"), m_Folder.filePath(QStringLiteral("tqwall.ini")));
        environment.insert(QStringLiteral("TQWALL_USER_DIR"), m_Folder.filePath(QStringLiteral("user")));
        process.setProcessEnvironment(environment);
        QStringList arguments;
        for (const QString& argument : c.arguments) {
            if (argument == QLatin1String("%DB%") && CommandLinePath().isEmpty())
                arguments.removeLast(); // the settings name the PostgreSQL library
            else
                arguments.append(argument == QLatin1String("%DB%") ? CommandLinePath() : argument);
        }
        process.start(QStringLiteral(TQWALL_BINARY), arguments);
        ASSERT_TRUE(process.waitForFinished(60000)) << c.what << ": still running, a window is waiting";
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << c.what << err.toStdString();
        EXPECT_EQ(process.exitCode(), c.exitCode) << c.what << err.toStdString();
        EXPECT_TRUE(out.contains(QString::fromUtf8(c.stdoutHas))) << c.what;
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.stderrHas))) << c.what << err.toStdString();
    }
}
