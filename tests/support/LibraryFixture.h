#pragma once

#include "host/core/CTQUserWork.h"
#include "host/db/CADODatabase.h"
#include "host/db/CADORecordset.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "host/db/CTQLibraryDatabase.h"
#include "records/CTQBSCode.h"
#include "records/CTQBSType.h"
#include "records/CTQBoundingStructure.h"
#include "records/CTQTimbering.h"
#include "records/CTQTimberingType.h"
#include "records/CTQWallProvince.h"

#include "support/QtPrinters.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

/// A fresh library database for every test, attached as the library of the settings, with its
/// own ini file and user folder, and helpers that add rows (AddType, AddCode, ...).
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
            settings->WriteSysIni("Database", "Driver", config.driver);
            settings->WriteSysIni("Database", "Host", config.host);
            settings->WriteSysIni("Database", "Port", QString::number(config.port));
            settings->WriteSysIni("Database", "Name", config.databaseName);
            settings->WriteSysIni("Database", "User", config.user);
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

    /// (Re)opens the library; `readOnly` opens it so that every write is refused (an SQLite file
    /// without write access, a PostgreSQL session whose transactions are read-only).
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
        std::tie(config.host, config.port, config.databaseName, config.user) =
            std::tuple(parts.value(0), parts.value(1).toInt(), parts.value(2), parts.value(3));
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

    /// The number in column N of the first row `sql` gives (a count, an ID).
    int Number(const QString& sql, const QVariantList& values = {})
    {
        CADORecordset rows;
        EXPECT_TRUE(rows.Open(Db(), sql, values)) << Db()->GetLastError().toStdString();
        int number = 0;
        rows.GetFieldValue(QStringLiteral("N"), number);
        return number;
    }
    /// Rows of `table` (that match `where`).
    int CountRows(const QString& table, const QString& where = {}, const QVariantList& values = {})
    {
        const QString sql = QStringLiteral("SELECT COUNT(*) AS N FROM %1").arg(table);
        return Number(where.isEmpty() ? sql : sql + QStringLiteral(" WHERE ") + where, values);
    }
    bool RowExists(const QString& table, int id) { return CountRows(table, QStringLiteral("ID = ?"), {id}) > 0; }
    /// The highest ID of `table`: the row a statement under test added last.
    int LastId(const QString& table) { return Number(QStringLiteral("SELECT MAX(ID) AS N FROM %1").arg(table)); }
    /// Inserts one row straight into `table` and returns its ID (the Add functions below).
    int Insert(const QString& table, const QString& columns, const QVariantList& values)
    {
        const QString marks = QStringList(values.size(), QStringLiteral("?")).join(QLatin1Char(','));
        return Number(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING ID AS N").arg(table, columns, marks), values);
    }
    int AddCategory(const QString& name, int order) { return Insert("BSDaLei", "Name, OrderId", {name, order}); }
    int AddProvince(const QString& name, int zone) { return Insert("WallProvince", "Name, CId", {name, zone}); }
    int AddType(const QString& name, int categoryId) { return Insert("BSType", "Name, BSDLId", {name, categoryId}); }
    int AddCode(const QString& name, int typeId, int provinceId, int common)
    {
        return Insert("BSCode", "Name, BSTId, ProvinceId, CommonFlag", {name, typeId, provinceId, common});
    }
    int AddMaterialType(const QString& name) { return Insert("TimberingType", "Name", {name}); }
    int AddMaterial(const QString& name, int typeId, int provinceId, int common, double density, double conductivity,
                    double specificHeat)
    {
        return Insert("Timbering", "Name, TTId, ProvinceID, CommonFlag, GMD, DrXs, BRr",
                      {name, typeId, provinceId, common, density, conductivity, specificHeat});
    }
    /// The layer set of a construction: material IDs, thicknesses in mm and factors as comma lists.
    void AddLayers(int codeId, const QString& ids, const QString& thicknesses, const QString& factors)
    {
        Insert("BoundingStructure", "BSCId, TIdS, HouDuS, XzXsS", {codeId, ids, thicknesses, factors});
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
              settings->GetTimberingTypeTableName(), settings->GetProvinceTableName(),
              settings->GetTimberingVapourTableName()})
            ASSERT_TRUE(database.Execute(QStringLiteral("DROP TABLE IF EXISTS %1").arg(table)))
                << database.GetLastError().toStdString();
    }
};
