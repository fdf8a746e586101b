#include "host/db/TQPrecision.h"

#include "host/db/CTQDBGlobalSetting.h"

namespace {

// A decimals setting that is no number, or an absurd one, falls back to its default.
int Decimals(CTQSettingsTable::Key key)
{
    bool ok = false;
    const int value = CTQDBGlobalSetting::GetGlobalSetting()->GetValue(key).toInt(&ok);
    return ok && value >= 0 && value <= 10 ? value : CTQSettingsTable::Default(key).toInt();
}

} // namespace

namespace TQLoad {

int GetCrXsJd()
{
    return Decimals(CTQSettingsTable::CrXsDecimals);
}

int GetCrSjJd()
{
    return Decimals(CTQSettingsTable::CrSjDecimals);
}

int GetCrYcJd()
{
    return Decimals(CTQSettingsTable::CrYcDecimals);
}

int GetPropertyTheme()
{
    return CTQDBGlobalSetting::GetGlobalSetting()->GetValue(CTQSettingsTable::PropertyTheme).toInt();
}

} // namespace TQLoad
