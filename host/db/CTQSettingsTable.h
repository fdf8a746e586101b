#pragma once

#include "host/TQHostExport.h"

#include <QString>

/// Every setting the library reads from the ini storage, with its section, key and default, in
/// one table.
class TQHOST_EXPORT CTQSettingsTable
{
public:
    enum Key
    {
        BSDaLeiTable,
        BSTypeTable,
        BSCodeTable,
        BoundingStructureTable,
        TimberingTable,
        TimberingTypeTable,
        ProvinceTable,
        TimberingVapourTable,
        DatabaseDriver,
        DatabasePath,
        DatabaseHost,
        DatabasePort,
        DatabaseName,
        DatabaseUser,
        DatabasePassword,
        DatabaseService,
        DatabaseSSLMode,
        CrXsDecimals,
        CrSjDecimals,
        CrYcDecimals,
        DynamicMethod,
        PropertyTheme,
        CondensationIndoorTemperature,
        CondensationIndoorHumidity,
        CondensationOutdoorTemperature,
        CondensationOutdoorHumidity,
        KeyCount
    };

    struct Entry
    {
        Key key;
        const char* section;
        const char* name;
        const char* defaultValue;
    };

    static const Entry& Get(Key key);
    static QString Section(Key key);
    static QString Name(Key key);
    static QString Default(Key key);
};
