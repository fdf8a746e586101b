#pragma once

#include "host/CADODatabase.h"
#include "host/CADORecordset.h"
#include "host/CTQDBGlobalSetting.h"
#include "host/CTQLibraryDatabase.h"
#include "host/CTQUserWork.h"

#include "support/QtPrinters.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

/// A fresh library database in a temporary folder for every test, attached as the library of
/// the settings, with its own ini file and user folder.
class LibraryFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Folder.isValid());
        CTQDBGlobalSetting::GetGlobalSetting()->SetIniPath(m_Folder.filePath(QStringLiteral("tqwall.ini")));
        CTQUserWork::GetUserWork()->SetUserDataDir(m_Folder.filePath(QStringLiteral("user")));
        OpenLibrary();
    }

    void TearDown() override
    {
        CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(nullptr);
        CTQUserWork::GetUserWork()->SetUserDataDir({});
    }

    /// (Re)opens the library file; `readOnly` opens it without write access.
    void OpenLibrary(bool readOnly = false)
    {
        CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(nullptr);
        CTQDatabaseConfig config;
        config.path = LibraryPath();
        config.readOnly = readOnly;
        QString error;
        auto database = CTQLibraryDatabase::Open(config, &error);
        ASSERT_TRUE(database) << error.toStdString();
        CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(std::move(database));
    }

    QString LibraryPath() const { return m_Folder.filePath(QStringLiteral("library.sqlite")); }
    CADODatabase* Db() const { return CTQDBGlobalSetting::GetGlobalSetting()->GetLoadParamDatabase(); }

    /// Runs a statement straight on the library, for setting up rows the records would refuse.
    void Exec(const QString& sql, const QVariantList& values = {})
    {
        ASSERT_TRUE(Db()->Execute(sql, values)) << Db()->GetLastError().toStdString();
    }

    QTemporaryDir m_Folder;
};
