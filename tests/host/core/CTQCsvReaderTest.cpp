#include "host/core/CTQCsvReader.h"

#include "support/QtPrinters.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Rows = std::vector<std::vector<QString>>;

/// All records after the header, field by field in header order.
Rows AllRows(const CTQCsvReader& reader)
{
    Rows rows;
    for (qsizetype r = 0; r < reader.GetRowCount(); ++r) {
        std::vector<QString> fields;
        for (const QString& column : reader.GetHeader())
            fields.push_back(reader.GetField(r, column));
        rows.push_back(fields);
    }
    return rows;
}

TEST(CsvReader, WellFormedDataGivesHeaderAndFields)
{
    const std::tuple<const char*, std::string, QStringList, Rows> cases[] = {
        // name, data, header, rows
        {"plain", "a,b\n1,2\n3,4\n", {"a", "b"}, {{"1", "2"}, {"3", "4"}}},
        {"no final line break", "a,b\n1,2", {"a", "b"}, {{"1", "2"}}},
        {"comma in quotes", "a,b\n\"x,y\",2\n", {"a", "b"}, {{"x,y", "2"}}},
        {"doubled quotes", "a,b\n\"say \"\"hi\"\"\",\"\"\"\"\n", {"a", "b"}, {{"say \"hi\"", "\""}}},
        {"line break in quotes", "a,b\n\"l1\nl2\",2\n", {"a", "b"}, {{"l1\nl2", "2"}}},
        {"blank lines skipped", "a,b\n\n1,2\n\n\n3,4\n", {"a", "b"}, {{"1", "2"}, {"3", "4"}}},
        {"empty fields", "a,b,c\n,,\n", {"a", "b", "c"}, {{"", "", ""}}},
        {"quoted empty line is a record", "a\n\"\"\n", {"a"}, {{""}}},
        {"spaces kept", "a,b\n 1 , 2\n", {"a", "b"}, {{" 1 ", " 2"}}},
        {"header only", "a,b\n", {"a", "b"}, {}},
        {"Chinese text",
         "名称,来源\n\"碎石、卵石混凝土(2100)\",\"GB 50176, 附表4.1\"\n",
         {QStringLiteral("名称"), QStringLiteral("来源")},
         {{QStringLiteral("碎石、卵石混凝土(2100)"), QStringLiteral("GB 50176, 附表4.1")}}},
    };
    for (const auto& [name, data, header, rows] : cases) {
        SCOPED_TRACE(name);
        CTQCsvReader reader;
        ASSERT_TRUE(reader.ReadData(QByteArray::fromStdString(data), QStringLiteral("t.csv")))
            << reader.GetErrorText().toStdString();
        EXPECT_EQ(reader.GetHeader(), header);
        EXPECT_EQ(AllRows(reader), rows);
        EXPECT_TRUE(reader.GetErrorText().isEmpty());
    }
}

TEST(CsvReader, MalformedDataIsRefusedWithFileAndLine)
{
    const std::tuple<std::string, int, const char*> cases[] = {
        // data, line of the error, part of the message
        {"", 1, "no header"},
        {"\n\n", 1, "no header"},
        {"a,b\n1,2\n3,\"open\n4,5\n", 3, "not closed"},
        {"a,b\n\"x\"y,2\n", 2, "after the closing quote"},
        {"a,b\nx\"y,2\n", 2, "quote inside"},
        {"a,b\n1,2\n3\n", 3, "1 fields, the header has 2"},
        {"a,b\n1,2,3\n", 2, "3 fields, the header has 2"},
        {"a,b\n\"l1\nl2\",2\n3,4,5\n", 4, "3 fields"}, // counted on through a quoted line break
        {"a,b,a\n1,2,3\n", 1, "duplicate column \"a\""},
        {"a,,c\n1,2,3\n", 1, "column 2 has no name"},
        {"a,b\n1,2\n3,\xFF\n", 3, "UTF-8"},
        {"a,b\n1,\xE5\xA4\n", 2, "UTF-8"}, // a truncated sequence
    };
    for (const auto& [data, line, words] : cases) {
        SCOPED_TRACE(words);
        CTQCsvReader reader;
        ASSERT_TRUE(reader.ReadData("a\n1\n", QStringLiteral("t.csv"))); // forgotten by the failed read
        EXPECT_FALSE(reader.ReadData(QByteArray::fromStdString(data), QStringLiteral("seed.csv")));
        const QString error = reader.GetErrorText();
        EXPECT_TRUE(error.startsWith(QStringLiteral("seed.csv:%1: ").arg(line))) << error.toStdString();
        EXPECT_TRUE(error.contains(QLatin1String(words))) << error.toStdString();
        EXPECT_EQ(reader.GetRowCount(), 0);
        EXPECT_TRUE(reader.GetHeader().isEmpty());
    }
}

// A file as a spreadsheet saves it: byte order mark, CR LF, a CR LF inside quotes (read as LF).
TEST(CsvReader, ReadsAFileAndAnswersByPhysicalLineAndColumnName)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("m.csv")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xEF\xBB\xBF"
               "name,type\r\n1,\"two\r\nlines\"\r\n\r\n\"3,5\",4\r\n");
    file.close();
    CTQCsvReader reader;
    ASSERT_TRUE(reader.ReadFile(file.fileName())) << reader.GetErrorText().toStdString();
    EXPECT_EQ(AllRows(reader), (Rows{{"1", "two\nlines"}, {"3,5", "4"}}));
    EXPECT_EQ(reader.GetLineNumber(0), 2);
    EXPECT_EQ(reader.GetLineNumber(1), 5);
    // An unknown column or row reads empty.
    for (const auto& [row, column] : {std::pair{0, "c"}, {2, "name"}, {-1, "name"}})
        EXPECT_EQ(reader.GetField(row, QString::fromLatin1(column)), QString()) << row << column;

    EXPECT_TRUE(reader.CheckColumns({"type", "name"}));
    EXPECT_FALSE(reader.CheckColumns({"name", "source", "province"}));
    EXPECT_EQ(reader.GetErrorText(), file.fileName() + QStringLiteral(":1: missing column \"source\""));

    // A failed read forgets the last one; the next good one reports no error.
    const QString missing = dir.filePath(QStringLiteral("none.csv"));
    EXPECT_FALSE(reader.ReadFile(missing));
    EXPECT_TRUE(reader.GetErrorText().startsWith(missing + QStringLiteral(": cannot open")));
    EXPECT_EQ(reader.GetRowCount(), 0);
    ASSERT_TRUE(reader.ReadData("b\n3\n", QStringLiteral("t.csv")));
    EXPECT_TRUE(reader.GetErrorText().isEmpty());
}

} // namespace
