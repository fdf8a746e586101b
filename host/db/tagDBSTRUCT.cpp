#include "host/db/tagDBSTRUCT.h"

#include "host/db/CADODatabase.h"
#include "host/db/CADORecordset.h"
#include "host/db/CTQDBGlobalSetting.h"

#include <QStringList>

tagDBSTRUCT::~tagDBSTRUCT() = default;

CADODatabase* tagDBSTRUCT::GetUserDatabase() const
{
    return CTQDBGlobalSetting::GetGlobalSetting()->GetLoadParamDatabase();
}

QString tagDBSTRUCT::GetTableName() const
{
    return {};
}

bool tagDBSTRUCT::IsIDSort() const
{
    return true;
}

CADODatabase* tagDBSTRUCT::ResolveDatabase(CADODatabase* database) const
{
    return database ? database : GetUserDatabase();
}

int tagDBSTRUCT::ReadData(long id, CADODatabase* database)
{
    const QString table = GetTableName();
    if (table.isEmpty())
        return 0;
    CADORecordset recordset;
    if (!recordset.Open(ResolveDatabase(database), QStringLiteral("SELECT * FROM %1 WHERE ID = ?").arg(table),
                        {static_cast<qlonglong>(id)}))
        return 0;
    if (recordset.GetRecordCount() == 0)
        return 0;
    return GetDataFromRecordSet(recordset);
}

int tagDBSTRUCT::UpdateData(long id, CADODatabase* database)
{
    CADODatabase* db = ResolveDatabase(database);
    const QString table = GetTableName();
    CADORecordset row(db);
    if (table.isEmpty() || !db || !SetDataToRecordSet(row))
        return 0;
    QStringList assignments;
    QVariantList values;
    for (const auto& [column, value] : row.GetWrittenFields()) {
        assignments.append(column + QStringLiteral(" = ?"));
        values.append(value);
    }
    if (assignments.isEmpty())
        return ReadRecords(QStringLiteral("SELECT ID FROM %1 WHERE ID = ?").arg(table), row, db,
                           {static_cast<qlonglong>(id)}) &&
               row.GetRecordCount() > 0;
    values.append(static_cast<qlonglong>(id));
    // RETURNING tells an update that changed a row from one that found none, on both engines.
    CADORecordset changed;
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE ID = ? RETURNING ID").arg(table, assignments.join(", "));
    return changed.Open(db, sql, values) && changed.GetRecordCount() > 0;
}

int tagDBSTRUCT::InsertData(CADODatabase* database)
{
    CADODatabase* db = ResolveDatabase(database);
    const QString table = GetTableName();
    CADORecordset row(db);
    if (table.isEmpty() || !db || !SetDataToRecordSet(row))
        return 0;
    QStringList columns;
    QStringList placeholders;
    QVariantList values;
    for (const auto& [column, value] : row.GetWrittenFields()) {
        columns.append(column);
        placeholders.append(QStringLiteral("?"));
        values.append(value);
    }
    const QString sql = columns.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES RETURNING ID").arg(table)
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING ID")
                                  .arg(table, columns.join(", "), placeholders.join(", "));
    CADORecordset inserted;
    if (!inserted.Open(db, sql, values) || inserted.GetRecordCount() == 0)
        return 0;
    int newId = 0;
    if (!inserted.GetFieldValue(QStringLiteral("ID"), newId))
        return 0;
    SetID(newId);
    return 1;
}

int tagDBSTRUCT::RemoveData(long id, CADODatabase* database)
{
    const QString table = GetTableName();
    CADODatabase* db = ResolveDatabase(database);
    if (table.isEmpty() || !db)
        return 0;
    return db->Execute(QStringLiteral("DELETE FROM %1 WHERE ID = ?").arg(table), {static_cast<qlonglong>(id)});
}

int tagDBSTRUCT::UpdateID(long newId, CADODatabase* database)
{
    const QString table = GetTableName();
    CADODatabase* db = ResolveDatabase(database);
    if (table.isEmpty() || !db)
        return 0;
    CADORecordset changed;
    if (!changed.Open(db, QStringLiteral("UPDATE %1 SET ID = ? WHERE ID = ? RETURNING ID").arg(table),
                      {static_cast<qlonglong>(newId), GetID()}) ||
        changed.GetRecordCount() == 0)
        return 0;
    SetID(static_cast<int>(newId));
    return 1;
}

bool tagDBSTRUCT::IsDefaultData() const
{
    return m_nID == 0;
}

void tagDBSTRUCT::Init()
{
    m_nID = 0;
}

bool tagDBSTRUCT::AsUserVerData()
{
    return true;
}

int tagDBSTRUCT::GetDataFromRecordSet(CADORecordset& recordset)
{
    int id = 0;
    if (!recordset.GetFieldValue(QStringLiteral("ID"), id))
        return 0;
    m_nID = id;
    return 1;
}

int tagDBSTRUCT::SetDataToRecordSet(CADORecordset&)
{
    return 1;
}

int tagDBSTRUCT::ReadRecords(const QString& sql, CADORecordset& recordset, CADODatabase* database,
                             const QVariantList& values)
{
    return recordset.Open(ResolveDatabase(database), sql, values);
}

int tagDBSTRUCT::ReadRecords(const QString& sql, CADORecordset* recordset, CADODatabase* database,
                             const QVariantList& values)
{
    return recordset ? ReadRecords(sql, *recordset, database, values) : 0;
}

int tagDBSTRUCT::ExecSql(const QString& sql, CADORecordset* recordset, CADODatabase* database,
                         const QVariantList& values)
{
    return ReadRecords(sql, recordset, database, values);
}

int tagDBSTRUCT::MakeObjectFromRS(CADORecordset& recordset)
{
    return GetDataFromRecordSet(recordset);
}
