// The roles of scripts/library-roles.sql on the test server: what an engineer may not change the
// server refuses with a message that says so and the dialog disables, a librarian changes it, and
// a user connects through a service and a password file without a password in the ini.
#include "DialogFixture.h"
#include "host/db/CTQLibraryPermissions.h"
#include "ui/materials/CTqUiStuffListDlg.h"

#include <QFile>
#include <QProcess>

namespace {

const QString kService = QStringLiteral("tqwall_office");
const QString kEngineer = QStringLiteral("tqwall_test_engineer");
const QString kLibrarian = QStringLiteral("tqwall_test_librarian");
const QString kLibrarianPassword = QStringLiteral("librarian-secret");

class LibraryRolesTest : public DialogFixture
{
protected:
    void SetUp() override
    {
        if (!IsPostgres())
            GTEST_SKIP() << "roles are PostgreSQL's";
        DialogFixture::SetUp();
        m_Harbin = AddCode(QStringLiteral("哈尔滨外墙"), m_Brick, m_Heilongjiang, 0);
        AddLayers(m_Harbin, QString::number(m_Clay), QStringLiteral("240"), QStringLiteral("1"));
        ASSERT_NO_FATAL_FAILURE(RunRolesScript());
        AddLogin(kEngineer, QStringLiteral("engineer-secret"), QStringLiteral("tqwall_engineer"));
        AddLogin(kLibrarian, kLibrarianPassword, QStringLiteral("tqwall_librarian"));

        // A service naming server, database and engineer; the passwords in a file of the user's.
        const CTQDatabaseConfig server = LibraryConfig();
        WriteFile(QStringLiteral("pg_service.conf"), QStringLiteral("[%1]\nhost=%2\nport=%3\ndbname=%4\nuser=%5\n")
                                                         .arg(kService, server.host)
                                                         .arg(server.port)
                                                         .arg(server.databaseName, kEngineer));
        const QString prefix = QStringLiteral("%1:%2:%3:").arg(server.host).arg(server.port).arg(server.databaseName);
        WriteFile(QStringLiteral("pgpass"), prefix + kEngineer + QStringLiteral(":engineer-secret\n"));
        qputenv("PGSERVICEFILE", m_Folder.filePath(QStringLiteral("pg_service.conf")).toLocal8Bit());
        qputenv("PGPASSFILE", m_Folder.filePath(QStringLiteral("pgpass")).toLocal8Bit());
    }

    void TearDown() override
    {
        qunsetenv("PGSERVICEFILE");
        qunsetenv("PGPASSFILE");
        DialogFixture::TearDown();
    }

    void RunRolesScript()
    {
        const CTQDatabaseConfig server = LibraryConfig();
        QProcess psql;
        psql.start(QStringLiteral("psql"), {"-q", "-h", server.host, "-p", QString::number(server.port), "-U",
                                            server.user, "-d", server.databaseName, "-f",
                                            QStringLiteral(TQWALL_SOURCE_DIR "/scripts/library-roles.sql")});
        ASSERT_TRUE(psql.waitForFinished(60000));
        ASSERT_EQ(psql.exitCode(), 0) << psql.readAllStandardError().toStdString();
    }

