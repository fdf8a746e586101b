#pragma once

#include "TQWallExport.h"
#include "host/db/tagDBSTRUCT.h"
#include "records/CTQWallProvinceData.h"
#include "records/TQDBStatusCode.h"
#include "records/TQKeyQuery.h"

/// A province record. Constructions and materials refer to it by its ID; 0 there means
/// national. Its key is CId and name.
class TQWALL_EXPORT CTQWallProvince : public tagDBSTRUCT, public CTQWallProvinceData
{
public:
    CTQWallProvince();
    CTQWallProvince(const CTQWallProvince&) = default;
    CTQWallProvince& operator=(const CTQWallProvince&) = default;
    ~CTQWallProvince() override;

    QString GetTableName() const override;
    void Init() override;

    TQLoad::DBStatusCode IsExist(CADODatabase* database);
    TQLoad::DBStatusCode AddIfNotExist(CADODatabase* database, int takeOver);
    TQLoad::DBStatusCode UpdateIfNoOther(CADODatabase* database, int takeOver);

    TQKeyQuery GetKeyQuery() const;
    void CopyKeyTo(CTQWallProvince& other) const;

    static void UpdateProvinceTableData(CADODatabase* from, CADODatabase* to);

protected:
    int GetDataFromRecordSet(CADORecordset& recordset) override;
    int SetDataToRecordSet(CADORecordset& recordset) override;
};
