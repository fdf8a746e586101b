#pragma once

#include "TQWallExport.h"
#include "host/db/tagDBSTRUCT.h"
#include "records/TQDBStatusCode.h"
#include "records/TQKeyQuery.h"

#include <QString>

/// A material type (concrete, masonry, insulation, ...). Its key is its name.
class TQWALL_EXPORT CTQTimberingType : public tagDBSTRUCT
{
public:
    CTQTimberingType();
    CTQTimberingType(const CTQTimberingType&) = default;
    CTQTimberingType& operator=(const CTQTimberingType&) = default;
    ~CTQTimberingType() override;

    QString GetTableName() const override;
    void Init() override;

    TQLoad::DBStatusCode IsExist(CADODatabase* database);
    TQLoad::DBStatusCode AddIfNotExist(CADODatabase* database, int takeOver);
    TQLoad::DBStatusCode UpdateIfNoOther(CADODatabase* database, int takeOver);

    TQKeyQuery GetKeyQuery() const;
    void CopyKeyTo(CTQTimberingType& other) const;

    /// ID of the first material type of that name; 0 for none, −1 when the lookup cannot run.
    static int HasTimberingType(const QString& name, CADODatabase* database);
    static void UpdateTimberingTypeTableData(CADODatabase* from, CADODatabase* to);

    QString Name;

protected:
    int GetDataFromRecordSet(CADORecordset& recordset) override;
    int SetDataToRecordSet(CADORecordset& recordset) override;
};
