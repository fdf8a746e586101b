// The settings and ini storage, and opening a library database.
#include "host/db/CTQLibrarySchema.h"
#include "host/db/TQPrecision.h"
#include "support/LibraryFixture.h"

#include <atomic>
#include <thread>

using namespace TQLoad;

using SettingsTest = LibraryFixture;

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

using LibraryDatabaseTest = LibraryFixture;

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
