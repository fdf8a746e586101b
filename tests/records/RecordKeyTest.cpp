// Keys of the library records: which stored row a record matches (an empty name too), what an add
// or an update does on a match, the key indexes and what a writer that loses a race gets.
#include "host/db/CTQLibrarySchema.h"
#include "records/TQRecordOps.h"
#include "support/LibraryFixture.h"

#include <functional>

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

CTQBSType Type(const QString& name, int categoryId)
{
    CTQBSType type;
    type.Name = name;
    type.BSDLId = categoryId;
    return type;
}

CTQBSCode Code(const QString& name, int typeId, int provinceId)
{
    CTQBSCode code;
    code.Name = name;
    code.BSTId = typeId;
    code.ProvinceId = provinceId;
    return code;
}

CTQTimbering Material(const QString& name, int typeId, int provinceId)
{
    CTQTimbering material;
    material.Init();
    material.SetStuffName(name);
    material.TTId = typeId;
    material.SetProvinceID(provinceId);
    return material;
}

/// Adds with take-over: the status and the ID the record has after it.
template <class Record> std::pair<DBStatusCode, int> Add(Record record)
{
    const DBStatusCode status = record.AddIfNotExist(nullptr, 1);
    return {status, record.GetID()};
}

template <class Record> Record Named(const QString& name, int zone = 0)
{
    Record record;
    record.Name = name;
    if constexpr (std::is_same_v<Record, CTQWallProvince>)
        record.CId = zone;
    return record;
}

} // namespace

using RecordKeyTest = LibraryFixture;

TEST_F(RecordKeyTest, EachRecordMatchesOnItsWholeKeyOnly)
{
    using Province = CTQWallProvince;
    using MaterialType = CTQTimberingType;
    // The adds in order, each with the earlier add whose row a match takes over (-1: a new row).
    const std::tuple<const char*, std::function<std::pair<DBStatusCode, int>()>, int> cases[] = {
        {"type", [] { return Add(Type("砖墙", 1)); }, -1},
        {"type name in another category", [] { return Add(Type("砖墙", 2)); }, 0},
        {"construction", [] { return Add(Code("240砖墙", 5, 0)); }, -1},
        {"construction name under another type", [] { return Add(Code("240砖墙", 6, 0)); }, -1},
        {"construction name and type in a province", [] { return Add(Code("240砖墙", 5, 3)); }, -1},
        {"construction name, type and province", [] { return Add(Code("240砖墙", 5, 0)); }, 2},
        {"material", [] { return Add(Material("水泥砂浆", 1, 0)); }, -1},
        {"material name of another type", [] { return Add(Material("水泥砂浆", 2, 0)); }, 6},
        {"material name in a province", [] { return Add(Material("水泥砂浆", 1, 7)); }, -1},
        {"material type", [] { return Add(Named<MaterialType>("保温材料")); }, -1},
        {"material type name", [] { return Add(Named<MaterialType>("保温材料")); }, 9},
        {"province", [] { return Add(Named<Province>("吉林省", 1)); }, -1},
        {"province name in another zone", [] { return Add(Named<Province>("吉林省", 2)); }, -1},
        {"province name and zone", [] { return Add(Named<Province>("吉林省", 1)); }, 11},
        // A default record's name is null while its row holds '': still one key.
        {"default province", [] { return Add(Province()); }, -1},
        {"second default province", [] { return Add(Province()); }, 14},
        {"unnamed material type", [] { return Add(MaterialType()); }, -1},
        {"second unnamed material type", [] { return Add(MaterialType()); }, 16},
        {"a blank is a name of its own", [] { return Add(Named<MaterialType>(" ")); }, -1},
    };
    std::vector<int> ids;
    for (const auto& [what, add, sameAs] : cases) {
        const auto [status, id] = add();
        EXPECT_EQ(status, sameAs < 0 ? DBS_Added : DBS_Exist) << what;
        EXPECT_GT(id, 0) << what;
        if (sameAs >= 0) {
            EXPECT_EQ(id, ids[sameAs]) << what;
        }
        ids.push_back(id);
    }
    EXPECT_EQ(CountRows("WallProvince"), 3);

    // Without take-over a record keeps its own values; with it the stored values come along.
    CTQBSType keep = Type("砖墙", 2);
    EXPECT_EQ(keep.AddIfNotExist(nullptr, 0), DBS_Exist);
    EXPECT_EQ(std::pair(keep.GetID(), keep.BSDLId), std::pair(0, 2));
    CTQTimbering material = Material("水泥砂浆", 2, 0);
    EXPECT_EQ(material.AddIfNotExist(nullptr, 1), DBS_Exist);
    EXPECT_EQ(std::tuple(material.GetID(), material.GetStuffID(), material.TTId), std::tuple(ids[6], ids[6], 1));

    // The name lookups take the first row over all types and provinces.
    EXPECT_EQ(CTQBSCode::HasBSCode("240砖墙", nullptr), ids[2]);
    EXPECT_EQ(CTQBSCode::HasBSCode("不存在", nullptr), 0);
    EXPECT_EQ(CTQTimbering::HasTimbering("水泥砂浆", nullptr), ids[6]);
    EXPECT_EQ(CTQTimberingType::HasTimberingType("保温材料", nullptr), ids[9]);
    EXPECT_EQ(CTQTimberingType::HasTimberingType(QString(), nullptr), ids[16]);
    CTQTimberingType unnamed;
    EXPECT_EQ(unnamed.IsExist(nullptr), DBS_Exist);
    EXPECT_EQ(unnamed.GetID(), ids[16]);
}

