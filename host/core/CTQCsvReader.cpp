#include "host/core/CTQCsvReader.h"

#include <QFile>
#include <QStringDecoder>

#include <utility>

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

/// Splitting state: the record being built and where the parser stands in the text.
struct SplitState
{
    QStringList fields;
    QString field;
    bool fieldQuoted = false; ///< the current field began with a quote
    bool inQuotes = false;    ///< between the opening and the closing quote
    bool afterQuote = false;  ///< the closing quote was read; only a separator may follow
    int line = 1;             ///< physical line of the character being read
    int recordLine = 1;       ///< line on which the current record began
    int quoteLine = 1;        ///< line of the opening quote, for an unclosed one
};

bool IsLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r';
}

/// Consumes a line break at `i` (CRLF counts as one) and returns the index of its last character.
qsizetype SkipLineBreak(const QString& text, qsizetype i)
{
    return text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? i + 1 : i;
}

} // namespace

bool CTQCsvReader::ReadFile(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        Clear();
        m_sourceName = filePath;
        m_errorText = QStringLiteral("%1: cannot open: %2").arg(filePath, file.errorString());
        return false;
    }
    return ReadData(file.readAll(), filePath);
}

bool CTQCsvReader::ReadData(const QByteArray& data, const QString& sourceName)
{
    Clear();
    m_sourceName = sourceName;
    QString text;
    QList<Record> records;
    if (!DecodeUtf8(data, &text) || !SplitRecords(text, &records))
        return false;
    return TakeHeaderAndRows(std::move(records));
}

bool CTQCsvReader::CheckColumns(const QStringList& columns)
{
    for (const QString& column : columns) {
        if (!m_columnIndex.contains(column))
            return Fail(1, QStringLiteral("missing column \"%1\"").arg(column));
    }
    return true;
}

const QStringList& CTQCsvReader::GetHeader() const
{
    return m_header;
}

qsizetype CTQCsvReader::GetRowCount() const
{
    return m_rows.size();
}

QString CTQCsvReader::GetField(qsizetype row, const QString& column) const
{
    const auto it = m_columnIndex.constFind(column);
    if (row < 0 || row >= m_rows.size() || it == m_columnIndex.constEnd())
        return {};
    return m_rows[row].fields[it.value()];
}

int CTQCsvReader::GetLineNumber(qsizetype row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows[row].line : 0;
}

const QString& CTQCsvReader::GetErrorText() const
{
    return m_errorText;
}

void CTQCsvReader::Clear()
{
    m_header.clear();
    m_columnIndex.clear();
    m_rows.clear();
    m_errorText.clear();
}

bool CTQCsvReader::Fail(int line, const QString& message)
{
    m_header.clear();
    m_columnIndex.clear();
    m_rows.clear();
    m_errorText = QStringLiteral("%1:%2: %3").arg(m_sourceName).arg(line).arg(message);
    return false;
}

bool CTQCsvReader::DecodeUtf8(const QByteArray& data, QString* text)
{
    const QByteArray body = data.startsWith(kUtf8Bom) ? data.mid(kUtf8Bom.size()) : data;
    // A line break byte never occurs inside a multi-byte UTF-8 sequence, so each line can be checked
    // on its own and a bad byte reported with its line.
    const QList<QByteArray> lines = body.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = decoder.decode(lines[i]);
        if (decoder.hasError())
            return Fail(int(i) + 1, QStringLiteral("not valid UTF-8"));
        if (i > 0)
            text->append(u'\n');
        text->append(decoded);
    }
    return true;
}

bool CTQCsvReader::SplitRecords(const QString& text, QList<Record>* records)
{
    SplitState s;
    auto endField = [&s] {
        s.fields.append(s.field);
        s.field.clear();
        s.fieldQuoted = s.afterQuote = false;
    };
    auto endRecord = [&] {
        const bool blankLine = s.fields.isEmpty() && s.field.isEmpty() && !s.fieldQuoted;
        endField();
        if (!blankLine)
            records->append({s.recordLine, s.fields});
        s.fields.clear();
    };

    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (s.inQuotes) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                s.field.append(u'"');
                ++i;
            } else if (c == u'"') {
                s.inQuotes = false;
                s.afterQuote = true;
            } else if (IsLineEnd(c)) {
                // A line break inside quotes belongs to the value; CRLF is kept as LF.
                i = SkipLineBreak(text, i);
                s.field.append(u'\n');
                ++s.line;
            } else {
                s.field.append(c);
            }
            continue;
        }
        if (c == u',') {
            endField();
        } else if (IsLineEnd(c)) {
            i = SkipLineBreak(text, i);
            endRecord();
            s.recordLine = ++s.line;
        } else if (s.afterQuote) {
            return Fail(s.line, QStringLiteral("text after the closing quote of a field"));
        } else if (c == u'"') {
            if (!s.field.isEmpty())
                return Fail(s.line, QStringLiteral("quote inside an unquoted field"));
            s.inQuotes = s.fieldQuoted = true;
            s.quoteLine = s.line;
        } else {
            s.field.append(c);
        }
    }
    if (s.inQuotes)
        return Fail(s.quoteLine, QStringLiteral("quoted field not closed before the end of the file"));
    endRecord();
    return true;
}

bool CTQCsvReader::TakeHeaderAndRows(QList<Record> records)
{
    if (records.isEmpty())
        return Fail(1, QStringLiteral("no header row"));
    const Record header = records.takeFirst();
    for (qsizetype i = 0; i < header.fields.size(); ++i) {
        const QString& name = header.fields[i];
        if (name.isEmpty())
            return Fail(header.line, QStringLiteral("column %1 has no name").arg(i + 1));
        if (m_columnIndex.contains(name))
            return Fail(header.line, QStringLiteral("duplicate column \"%1\"").arg(name));
        m_columnIndex.insert(name, i);
    }
    for (const Record& record : records) {
        if (record.fields.size() != header.fields.size()) {
            return Fail(
                record.line,
                QStringLiteral("%1 fields, the header has %2").arg(record.fields.size()).arg(header.fields.size()));
        }
    }
    m_header = header.fields;
    m_rows = std::move(records);
    return true;
}
