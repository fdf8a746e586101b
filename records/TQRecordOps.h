#pragma once

#include "host/db/CADODatabase.h"
#include "host/db/CADORecordset.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "records/TQDBStatusCode.h"
#include "records/TQKeyQuery.h"

/// The existence check and the two conditional writes that every keyed record shares. A record
/// class supplies GetKeyQuery() (the statement that finds its key) and CopyKeyTo() (its key
/// fields into a fresh record); the rest is the same for all.
namespace TQRecordOps {

/// A key name as the key queries compare it: rows of older libraries may hold NULL where a name
/// was never given, and a NULL never equals anything in SQL, so NULL and "" are the same name.
/// The unique indexes of the library schema are built on the same expression.
inline const QString kNameKey = QStringLiteral("COALESCE(Name, '')");

/// The name to bind against kNameKey: a null string would bind as SQL NULL and match no row.
inline QString KeyText(const QString& name)
{
    return name.isNull() ? QStringLiteral("") : name;
}

/// After a write was refused: when another row now holds the record's key, a second writer
/// stored it between our check and our write. The caller then answers as if it had checked a
/// moment later: DBS_Exist, and with `takeOver` the record becomes the stored one.
template <class Record>
bool LostRace(Record& record, CADODatabase* database, int takeOver)
{
    Record stored;
    record.CopyKeyTo(stored);
    if (stored.IsExist(database) != TQLoad::DBS_Exist || stored.GetID() == record.GetID())
        return false;
    if (takeOver)
        record = stored;
    return true;
}

/// Loads the first row holding the record's key into it (ID included).
template <class Record>
TQLoad::DBStatusCode IsExist(Record& record, CADODatabase* database)
{
    const TQKeyQuery key = record.GetKeyQuery();
    CADORecordset recordset;
    if (!record.ReadRecords(key.sql, recordset, database, key.values))
        return TQLoad::DBS_Failed;
    if (static_cast<int>(recordset.GetRecordCount()) <= 0)
        return TQLoad::DBS_NotExist;
    record.MakeObjectFromRS(recordset);
    return TQLoad::DBS_Exist;
}

/// Inserts the record unless its key is taken; with `takeOver` the record then becomes the
/// stored one.
template <class Record>
TQLoad::DBStatusCode AddIfNotExist(Record& record, CADODatabase* database, int takeOver)
{
    if (!database)
        database = record.GetUserDatabase();
    Record stored;
    record.CopyKeyTo(stored);
    const TQLoad::DBStatusCode status = stored.IsExist(database);
    if (status == TQLoad::DBS_Exist && takeOver) {
        record = stored;
        return TQLoad::DBS_Exist;
    }
    if (status != TQLoad::DBS_NotExist)
        return status;
    if (record.InsertData(database))
        return TQLoad::DBS_Added;
    return LostRace(record, database, takeOver) ? TQLoad::DBS_Exist : TQLoad::DBS_Failed;
}

/// Writes the record over its own row unless another row holds its key; with `takeOver` the
/// record then becomes that other one.
template <class Record>
TQLoad::DBStatusCode UpdateIfNoOther(Record& record, CADODatabase* database, int takeOver)
{
    if (!database)
        database = record.GetUserDatabase();
    Record stored;
    record.CopyKeyTo(stored);
    const TQLoad::DBStatusCode status = stored.IsExist(database);
    if (status == TQLoad::DBS_Failed)
        return status;
    if (status == TQLoad::DBS_Exist && stored.GetID() != record.GetID()) {
        if (takeOver)
            record = stored;
        return TQLoad::DBS_Exist;
    }
    if (record.UpdateData(record.GetID(), database))
        return TQLoad::DBS_Updated;
    return LostRace(record, database, takeOver) ? TQLoad::DBS_Exist : TQLoad::DBS_Failed;
}

/// ID of the first row a lookup finds: 0 for none, −1 when the lookup cannot run. A null
/// database means the library database of the settings.
inline int LookupFirstId(const QString& sql, const QVariantList& values, CADODatabase* database)
{
    if (!database)
        database = CTQDBGlobalSetting::GetGlobalSetting()->GetLoadParamDatabase();
    CADORecordset recordset;
    if (!recordset.Open(database, sql, values))
        return -1;
    if (recordset.GetRecordCount() == 0)
        return 0;
    int id = 0;
    return recordset.GetFieldValue(QStringLiteral("ID"), id) ? id : -1;
}

} // namespace TQRecordOps
