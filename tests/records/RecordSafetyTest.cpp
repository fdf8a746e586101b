// Keys that match whatever the name, values that come back as stored, the key indexes and what a
// writer that loses a race to another one gets.
#include "host/db/CTQLibrarySchema.h"
#include "records/CTQBSCode.h"
#include "records/CTQBSType.h"
#include "records/CTQTimbering.h"
#include "records/CTQTimberingType.h"
#include "records/CTQWallProvince.h"
#include "records/TQRecordOps.h"
#include "support/LibraryFixture.h"

#include <cmath>
#include <limits>

using namespace TQLoad;

namespace {

/// A type whose next existence checks see nothing while another writer stores the same name
/// (category 9) in between: the race of two writers that check at the same moment.
class RacingType : public CTQBSType
{
public:
    static inline int s_nRaces = 0;

    DBStatusCode IsExist(CADODatabase* database)
    {
        if (s_nRaces <= 0)
            return CTQBSType::IsExist(database);
        --s_nRaces;
        CTQBSType other;
        other.Name = Name;
        other.BSDLId = 9;
        EXPECT_TRUE(other.InsertData(database));
        return DBS_NotExist;
    }
};

} // namespace

class RecordSafetyTest : public LibraryFixture
{
protected:
    int Count(const QString& table)
    {
        CADORecordset rows;
        EXPECT_TRUE(rows.Open(Db(), QStringLiteral("SELECT ID FROM %1").arg(table)));
        return static_cast<int>(rows.GetRecordCount());
    }
};

TEST_F(RecordSafetyTest, EmptyAndNullNamesAreOneKey)
{
    CTQWallProvince first, second;
    ASSERT_EQ(first.AddIfNotExist(nullptr, 1), DBS_Added);
    EXPECT_EQ(second.AddIfNotExist(nullptr, 1), DBS_Exist) << "two default provinces are one key";
    EXPECT_EQ(second.GetID(), first.GetID());
    EXPECT_EQ(Count(QStringLiteral("WallProvince")), 1);

    CTQTimberingType unnamed;
    ASSERT_EQ(unnamed.AddIfNotExist(nullptr, 1), DBS_Added);
    CTQTimberingType lookup;
    EXPECT_EQ(lookup.IsExist(nullptr), DBS_Exist);
    EXPECT_EQ(lookup.GetID(), unnamed.GetID());
    EXPECT_EQ(CTQTimberingType::HasTimberingType(QString(), nullptr), unnamed.GetID());

    // Rows of an older library that hold NULL for a name.
    Exec(QStringLiteral("INSERT INTO BSType (Name, BSDLId) VALUES (NULL, 4)"));
    CTQBSType type;
    EXPECT_EQ(type.IsExist(nullptr), DBS_Exist);
    EXPECT_EQ(type.BSDLId, 4);
    EXPECT_EQ(type.Name, QStringLiteral(""));
    Exec(QStringLiteral("INSERT INTO BSCode (Name, BSTId, ProvinceId) VALUES (NULL, 3, NULL)"));
    CTQBSCode code;
    code.BSTId = 3;
    EXPECT_EQ(code.AddIfNotExist(nullptr, 1), DBS_Exist) << "NULL province is national";
    EXPECT_EQ(CTQBSCode::HasBSCode(QStringLiteral(""), nullptr), code.GetID());

    CTQBSType blank;
    blank.Name = QStringLiteral(" ");
    EXPECT_EQ(blank.AddIfNotExist(nullptr, 1), DBS_Added) << "a blank is a name of its own";
}

TEST_F(RecordSafetyTest, NonFiniteValuesComeBackAsStored)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    CTQTimbering material;
    material.Init();
    material.SetStuffName(QStringLiteral("坏值"));
    material.SetGMD(nan);
    material.SetDrXs(inf);
    material.SetBRr(-inf);
    ASSERT_EQ(material.AddIfNotExist(nullptr, 1), DBS_Added);
    CTQTimbering read;
    ASSERT_TRUE(read.ReadData(material.GetID(), nullptr));
    EXPECT_TRUE(std::isnan(read.GetGMD()));
    EXPECT_EQ(read.GetDrXs(), inf);
    EXPECT_EQ(read.GetBRr(), -inf);
}