TEST_F(RecordKeyTest, UpdateIfNoOtherWritesOwnRowOnly)
{
    CTQBSType wall, roof, reread;
    ASSERT_TRUE(wall.ReadData(AddType("外墙A", 1), nullptr));
    ASSERT_TRUE(roof.ReadData(AddType("屋面B", 3), nullptr));

    // Its own key on its own row, then a new name nobody holds: written over its own row.
    wall.BSDLId = 2;
    EXPECT_EQ(wall.UpdateIfNoOther(nullptr, 1), DBS_Updated);
    wall.Name = QStringLiteral("外墙C");
    EXPECT_EQ(wall.UpdateIfNoOther(nullptr, 1), DBS_Updated);
    ASSERT_TRUE(reread.ReadData(wall.GetID(), nullptr));
    EXPECT_EQ(std::pair(reread.Name, reread.BSDLId), std::pair(QStringLiteral("外墙C"), 2));

    // Another record's name: nothing written; with take-over the object becomes the other one.
    CTQBSType clash = wall;
    clash.Name = roof.Name;
    EXPECT_EQ(clash.UpdateIfNoOther(nullptr, 0), DBS_Exist);
    EXPECT_EQ(clash.GetID(), wall.GetID());
    EXPECT_EQ(clash.UpdateIfNoOther(nullptr, 1), DBS_Exist);
    EXPECT_EQ(std::pair(clash.GetID(), clash.BSDLId), std::pair(roof.GetID(), 3));
    ASSERT_TRUE(reread.ReadData(wall.GetID(), nullptr));
    EXPECT_EQ(reread.Name, QStringLiteral("外墙C")) << "the refused update left the row alone";

    CTQBSCode never = Code("未保存", 1, 0);
    EXPECT_EQ(never.UpdateIfNoOther(nullptr, 1), DBS_Failed) << "no row holds ID 0, so nothing was written";
}

TEST_F(RecordKeyTest, TheSchemaRefusesASecondRowOfAKey)
{
    for (const char* sql : {"INSERT INTO BSType (Name, BSDLId) VALUES ('甲', 1)",
                            "INSERT INTO BSCode (Name, BSTId, ProvinceId) VALUES ('甲', 1, 2)",
                            "INSERT INTO Timbering (Name, TTId, ProvinceID) VALUES ('甲', 1, 2)",
                            "INSERT INTO TimberingType (Name) VALUES ('甲')"}) {
        ASSERT_TRUE(Db()->Execute(sql)) << sql;
        EXPECT_FALSE(Db()->Execute(sql)) << sql;
        EXPECT_TRUE(Db()->GetLastError().startsWith("已存在同名的记录")) << Db()->GetLastError().toStdString();
    }
}

TEST_F(RecordKeyTest, AWriterThatLosesTheRaceGetsTheStoredRecord)
{
    RacingType adding;
    static_cast<CTQBSType&>(adding) = Type("同时添加", 1);
    RacingType::s_nRaces = 1;
    EXPECT_EQ(TQRecordOps::AddIfNotExist(adding, nullptr, 1), DBS_Exist);
    EXPECT_EQ(adding.BSDLId, 9) << "the record became the other writer's";
    EXPECT_GT(adding.GetID(), 0);
    EXPECT_EQ(CountRows("BSType"), 1);

    CTQBSType renamed = Type("改名前", 0);
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

// A library from before the key indexes may hold a key twice: the first row matches, the upgrade
// reports the duplicates and keeps them, and adds the index once they are resolved.
TEST_F(RecordKeyTest, DuplicatesOfAnOlderLibraryAreReportedAndKept)
{
    Exec("DROP INDEX BSType_key");
    Exec("INSERT INTO BSType (Name, BSDLId) VALUES (?, ?)", {QStringLiteral("重复"), 4});
    Exec("INSERT INTO BSType (Name, BSDLId) VALUES (?, ?)", {QStringLiteral("重复"), 5});
    CTQBSType type = Type("重复", 0);
    EXPECT_EQ(type.IsExist(nullptr), DBS_Exist);
    EXPECT_EQ(type.BSDLId, 4);
    CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(nullptr);

    QString error;
    QStringList duplicates;
    auto database = CTQLibraryDatabase::Open(LibraryConfig(), &error, nullptr, &duplicates);
    ASSERT_TRUE(database) << error.toStdString();
    ASSERT_EQ(duplicates.size(), 1);
    EXPECT_TRUE(duplicates[0].contains("重复")) << duplicates[0].toStdString();
    EXPECT_EQ(CTQLibrarySchema::MissingKeyIndexes(database.get()), QStringList{"BSType_key"});
    CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(std::move(database));
    EXPECT_EQ(CountRows("BSType"), 2) << "nothing is deleted";

    Exec("UPDATE BSType SET Name = '重复2' WHERE BSDLId = 5");
    OpenLibrary();
    EXPECT_TRUE(CTQLibrarySchema::MissingKeyIndexes(Db()).isEmpty());
}
