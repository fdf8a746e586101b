#pragma once

#include "host/TQHostExport.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

/// Reads a UTF-8 CSV file with a header row (RFC 4180) into rows of named fields.
///
/// Fields may be quoted; a quoted field may hold commas, line breaks and doubled quotes (`""` for `"`).
/// Records end with CRLF or LF; a leading UTF-8 byte-order mark is skipped; empty lines are skipped.
/// A malformed file (bad UTF-8, an unclosed quote, text after a closing quote, a quote inside an
/// unquoted field, a record whose field count differs from the header's, a duplicate column) is refused
/// as a whole: the read returns false, no rows are kept and `GetErrorText` names the file and line.
class TQHOST_EXPORT CTQCsvReader
{
public:
    /// Reads the file at `filePath`. False when it cannot be opened or is malformed.
    bool ReadFile(const QString& filePath);
    /// Parses `data` as the contents of a file called `sourceName` (the name only appears in errors).
    bool ReadData(const QByteArray& data, const QString& sourceName);

    /// True when every column of `columns` is in the header; otherwise false, and the error text names
    /// the first missing one.
    bool CheckColumns(const QStringList& columns);

    const QStringList& GetHeader() const;
    qsizetype GetRowCount() const;
    /// The field of `row` (0 = first record after the header) under `column`; "" for an unknown column.
    QString GetField(qsizetype row, const QString& column) const;
    /// The line of the file (1 = header) on which `row` begins, for messages about its content.
    int GetLineNumber(qsizetype row) const;
    /// "file:line: what is wrong" after a failed read or check; "" otherwise.
    const QString& GetErrorText() const;

private:
    struct Record
    {
        int line = 0;
        QStringList fields;
    };

    void Clear();
    bool Fail(int line, const QString& message);
    bool DecodeUtf8(const QByteArray& data, QString* text);
    bool SplitRecords(const QString& text, QList<Record>* records);
    bool TakeHeaderAndRows(QList<Record> records);

    QString m_sourceName;
    QStringList m_header;
    QHash<QString, qsizetype> m_columnIndex;
    QList<Record> m_rows;
    QString m_errorText;
};
