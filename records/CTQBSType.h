#pragma once

#include "TQWallExport.h"
#include "host/db/tagDBSTRUCT.h"
#include "records/TQDBStatusCode.h"
#include "records/TQKeyQuery.h"

#include <QString>

/// A construction type within a category. Its key is its name, unique over the whole type
/// table.
class TQWALL_EXPORT CTQBSType : public tagDBSTRUCT
{
public:
    CTQBSType();
    CTQBSType(const CTQBSType&) = default;
    CTQBSType& operator=(const CTQBSType&) = default;
    ~CTQBSType() override;

    QString GetTableName() const override;
    void Init() override;

    TQLoad::DBStatusCode IsExist(CADODatabase* database);
    TQLoad::DBStatusCode AddIfNotExist(CADODatabase* database, int takeOver);
    TQLoad::DBStatusCode UpdateIfNoOther(CADODatabase* database, int takeOver);

    /// The statement that finds this type's key, and the key copied into another record.
    TQKeyQuery GetKeyQuery() const;
    void CopyKeyTo(CTQBSType& other) const;

    QString Name;
    int BSDLId = 0; ///< ID of the type's category

protected:
    int GetDataFromRecordSet(CADORecordset& recordset) override;
    int SetDataToRecordSet(CADORecordset& recordset) override;
};
