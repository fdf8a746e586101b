#pragma once

#include "host/TQHostExport.h"

#include <QString>
#include <QVariantList>

class CADODatabase;
class CADORecordset;

/// Base of every persistent record: the row's ID and the read, insert, update and remove of one
/// row of the record's table. A derived record names its table and moves its own columns in
/// GetDataFromRecordSet / SetDataToRecordSet; the base writes the statements, always with bound
/// values. A null database means the record's own database (GetUserDatabase()).
class TQHOST_EXPORT tagDBSTRUCT
{
public:
    tagDBSTRUCT() = default;
    tagDBSTRUCT(const tagDBSTRUCT&) = default;
    tagDBSTRUCT& operator=(const tagDBSTRUCT&) = default;

    virtual ~tagDBSTRUCT();
    /// The database that holds the library tables.
    virtual CADODatabase* GetUserDatabase() const;
    virtual QString GetTableName() const;
    /// Rows of this table are read in ID order.
    virtual bool IsIDSort() const;
    /// Loads the row of `id`; non-zero on success. The record is unchanged when no row holds it.
    virtual int ReadData(long id, CADODatabase* database);
    /// Writes the record over the row of `id`; zero when the statement failed or no row holds it.
    virtual int UpdateData(long id, CADODatabase* database);
    /// Appends a row and leaves its new ID in the record; non-zero on success.
    virtual int InsertData(CADODatabase* database);
    /// Deletes the row of `id`; non-zero when the statement ran.
    virtual int RemoveData(long id, CADODatabase* database);
    /// Moves the record's row to the ID `newId`; non-zero on success.
    virtual int UpdateID(long newId, CADODatabase* database);
    /// The record was never stored (ID 0).
    virtual bool IsDefaultData() const;
    virtual void Init();

protected:
    /// Whether the record belongs to the user's own library; every library record does.
    virtual bool AsUserVerData();
    /// Reads the base's part of the current row (the ID); non-zero on success.
    virtual int GetDataFromRecordSet(CADORecordset& recordset);
    /// Writes the base's part of a row; the ID is the database's, so nothing is written.
    virtual int SetDataToRecordSet(CADORecordset& recordset);

public:
    int GetID() const { return m_nID; }
    void SetID(int id) { m_nID = id; }

    /// Runs a query of this record's into `recordset`; non-zero when it ran.
    int ReadRecords(const QString& sql, CADORecordset& recordset, CADODatabase* database,
                    const QVariantList& values = {});
    int ReadRecords(const QString& sql, CADORecordset* recordset, CADODatabase* database,
                    const QVariantList& values = {});
    /// The same, for the library manager's queries.
    int ExecSql(const QString& sql, CADORecordset* recordset, CADODatabase* database, const QVariantList& values = {});

    /// Loads the recordset's current row into this record.
    int MakeObjectFromRS(CADORecordset& recordset);

protected:
    CADODatabase* ResolveDatabase(CADODatabase* database) const;

private:
    int m_nID = 0;
};
