// Faults of the database: each gives a failure status or a refused open with a text that says
// what happened, and leaves the library as it was.
#include "records/CTQBSType.h"
#include "support/LibraryFixture.h"

#include <QFile>

using namespace TQLoad;

class DatabaseFaultTest : public LibraryFixture
{
protected:
    int Types()
    {
        CADORecordset rows;
        EXPECT_TRUE(rows.Open(Db(), QStringLiteral("SELECT ID FROM BSType")));
        return static_cast<int>(rows.GetRecordCount());
    }
    /// Adds a type and expects it refused with a message that starts with `reason`.
    void ExpectRefused(const QString& name, const QString& reason)
    {
        const int before = Types();
        CTQBSType type;
        type.Name = name;
        EXPECT_EQ(type.AddIfNotExist(nullptr, 1), DBS_Failed);
        EXPECT_TRUE(Db()->GetLastError().startsWith(reason)) << Db()->GetLastError().toStdString();
        EXPECT_EQ(Types(), before) << "nothing was stored";
    }
};

TEST_F(DatabaseFaultTest, ALibraryLockedPastTheTimeoutRefusesTheWrite)
{
    // Another process holds the write lock: SQLite's of the whole file, PostgreSQL's of the table.
    CTQDatabaseConfig config = LibraryConfig();
    CADODatabase other;
    ASSERT_TRUE(other.Open(config));
    if (IsPostgres()) {
        ASSERT_TRUE(other.BeginTransaction());
        ASSERT_TRUE(other.Execute(QStringLiteral("LOCK TABLE BSType IN EXCLUSIVE MODE")));
    } else {
        ASSERT_TRUE(other.BeginExclusiveTransaction());
    }
    config.busyTimeoutMs = 200;
    auto impatient = CTQLibraryDatabase::Open(config, nullptr);
    ASSERT_TRUE(impatient);
    CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(std::move(impatient));
    ExpectRefused(QStringLiteral("锁住时"), QStringLiteral("围护结构库正被另一个程序占用"));
    other.RollbackTransaction();
}

TEST_F(DatabaseFaultTest, AFullDiskRefusesTheWrite)
{
    if (IsPostgres())
        GTEST_SKIP() << "SQLite only: a PostgreSQL server's disk cannot be filled from here";
    CADORecordset pages;
    ASSERT_TRUE(pages.Open(Db(), QStringLiteral("PRAGMA page_count")));
    int count = 0;
    pages.GetFieldValue(QStringLiteral("page_count"), count);
    Exec(QStringLiteral("PRAGMA max_page_count = %1").arg(count)); // the file cannot grow: a full disk
    ExpectRefused(QString(200000, QChar(u'满')), QStringLiteral("磁盘已满"));
}

TEST_F(DatabaseFaultTest, AReadOnlyLibraryRefusesTheWrite)
{
    OpenLibrary(true);
    ExpectRefused(QStringLiteral("只读时"), QStringLiteral("围护结构库是只读的"));
}

TEST_F(DatabaseFaultTest, ALostServerRefusesTheWrite)
{
    if (!IsPostgres())
        GTEST_SKIP() << "an SQLite library has no server";
    CADORecordset pid;
    ASSERT_TRUE(pid.Open(Db(), QStringLiteral("SELECT pg_backend_pid() AS pid")));
    int backend = 0;
    pid.GetFieldValue(QStringLiteral("pid"), backend);
    CADODatabase admin;
    ASSERT_TRUE(admin.Open(LibraryConfig()));
    ASSERT_TRUE(admin.Execute(QStringLiteral("SELECT pg_terminate_backend(?)"), {backend}));
    CTQBSType type;
    type.Name = QStringLiteral("断线时");
    EXPECT_EQ(type.AddIfNotExist(nullptr, 1), DBS_Failed);
    EXPECT_TRUE(Db()->GetLastError().startsWith(QStringLiteral("与数据库服务器的连接已断开")))
        << Db()->GetLastError().toStdString();
    OpenLibrary();
    EXPECT_EQ(Types(), 0) << "nothing was stored";
}

TEST_F(DatabaseFaultTest, ALibraryThatIsNotOneIsRefusedWithAReason)
{
    struct Case
    {
        const char* what;
        QString setup;
        QString reason;
    };
    const Case cases[] = {
        {"a table without its column", QStringLiteral("ALTER TABLE BSCode DROP COLUMN CommonFlag"),
         QStringLiteral("围护结构库的表缺少列：BSCode.CommonFlag")},
        {"a file that is no database", {}, QStringLiteral("文件不是围护结构库数据库")},
    };
    for (const Case& c : cases) {
        CTQDatabaseConfig config = LibraryConfig();
        if (!c.setup.isEmpty()) {
            Exec(c.setup);
        } else {
            if (IsPostgres())
                continue;
            config.path = m_Folder.filePath(QStringLiteral("garbage.sqlite"));
            QFile file(config.path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, 'x'));
        }
        QString error;
        EXPECT_EQ(CTQLibraryDatabase::Open(config, &error), nullptr) << c.what;
        EXPECT_TRUE(error.startsWith(c.reason)) << c.what << ": " << error.toStdString();
    }
}
