#pragma once

#include "host/TQHostExport.h"

#include <QList>
#include <QPair>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <utility>
#include <vector>

class CADODatabase;

/// The rows of one query, read in full when the query runs so that the record count is exact on
/// every engine, and the column values of one row being written.
class TQHOST_EXPORT CADORecordset
{
public:
    CADORecordset() = default;
    explicit CADORecordset(CADODatabase* database);

    /// Runs `sql` with `values` bound to its placeholders in order; non-zero when it ran.
    int Open(CADODatabase* database, const QString& sql, const QVariantList& values = {});
    void Close();

    unsigned int GetRecordCount() const { return static_cast<unsigned int>(m_nRows); }
    bool IsEOF() const { return m_nCurrent >= m_nRows; }
    void MoveFirst() { m_nCurrent = 0; }
    void MoveNext();

    /// Column values of the current row; names are matched ignoring case (PostgreSQL folds
    /// unquoted names to lower case). Null text reads as `nullValue`; a null real reads as NaN
    /// (the stored form of a NaN); a missing or non-numeric number, and a null integer, read as 0.
    /// Each returns non-zero when the column held a value of that kind.
    int GetFieldValue(const QString& column, QString& value, const QString& nullValue = QString()) const;
    int GetFieldValue(const QString& column, int& value) const;
    int GetFieldValue(const QString& column, long& value) const;
    int GetFieldValue(const QString& column, double& value) const;

    /// Values for the row being written, in the order they are set.
    void SetFieldValue(const QString& column, const QString& value);
    void SetFieldValue(const QString& column, int value);
    void SetFieldValue(const QString& column, long value);
    void SetFieldValue(const QString& column, double value);
    const QList<QPair<QString, QVariant>>& GetWrittenFields() const { return m_Written; }

    CADODatabase* GetDatabase() const { return m_pDatabase; }

private:
    QVariant CurrentValue(const QString& column) const;
    /// Index of a column by its name, ignoring case; −1 when there is none.
    int ColumnIndex(const QString& column) const;
    void SetWritten(const QString& column, const QVariant& value);

    CADODatabase* m_pDatabase = nullptr;
    // The rows are kept as their values, row after row, and the column names once: a listing
    // reads thousands of rows, and a record per row would repeat every name.
    QSqlRecord m_Columns;
    std::vector<QVariant> m_Values;
    std::size_t m_nRows = 0;
    std::size_t m_nCurrent = 0;
    /// The spellings of column names asked for so far, with their index: a few, compared exactly
    /// before the slower comparison that ignores case.
    mutable std::vector<std::pair<QString, int>> m_ColumnIndex;
    QList<QPair<QString, QVariant>> m_Written;
};
