// Number and list text the records and dialogs rely on, and the folders pictures live in.
#include "host/core/CTQEnviroment.h"
#include "host/core/CTQUserWork.h"
#include "host/core/TQString.h"
#include "support/QtPrinters.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

using namespace TQLoad;

// Numbers are shown with fixed decimals ("-" for none) and read from the start of a text.
TEST(TQStringTest, NumbersAreShownWithFixedDecimalsAndReadFromTheStartOfATextOnly)
{
    const std::tuple<double, int, const char*> cases[] = {
        {0.3913, 2, "0.39"},    {240.0, 2, "240.00"},
        {8.26, 1, "8.3"},       {-0.001, 2, "0.00"},
        {12.0, 0, "12"},        {1.0 / 3.0, 3, "0.333"},
        {std::nan(""), 2, "-"}, {std::numeric_limits<double>::infinity(), 2, "-"},
    };
    for (const auto& [value, decimals, expected] : cases)
        EXPECT_EQ(DblToStr(value, decimals), QString::fromLatin1(expected)) << value;

    // Besides the plain cases, the edges of the number: an exponent without digits, a bare point,
    // blanks other than the ASCII ones and digits other than 0-9 end it or leave none.
    const std::pair<const char*, double> doubles[] = {
        {" 240.5mm", 240.5}, {"1e-3", 0.001}, {"-.5x", -0.5}, {"abc", 0.0},        {"nan", 0.0},
        {"1e999", 0.0},      {"2e+", 2.0},    {"1.e2", 100.0}, {"\t\r\n+.25", 0.25}, {".e1", 0.0},
        {"- 5", 0.0},        {"\u3000" "5", 0.0}};
    for (const auto& [text, value] : doubles)
        EXPECT_DOUBLE_EQ(LeadingDouble(QString::fromUtf8(text)), value) << text;
    const std::pair<const char*, int> ints[] = {
        {"12abc", 12}, {"99999999999", 0}, {"7.9", 7}, {"-12e3", -12}, {"\uff11" "2", 0}};
    for (const auto& [text, value] : ints)
        EXPECT_EQ(LeadingInt(QString::fromUtf8(text)), value) << text;
}

TEST(TQFolderTest, PictureFoldersEndWithSlash)
{
    QTemporaryDir folder;
    CTQUserWork::GetUserWork()->SetUserDataDir(folder.filePath(QStringLiteral("user")));
    EXPECT_EQ(CTQUserWork::GetUserWork()->GetWallBmpDir(), folder.filePath(QStringLiteral("user/wallbmp/")));
    CTQUserWork::GetUserWork()->SetUserDataDir({});
    CTQDataDir* data = CTQEnviroment::GetEnviroment();
    data->SetDataDir(folder.filePath(QStringLiteral("share//")));
    EXPECT_EQ(data->GetWallBmpDir(), folder.filePath(QStringLiteral("share/wallbmp/")));
    data->SetDataDir({});
    EXPECT_TRUE(data->GetWallBmpDir().endsWith(QStringLiteral("wallbmp/")));
}