    // Roles belong to the server, not to the library: made afresh by every test.
    void AddLogin(const QString& name, const QString& password, const QString& group)
    {
        Exec(QStringLiteral("DROP ROLE IF EXISTS %1").arg(name));
        Exec(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2' IN ROLE %3").arg(name, password, group));
    }

    void WriteFile(const QString& name, const QString& text)
    {
        QFile file(m_Folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }

    /// The library a user's own ini names: the service, and `extra` settings of [Database].
    std::unique_ptr<CADODatabase> OpenAsUser(const QList<std::pair<QString, QString>>& extra, QString* error)
    {
        CTQDBGlobalSetting* settings = CTQDBGlobalSetting::GetGlobalSetting();
        QFile::remove(UserIni());
        settings->SetIniPath(UserIni());
        settings->WriteSysIni("Database", "Driver", "QPSQL");
        settings->WriteSysIni("Database", "Service", kService);
        for (const auto& [key, value] : extra)
            settings->WriteSysIni("Database", key, value);
        return CTQLibraryDatabase::Open(CTQLibraryDatabase::ConfigFromSettings(), error);
    }
    QString UserIni() const { return m_Folder.filePath(QStringLiteral("user.ini")); }

    /// Makes `database` the library of the settings, as the dialogs use it.
    void UseLibrary(std::unique_ptr<CADODatabase> database)
    {
        ASSERT_TRUE(database);
        CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(std::move(database));
    }

    static QString Refusal() { return CTQLibraryPermissions::RefusedText(); }
    QString CodeName(int id)
    {
        CTQBSCode code;
        EXPECT_TRUE(code.ReadData(id, nullptr));
        return code.Name;
    }

    int m_Harbin = 0;
};

TEST_F(LibraryRolesTest, AServiceAndAPasswordFileConnectWithoutAPasswordInTheIni)
{
    QString error;
    auto engineer = OpenAsUser({}, &error);
    ASSERT_TRUE(engineer) << error.toStdString();
    CADORecordset rows;
    ASSERT_TRUE(rows.Open(engineer.get(), QStringLiteral("SELECT current_user AS name")));
    QString user;
    rows.GetFieldValue(QStringLiteral("name"), user);
    EXPECT_EQ(user, kEngineer);
    const CTQLibraryPermissions& permissions = engineer->GetPermissions();
    EXPECT_TRUE(permissions.bMayChangeConstructions && permissions.bOnlyProvincial);
    EXPECT_FALSE(permissions.bMayChangeTypes || permissions.bMayChangeMaterials);
    QFile ini(UserIni());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_FALSE(ini.readAll().contains("Password"));
    EXPECT_EQ(ini.permissions() & ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser), 0);

    // The password came from the file: without it the server turns the same settings away.
    WriteFile(QStringLiteral("pgpass"), {});
    EXPECT_FALSE(OpenAsUser({}, &error));

    // A password still in the ini serves, with one warning that it should move.
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& message) { warnings.append(message); });
    auto librarian = OpenAsUser({{"User", kLibrarian}, {"Password", kLibrarianPassword}}, &error);
    EXPECT_TRUE(OpenAsUser({{"User", kLibrarian}, {"Password", kLibrarianPassword}}, &error));
    qInstallMessageHandler(previous);
    ASSERT_TRUE(librarian) << error.toStdString();
    EXPECT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings.value(0).contains(QLatin1String(".pgpass"))) << warnings.value(0).toStdString();
    EXPECT_FALSE(librarian->GetPermissions().bOnlyProvincial);
    EXPECT_TRUE(librarian->GetPermissions().bMayChangeTypes && librarian->GetPermissions().bMayChangeMaterials);
}

