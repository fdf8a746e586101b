#include "records/CTQBSCode.h"

#include "records/TQRecordOps.h"

CTQBSCode::CTQBSCode()
{
    CTQBSCode::Init();
}

CTQBSCode::~CTQBSCode() = default;

QString CTQBSCode::GetTableName() const
{
    return CTQDBGlobalSetting::GetGlobalSetting()->GetBSCodeTableName();
}

void CTQBSCode::Init()
{
    tagDBSTRUCT::Init();
    BSTId = 0;
    Name.clear();
    CommonFlag = 0;
    ProvinceId = 0;
}

TQKeyQuery CTQBSCode::GetKeyQuery() const
{
    return {QStringLiteral("SELECT * FROM %1 WHERE %2 = ? AND COALESCE(BSTId, 0) = ? AND COALESCE(ProvinceId, 0) = ? "
                           "ORDER BY ID")
                .arg(GetTableName(), TQRecordOps::kNameKey),
            {TQRecordOps::KeyText(Name), BSTId, ProvinceId}};
}

void CTQBSCode::CopyKeyTo(CTQBSCode& other) const
{
    other.Name = Name;
    other.ProvinceId = ProvinceId;
    other.BSTId = BSTId;
}

TQLoad::DBStatusCode CTQBSCode::IsExist(CADODatabase* database)
{
    return TQRecordOps::IsExist(*this, database);
}

TQLoad::DBStatusCode CTQBSCode::AddIfNotExist(CADODatabase* database, int takeOver)
{
    return TQRecordOps::AddIfNotExist(*this, database, takeOver);
}

TQLoad::DBStatusCode CTQBSCode::UpdateIfNoOther(CADODatabase* database, int takeOver)
{
    return TQRecordOps::UpdateIfNoOther(*this, database, takeOver);
}

int CTQBSCode::HasBSCode(const QString& name, CADODatabase* database)
{
    const QString table = CTQDBGlobalSetting::GetGlobalSetting()->GetBSCodeTableName();
    return TQRecordOps::LookupFirstId(QStringLiteral("SELECT ID FROM %1 WHERE %2 = ? ORDER BY ID").arg(table, TQRecordOps::kNameKey),
                                      {TQRecordOps::KeyText(name)}, database);
}

void CTQBSCode::UpdateBSCodeTableData(CADODatabase*, CADODatabase*) {}

int CTQBSCode::GetDataFromRecordSet(CADORecordset& recordset)
{
    if (!tagDBSTRUCT::GetDataFromRecordSet(recordset))
        return 0;
    recordset.GetFieldValue(QStringLiteral("Name"), Name);
    recordset.GetFieldValue(QStringLiteral("BSTId"), BSTId);
    recordset.GetFieldValue(QStringLiteral("CommonFlag"), CommonFlag);
    recordset.GetFieldValue(QStringLiteral("ProvinceId"), ProvinceId);
    return 1;
}

int CTQBSCode::SetDataToRecordSet(CADORecordset& recordset)
{
    if (!tagDBSTRUCT::SetDataToRecordSet(recordset))
        return 0;
    recordset.SetFieldValue(QStringLiteral("Name"), Name);
    recordset.SetFieldValue(QStringLiteral("BSTId"), BSTId);
    recordset.SetFieldValue(QStringLiteral("CommonFlag"), CommonFlag);
    recordset.SetFieldValue(QStringLiteral("ProvinceId"), ProvinceId);
    return 1;
}
