#include "records/CTQBSType.h"

#include "records/TQRecordOps.h"

CTQBSType::CTQBSType()
{
    CTQBSType::Init();
}

CTQBSType::~CTQBSType() = default;

QString CTQBSType::GetTableName() const
{
    return CTQDBGlobalSetting::GetGlobalSetting()->GetBSTypeTableName();
}

void CTQBSType::Init()
{
    tagDBSTRUCT::Init();
    Name.clear();
    BSDLId = 0;
}

TQKeyQuery CTQBSType::GetKeyQuery() const
{
    return {QStringLiteral("SELECT * FROM %1 WHERE %2 = ? ORDER BY ID").arg(GetTableName(), TQRecordOps::kNameKey),
            {TQRecordOps::KeyText(Name)}};
}

void CTQBSType::CopyKeyTo(CTQBSType& other) const
{
    other.Name = Name;
}

TQLoad::DBStatusCode CTQBSType::IsExist(CADODatabase* database)
{
    return TQRecordOps::IsExist(*this, database);
}

TQLoad::DBStatusCode CTQBSType::AddIfNotExist(CADODatabase* database, int takeOver)
{
    return TQRecordOps::AddIfNotExist(*this, database, takeOver);
}

TQLoad::DBStatusCode CTQBSType::UpdateIfNoOther(CADODatabase* database, int takeOver)
{
    return TQRecordOps::UpdateIfNoOther(*this, database, takeOver);
}

int CTQBSType::GetDataFromRecordSet(CADORecordset& recordset)
{
    if (!tagDBSTRUCT::GetDataFromRecordSet(recordset))
        return 0;
    recordset.GetFieldValue(QStringLiteral("Name"), Name);
    recordset.GetFieldValue(QStringLiteral("BSDLId"), BSDLId);
    return 1;
}

int CTQBSType::SetDataToRecordSet(CADORecordset& recordset)
{
    if (!tagDBSTRUCT::SetDataToRecordSet(recordset))
        return 0;
    recordset.SetFieldValue(QStringLiteral("Name"), Name);
    recordset.SetFieldValue(QStringLiteral("BSDLId"), BSDLId);
    return 1;
}
