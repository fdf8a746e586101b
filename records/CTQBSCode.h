#pragma once

#include "TQWallExport.h"
#include "host/db/tagDBSTRUCT.h"
#include "records/TQDBStatusCode.h"
#include "records/TQKeyQuery.h"

#include <QString>

/// A named construction of a type, national (ProvinceId 0) or of one province. Its key is
/// name, type and province.
class TQWALL_EXPORT CTQBSCode : public tagDBSTRUCT
{
public:
    CTQBSCode();
    CTQBSCode(const CTQBSCode&) = default;
    CTQBSCode& operator=(const CTQBSCode&) = default;
    ~CTQBSCode() override;

    QString GetTableName() const override;
    void Init() override;

    TQLoad::DBStatusCode IsExist(CADODatabase* database);
    TQLoad::DBStatusCode AddIfNotExist(CADODatabase* database, int takeOver);
    TQLoad::DBStatusCode UpdateIfNoOther(CADODatabase* database, int takeOver);

    TQKeyQuery GetKeyQuery() const;
    void CopyKeyTo(CTQBSCode& other) const;

    /// ID of the first construction of that name, whatever its type and province; 0 when there
    /// is none, −1 when the lookup cannot run. A null database means the library database.
    static int HasBSCode(const QString& name, CADODatabase* database);
    /// Kept for the host's interface; the library has nothing to bring over.
    static void UpdateBSCodeTableData(CADODatabase* from, CADODatabase* to);

    int BSTId = 0;      ///< ID of the construction's type
    QString Name;
    int CommonFlag = 0; ///< 1: a frequently used ("常用") construction
    int ProvinceId = 0; ///< province record ID; 0 for the national library

protected:
    int GetDataFromRecordSet(CADORecordset& recordset) override;
    int SetDataToRecordSet(CADORecordset& recordset) override;
};
