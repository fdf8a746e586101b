// Host services the records and dialogs rely on: number and list text, the settings and ini
// storage, folders, and opening a library database.
#include "host/ui/CCtrlMenumGlobalSetting.h"
#include "host/core/CTQDataDir.h"
#include "host/core/CTQEnviroment.h"
#include "host/db/CTQLibrarySchema.h"
#include "host/db/TQPrecision.h"
#include "host/core/TQString.h"
#include "support/LibraryFixture.h"

#include <atomic>
#include <thread>

#include <cmath>
#include <limits>

using namespace TQLoad;

TEST(TQStringTest, DblToStrFormatsFixedDecimals)
{
    struct Case
    {
        double value;
        int decimals;
        const char* expected;
    };
    const Case cases[] = {
        {0.3913, 2, "0.39"},    {240.0, 2, "240.00"},
        {8.26, 1, "8.3"},       {-0.001, 2, "0.00"},
        {12.0, 0, "12"},        {1.0 / 3.0, 3, "0.333"},
        {std::nan(""), 2, "-"}, {std::numeric_limits<double>::infinity(), 2, "-"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DblToStr(c.value, c.decimals), QString::fromLatin1(c.expected)) << c.value;
}

TEST(TQStringTest, SplitStringKeepsPositions)
{
    struct Case
    {
        const char* text;
        QStringList expected;
    };
    const Case cases[] = {
        {"", {}}, {"12", {"12"}}, {"12,7,30", {"12", "7", "30"}}, {"1,,3", {"1", "", "3"}}, {",", {"", ""}},
    };
    for (const Case& c : cases) {
        QStringList items{QStringLiteral("kept")};
        SplitString(QString::fromLatin1(c.text), items, QLatin1Char(','));
        EXPECT_EQ(items, QStringList{QStringLiteral("kept")} + c.expected) << c.text;
    }
}

TEST(TQStringTest, LeadingNumbersIgnoreTrailingText)
{
    EXPECT_DOUBLE_EQ(LeadingDouble(QStringLiteral(" 240.5mm")), 240.5);
    EXPECT_DOUBLE_EQ(LeadingDouble(QStringLiteral("1e-3")), 0.001);
    EXPECT_DOUBLE_EQ(LeadingDouble(QStringLiteral("-.5x")), -0.5);
    EXPECT_DOUBLE_EQ(LeadingDouble(QStringLiteral("abc")), 0.0);
    EXPECT_DOUBLE_EQ(LeadingDouble(QStringLiteral("nan")), 0.0);
    EXPECT_DOUBLE_EQ(LeadingDouble(QStringLiteral("1e999")), 0.0);
    EXPECT_EQ(LeadingInt(QStringLiteral("12abc")), 12);
    EXPECT_EQ(LeadingInt(QStringLiteral("99999999999")), 0);
    EXPECT_EQ(LeadingInt(QStringLiteral("7.9")), 7);
}

class SettingsTest : public LibraryFixture
{
};

TEST_F(SettingsTest, IniValuesRoundTripAndTableNamesStayIdentifiers)
{
    CTQDBGlobalSetting* settings = CTQDBGlobalSetting::GetGlobalSetting();
    EXPECT_EQ(settings->GetSysIni(QStringLiteral("BSStruct"), QStringLiteral("MinValue"), QStringLiteral("1")),
              QStringLiteral("1"));
    settings->WriteSysIni(QStringLiteral("BSStruct"), QStringLiteral("MinValue"), QStringLiteral("0.45"));
    EXPECT_EQ(settings->GetSysIni(QStringLiteral("BSStruct"), QStringLiteral("MinValue"), QStringLiteral("1")),
              QStringLiteral("0.45"));

    settings->WriteSysIni(QStringLiteral("Tables"), QStringLiteral("BSType"), QStringLiteral("MyTypes"));
    EXPECT_EQ(settings->GetBSTypeTableName(), QStringLiteral("MyTypes"));
    settings->WriteSysIni(QStringLiteral("Tables"), QStringLiteral("BSType"), QStringLiteral("x; DROP TABLE BSCode"));
    EXPECT_EQ(settings->GetBSTypeTableName(), QStringLiteral("BSType")) << "a name that is no identifier is refused";
    settings->WriteSysIni(QStringLiteral("Tables"), QStringLiteral("BoundingStructure"), QStringLiteral("Other"));
    EXPECT_EQ(settings->GetBoundingStructureTableName(), QStringLiteral("BoundingStructure"));

    settings->WriteSysIni(QStringLiteral("Precision"), QStringLiteral("CrXs"), QStringLiteral("3"));
    settings->WriteSysIni(QStringLiteral("Precision"), QStringLiteral("CrYc"), QStringLiteral("many"));
    EXPECT_EQ(GetCrXsJd(), 3);
    EXPECT_EQ(GetCrSjJd(), 2);
    EXPECT_EQ(GetCrYcJd(), 1);

    settings->WriteSysIni(QStringLiteral("Calculation"), QStringLiteral("DynamicMethod"), QStringLiteral("ISO13786"));
    EXPECT_EQ(settings->GetDynamicMethod(), TQDynamicMethod::ISO13786);
    settings->WriteSysIni(QStringLiteral("Calculation"), QStringLiteral("DynamicMethod"), QStringLiteral("GB50176"));
    EXPECT_EQ(settings->GetDynamicMethod(), TQDynamicMethod::GB50176);
}

TEST_F(SettingsTest, FoldersEndWithSlash)
{
    EXPECT_TRUE(CTQUserWork::GetUserWork()->GetWallBmpDir().endsWith(QStringLiteral("/user/wallbmp/")));
    CTQDataDir* data = CTQEnviroment::GetEnviroment();
    data->SetDataDir(m_Folder.filePath(QStringLiteral("share//")));
    EXPECT_EQ(data->GetWallBmpDir(), m_Folder.filePath(QStringLiteral("share/wallbmp/")));
    data->SetDataDir({});
    EXPECT_TRUE(data->GetWallBmpDir().endsWith(QStringLiteral("wallbmp/")));
}

TEST_F(SettingsTest, MenuArraysRestoreTheirDefaults)
{
    CCtrlMenumGlobalSetting* menus = CCtrlMenumGlobalSetting::GetCtrlMenumGlobalSetting();
    CTQMenuItemArray* list = menus->GetBSListMenuAry(false);
    ASSERT_GT(list->GetSize(), 0);
    EXPECT_EQ(list->GetAt(0).nID, TQMenuCommand::Add);
    list->GetAt(0).bEnable = false;
    menus->ResumeDefult();
    EXPECT_TRUE(menus->GetBSListMenuAry(false)->GetAt(0).bEnable);
    EXPECT_NE(menus->GetBSListMenuAry(true), menus->GetBSListMenuAry(false));
}

class LibraryDatabaseTest : public LibraryFixture
{
};

TEST_F(LibraryDatabaseTest, TablesAreCreatedOnceAndMissingOnesAdded)
{
    CTQDatabaseConfig config;
    config.path = m_Folder.filePath(QStringLiteral("new/dir/lib.sqlite"));
    bool created = false;
    QString error;
    auto first = CTQLibraryDatabase::Open(config, &error, &created);
    ASSERT_TRUE(first) << error.toStdString();
    EXPECT_TRUE(created);
    EXPECT_TRUE(CTQLibrarySchema::MissingTables(first.get()).isEmpty());
    ASSERT_TRUE(first->Execute(QStringLiteral("INSERT INTO BSDaLei (Name, OrderId) VALUES ('外墙', 1)")));
    ASSERT_TRUE(first->Execute(QStringLiteral("DROP TABLE WallProvince")));
    first.reset();

    auto second = CTQLibraryDatabase::Open(config, &error, &created);
    ASSERT_TRUE(second);
    EXPECT_FALSE(created) << "a library with data is not new";
    EXPECT_TRUE(CTQLibrarySchema::MissingTables(second.get()).isEmpty()) << "the missing table is made again";
    CADORecordset rows;
    ASSERT_TRUE(rows.Open(second.get(), QStringLiteral("SELECT * FROM BSDaLei")));
    EXPECT_EQ(rows.GetRecordCount(), 1u);
}

TEST_F(LibraryDatabaseTest, CommandLineBeatsEnvironmentBeatsIni)
{
    CTQDBGlobalSetting::GetGlobalSetting()->SetIniPath(m_Folder.filePath(QStringLiteral("fresh.ini")));
    CTQDBGlobalSetting::GetGlobalSetting()->WriteSysIni(QStringLiteral("Database"), QStringLiteral("Path"),
                                                        QStringLiteral("/ini/lib.sqlite"));
    EXPECT_EQ(CTQLibraryDatabase::ConfigFromSettings().path, QStringLiteral("/ini/lib.sqlite"));
    qputenv("TQWALL_DB", "/env/lib.sqlite");
    EXPECT_EQ(CTQLibraryDatabase::ConfigFromSettings().path, QStringLiteral("/env/lib.sqlite"));
    EXPECT_EQ(CTQLibraryDatabase::ConfigFromSettings(QStringLiteral("/cli.sqlite")).path,
              QStringLiteral("/cli.sqlite"));
    qunsetenv("TQWALL_DB");

    CTQDBGlobalSetting::GetGlobalSetting()->WriteSysIni(QStringLiteral("Database"), QStringLiteral("Driver"),
                                                        QStringLiteral("QPSQL"));
    const CTQDatabaseConfig postgres = CTQLibraryDatabase::ConfigFromSettings();
    EXPECT_EQ(postgres.driver, QStringLiteral("QPSQL"));
    EXPECT_EQ(postgres.port, 5432);
    EXPECT_EQ(postgres.databaseName, QStringLiteral("tqwall"));
}

TEST_F(LibraryDatabaseTest, SecondWriterWaitsForTheFirst)
{
    // A second connection's insert while another holds a write transaction waits for it instead
    // of failing at once with "database is locked": every connection carries a busy timeout.
    if (IsPostgres())
        GTEST_SKIP() << "PostgreSQL's own locking needs no busy timeout";
    CTQDatabaseConfig config;
    config.path = LibraryPath();
    CADODatabase other;
    ASSERT_TRUE(other.Open(config));
    CADORecordset timeout;
    ASSERT_TRUE(timeout.Open(&other, QStringLiteral("PRAGMA busy_timeout")));
    int timeoutMs = 0;
    timeout.GetFieldValue(QStringLiteral("timeout"), timeoutMs);
    EXPECT_GE(timeoutMs, 1000);

    ASSERT_TRUE(Db()->BeginTransaction());
    ASSERT_TRUE(Db()->Execute(QStringLiteral("INSERT INTO BSDaLei (Name) VALUES ('first')")));
    std::atomic<bool> started{false};
    std::atomic<int> result{-1};
    std::thread writer([&config, &started, &result] {
        CADODatabase second; // a connection belongs to the thread that opened it
        started = true;
        result =
            second.Open(config) ? second.Execute(QStringLiteral("INSERT INTO BSDaLei (Name) VALUES ('second')")) : 0;
    });
    while (!started)
        std::this_thread::yield();
    ASSERT_TRUE(Db()->CommitTransaction());
    writer.join();
    EXPECT_EQ(result.load(), 1);

    CADORecordset rows;
    ASSERT_TRUE(rows.Open(&other, QStringLiteral("SELECT Name FROM BSDaLei ORDER BY ID")));
    EXPECT_EQ(rows.GetRecordCount(), 2u);
}
