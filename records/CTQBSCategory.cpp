#include "records/CTQBSCategory.h"

#include "host/db/CADORecordset.h"
#include "host/db/CTQDBGlobalSetting.h"

CTQBSCategory::CTQBSCategory()
{
    CTQBSCategory::Init();
}

CTQBSCategory::~CTQBSCategory() = default;

QString CTQBSCategory::GetTableName() const
{
    return CTQDBGlobalSetting::GetGlobalSetting()->GetBSDaLeiTableName();
}

void CTQBSCategory::Init()
{
    tagDBSTRUCT::Init();
    Name.clear();
}

int CTQBSCategory::GetDataFromRecordSet(CADORecordset& recordset)
{
    if (!tagDBSTRUCT::GetDataFromRecordSet(recordset))
        return 0;
    recordset.GetFieldValue(QStringLiteral("Name"), Name);
    return 1;
}

int CTQBSCategory::SetDataToRecordSet(CADORecordset& recordset)
{
    if (!tagDBSTRUCT::SetDataToRecordSet(recordset))
        return 0;
    recordset.SetFieldValue(QStringLiteral("Name"), Name);
    return 1;
}
