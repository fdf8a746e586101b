#pragma once

#include "TQWallExport.h"
#include "host/walldata/CTQMateralData.h"
#include "host/db/tagDBSTRUCT.h"
#include "records/TQDBStatusCode.h"
#include "records/TQKeyQuery.h"

/// A material of the library. It is the wall-data component's material object at the same time,
/// so a material read here can be handed on as it is. Its key is name and province.
class TQWALL_EXPORT CTQTimbering : public CTQMateralData, public tagDBSTRUCT
{
public:
    CTQTimbering();
    CTQTimbering(const CTQTimbering&) = default;
    CTQTimbering& operator=(const CTQTimbering&) = default;
    ~CTQTimbering() override;

    QString GetTableName() const override;
    /// Resets both the material values and the record ID; TTId is kept.
    void Init() override;

    TQLoad::DBStatusCode IsExist(CADODatabase* database);
    TQLoad::DBStatusCode AddIfNotExist(CADODatabase* database, int takeOver);
    TQLoad::DBStatusCode UpdateIfNoOther(CADODatabase* database, int takeOver);

    TQKeyQuery GetKeyQuery() const;
    void CopyKeyTo(CTQTimbering& other) const;

    /// ID of the first material of that name, whatever its province; 0 for none, −1 when the
    /// lookup cannot run.
    static int HasTimbering(const QString& name, CADODatabase* database);
    static void UpdateTimberingTableData(CADODatabase* from, CADODatabase* to);

    int TTId = 0; ///< ID of the material's type

protected:
    int GetDataFromRecordSet(CADORecordset& recordset) override;
    int SetDataToRecordSet(CADORecordset& recordset) override;
};