TEST_F(LibraryRolesTest, AnEngineerIsRefusedNationalAndCommonConstructionsAndALibrarianIsNot)
{
    QString error;
    ASSERT_NO_FATAL_FAILURE(UseLibrary(OpenAsUser({}, &error)));
    const auto refused = [this](const char* what, bool written) {
        EXPECT_FALSE(written) << what;
        EXPECT_TRUE(Db()->WasRefused()) << what;
        EXPECT_TRUE(CTQDBGlobalSetting::GetGlobalSetting()->DescribeFailure("x").endsWith(Refusal())) << what;
    };
    CTQBSCode national;
    ASSERT_TRUE(national.ReadData(m_Brick240, nullptr));
    national.Name = QStringLiteral("改名");
    refused("a national common construction renamed", national.UpdateData(m_Brick240, nullptr));
    CTQBSCode harbin;
    ASSERT_TRUE(harbin.ReadData(m_Harbin, nullptr));
    harbin.CommonFlag = 1;
    refused("a provincial construction made common", harbin.UpdateData(m_Harbin, nullptr));
    CTQBSCode added = harbin;
    added.Init();
    added.Name = QStringLiteral("新全国墙");
    added.BSTId = m_Brick;
    refused("a national construction added", added.AddIfNotExist(nullptr, 1) == TQLoad::DBS_Added);
    CTQBSType type;
    ASSERT_TRUE(type.ReadData(m_Brick, nullptr));
    type.Name = QStringLiteral("改名类型");
    refused("a type renamed", type.UpdateData(m_Brick, nullptr));
    // Its own province's constructions the engineer changes and adds.
    harbin.CommonFlag = 0;
    harbin.Name = QStringLiteral("哈尔滨外墙二");
    EXPECT_TRUE(harbin.UpdateData(m_Harbin, nullptr));
    added.ProvinceId = m_Heilongjiang;
    EXPECT_EQ(added.AddIfNotExist(nullptr, 1), TQLoad::DBS_Added);

    // The dialog disables what the server would refuse and says why.
    auto dialog = OpenOnCode(m_Brick240);
    const QString reserved = Db()->GetPermissions().ConstructionRefusal(0, 1);
    for (const char* name : {"addButton", "modifyButton", "deleteButton", "copyButton"}) {
        EXPECT_FALSE(Button(*dialog, name)->isEnabled()) << name;
        EXPECT_TRUE(Button(*dialog, name)->toolTip().contains(reserved)) << name;
    }
    for (const QString& item : ChooseFromListMenu(*dialog, 0))
        EXPECT_TRUE(item == QLatin1String("-") || item.endsWith(QLatin1String("(off)"))) << item.toStdString();
    // A deletion asked for anyway (the Delete key) is refused whole, and the message says why.
    Answer({QMessageBox::Ok, QMessageBox::Ok});
    QTest::keyClick(List(*dialog), Qt::Key_Delete);
    ASSERT_EQ(MessagesShown().size(), 2);
    EXPECT_EQ(MessagesShown()[1], QStringLiteral("删除表 \"BoundingStructure\" 时出错！\n") + Refusal());
    EXPECT_TRUE(RowExists("BSCode", m_Brick240));
    EXPECT_EQ(CountRows("BoundingStructure", "BSCId = ?", {m_Brick240}), 1);
    EXPECT_EQ(CodeName(m_Brick240), QStringLiteral("240砖墙"));
    dialog.reset();
    auto own = OpenOnCode(m_Harbin);
    for (const char* name : {"addButton", "modifyButton", "deleteButton", "copyButton"})
        EXPECT_TRUE(Button(*own, name)->isEnabled()) << name;
    own.reset();
    // Materials it only reads.
    CTqUiStuffListDlg materials;
    Show(materials);
    for (const char* name : {"addButton", "modifyButton", "deleteButton"})
        EXPECT_FALSE(Button(materials, name)->isEnabled()) << name;
    EXPECT_TRUE(Button(materials, "addButton")->toolTip().contains(QStringLiteral("没有修改材质库的权限")));
    materials.reject();

    // A librarian changes the national construction, from the dialog as well.
    ASSERT_NO_FATAL_FAILURE(
        UseLibrary(OpenAsUser({{"User", kLibrarian}, {"Password", kLibrarianPassword}}, &error)));
    EXPECT_TRUE(national.UpdateData(m_Brick240, nullptr)) << Db()->GetLastError().toStdString();
    EXPECT_EQ(CodeName(m_Brick240), QStringLiteral("改名"));
    auto librarians = OpenOnCode(m_Brick240);
    for (const char* name : {"addButton", "modifyButton", "deleteButton", "copyButton"})
        EXPECT_TRUE(Button(*librarians, name)->isEnabled()) << name;
}

} // namespace
