// The settings and ini storage, and opening a library database.
#include "host/db/CTQLibrarySchema.h"
#include "host/db/TQPrecision.h"
#include "support/LibraryFixture.h"

using namespace TQLoad;

using SettingsTest = LibraryFixture;

TEST_F(SettingsTest, IniValuesRoundTripAndTableNamesStayIdentifiers)
{
    CTQDBGlobalSetting* settings = CTQDBGlobalSetting::GetGlobalSetting();
    const auto write = [settings](const char* section, const char* key, const char* value) {
        settings->WriteSysIni(section, key, QString::fromUtf8(value));
    };
    write("Tables", "BSType", "MyTypes");
    EXPECT_EQ(settings->GetBSTypeTableName(), QStringLiteral("MyTypes"));
    write("Tables", "BSType", "x; DROP TABLE BSCode");
    EXPECT_EQ(settings->GetBSTypeTableName(), QStringLiteral("BSType")) << "a name that is no identifier is refused";
    write("Tables", "BoundingStructure", "Other");
    EXPECT_EQ(settings->GetBoundingStructureTableName(), QStringLiteral("BoundingStructure"));

    write("Precision", "CrXs", "3");
    write("Precision", "CrYc", "many");
    EXPECT_EQ(GetCrXsJd(), 3);
    EXPECT_EQ(GetCrSjJd(), 2);
    EXPECT_EQ(GetCrYcJd(), 1);
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
    ASSERT_TRUE(first->Execute(QStringLiteral("DROP TABLE TimberingVapour"))); // a library older than vapour data
    first.reset();

    auto second = CTQLibraryDatabase::Open(config, &error, &created);
    ASSERT_TRUE(second);
    EXPECT_FALSE(created) << "a library with data is not new";
    EXPECT_TRUE(CTQLibrarySchema::MissingTables(second.get()).isEmpty()) << "the missing table is made again";
    CADORecordset rows;
    EXPECT_TRUE(rows.Open(second.get(), QStringLiteral("SELECT * FROM BSDaLei")) && rows.GetRecordCount() == 1);
}

TEST_F(LibraryDatabaseTest, CommandLineBeatsEnvironmentBeatsIni)
{
    CTQDBGlobalSetting* settings = CTQDBGlobalSetting::GetGlobalSetting();
    settings->SetIniPath(m_Folder.filePath(QStringLiteral("fresh.ini")));
    settings->WriteSysIni("Database", "Path", "/ini/lib.sqlite");
    EXPECT_EQ(CTQLibraryDatabase::ConfigFromSettings().path, QStringLiteral("/ini/lib.sqlite"));
    qputenv("TQWALL_DB", "/env/lib.sqlite");
    EXPECT_EQ(CTQLibraryDatabase::ConfigFromSettings().path, QStringLiteral("/env/lib.sqlite"));
    EXPECT_EQ(CTQLibraryDatabase::ConfigFromSettings(QStringLiteral("/cli.sqlite")).path,
              QStringLiteral("/cli.sqlite"));
    qunsetenv("TQWALL_DB");

    settings->WriteSysIni("Database", "Driver", "QPSQL");
    const CTQDatabaseConfig postgres = CTQLibraryDatabase::ConfigFromSettings();
    EXPECT_EQ(postgres.driver, QStringLiteral("QPSQL"));
    EXPECT_EQ(postgres.port, 5432);
    EXPECT_EQ(postgres.databaseName, QStringLiteral("tqwall"));
}

// A connection's write while another holds a write transaction or lock waits for it (SQLite's busy
// timeout, PostgreSQL's lock_timeout) instead of failing at once: both connections carry one.
TEST_F(LibraryDatabaseTest, SecondWriterWaitsForTheFirst)
{
    const QString timeoutQuery = IsPostgres()
        ? QStringLiteral("SELECT CAST(setting AS INTEGER) AS timeout FROM pg_settings WHERE name = 'lock_timeout'")
        : QStringLiteral("PRAGMA busy_timeout");
    CADODatabase other;
    ASSERT_TRUE(other.Open(LibraryConfig()));
    for (CADODatabase* connection : {Db(), &other}) {
        CADORecordset timeout;
        ASSERT_TRUE(timeout.Open(connection, timeoutQuery));
        int timeoutMs = 0;
        timeout.GetFieldValue(QStringLiteral("timeout"), timeoutMs);
        EXPECT_GE(timeoutMs, 1000);
    }
}

TEST_F(LibraryDatabaseTest, KeptStatementsRunAgainAndFollowATableMadeAnew)
{
    Exec(QStringLiteral("INSERT INTO BSDaLei (Name, OrderId) VALUES ('外墙', 1)"));
    const QString byId = QStringLiteral("SELECT * FROM BSDaLei WHERE ID = ?");
    CADODatabase::StartStatementCount();
    for (int run = 0; run < 2; ++run) {
        CADORecordset rows;
        ASSERT_TRUE(rows.Open(Db(), byId, {1}));
        EXPECT_EQ(rows.GetRecordCount(), 1u);
    }
    CADODatabase::StopStatementCount();
    EXPECT_EQ(CADODatabase::GetStatementCount(), 2) << "a kept statement counts at every run";

    // The table made anew with another column: a statement kept on PostgreSQL is prepared again,
    // and SQLite, which keeps none, reads the new table as well.
    Exec(QStringLiteral("DROP TABLE BSDaLei"));
    Exec(QStringLiteral("CREATE TABLE BSDaLei (ID INTEGER PRIMARY KEY, Name TEXT, OrderId INTEGER, Extra INTEGER)"));
    Exec(QStringLiteral("INSERT INTO BSDaLei (ID, Name, OrderId, Extra) VALUES (1, '屋面', 2, 7)"));
    CADORecordset rows;
    ASSERT_TRUE(rows.Open(Db(), byId, {1})) << Db()->GetLastError().toStdString();
    QString name;
    int extra = 0;
    rows.GetFieldValue(QStringLiteral("Name"), name);
    rows.GetFieldValue(QStringLiteral("Extra"), extra);
    EXPECT_EQ(name, QStringLiteral("屋面"));
    EXPECT_EQ(extra, 7);
}
