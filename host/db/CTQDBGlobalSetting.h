#pragma once

#include "host/db/CADODatabase.h"
#include "host/db/CTQSettingsTable.h"
#include "host/TQHostExport.h"
#include "host/thermal/TQWallCharacter.h"

#include <QString>
#include <memory>

class QSettings;

/// The host's settings: the library's table names, the open library database and the ini
/// storage. One instance per process.
class TQHOST_EXPORT CTQDBGlobalSetting
{
public:
    /// The process-wide instance; never null.
    static CTQDBGlobalSetting* GetGlobalSetting();

    CTQDBGlobalSetting(const CTQDBGlobalSetting&) = delete;
    CTQDBGlobalSetting& operator=(const CTQDBGlobalSetting&) = delete;

    QString GetBSDaLeiTableName() const;
    QString GetBSTypeTableName() const;
    QString GetBSCodeTableName() const;
    QString GetBoundingStructureTableName() const;
    QString GetTimberingTableName() const;
    QString GetTimberingTypeTableName() const;
    QString GetProvinceTableName() const;
    /// Vapour permeability of materials, one row per material that has one.
    QString GetTimberingVapourTableName() const;

    /// The database of the library tables. Never null: before a library is opened it is a
    /// closed database on which every statement fails.
    CADODatabase* GetLoadParamDatabase() const;
    /// Takes over the open library database (null detaches it).
    void SetLoadParamDatabase(std::unique_ptr<CADODatabase> database);

    /// `text`, the message of a failed action on the library, with on a line of its own why when the
    /// server refused the last statement to this role: trying again will not help.
    QString DescribeFailure(const QString& text) const;
    /// "操作数据库时出错！" described so: the message of every failed read or write of the library.
    QString DatabaseErrorText() const;

    QString GetSysIni(const QString& section, const QString& key, const QString& defaultValue) const;
    void WriteSysIni(const QString& section, const QString& key, const QString& value);
    /// A setting of the table, or its default.
    QString GetValue(CTQSettingsTable::Key key) const;

    /// The ini file; by default "tqwall.ini" in the user's configuration folder.
    QString GetIniPath() const;
    void SetIniPath(const QString& path);

    /// Method for attenuation and delay, from "[Calculation] DynamicMethod" (GB50176 or ISO13786).
    TQDynamicMethod GetDynamicMethod() const { return m_DynamicMethod; }

private:
    CTQDBGlobalSetting();
    ~CTQDBGlobalSetting();

    QString TableName(CTQSettingsTable::Key key) const;
    void ReloadCachedValues();

    std::unique_ptr<QSettings> m_pSettings;
    std::unique_ptr<CADODatabase> m_pDatabase;
    TQDynamicMethod m_DynamicMethod = TQDynamicMethod::GB50176;
};
