#include "records/CTQTimberingType.h"

#include "records/TQRecordOps.h"

CTQTimberingType::CTQTimberingType()
{
    CTQTimberingType::Init();
}

CTQTimberingType::~CTQTimberingType() = default;

QString CTQTimberingType::GetTableName() const
{
    return CTQDBGlobalSetting::GetGlobalSetting()->GetTimberingTypeTableName();
}

void CTQTimberingType::Init()
{
    tagDBSTRUCT::Init();
    Name.clear();
}

TQKeyQuery CTQTimberingType::GetKeyQuery() const
{
    return {QStringLiteral("SELECT * FROM %1 WHERE %2 = ? ORDER BY ID").arg(GetTableName(), TQRecordOps::kNameKey),
            {TQRecordOps::KeyText(Name)}};
}

void CTQTimberingType::CopyKeyTo(CTQTimberingType& other) const
{
    other.Name = Name;
}

TQLoad::DBStatusCode CTQTimberingType::IsExist(CADODatabase* database)
{
    return TQRecordOps::IsExist(*this, database);
}

TQLoad::DBStatusCode CTQTimberingType::AddIfNotExist(CADODatabase* database, int takeOver)
{
    return TQRecordOps::AddIfNotExist(*this, database, takeOver);
}

TQLoad::DBStatusCode CTQTimberingType::UpdateIfNoOther(CADODatabase* database, int takeOver)
{
    return TQRecordOps::UpdateIfNoOther(*this, database, takeOver);
}

int CTQTimberingType::HasTimberingType(const QString& name, CADODatabase* database)
{
    const QString table = CTQDBGlobalSetting::GetGlobalSetting()->GetTimberingTypeTableName();
    return TQRecordOps::LookupFirstId(QStringLiteral("SELECT ID FROM %1 WHERE %2 = ? ORDER BY ID").arg(table, TQRecordOps::kNameKey),
                                      {TQRecordOps::KeyText(name)}, database);
}

void CTQTimberingType::UpdateTimberingTypeTableData(CADODatabase*, CADODatabase*) {}

int CTQTimberingType::GetDataFromRecordSet(CADORecordset& recordset)
{
    if (!tagDBSTRUCT::GetDataFromRecordSet(recordset))
        return 0;
    recordset.GetFieldValue(QStringLiteral("Name"), Name);
    return 1;
}

int CTQTimberingType::SetDataToRecordSet(CADORecordset& recordset)
{
    if (!tagDBSTRUCT::SetDataToRecordSet(recordset))
        return 0;
    recordset.SetFieldValue(QStringLiteral("Name"), Name);
    return 1;
}
