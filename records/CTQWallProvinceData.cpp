#include "records/CTQWallProvinceData.h"

CTQWallProvinceData::CTQWallProvinceData()
{
    CTQWallProvinceData::Init();
}

CTQWallProvinceData::~CTQWallProvinceData() = default;

void CTQWallProvinceData::Init()
{
    CTQDBObject::Init();
    CId = 0;
    Name.clear();
}
