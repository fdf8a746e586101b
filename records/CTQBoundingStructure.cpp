#include "records/CTQBoundingStructure.h"

#include "records/TQRecordOps.h"

CTQBoundingStructure::CTQBoundingStructure()
{
    CTQBoundingStructure::Init();
}

CTQBoundingStructure::~CTQBoundingStructure() = default;

QString CTQBoundingStructure::GetTableName() const
{
    return CTQDBGlobalSetting::GetGlobalSetting()->GetBoundingStructureTableName();
}

void CTQBoundingStructure::Init()
{
    CTQBoundingStructureData::Init();
    tagDBSTRUCT::Init();
}

TQLoad::DBStatusCode CTQBoundingStructure::IsExist(CADODatabase* database)
{
    CADORecordset recordset;
    if (!ReadRecords(QStringLiteral("SELECT ID FROM %1 WHERE BSCId = ? ORDER BY ID").arg(GetTableName()), recordset,
                     database, {BSCId}))
        return TQLoad::DBS_Failed;
    const int count = static_cast<int>(recordset.GetRecordCount());
    if (count <= 0)
        return TQLoad::DBS_NotExist;
    if (count == 1) {
        int id = 0;
        if (recordset.GetFieldValue(QStringLiteral("ID"), id))
            SetID(id);
    }
    return TQLoad::DBS_Exist;
}

TQLoad::DBStatusCode CTQBoundingStructure::AddOrUpdate(CADODatabase* database)
{
    if (!database)
        database = GetUserDatabase();
    switch (IsExist(database)) {
    case TQLoad::DBS_NotExist:
        return InsertData(database) ? TQLoad::DBS_Added : TQLoad::DBS_Failed;
    case TQLoad::DBS_Exist:
        return UpdateData(GetID(), database) ? TQLoad::DBS_Updated : TQLoad::DBS_Failed;
    default:
        return TQLoad::DBS_Failed;
    }
}

int CTQBoundingStructure::HasBoundingStructure(long bscId, long layerId, CADODatabase* database)
{
    const QString table = CTQDBGlobalSetting::GetGlobalSetting()->GetBoundingStructureTableName();
    return TQRecordOps::LookupFirstId(
        QStringLiteral("SELECT ID FROM %1 WHERE BSCId = ? AND TId = ? ORDER BY ID").arg(table),
        {static_cast<qlonglong>(bscId), static_cast<qlonglong>(layerId)}, database);
}

void CTQBoundingStructure::UpdateBoundingStructureTableData(CADODatabase*, CADODatabase*) {}

int CTQBoundingStructure::GetDataFromRecordSet(CADORecordset& recordset)
{
    if (!GetListsFromRecordSet(recordset))
        return 0;
    MakeArray();
    return 1;
}

int CTQBoundingStructure::GetListsFromRecordSet(CADORecordset& recordset)
{
    if (!tagDBSTRUCT::GetDataFromRecordSet(recordset))
        return 0;
    recordset.GetFieldValue(QStringLiteral("BSCId"), BSCId);
    recordset.GetFieldValue(QStringLiteral("TIdS"), TIdS);
    recordset.GetFieldValue(QStringLiteral("HouDuS"), HouDuS);
    recordset.GetFieldValue(QStringLiteral("XzXsS"), XzXsS);
    recordset.GetFieldValue(QStringLiteral("HaveDemoBMP"), HaveDemoBMP);
    ID = GetID();
    return 1;
}

int CTQBoundingStructure::SetDataToRecordSet(CADORecordset& recordset)
{
    if (!tagDBSTRUCT::SetDataToRecordSet(recordset))
        return 0;
    recordset.SetFieldValue(QStringLiteral("BSCId"), BSCId);
    recordset.SetFieldValue(QStringLiteral("TIdS"), TIdS);
    recordset.SetFieldValue(QStringLiteral("HouDuS"), HouDuS);
    recordset.SetFieldValue(QStringLiteral("XzXsS"), XzXsS);
    recordset.SetFieldValue(QStringLiteral("HaveDemoBMP"), HaveDemoBMP);
    return 1;
}
