// What the records store and read back exactly, and how they fail: every fault of the database
// gives a failure status and a text that says what happened, and leaves the library as it was
// (hostile names: HostileNameTest).
#include "records/CTQBSCategory.h"
#include "support/LibraryFixture.h"

#include <QFile>

#include <cmath>
#include <functional>
#include <limits>

using namespace TQLoad;

using RecordStorageTest = LibraryFixture;

TEST_F(RecordStorageTest, ValuesRoundTripExactly)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::tuple<double, double, double> cases[] = {{0.1 + 0.2, 1.0 / 3.0, 1e-300}, {nan, inf, -inf}};
    for (const auto& [density, conductivity, heat] : cases) {
        CTQTimbering material;
        material.Init();
        material.SetStuffName(QStringLiteral("加气混凝土、泡沫混凝土 ρ=%1").arg(density));
        material.SetGMD(density);
        material.SetDrXs(conductivity);
        material.SetBRr(heat);
        material.SetCommonFlag(1);
        material.SetProvinceID(12);
        material.TTId = 3;
        ASSERT_EQ(material.AddIfNotExist(nullptr, 1), DBS_Added);

        CTQTimbering stored;
        ASSERT_TRUE(stored.ReadData(material.GetID(), nullptr));
        // Bit for bit, a NaN as a NaN on both engines.
        const auto fields = [](const CTQTimbering& m) {
            return std::tuple(m.GetStuffName(), std::isnan(m.GetGMD()) ? -1.0 : m.GetGMD(), m.GetDrXs(), m.GetBRr(),
                              m.GetCommonFlag(), m.GetProvinceID(), m.TTId);
        };
        EXPECT_EQ(fields(stored), fields(material));
        EXPECT_EQ(stored.GetStuffID(), stored.GetID());
    }
}

// Rows of an older library may hold NULL where the records write a value.
TEST_F(RecordStorageTest, NullColumnsReadAsEmptyAndZeroAndMatchEmptyNames)
{
    Exec("INSERT INTO BSCode (Name, BSTId, CommonFlag, ProvinceId) VALUES (NULL, 3, NULL, NULL)");
    // SQLite keeps a text in a number column; PostgreSQL refuses it, so there it is the default.
    Exec(IsPostgres() ? "INSERT INTO Timbering (Name, GMD, BRr) VALUES (NULL, NULL, NULL)"
                      : "INSERT INTO Timbering (Name, GMD, DrXs, BRr) VALUES (NULL, NULL, 'abc', NULL)");
    Exec("INSERT INTO BSDaLei (Name) VALUES (NULL)");
    Exec("INSERT INTO BSType (Name, BSDLId) VALUES (NULL, 4)");

    CTQBSCode code;
    code.Name = QStringLiteral("占位");
    code.CommonFlag = 9;
    ASSERT_TRUE(code.ReadData(1, nullptr));
    EXPECT_EQ(std::tuple(code.Name, code.CommonFlag, code.BSTId, code.ProvinceId), std::tuple(QStringLiteral(""), 0, 3, 0));
    CTQTimbering material;
    ASSERT_TRUE(material.ReadData(1, nullptr));
    EXPECT_TRUE(material.GetStuffName().isEmpty());
    EXPECT_EQ(material.GetDrXs(), 0.0) << "a text in a number column reads as 0, never as a guess";
    CTQBSCategory category;
    ASSERT_TRUE(category.ReadData(1, nullptr));
    EXPECT_TRUE(category.Name.isEmpty());

    // A NULL name is the empty name, a NULL province the national one.
    CTQBSType type;
    EXPECT_EQ(type.IsExist(nullptr), DBS_Exist);
    EXPECT_EQ(type.BSDLId, 4);
    CTQBSCode national;
    national.BSTId = 3;
    EXPECT_EQ(national.AddIfNotExist(nullptr, 1), DBS_Exist);
    EXPECT_EQ(CTQBSCode::HasBSCode(QStringLiteral(""), nullptr), national.GetID());
}

