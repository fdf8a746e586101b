// The default library: what a new database receives, that a second start changes nothing, and
// that a failed fill leaves no half library behind.
#include "host/ui/CTQUiService.h"
#include "library/CTQBSDataAdmin.h"
#include "library/CTQLibrarySeed.h"
#include "support/LibraryFixture.h"

#include <QDir>
#include <QFile>

#include <cmath>

namespace {

int CountRows(CADODatabase* database, const QString& table)
{
    CADORecordset rows;
    EXPECT_TRUE(rows.Open(database, QStringLiteral("SELECT ID FROM %1").arg(table)));
    return static_cast<int>(rows.GetRecordCount());
}

const QStringList kTables{"BSDaLei",   "BSType",        "BSCode",      "BoundingStructure",
                          "Timbering", "TimberingType", "WallProvince"};

} // namespace

class SeedTest : public LibraryFixture
{
protected:
    static QString SourceData() { return QStringLiteral(TQWALL_SOURCE_DATA_DIR); }
};

TEST_F(SeedTest, NewLibraryHoldsTheDefaultDataAndEvaluatesEverywhere)
{
    ASSERT_TRUE(CTQLibrarySeed::IsEmpty(Db()));
    CTQLibrarySeed seed(Db(), SourceData());
    ASSERT_TRUE(seed.Fill()) << seed.GetErrorText().toStdString();
    EXPECT_FALSE(CTQLibrarySeed::IsEmpty(Db()));
    EXPECT_EQ(CountRows(Db(), QStringLiteral("WallProvince")), 34);

    CADORecordset categories;
    ASSERT_TRUE(categories.Open(Db(), QStringLiteral("SELECT Name FROM BSDaLei ORDER BY OrderId")));
    QStringList names;
    for (; !categories.IsEOF(); categories.MoveNext()) {
        QString name;
        categories.GetFieldValue(QStringLiteral("Name"), name);
        names.append(name);
    }
    EXPECT_EQ(names, (QStringList{"外墙", "内墙", "屋面", "楼板", "门", "窗"}))
        << "the query dialog relies on this order";

    // A type a user adds never receives one of the reserved IDs the trees hide.
    CTQTimberingType userType;
    userType.Name = QStringLiteral("用户分类");
    ASSERT_EQ(userType.AddIfNotExist(nullptr, 1), TQLoad::DBS_Added);
    EXPECT_GT(userType.GetID(), 18);

    // Every construction of every tree evaluates to finite numbers.
    CTQBSDataAdmin admin;
    tagBSNode* root = admin.GetBSNodes(1);
    EXPECT_TRUE(CTQUiService::Instance().ShownMessages().isEmpty());
    int evaluated = 0;
    for (const tagBSNode* province : root->Children[2]->Children) {
        for (int national = 0; national < 2; ++national) {
            admin.m_BSProvince.Init();
            if (!national)
                admin.m_BSProvince.ReadData(province->ID, nullptr);
            const tagBSNode* categoriesNode = national ? root->Children[0] : province;
            for (const tagBSNode* category : categoriesNode->Children) {
                for (const tagBSNode* typeNode : category->Children) {
                    CTQBSType type;
                    type.SetID(typeNode->ID);
                    CTQArray<CTQWallData> walls;
                    admin.GetBSCodeCWallDataAry(type, walls, true, CTQCrXs());
                    for (const CTQWallData& wall : walls) {
                        ++evaluated;
                        EXPECT_FALSE(wall.GetTimbering().IsEmpty()) << wall.m_strBSCName.toStdString();
                        for (double value :
                             {wall.GetCrXs(), wall.GetDjCrXs(), wall.GetNCrXs(), wall.GetSj(), wall.GetYc()})
                            EXPECT_TRUE(std::isfinite(value)) << wall.m_strBSCName.toStdString();
                    }
                }
            }
        }
    }
    EXPECT_GE(evaluated, CountRows(Db(), QStringLiteral("BSCode"))) << "every construction was reached";
    EXPECT_GT(admin.GetTimbNodes(1)->Children[0]->Children.GetSize(), 3);
}

TEST_F(SeedTest, SecondStartReusesTheLibrary)
{
    QString error;
    ASSERT_TRUE(CTQLibrarySeed::OpenLibrary(CommandLinePath(), &error)) << error.toStdString();
    QList<int> counts;
    for (const QString& table : kTables)
        counts.append(CountRows(Db(), table));
    CTQBSCode code;
    code.Name = QStringLiteral("工程师改名");
    Exec(QStringLiteral("UPDATE BSCode SET Name = ? WHERE ID = 1"), {code.Name});

    ASSERT_TRUE(CTQLibrarySeed::OpenLibrary(CommandLinePath(), &error)) << error.toStdString();
    QList<int> again;
    for (const QString& table : kTables)
        again.append(CountRows(Db(), table));
    EXPECT_EQ(again, counts);
    ASSERT_TRUE(code.ReadData(1, nullptr));
    EXPECT_EQ(code.Name, QStringLiteral("工程师改名")) << "an engineer's change survives a restart";
}

TEST_F(SeedTest, FailedFillLeavesNoHalfLibrary)
{
    // A copy of the data whose last construction names a material the library does not hold:
    // everything before it was written when the failure comes.
    const QString folder = m_Folder.filePath(QStringLiteral("seed"));
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const QString& file : QDir(SourceData()).entryList({QStringLiteral("*.csv")}))
        ASSERT_TRUE(QFile::copy(QDir(SourceData()).filePath(file), QDir(folder).filePath(file)));
    QFile constructions(QDir(folder).filePath(QStringLiteral("constructions.csv")));
    ASSERT_TRUE(constructions.open(QIODevice::Append));
    constructions.write("\n单层玻璃窗,坏做法,,0,1,不存在的材料,6,1,test\n");
    constructions.close();

    CTQLibrarySeed seed(Db(), folder);
    EXPECT_FALSE(seed.Fill());
    EXPECT_TRUE(seed.GetErrorText().contains(QStringLiteral("坏做法"))) << seed.GetErrorText().toStdString();
    for (const QString& table : kTables)
        EXPECT_EQ(CountRows(Db(), table), 0) << table.toStdString();

    CTQLibrarySeed missing(Db(), m_Folder.filePath(QStringLiteral("nowhere")));
    EXPECT_FALSE(missing.Fill());
    EXPECT_FALSE(missing.GetErrorText().isEmpty());
    EXPECT_TRUE(CTQLibrarySeed::IsEmpty(Db()));
}
