#include "host/db/CTQSettingsTable.h"

#include <array>

namespace {

// Table names end up in statement text, so a configured name must be a plain identifier
// (checked by the settings singleton). "BoundingStructure" is fixed: the material usage check
// names that table in its own statement.
constexpr std::array<CTQSettingsTable::Entry, CTQSettingsTable::KeyCount> kEntries{{
    {CTQSettingsTable::BSDaLeiTable, "Tables", "BSDaLei", "BSDaLei"},
    {CTQSettingsTable::BSTypeTable, "Tables", "BSType", "BSType"},
    {CTQSettingsTable::BSCodeTable, "Tables", "BSCode", "BSCode"},
    {CTQSettingsTable::BoundingStructureTable, "Tables", "BoundingStructure", "BoundingStructure"},
    {CTQSettingsTable::TimberingTable, "Tables", "Timbering", "Timbering"},
    {CTQSettingsTable::TimberingTypeTable, "Tables", "TimberingType", "TimberingType"},
    {CTQSettingsTable::ProvinceTable, "Tables", "Province", "WallProvince"},
    {CTQSettingsTable::TimberingVapourTable, "Tables", "TimberingVapour", "TimberingVapour"},
    {CTQSettingsTable::DatabaseDriver, "Database", "Driver", "QSQLITE"},
    {CTQSettingsTable::DatabasePath, "Database", "Path", ""},
    {CTQSettingsTable::DatabaseHost, "Database", "Host", "localhost"},
    {CTQSettingsTable::DatabasePort, "Database", "Port", "5432"},
    {CTQSettingsTable::DatabaseName, "Database", "Name", "tqwall"},
    {CTQSettingsTable::DatabaseUser, "Database", "User", ""},
    {CTQSettingsTable::DatabasePassword, "Database", "Password", ""},
    {CTQSettingsTable::DatabaseService, "Database", "Service", ""},
    {CTQSettingsTable::DatabaseSSLMode, "Database", "SSLMode", ""},
    {CTQSettingsTable::CrXsDecimals, "Precision", "CrXs", "2"},
    {CTQSettingsTable::CrSjDecimals, "Precision", "CrSj", "2"},
    {CTQSettingsTable::CrYcDecimals, "Precision", "CrYc", "1"},
    {CTQSettingsTable::DynamicMethod, "Calculation", "DynamicMethod", "GB50176"},
    {CTQSettingsTable::PropertyTheme, "UI", "PropertyTheme", "0"},
    // Conditions of the condensation check: °C and % relative humidity. An empty outdoor
    // temperature means the design value of the construction's climate zone.
    {CTQSettingsTable::CondensationIndoorTemperature, "Condensation", "IndoorTemperature", "18"},
    {CTQSettingsTable::CondensationIndoorHumidity, "Condensation", "IndoorHumidity", "60"},
    {CTQSettingsTable::CondensationOutdoorTemperature, "Condensation", "OutdoorTemperature", ""},
    {CTQSettingsTable::CondensationOutdoorHumidity, "Condensation", "OutdoorHumidity", "80"},
}};

} // namespace

const CTQSettingsTable::Entry& CTQSettingsTable::Get(Key key)
{
    return kEntries.at(static_cast<std::size_t>(key));
}

QString CTQSettingsTable::Section(Key key)
{
    return QString::fromLatin1(Get(key).section);
}

QString CTQSettingsTable::Name(Key key)
{
    return QString::fromLatin1(Get(key).name);
}

QString CTQSettingsTable::Default(Key key)
{
    return QString::fromLatin1(Get(key).defaultValue);
}
