// Existence checks and conditional writes of the library records: key scopes, take-over, and
// UpdateIfNoOther against a record's own row and another's.
#include "support/LibraryFixture.h"

#include <tuple>

using namespace TQLoad;

namespace {

CTQBSType MakeType(const QString& name, int categoryId)
{
    CTQBSType type;
    type.Name = name;
    type.BSDLId = categoryId;
    return type;
}

CTQBSCode MakeCode(const QString& name, int typeId, int provinceId)
{
    CTQBSCode code;
    code.Name = name;
    code.BSTId = typeId;
    code.ProvinceId = provinceId;
    return code;
}

} // namespace

using RecordKeyTest = LibraryFixture;

TEST_F(RecordKeyTest, TypeNamesAreUniqueOverAllCategories)
{
    const int brick = Store(MakeType(QStringLiteral("砖墙"), 1));
    CTQBSType keep = MakeType(QStringLiteral("砖墙"), 2);
    EXPECT_EQ(keep.AddIfNotExist(nullptr, 0), DBS_Exist);
    EXPECT_EQ(keep.GetID(), 0) << "without take-over the record keeps its own values";
    EXPECT_EQ(keep.BSDLId, 2);

    CTQBSType takeOver = MakeType(QStringLiteral("砖墙"), 2);
    EXPECT_EQ(takeOver.AddIfNotExist(nullptr, 1), DBS_Exist);
    EXPECT_EQ(takeOver.GetID(), brick);
    EXPECT_EQ(takeOver.BSDLId, 1) << "the stored type's category comes with it";
}

TEST_F(RecordKeyTest, ConstructionKeyIsNameTypeAndProvince)
{
    const int stored = AddCode(QStringLiteral("240砖墙"), 5, 0, 1);
    const std::tuple<const char*, CTQBSCode, DBStatusCode> cases[] = {
        {"same name under another type", MakeCode(QStringLiteral("240砖墙"), 6, 0), DBS_Added},
        {"same name and type in a province", MakeCode(QStringLiteral("240砖墙"), 5, 3), DBS_Added},
        {"same name, type and province", MakeCode(QStringLiteral("240砖墙"), 5, 0), DBS_Exist},
    };
    for (auto [what, code, expected] : cases) {
        EXPECT_EQ(code.AddIfNotExist(nullptr, 1), expected) << what;
        if (expected == DBS_Exist) {
            EXPECT_EQ(code.GetID(), stored);
            EXPECT_EQ(code.CommonFlag, 1);
        }
    }
    EXPECT_EQ(CTQBSCode::HasBSCode(QStringLiteral("240砖墙"), nullptr), stored)
        << "the name lookup returns the first row over all types and provinces";
    EXPECT_EQ(CTQBSCode::HasBSCode(QStringLiteral("不存在"), nullptr), 0);
}

TEST_F(RecordKeyTest, MaterialKeyIsNameAndProvinceNotType)
{
    const int stored = AddMaterial(QStringLiteral("水泥砂浆"), 1, 0, 0, 1800, 0.93, 1.05);
    CTQTimbering otherType;
    otherType.Init();
    otherType.SetStuffName(QStringLiteral("水泥砂浆"));
    otherType.TTId = 2;
    EXPECT_EQ(otherType.AddIfNotExist(nullptr, 1), DBS_Exist);
    EXPECT_EQ(otherType.GetID(), stored);
    EXPECT_EQ(otherType.GetStuffID(), stored) << "record ID and material ID agree after a load";
    EXPECT_EQ(otherType.TTId, 1);
    EXPECT_DOUBLE_EQ(otherType.GetDrXs(), 0.93);

    CTQTimbering province = otherType;
    province.SetID(0);
    province.SetProvinceID(7);
    EXPECT_EQ(province.AddIfNotExist(nullptr, 1), DBS_Added);
    EXPECT_EQ(CTQTimbering::HasTimbering(QStringLiteral("水泥砂浆"), nullptr), stored);
}

TEST_F(RecordKeyTest, MaterialTypesAndProvincesRefuseDuplicates)
{
    CTQTimberingType second;
    second.Name = QStringLiteral("保温材料");
    const int insulation = Store(second);
    EXPECT_EQ(second.AddIfNotExist(nullptr, 1), DBS_Exist);
    EXPECT_EQ(second.GetID(), insulation);
    EXPECT_EQ(CTQTimberingType::HasTimberingType(QStringLiteral("保温材料"), nullptr), insulation);

    CTQWallProvince same;
    same.Name = QStringLiteral("吉林省");
    same.CId = 1;
    const int cold = Store(same);
    same.CId = 2;
    EXPECT_GT(Store(same), cold) << "CId is part of the key";
    same.CId = 1;
    EXPECT_EQ(same.AddIfNotExist(nullptr, 1), DBS_Exist);
    EXPECT_EQ(same.GetID(), cold);
}

TEST_F(RecordKeyTest, UpdateIfNoOtherWritesOwnRowOnly)
{
    CTQBSType wall;
    ASSERT_TRUE(wall.ReadData(AddType(QStringLiteral("外墙A"), 1), nullptr));
    CTQBSType roof;
    ASSERT_TRUE(roof.ReadData(AddType(QStringLiteral("屋面B"), 3), nullptr));

    // Its own key on its own row, then a new name nobody holds: written over its own row.
    CTQBSType reread;
    wall.BSDLId = 2;
    EXPECT_EQ(wall.UpdateIfNoOther(nullptr, 1), DBS_Updated);
    wall.Name = QStringLiteral("外墙C");
    EXPECT_EQ(wall.UpdateIfNoOther(nullptr, 1), DBS_Updated);
    ASSERT_TRUE(reread.ReadData(wall.GetID(), nullptr));
    EXPECT_EQ(reread.BSDLId, 2);
    EXPECT_EQ(reread.Name, QStringLiteral("外墙C"));

    // Another record's name: nothing written; with take-over the object becomes the other one.
    CTQBSType clash = wall;
    clash.Name = roof.Name;
    EXPECT_EQ(clash.UpdateIfNoOther(nullptr, 0), DBS_Exist);
    EXPECT_EQ(clash.GetID(), wall.GetID());
    EXPECT_EQ(clash.UpdateIfNoOther(nullptr, 1), DBS_Exist);
    EXPECT_EQ(clash.GetID(), roof.GetID());
    EXPECT_EQ(clash.BSDLId, 3);
    ASSERT_TRUE(reread.ReadData(wall.GetID(), nullptr));
    EXPECT_EQ(reread.Name, QStringLiteral("外墙C")) << "the refused update left the row alone";

    CTQBSCode never = MakeCode(QStringLiteral("未保存"), 1, 0);
    EXPECT_EQ(never.UpdateIfNoOther(nullptr, 1), DBS_Failed) << "no row holds ID 0, so nothing was written";
}

TEST_F(RecordKeyTest, FirstOfSeveralMatchingRowsWins)
{
    Exec(QStringLiteral("DROP INDEX BSType_key")); // an older library, from before the key indexes
    Exec(QStringLiteral("INSERT INTO BSType (Name, BSDLId) VALUES (?, ?)"), {QStringLiteral("重复"), 4});
    Exec(QStringLiteral("INSERT INTO BSType (Name, BSDLId) VALUES (?, ?)"), {QStringLiteral("重复"), 5});
    CTQBSType type = MakeType(QStringLiteral("重复"), 0);
    EXPECT_EQ(type.IsExist(nullptr), DBS_Exist);
    EXPECT_EQ(type.BSDLId, 4);
}
