#pragma once

#include "TQWallExport.h"
#include "host/db/tagDBSTRUCT.h"
#include "records/CTQBoundingStructureData.h"
#include "records/TQDBStatusCode.h"

/// The stored layer set of one construction, found by the construction's ID. Loading a row also
/// parses its lists (MakeArray); storing writes the lists as they stand, not the arrays.
class TQWALL_EXPORT CTQBoundingStructure : public CTQBoundingStructureData, public tagDBSTRUCT
{
public:
    CTQBoundingStructure();
    CTQBoundingStructure(const CTQBoundingStructure&) = default;
    CTQBoundingStructure& operator=(const CTQBoundingStructure&) = default;
    ~CTQBoundingStructure() override;

    QString GetTableName() const override;
    void Init() override;

    /// Finds the row of this construction: with exactly one row only the record ID is taken
    /// over; with several the record is left as it is.
    TQLoad::DBStatusCode IsExist(CADODatabase* database);
    /// Inserts the layer set of the construction, or updates its row.
    TQLoad::DBStatusCode AddOrUpdate(CADODatabase* database);

    /// ID of the first layer set of that construction and layer; 0 for none, −1 when the lookup
    /// cannot run.
    static int HasBoundingStructure(long bscId, long layerId, CADODatabase* database);
    static void UpdateBoundingStructureTableData(CADODatabase* from, CADODatabase* to);

    /// Loads the recordset's current row like MakeObjectFromRS but leaves the arrays alone, so
    /// that the caller can read the materials of many layer sets at once and parse each with
    /// MakeArray(materials).
    int GetListsFromRecordSet(CADORecordset& recordset);

protected:
    int GetDataFromRecordSet(CADORecordset& recordset) override;
    int SetDataToRecordSet(CADORecordset& recordset) override;
};
