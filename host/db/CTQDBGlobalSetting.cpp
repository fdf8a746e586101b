#include "host/db/CTQDBGlobalSetting.h"

#include "host/db/CADODatabase.h"
#include "host/walldata/CTQWallData.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString DefaultIniPath()
{
    const QByteArray fromEnvironment = qgetenv("TQWALL_INI");
    if (!fromEnvironment.isEmpty())
        return QString::fromLocal8Bit(fromEnvironment);
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/TQWall/tqwall.ini");
}

bool IsPlainIdentifier(const QString& name)
{
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,62}$"));
    return identifier.match(name).hasMatch();
}

} // namespace

CTQDBGlobalSetting* CTQDBGlobalSetting::GetGlobalSetting()
{
    // Never destroyed: Qt SQL's own connection registry may be gone by the time function-local
    // statics die, so the host closes the library (SetLoadParamDatabase(nullptr)) before exit.
    static CTQDBGlobalSetting* instance = new CTQDBGlobalSetting;
    return instance;
}

CTQDBGlobalSetting::CTQDBGlobalSetting() : m_pDatabase(std::make_unique<CADODatabase>())
{
    SetIniPath(DefaultIniPath());
}

CTQDBGlobalSetting::~CTQDBGlobalSetting() = default;

QString CTQDBGlobalSetting::TableName(CTQSettingsTable::Key key) const
{
    // Table names go into statement text: anything but a plain identifier falls back to the
    // default rather than letting the ini file change what a statement does.
    const QString name = GetValue(key);
    return IsPlainIdentifier(name) ? name : CTQSettingsTable::Default(key);
}

QString CTQDBGlobalSetting::GetBSDaLeiTableName() const
{
    return TableName(CTQSettingsTable::BSDaLeiTable);
}

QString CTQDBGlobalSetting::GetBSTypeTableName() const
{
    return TableName(CTQSettingsTable::BSTypeTable);
}

QString CTQDBGlobalSetting::GetBSCodeTableName() const
{
    return TableName(CTQSettingsTable::BSCodeTable);
}

QString CTQDBGlobalSetting::GetBoundingStructureTableName() const
{
    return CTQSettingsTable::Default(CTQSettingsTable::BoundingStructureTable);
}

QString CTQDBGlobalSetting::GetTimberingTableName() const
{
    return TableName(CTQSettingsTable::TimberingTable);
}

QString CTQDBGlobalSetting::GetTimberingTypeTableName() const
{
    return TableName(CTQSettingsTable::TimberingTypeTable);
}

QString CTQDBGlobalSetting::GetProvinceTableName() const
{
    return TableName(CTQSettingsTable::ProvinceTable);
}

QString CTQDBGlobalSetting::GetTimberingVapourTableName() const
{
    return TableName(CTQSettingsTable::TimberingVapourTable);
}

CADODatabase* CTQDBGlobalSetting::GetLoadParamDatabase() const
{
    return m_pDatabase.get();
}

void CTQDBGlobalSetting::SetLoadParamDatabase(std::unique_ptr<CADODatabase> database)
{
    m_pDatabase = database ? std::move(database) : std::make_unique<CADODatabase>();
}

QString CTQDBGlobalSetting::DescribeFailure(const QString& text) const
{
    if (!m_pDatabase->WasRefused())
        return text;
    return text + QLatin1Char('\n') + CTQLibraryPermissions::RefusedText();
}

QString CTQDBGlobalSetting::DatabaseErrorText() const
{
    return DescribeFailure(QStringLiteral("操作数据库时出错！"));
}

QString CTQDBGlobalSetting::GetSysIni(const QString& section, const QString& key, const QString& defaultValue) const
{
    return m_pSettings->value(section + QLatin1Char('/') + key, defaultValue).toString();
}

void CTQDBGlobalSetting::WriteSysIni(const QString& section, const QString& key, const QString& value)
{
    m_pSettings->setValue(section + QLatin1Char('/') + key, value);
    m_pSettings->sync();
    // The file may name the user's server and account: only its owner reads it.
    QFile::setPermissions(m_pSettings->fileName(), QFile::ReadOwner | QFile::WriteOwner);
    ReloadCachedValues();
}

QString CTQDBGlobalSetting::GetValue(CTQSettingsTable::Key key) const
{
    return GetSysIni(CTQSettingsTable::Section(key), CTQSettingsTable::Name(key), CTQSettingsTable::Default(key));
}

QString CTQDBGlobalSetting::GetIniPath() const
{
    return m_pSettings->fileName();
}

void CTQDBGlobalSetting::SetIniPath(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    m_pSettings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    ReloadCachedValues();
}

void CTQDBGlobalSetting::ReloadCachedValues()
{
    // Read once here, not at every evaluation of a wall.
    const QString method = GetValue(CTQSettingsTable::DynamicMethod);
    m_DynamicMethod = method.compare(QLatin1String("ISO13786"), Qt::CaseInsensitive) == 0 ? TQDynamicMethod::ISO13786
                                                                                        : TQDynamicMethod::GB50176;
    CTQWallData::SetDynamicMethod(m_DynamicMethod);
}
