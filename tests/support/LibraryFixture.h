#pragma once

#include "host/db/CADODatabase.h"
#include "host/db/CADORecordset.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "host/db/CTQLibraryDatabase.h"
#include "host/core/CTQUserWork.h"

#include "support/QtPrinters.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

/// A fresh library database for every test, attached as the library of the settings, with its
/// own ini file and user folder.
///
/// The library is an SQLite file in a temporary folder. With TQWALL_TEST_PSQL set to
/// "host:port:database:user" it is that PostgreSQL database instead, its library tables dropped
/// and made again for every test, so the same tests show that both engines give the same rows.
class LibraryFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Folder.isValid());
        CTQDBGlobalSetting* settings = CTQDBGlobalSetting::GetGlobalSetting();
        settings->SetIniPath(m_Folder.filePath(QStringLiteral("tqwall.ini")));
        CTQUserWork::GetUserWork()->SetUserDataDir(m_Folder.filePath(QStringLiteral("user")));
        if (IsPostgres()) {
            // The settings name the server, so code that opens "the library of the settings"
            // opens it too.
            const CTQDatabaseConfig config = LibraryConfig();
            settings->WriteSysIni(QStringLiteral("Database"), QStringLiteral("Driver"), config.driver);
            settings->WriteSysIni(QStringLiteral("Database"), QStringLiteral("Host"), config.host);
            settings->WriteSysIni(QStringLiteral("Database"), QStringLiteral("Port"), QString::number(config.port));
            settings->WriteSysIni(QStringLiteral("Database"), QStringLiteral("Name"), config.databaseName);
            settings->WriteSysIni(QStringLiteral("Database"), QStringLiteral("User"), config.user);
            DropLibraryTables();
        }
        OpenLibrary();
    }

    void TearDown() override
    {
        CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(nullptr);
        CTQUserWork::GetUserWork()->SetUserDataDir({});
    }

    static bool IsPostgres() { return !qEnvironmentVariableIsEmpty("TQWALL_TEST_PSQL"); }

    /// (Re)opens the library; `readOnly` opens an SQLite file without write access.
    void OpenLibrary(bool readOnly = false)
    {
        CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(nullptr);
        CTQDatabaseConfig config = LibraryConfig();
        config.readOnly = readOnly;
        QString error;
        auto database = CTQLibraryDatabase::Open(config, &error);
        ASSERT_TRUE(database) << error.toStdString();
        CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(std::move(database));
    }

    CTQDatabaseConfig LibraryConfig() const
    {
        CTQDatabaseConfig config;
        if (!IsPostgres()) {
            config.path = LibraryPath();
            return config;
        }
        const QStringList parts = qEnvironmentVariable("TQWALL_TEST_PSQL").split(QLatin1Char(':'));
        config.driver = QStringLiteral("QPSQL");
        config.host = parts.value(0);
        config.port = parts.value(1).toInt();
        config.databaseName = parts.value(2);
        config.user = parts.value(3);
        return config;
    }

    /// What the command line takes as --db: the SQLite file, or nothing where the settings name
    /// the PostgreSQL library.
    QString CommandLinePath() const { return IsPostgres() ? QString() : LibraryPath(); }
    QString LibraryPath() const { return m_Folder.filePath(QStringLiteral("library.sqlite")); }
    CADODatabase* Db() const { return CTQDBGlobalSetting::GetGlobalSetting()->GetLoadParamDatabase(); }

    /// Runs a statement straight on the library, for setting up rows the records would refuse.
    void Exec(const QString& sql, const QVariantList& values = {})
    {
        ASSERT_TRUE(Db()->Execute(sql, values)) << Db()->GetLastError().toStdString();
    }

    QTemporaryDir m_Folder;

private:
    void DropLibraryTables()
    {
        CADODatabase database;
        ASSERT_TRUE(database.Open(LibraryConfig())) << database.GetLastError().toStdString();
        const CTQDBGlobalSetting* settings = CTQDBGlobalSetting::GetGlobalSetting();
        for (const QString& table :
             {settings->GetBSDaLeiTableName(), settings->GetBSTypeTableName(), settings->GetBSCodeTableName(),
              settings->GetBoundingStructureTableName(), settings->GetTimberingTableName(),
              settings->GetTimberingTypeTableName(), settings->GetProvinceTableName()})
            ASSERT_TRUE(database.Execute(QStringLiteral("DROP TABLE IF EXISTS %1").arg(table)))
                << database.GetLastError().toStdString();
    }
};
