#include "records/CTQWallProvince.h"

#include "records/TQRecordOps.h"

CTQWallProvince::CTQWallProvince()
{
    CTQWallProvince::Init();
}

CTQWallProvince::~CTQWallProvince() = default;

QString CTQWallProvince::GetTableName() const
{
    return CTQDBGlobalSetting::GetGlobalSetting()->GetProvinceTableName();
}

void CTQWallProvince::Init()
{
    CTQWallProvinceData::Init();
    tagDBSTRUCT::Init();
}

TQKeyQuery CTQWallProvince::GetKeyQuery() const
{
    return {QStringLiteral("SELECT * FROM %1 WHERE COALESCE(CId, 0) = ? AND %2 = ? ORDER BY ID")
                .arg(GetTableName(), TQRecordOps::kNameKey),
            {CId, TQRecordOps::KeyText(Name)}};
}

void CTQWallProvince::CopyKeyTo(CTQWallProvince& other) const
{
    other.Name = Name;
    other.CId = CId;
}

TQLoad::DBStatusCode CTQWallProvince::IsExist(CADODatabase* database)
{
    return TQRecordOps::IsExist(*this, database);
}

TQLoad::DBStatusCode CTQWallProvince::AddIfNotExist(CADODatabase* database, int takeOver)
{
    return TQRecordOps::AddIfNotExist(*this, database, takeOver);
}

TQLoad::DBStatusCode CTQWallProvince::UpdateIfNoOther(CADODatabase* database, int takeOver)
{
    return TQRecordOps::UpdateIfNoOther(*this, database, takeOver);
}

void CTQWallProvince::UpdateProvinceTableData(CADODatabase*, CADODatabase*) {}

int CTQWallProvince::GetDataFromRecordSet(CADORecordset& recordset)
{
    if (!tagDBSTRUCT::GetDataFromRecordSet(recordset))
        return 0;
    recordset.GetFieldValue(QStringLiteral("Name"), Name);
    recordset.GetFieldValue(QStringLiteral("CId"), CId);
    return 1;
}

int CTQWallProvince::SetDataToRecordSet(CADORecordset& recordset)
{
    if (!tagDBSTRUCT::SetDataToRecordSet(recordset))
        return 0;
    recordset.SetFieldValue(QStringLiteral("Name"), Name);
    recordset.SetFieldValue(QStringLiteral("CId"), CId);
    return 1;
}
