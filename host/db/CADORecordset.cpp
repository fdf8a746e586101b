#include "host/db/CADORecordset.h"

#include "host/db/CADODatabase.h"

#include <QSqlError>
#include <QSqlQuery>

#include <cmath>
#include <limits>

CADORecordset::CADORecordset(CADODatabase* database) : m_pDatabase(database) {}

int CADORecordset::Open(CADODatabase* database, const QString& sql, const QVariantList& values)
{
    Close();
    m_pDatabase = database;
    if (!database || !database->IsOpen())
        return 0;
    QSqlQuery* query = database->RunQuery(sql, values);
    if (!query)
        return 0;
    m_Columns = query->record();
    const int columns = m_Columns.count();
    while (query->next()) {
        for (int column = 0; column < columns; ++column)
            m_Values.push_back(query->value(column));
        ++m_nRows;
    }
    const QSqlError error = query->lastError();
    query->finish();
    if (error.isValid()) {
        database->SetLastError(error);
        Close();
        return 0;
    }
    return 1;
}

void CADORecordset::Close()
{
    m_Columns.clear();
    m_Values.clear();
    m_nRows = 0;
    m_nCurrent = 0;
    m_ColumnIndex.clear();
    m_Written.clear();
}

void CADORecordset::MoveNext()
{
    if (m_nCurrent < m_nRows)
        ++m_nCurrent;
}

int CADORecordset::ColumnIndex(const QString& column) const
{
    for (const auto& [name, index] : m_ColumnIndex) {
        if (name == column)
            return index;
    }
    const int index = m_Columns.indexOf(column);
    m_ColumnIndex.emplace_back(column, index);
    return index;
}

QVariant CADORecordset::CurrentValue(const QString& column) const
{
    if (IsEOF())
        return {};
    const int index = ColumnIndex(column);
    return index < 0 ? QVariant() : m_Values[m_nCurrent * static_cast<std::size_t>(m_Columns.count()) + index];
}

int CADORecordset::GetFieldValue(const QString& column, QString& value, const QString& nullValue) const
{
    const QVariant field = CurrentValue(column);
    if (!field.isValid()) { // no current row, or no such column
        value = nullValue;
        return 0;
    }
    if (field.isNull()) {
        value = nullValue;
        return 1;
    }
    value = field.toString();
    return 1;
}

int CADORecordset::GetFieldValue(const QString& column, int& value) const
{
    long wide = 0;
    const int ok = GetFieldValue(column, wide);
    if (ok && wide >= std::numeric_limits<int>::min() && wide <= std::numeric_limits<int>::max()) {
        value = static_cast<int>(wide);
        return 1;
    }
    value = 0;
    return 0;
}

int CADORecordset::GetFieldValue(const QString& column, long& value) const
{
    value = 0;
    const QVariant field = CurrentValue(column);
    if (field.isNull())
        return 0;
    bool ok = false;
    const qlonglong number = field.toLongLong(&ok);
    if (ok) {
        value = static_cast<long>(number);
        return 1;
    }
    // A real stored in an integer column (SQLite keeps what it is given) counts when whole.
    const double real = field.toDouble(&ok);
    if (!ok || !std::isfinite(real) || real != std::trunc(real) || std::fabs(real) > 9.0e15)
        return 0;
    value = static_cast<long>(real);
    return 1;
}

int CADORecordset::GetFieldValue(const QString& column, double& value) const
{
    value = 0.0;
    const QVariant field = CurrentValue(column);
    if (!field.isValid()) // no current row, or no such column
        return 0;
    if (field.isNull()) { // how a NaN is stored (see SetFieldValue)
        value = std::numeric_limits<double>::quiet_NaN();
        return 1;
    }
    bool ok = false;
    const double number = field.toDouble(&ok);
    if (!ok)
        return 0;
    value = number;
    return 1;
}

void CADORecordset::SetWritten(const QString& column, const QVariant& value)
{
    for (auto& field : m_Written) {
        if (field.first.compare(column, Qt::CaseInsensitive) == 0) {
            field.second = value;
            return;
        }
    }
    m_Written.append({column, value});
}

void CADORecordset::SetFieldValue(const QString& column, const QString& value)
{
    // An empty text is stored as empty text, not as NULL (a null QString binds as NULL).
    SetWritten(column, value.isNull() ? QStringLiteral("") : value);
}

void CADORecordset::SetFieldValue(const QString& column, int value)
{
    SetWritten(column, value);
}

void CADORecordset::SetFieldValue(const QString& column, long value)
{
    SetWritten(column, static_cast<qlonglong>(value));
}

void CADORecordset::SetFieldValue(const QString& column, double value)
{
    // SQLite cannot hold a NaN (it stores NULL in its place), so a NaN is written as NULL on every
    // engine and a NULL real reads back as NaN. Infinities are stored as they are on both.
    if (std::isnan(value))
        SetWritten(column, QVariant(QMetaType::fromType<double>()));
    else
        SetWritten(column, value);
}
