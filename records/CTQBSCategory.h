#pragma once

#include "TQWallExport.h"
#include "host/db/tagDBSTRUCT.h"

#include <QString>

/// A construction category (exterior walls, roofs, ...). The table also orders the categories
/// by its "OrderId" column, which the record itself does not carry.
class TQWALL_EXPORT CTQBSCategory : public tagDBSTRUCT
{
public:
    CTQBSCategory();
    CTQBSCategory(const CTQBSCategory&) = default;
    CTQBSCategory& operator=(const CTQBSCategory&) = default;
    ~CTQBSCategory() override;

    QString GetTableName() const override;
    void Init() override;

    QString Name;

protected:
    int GetDataFromRecordSet(CADORecordset& recordset) override;
    int SetDataToRecordSet(CADORecordset& recordset) override;
};
