#include "host/core/CTQCsvReader.h"

#include "tools/QStringPrinter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
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

struct WellFormed
{
    const char* name;
    std::string data;
    QStringList header;
    Rows rows;
};

void PrintTo(const WellFormed& c, std::ostream* os)
{
    *os << c.name;
}

class CsvWellFormed : public testing::TestWithParam<WellFormed>
{
};

TEST_P(CsvWellFormed, GivesHeaderAndFields)
{
    const WellFormed& c = GetParam();
    CTQCsvReader reader;
    ASSERT_TRUE(reader.ReadData(QByteArray::fromStdString(c.data), QStringLiteral("t.csv")))
        << reader.GetErrorText().toStdString();
    EXPECT_EQ(reader.GetHeader(), c.header);
    EXPECT_EQ(AllRows(reader), c.rows);
    EXPECT_TRUE(reader.GetErrorText().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Rfc4180, CsvWellFormed,
    testing::Values(WellFormed{"Plain", "a,b\n1,2\n3,4\n", {"a", "b"}, {{"1", "2"}, {"3", "4"}}},
                    WellFormed{"NoFinalLineBreak", "a,b\n1,2", {"a", "b"}, {{"1", "2"}}},
                    WellFormed{"CrLf", "a,b\r\n1,2\r\n", {"a", "b"}, {{"1", "2"}}},
                    WellFormed{"CommaInQuotes", "a,b\n\"x,y\",2\n", {"a", "b"}, {{"x,y", "2"}}},
                    WellFormed{
                        "DoubledQuotes", "a,b\n\"say \"\"hi\"\"\",\"\"\"\"\n", {"a", "b"}, {{"say \"hi\"", "\""}}},
                    WellFormed{"LineBreakInQuotes", "a,b\n\"l1\nl2\",2\n", {"a", "b"}, {{"l1\nl2", "2"}}},
                    WellFormed{"CrLfInQuotesBecomesLf", "a,b\r\n\"l1\r\nl2\",2\r\n", {"a", "b"}, {{"l1\nl2", "2"}}},
                    WellFormed{"ByteOrderMarkSkipped",
                               "\xEF\xBB\xBF"
                               "a,b\n1,2\n",
                               {"a", "b"},
                               {{"1", "2"}}},
                    WellFormed{"BlankLinesSkipped", "a,b\n\n1,2\n\n\n3,4\n", {"a", "b"}, {{"1", "2"}, {"3", "4"}}},
                    WellFormed{"EmptyFields", "a,b,c\n,,\n", {"a", "b", "c"}, {{"", "", ""}}},
                    WellFormed{"QuotedEmptyLineIsARecord", "a\n\"\"\n", {"a"}, {{""}}},
                    WellFormed{"SpacesKept", "a,b\n 1 , 2\n", {"a", "b"}, {{" 1 ", " 2"}}},
                    WellFormed{"HeaderOnly", "a,b\n", {"a", "b"}, {}},
                    WellFormed{"ChineseText",
                               "名称,来源\n\"碎石、卵石混凝土(2100)\",\"GB 50176, 附表4.1\"\n",
                               {QStringLiteral("名称"), QStringLiteral("来源")},
                               {{QStringLiteral("碎石、卵石混凝土(2100)"), QStringLiteral("GB 50176, 附表4.1")}}}),
    [](const testing::TestParamInfo<WellFormed>& param) { return std::string(param.param.name); });

struct Malformed
{
    const char* name;
    std::string data;
    int line;          ///< where the error is reported
    const char* words; ///< part of the message
};

void PrintTo(const Malformed& c, std::ostream* os)
{
    *os << c.name;
}

class CsvMalformed : public testing::TestWithParam<Malformed>
{
};

TEST_P(CsvMalformed, IsRefusedWithFileAndLine)
{
    const Malformed& c = GetParam();
    CTQCsvReader reader;
    EXPECT_FALSE(reader.ReadData(QByteArray::fromStdString(c.data), QStringLiteral("seed.csv")));
    const QString error = reader.GetErrorText();
    EXPECT_TRUE(error.startsWith(QStringLiteral("seed.csv:%1: ").arg(c.line))) << error.toStdString();
    EXPECT_TRUE(error.contains(QLatin1String(c.words))) << error.toStdString();
    EXPECT_EQ(reader.GetRowCount(), 0);
    EXPECT_TRUE(reader.GetHeader().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Rfc4180, CsvMalformed,
    testing::Values(Malformed{"Empty", "", 1, "no header"}, Malformed{"OnlyBlankLines", "\n\n", 1, "no header"},
                    Malformed{"UnclosedQuote", "a,b\n1,2\n3,\"open\n4,5\n", 3, "not closed"},
                    Malformed{"TextAfterClosingQuote", "a,b\n\"x\"y,2\n", 2, "after the closing quote"},
                    Malformed{"QuoteInsideUnquotedField", "a,b\nx\"y,2\n", 2, "quote inside"},
                    Malformed{"TooFewFields", "a,b\n1,2\n3\n", 3, "1 fields, the header has 2"},
                    Malformed{"TooManyFields", "a,b\n1,2,3\n", 2, "3 fields, the header has 2"},
                    // The line count goes on through a line break inside quotes.
                    Malformed{"LineCountedAfterQuotedBreak", "a,b\n\"l1\nl2\",2\n3,4,5\n", 4, "3 fields"},
                    Malformed{"DuplicateColumn", "a,b,a\n1,2,3\n", 1, "duplicate column \"a\""},
                    Malformed{"UnnamedColumn", "a,,c\n1,2,3\n", 1, "column 2 has no name"},
                    Malformed{"InvalidUtf8", "a,b\n1,2\n3,\xFF\n", 3, "UTF-8"},
                    Malformed{"TruncatedUtf8Sequence", "a,b\n1,\xE5\xA4\n", 2, "UTF-8"}),
    [](const testing::TestParamInfo<Malformed>& param) { return std::string(param.param.name); });

TEST(CsvReader, LineNumbersCountPhysicalLines)
{
    CTQCsvReader reader;
    ASSERT_TRUE(reader.ReadData("a,b\n1,\"two\nlines\"\n\n3,4\n", QStringLiteral("t.csv")));
    ASSERT_EQ(reader.GetRowCount(), 2);
    EXPECT_EQ(reader.GetLineNumber(0), 2);
    EXPECT_EQ(reader.GetLineNumber(1), 5);
}

TEST(CsvReader, UnknownColumnOrRowReadsEmpty)
{
    CTQCsvReader reader;
    ASSERT_TRUE(reader.ReadData("a,b\n1,2\n", QStringLiteral("t.csv")));
    EXPECT_EQ(reader.GetField(0, QStringLiteral("c")), QString());
    EXPECT_EQ(reader.GetField(1, QStringLiteral("a")), QString());
    EXPECT_EQ(reader.GetField(-1, QStringLiteral("a")), QString());
}

TEST(CsvReader, CheckColumnsNamesTheFirstMissingOne)
{
    CTQCsvReader reader;
    ASSERT_TRUE(reader.ReadData("name,type\nx,y\n", QStringLiteral("m.csv")));
    EXPECT_TRUE(reader.CheckColumns({"type", "name"}));
    EXPECT_FALSE(reader.CheckColumns({"name", "source", "province"}));
    EXPECT_EQ(reader.GetErrorText(), QStringLiteral("m.csv:1: missing column \"source\""));
}

TEST(CsvReader, ANewReadForgetsTheLastOne)
{
    CTQCsvReader reader;
    ASSERT_TRUE(reader.ReadData("a\n1\n2\n", QStringLiteral("t.csv")));
    EXPECT_FALSE(reader.ReadData("a\n\"\n", QStringLiteral("t.csv")));
    EXPECT_EQ(reader.GetRowCount(), 0);
    ASSERT_TRUE(reader.ReadData("b\n3\n", QStringLiteral("t.csv")));
    EXPECT_TRUE(reader.GetErrorText().isEmpty());
    EXPECT_EQ(AllRows(reader), (Rows{{"3"}}));
}

TEST(CsvReader, ReadsAFileAndReportsAMissingOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("t.csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xEF\xBB\xBF"
               "a,b\r\n\"x,1\",2\r\n");
    file.close();

    CTQCsvReader reader;
    ASSERT_TRUE(reader.ReadFile(path)) << reader.GetErrorText().toStdString();
    EXPECT_EQ(AllRows(reader), (Rows{{"x,1", "2"}}));

    const QString missing = dir.filePath(QStringLiteral("none.csv"));
    EXPECT_FALSE(reader.ReadFile(missing));
    EXPECT_TRUE(reader.GetErrorText().startsWith(missing + QStringLiteral(": cannot open")));
    EXPECT_EQ(reader.GetRowCount(), 0);
}

} // namespace