TEST_F(RecordSafetyTest, TheSchemaRefusesASecondRowOfAKey)
{
    struct Case
    {
        const char* what;
        QString sql;
    };
    const Case cases[] = {
        {"type", QStringLiteral("INSERT INTO BSType (Name, BSDLId) VALUES ('甲', 1)")},
        {"construction", QStringLiteral("INSERT INTO BSCode (Name, BSTId, ProvinceId) VALUES ('甲', 1, 2)")},
        {"material", QStringLiteral("INSERT INTO Timbering (Name, TTId, ProvinceID) VALUES ('甲', 1, 2)")},
        {"material type", QStringLiteral("INSERT INTO TimberingType (Name) VALUES ('甲')")},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Db()->Execute(c.sql)) << c.what;
        EXPECT_FALSE(Db()->Execute(c.sql)) << c.what;
        EXPECT_TRUE(Db()->GetLastError().startsWith(QStringLiteral("已存在同名的记录")))
            << c.what << Db()->GetLastError().toStdString();
    }
}

TEST_F(RecordSafetyTest, AWriterThatLosesTheRaceGetsTheStoredRecord)
{
    RacingType adding;
    adding.Name = QStringLiteral("同时添加");
    adding.BSDLId = 1;
    RacingType::s_nRaces = 1;
    EXPECT_EQ(TQRecordOps::AddIfNotExist(adding, nullptr, 1), DBS_Exist);
    EXPECT_EQ(adding.BSDLId, 9) << "the record became the other writer's";
    EXPECT_GT(adding.GetID(), 0);
    EXPECT_EQ(Count(QStringLiteral("BSType")), 1);

    CTQBSType renamed;
    renamed.Name = QStringLiteral("改名前");
    ASSERT_EQ(renamed.AddIfNotExist(nullptr, 1), DBS_Added);
    RacingType renaming;
    static_cast<CTQBSType&>(renaming) = renamed;
    renaming.Name = QStringLiteral("同时改名");
    RacingType::s_nRaces = 1;
    EXPECT_EQ(TQRecordOps::UpdateIfNoOther(renaming, nullptr, 1), DBS_Exist);
    EXPECT_EQ(renaming.BSDLId, 9);
    CTQBSType row;
    ASSERT_TRUE(row.ReadData(renamed.GetID(), nullptr));
    EXPECT_EQ(row.Name, QStringLiteral("改名前")) << "the losing update wrote nothing";
}

TEST_F(RecordSafetyTest, TheUpgradeReportsDuplicatesAndKeepsThem)
{
    Exec(QStringLiteral("DROP INDEX BSType_key"));
    Exec(QStringLiteral("INSERT INTO BSType (Name, BSDLId) VALUES ('重复', 1)"));
    Exec(QStringLiteral("INSERT INTO BSType (Name, BSDLId) VALUES ('重复', 2)"));
    CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(nullptr);

    QString error;
    QStringList duplicates;
    auto database = CTQLibraryDatabase::Open(LibraryConfig(), &error, nullptr, &duplicates);
    ASSERT_TRUE(database) << error.toStdString();
    ASSERT_EQ(duplicates.size(), 1);
    EXPECT_TRUE(duplicates[0].contains(QStringLiteral("重复"))) << duplicates[0].toStdString();
    EXPECT_EQ(CTQLibrarySchema::MissingKeyIndexes(database.get()), QStringList{QStringLiteral("BSType_key")});
    CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(std::move(database));
    EXPECT_EQ(Count(QStringLiteral("BSType")), 2) << "nothing is deleted";

    // Once the user resolved it, the next open adds the index.
    Exec(QStringLiteral("UPDATE BSType SET Name = '重复2' WHERE BSDLId = 2"));
    OpenLibrary();
    EXPECT_TRUE(CTQLibrarySchema::MissingKeyIndexes(Db()).isEmpty());
}
