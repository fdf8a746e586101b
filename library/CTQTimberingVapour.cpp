#include "library/CTQTimberingVapour.h"

#include "host/db/CADODatabase.h"
#include "host/db/CADORecordset.h"
#include "host/db/CTQDBGlobalSetting.h"

#include <cmath>
#include <limits>

namespace {

CADODatabase* Database(CADODatabase* database)
{
    return database ? database : CTQDBGlobalSetting::GetGlobalSetting()->GetLoadParamDatabase();
}

} // namespace

QString CTQTimberingVapour::GetTableName()
{
    return CTQDBGlobalSetting::GetGlobalSetting()->GetTimberingVapourTableName();
}

double CTQTimberingVapour::Read(int materialId, CADODatabase* database)
{
    CADORecordset rows;
    double value = std::numeric_limits<double>::quiet_NaN();
    if (rows.Open(Database(database),
                  QStringLiteral("SELECT Mu FROM %1 WHERE TId = ? ORDER BY ID LIMIT 1").arg(GetTableName()),
                  {materialId}) &&
        !rows.IsEOF() && rows.GetFieldValue(QStringLiteral("Mu"), value))
        return value;
    return std::numeric_limits<double>::quiet_NaN();
}

bool CTQTimberingVapour::ReadAll(QHash<int, double>& values, CADODatabase* database)
{
    CADORecordset rows;
    if (!rows.Open(Database(database), QStringLiteral("SELECT TId, Mu FROM %1 ORDER BY ID").arg(GetTableName())))
        return false;
    for (; !rows.IsEOF(); rows.MoveNext()) {
        int id = 0;
        double value = std::numeric_limits<double>::quiet_NaN();
        rows.GetFieldValue(QStringLiteral("TId"), id);
        if (!rows.GetFieldValue(QStringLiteral("Mu"), value))
            value = std::numeric_limits<double>::quiet_NaN();
        if (!values.contains(id))
            values.insert(id, value);
    }
    return true;
}

bool CTQTimberingVapour::Write(int materialId, double permeability, CADODatabase* database)
{
    const bool remove = std::isnan(permeability);
    if (!remove && !(std::isfinite(permeability) && permeability > 0.0))
        return false;
    CADODatabase* db = Database(database);
    const QString table = GetTableName();
    if (!db)
        return false;
    if (remove)
        return db->Execute(QStringLiteral("DELETE FROM %1 WHERE TId = ?").arg(table), {materialId});
    // Update the row when there is one, so that a failure never leaves the material without its value.
    CADORecordset rows;
    if (!rows.Open(db, QStringLiteral("SELECT ID FROM %1 WHERE TId = ? LIMIT 1").arg(table), {materialId}))
        return false;
    if (!rows.IsEOF())
        return db->Execute(QStringLiteral("UPDATE %1 SET Mu = ? WHERE TId = ?").arg(table), {permeability, materialId});
    return db->Execute(QStringLiteral("INSERT INTO %1 (TId, Mu) VALUES (?, ?)").arg(table), {materialId, permeability});
}
