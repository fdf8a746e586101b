#pragma once

#include "TQWallExport.h"
#include "host/core/CTQDBObject.h"

#include <QString>

/// The values of a province: its name and the grouping number stored with it (the thermal
/// climate zone in the default library).
class TQWALL_EXPORT CTQWallProvinceData : public CTQDBObject
{
public:
    CTQWallProvinceData();
    CTQWallProvinceData(const CTQWallProvinceData&) = default;
    CTQWallProvinceData& operator=(const CTQWallProvinceData&) = default;
    ~CTQWallProvinceData() override;

    void Init() override;

    int CId = 0;
    QString Name;
};
