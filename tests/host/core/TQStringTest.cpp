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

TEST(TQStringTest, DblToStrFormatsFixedDecimals)
{
    const std::tuple<double, int, const char*> cases[] = {
        {0.3913, 2, "0.39"},    {240.0, 2, "240.00"},
        {8.26, 1, "8.3"},       {-0.001, 2, "0.00"},
        {12.0, 0, "12"},        {1.0 / 3.0, 3, "0.333"},
        {std::nan(""), 2, "-"}, {std::numeric_limits<double>::infinity(), 2, "-"},
    };
    for (const auto& [value, decimals, expected] : cases)
        EXPECT_EQ(DblToStr(value, decimals), QString::fromLatin1(expected)) << value;
}

TEST(TQStringTest, SplitStringKeepsPositions)
{
    const std::pair<const char*, QStringList> cases[] = {
        {"", {}}, {"12", {"12"}}, {"12,7,30", {"12", "7", "30"}}, {"1,,3", {"1", "", "3"}}, {",", {"", ""}}};
    for (const auto& [text, expected] : cases) {
        QStringList items{QStringLiteral("kept")};
        SplitString(QString::fromLatin1(text), items, QLatin1Char(','));
        EXPECT_EQ(items, QStringList{QStringLiteral("kept")} + expected) << text;
    }
}

TEST(TQStringTest, LeadingNumbersIgnoreTrailingText)
{
    const std::pair<const char*, double> doubles[] = {{" 240.5mm", 240.5}, {"1e-3", 0.001}, {"-.5x", -0.5},
                                                      {"abc", 0.0},        {"nan", 0.0},    {"1e999", 0.0}};
    for (const auto& [text, value] : doubles)
        EXPECT_DOUBLE_EQ(LeadingDouble(QString::fromLatin1(text)), value) << text;
    EXPECT_EQ(LeadingInt(QStringLiteral("12abc")), 12);
    EXPECT_EQ(LeadingInt(QStringLiteral("99999999999")), 0);
    EXPECT_EQ(LeadingInt(QStringLiteral("7.9")), 7);
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
