#include "records/CTQTimbering.h"

#include "records/TQRecordOps.h"

CTQTimbering::CTQTimbering() = default;

CTQTimbering::~CTQTimbering() = default;

QString CTQTimbering::GetTableName() const
{
    return CTQDBGlobalSetting::GetGlobalSetting()->GetTimberingTableName();
}

void CTQTimbering::Init()
{
    CTQMateralData::Init();
    tagDBSTRUCT::Init();
}

TQKeyQuery CTQTimbering::GetKeyQuery() const
{
    return {QStringLiteral("SELECT * FROM %1 WHERE %2 = ? AND COALESCE(ProvinceID, 0) = ? ORDER BY ID")
                .arg(GetTableName(), TQRecordOps::kNameKey),
            {TQRecordOps::KeyText(GetStuffName()), GetProvinceID()}};
}

void CTQTimbering::CopyKeyTo(CTQTimbering& other) const
{
    other.SetStuffName(GetStuffName());
    other.SetProvinceID(GetProvinceID());
}

TQLoad::DBStatusCode CTQTimbering::IsExist(CADODatabase* database)
{
    return TQRecordOps::IsExist(*this, database);
}

TQLoad::DBStatusCode CTQTimbering::AddIfNotExist(CADODatabase* database, int takeOver)
{
    return TQRecordOps::AddIfNotExist(*this, database, takeOver);
}

TQLoad::DBStatusCode CTQTimbering::UpdateIfNoOther(CADODatabase* database, int takeOver)
{
    return TQRecordOps::UpdateIfNoOther(*this, database, takeOver);
}

int CTQTimbering::HasTimbering(const QString& name, CADODatabase* database)
{
    const QString table = CTQDBGlobalSetting::GetGlobalSetting()->GetTimberingTableName();
    return TQRecordOps::LookupFirstId(QStringLiteral("SELECT ID FROM %1 WHERE %2 = ? ORDER BY ID").arg(table, TQRecordOps::kNameKey),
                                      {TQRecordOps::KeyText(name)}, database);
}

void CTQTimbering::UpdateTimberingTableData(CADODatabase*, CADODatabase*) {}

int CTQTimbering::GetDataFromRecordSet(CADORecordset& recordset)
{
    if (!tagDBSTRUCT::GetDataFromRecordSet(recordset))
        return 0;
    QString name;
    int id = 0;
    double density = 0.0;
    double conductivity = 0.0;
    double specificHeat = 0.0;
    int commonFlag = 0;
    int provinceId = 0;
    recordset.GetFieldValue(QStringLiteral("Name"), name);
    recordset.GetFieldValue(QStringLiteral("Id"), id);
    recordset.GetFieldValue(QStringLiteral("GMD"), density);
    recordset.GetFieldValue(QStringLiteral("DrXs"), conductivity);
    recordset.GetFieldValue(QStringLiteral("BRr"), specificHeat);
    recordset.GetFieldValue(QStringLiteral("TTId"), TTId);
    recordset.GetFieldValue(QStringLiteral("CommonFlag"), commonFlag);
    recordset.GetFieldValue(QStringLiteral("ProvinceID"), provinceId);
    SetStuffName(name);
    SetStuffID(id);
    SetGMD(density);
    SetDrXs(conductivity);
    SetBRr(specificHeat);
    SetCommonFlag(commonFlag);
    SetProvinceID(provinceId);
    return 1;
}

int CTQTimbering::SetDataToRecordSet(CADORecordset& recordset)
{
    if (!tagDBSTRUCT::SetDataToRecordSet(recordset))
        return 0;
    recordset.SetFieldValue(QStringLiteral("Name"), GetStuffName());
    recordset.SetFieldValue(QStringLiteral("TTId"), TTId);
    recordset.SetFieldValue(QStringLiteral("GMD"), GetGMD());
    recordset.SetFieldValue(QStringLiteral("DrXs"), GetDrXs());
    recordset.SetFieldValue(QStringLiteral("BRr"), GetBRr());
    recordset.SetFieldValue(QStringLiteral("CommonFlag"), GetCommonFlag());
    recordset.SetFieldValue(QStringLiteral("ProvinceID"), GetProvinceID());
    return 1;
}