TEST_F(RecordStorageTest, WithoutTablesOrLibraryEveryCallFails)
{
    EXPECT_EQ(CTQTimbering::HasTimbering("任何", nullptr), 0) << "an empty table is no failure";
    EXPECT_EQ(CTQBoundingStructure::HasBoundingStructure(1, 1, nullptr), 0);
    Exec("INSERT INTO BoundingStructure (BSCId, TId) VALUES (3, 4)");
    EXPECT_EQ(CTQBoundingStructure::HasBoundingStructure(3, 4, nullptr), 1);

    const std::pair<const char*, std::function<void()>> faults[] = {
        {"missing tables",
         [this] {
             for (const char* table : {"BSCode", "Timbering", "TimberingType", "BoundingStructure"})
                 Exec(QStringLiteral("DROP TABLE %1").arg(table));
         }},
        {"no library", [] { CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(nullptr); }},
    };
    for (const auto& [what, fault] : faults) {
        OpenLibrary();
        fault();
        CTQBSCode code;
        code.Name = QStringLiteral("砖墙");
        EXPECT_EQ(code.IsExist(nullptr), DBS_Failed) << what;
        EXPECT_EQ(code.AddIfNotExist(nullptr, 1), DBS_Failed) << what;
        EXPECT_EQ(code.UpdateIfNoOther(nullptr, 1), DBS_Failed) << what;
        EXPECT_EQ(code.ReadData(1, nullptr), 0) << what;
        EXPECT_EQ(code.Name, QStringLiteral("砖墙")) << "a failed check leaves the record as it was";
        EXPECT_EQ(CTQBSCode::HasBSCode("砖墙", nullptr), -1) << what;
        EXPECT_EQ(CTQTimbering::HasTimbering("砖", nullptr), -1) << what;
        EXPECT_EQ(CTQTimberingType::HasTimberingType("x", nullptr), -1) << what;
        EXPECT_EQ(CTQBoundingStructure::HasBoundingStructure(3, 4, nullptr), -1) << what;
    }
}

TEST_F(RecordStorageTest, AWriteTheDatabaseRefusesSaysWhyAndChangesNothing)
{
    CADODatabase other; // another process
    // what, runs on PostgreSQL, runs on SQLite, the fault, the start of the message
    const std::tuple<const char*, bool, bool, std::function<void()>, QString> cases[] = {
        {"a library locked past the timeout", true, true,
         [&] {
             // The write lock of another process: SQLite's of the whole file, PostgreSQL's of the table.
             CTQDatabaseConfig config = LibraryConfig();
             ASSERT_TRUE(other.Open(config));
             if (IsPostgres())
                 ASSERT_TRUE(other.BeginTransaction() && other.Execute("LOCK TABLE BSType IN EXCLUSIVE MODE"));
             else
                 ASSERT_TRUE(other.BeginExclusiveTransaction());
             config.busyTimeoutMs = 200;
             auto impatient = CTQLibraryDatabase::Open(config, nullptr);
             ASSERT_TRUE(impatient);
             CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(std::move(impatient));
         },
         "围护结构库正被另一个程序占用"},
        {"a read-only library", true, true, [this] { OpenLibrary(/*readOnly=*/true); }, "围护结构库是只读的"},
        // The file cannot grow past its present size (SQLite only: a server's disk cannot be filled).
        {"a full disk", false, true, [this] { Exec("PRAGMA max_page_count = 1"); }, "磁盘已满"},
        {"a lost server", true, false, [this] { Db()->Execute("SELECT pg_terminate_backend(pg_backend_pid())"); },
         "与数据库服务器的连接已断开"},
    };
    const QString name(200000, QChar(u'满')); // more than a full file can take
    for (const auto& [what, postgres, sqlite, fault, reason] : cases) {
        if (!(IsPostgres() ? postgres : sqlite))
            continue;
        SCOPED_TRACE(what);
        OpenLibrary();
        CTQBSType stored;
        ASSERT_TRUE(stored.ReadData(AddType(QStringLiteral("原名%1").arg(what), 0), nullptr));
        const int before = CountRows("BSType");
        fault();
        ASSERT_FALSE(HasFatalFailure());

        CTQBSType type;
        type.Name = name;
        EXPECT_EQ(type.AddIfNotExist(nullptr, 1), DBS_Failed);
        EXPECT_EQ(type.GetID(), 0);
        EXPECT_TRUE(Db()->GetLastError().startsWith(reason)) << Db()->GetLastError().toStdString();
        CTQBSType renamed = stored;
        renamed.Name = name;
        EXPECT_EQ(renamed.UpdateIfNoOther(nullptr, 1), DBS_Failed);

        other.Close();
        OpenLibrary();
        EXPECT_EQ(CountRows("BSType"), before) << "nothing was stored";
        CTQBSType reread;
        ASSERT_TRUE(reread.ReadData(stored.GetID(), nullptr));
        EXPECT_EQ(reread.Name, stored.Name);
    }
}

TEST_F(RecordStorageTest, ALibraryThatIsNotOneIsRefusedOnOpenWithAReason)
{
    Exec("ALTER TABLE BSCode DROP COLUMN CommonFlag");
    QString error;
    EXPECT_EQ(CTQLibraryDatabase::Open(LibraryConfig(), &error), nullptr);
    EXPECT_TRUE(error.startsWith("围护结构库的表缺少列：BSCode.CommonFlag")) << error.toStdString();
    if (IsPostgres())
        return;
    CTQDatabaseConfig garbage = LibraryConfig();
    garbage.path = m_Folder.filePath("garbage.sqlite");
    QFile file(garbage.path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray(4096, 'x')) == 4096);
    file.close();
    EXPECT_EQ(CTQLibraryDatabase::Open(garbage, &error), nullptr);
    EXPECT_TRUE(error.startsWith("文件不是围护结构库数据库")) << error.toStdString();
}
