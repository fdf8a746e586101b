// Existence checks and conditional writes of the library records: key scopes, take-over, and
// UpdateIfNoOther against a record's own row and another's.
#include "records/CTQBSCode.h"
#include "records/CTQBSType.h"
#include "records/CTQTimbering.h"
#include "records/CTQTimberingType.h"
#include "records/CTQWallProvince.h"
#include "support/LibraryFixture.h"

using namespace TQLoad;

namespace {

CTQBSType MakeType(const QString& name, int categoryId)
{
    CTQBSType type;
    type.Name = name;
    type.BSDLId = categoryId;
    return type;
}

CTQBSCode MakeCode(const QString& name, int typeId, int provinceId, int commonFlag = 0)
{
    CTQBSCode code;
    code.Name = name;
    code.BSTId = typeId;
    code.ProvinceId = provinceId;
    code.CommonFlag = commonFlag;
    return code;
}

CTQTimbering MakeMaterial(const QString& name, int typeId, int provinceId, double conductivity = 0.5)
{
    CTQTimbering material;
    material.Init();
    material.SetStuffName(name);
    material.TTId = typeId;
    material.SetProvinceID(provinceId);
    material.SetGMD(1800.0);
    material.SetDrXs(conductivity);
    material.SetBRr(1.05);
    return material;
}

CTQWallProvince MakeProvince(const QString& name, int zone)
{
    CTQWallProvince province;
    province.Name = name;
    province.CId = zone;
    return province;
}

} // namespace

class RecordKeyTest : public LibraryFixture
{
};

TEST_F(RecordKeyTest, TypeNamesAreUniqueOverAllCategories)
{
    CTQBSType brick = MakeType(QStringLiteral("砖墙"), 1);
    ASSERT_EQ(brick.AddIfNotExist(nullptr, 1), DBS_Added);
    EXPECT_GT(brick.GetID(), 0);

    CTQBSType keep = MakeType(QStringLiteral("砖墙"), 2);
    EXPECT_EQ(keep.AddIfNotExist(nullptr, 0), DBS_Exist);
    EXPECT_EQ(keep.GetID(), 0) << "without take-over the record keeps its own values";
    EXPECT_EQ(keep.BSDLId, 2);

    CTQBSType takeOver = MakeType(QStringLiteral("砖墙"), 2);
    EXPECT_EQ(takeOver.AddIfNotExist(nullptr, 1), DBS_Exist);
    EXPECT_EQ(takeOver.GetID(), brick.GetID());
    EXPECT_EQ(takeOver.BSDLId, 1) << "the stored type's category comes with it";
}

TEST_F(RecordKeyTest, ConstructionKeyIsNameTypeAndProvince)
{
    CTQBSCode stored = MakeCode(QStringLiteral("240砖墙"), 5, 0, 1);
    ASSERT_EQ(stored.AddIfNotExist(nullptr, 1), DBS_Added);

    struct Case
    {
        const char* what;
        CTQBSCode code;
        DBStatusCode expected;
    };
    const Case cases[] = {
        {"same name under another type", MakeCode(QStringLiteral("240砖墙"), 6, 0), DBS_Added},
        {"same name and type in a province", MakeCode(QStringLiteral("240砖墙"), 5, 3), DBS_Added},
        {"same name, type and province", MakeCode(QStringLiteral("240砖墙"), 5, 0), DBS_Exist},
    };
    for (Case c : cases) {
        EXPECT_EQ(c.code.AddIfNotExist(nullptr, 1), c.expected) << c.what;
        if (c.expected == DBS_Exist) {
            EXPECT_EQ(c.code.GetID(), stored.GetID()) << c.what;
            EXPECT_EQ(c.code.CommonFlag, 1) << c.what;
        }
    }
    EXPECT_EQ(CTQBSCode::HasBSCode(QStringLiteral("240砖墙"), nullptr), stored.GetID())
        << "the name lookup returns the first row over all types and provinces";
    EXPECT_EQ(CTQBSCode::HasBSCode(QStringLiteral("不存在"), nullptr), 0);
}

TEST_F(RecordKeyTest, MaterialKeyIsNameAndProvinceNotType)
{
    CTQTimbering stored = MakeMaterial(QStringLiteral("水泥砂浆"), 1, 0, 0.93);
    ASSERT_EQ(stored.AddIfNotExist(nullptr, 1), DBS_Added);

    CTQTimbering otherType = MakeMaterial(QStringLiteral("水泥砂浆"), 2, 0, 0.5);
    EXPECT_EQ(otherType.AddIfNotExist(nullptr, 1), DBS_Exist);
    EXPECT_EQ(otherType.GetID(), stored.GetID());
    EXPECT_EQ(otherType.GetStuffID(), stored.GetID()) << "record ID and material ID agree after a load";
    EXPECT_EQ(otherType.TTId, 1);
    EXPECT_DOUBLE_EQ(otherType.GetDrXs(), 0.93);

    CTQTimbering province = MakeMaterial(QStringLiteral("水泥砂浆"), 1, 7);
    EXPECT_EQ(province.AddIfNotExist(nullptr, 1), DBS_Added);
    EXPECT_EQ(CTQTimbering::HasTimbering(QStringLiteral("水泥砂浆"), nullptr), stored.GetID());
}

TEST_F(RecordKeyTest, MaterialTypesAndProvincesRefuseDuplicates)
{
    CTQTimberingType first;
    first.Name = QStringLiteral("保温材料");
    ASSERT_EQ(first.AddIfNotExist(nullptr, 1), DBS_Added);
    CTQTimberingType second;
    second.Name = QStringLiteral("保温材料");
    EXPECT_EQ(second.AddIfNotExist(nullptr, 1), DBS_Exist);
    EXPECT_EQ(second.GetID(), first.GetID());
    EXPECT_EQ(CTQTimberingType::HasTimberingType(QStringLiteral("保温材料"), nullptr), first.GetID());

    CTQWallProvince cold = MakeProvince(QStringLiteral("吉林省"), 1);
    ASSERT_EQ(cold.AddIfNotExist(nullptr, 1), DBS_Added);
    CTQWallProvince otherZone = MakeProvince(QStringLiteral("吉林省"), 2);
    EXPECT_EQ(otherZone.AddIfNotExist(nullptr, 1), DBS_Added) << "CId is part of the key";
    CTQWallProvince same = MakeProvince(QStringLiteral("吉林省"), 1);
    EXPECT_EQ(same.AddIfNotExist(nullptr, 1), DBS_Exist);
    EXPECT_EQ(same.GetID(), cold.GetID());
}

TEST_F(RecordKeyTest, UpdateIfNoOtherWritesOwnRowOnly)
{
    CTQBSType wall = MakeType(QStringLiteral("外墙A"), 1);
    CTQBSType roof = MakeType(QStringLiteral("屋面B"), 3);
    ASSERT_EQ(wall.AddIfNotExist(nullptr, 1), DBS_Added);
    ASSERT_EQ(roof.AddIfNotExist(nullptr, 1), DBS_Added);

    // Its own key on its own row: written.
    wall.BSDLId = 2;
    EXPECT_EQ(wall.UpdateIfNoOther(nullptr, 1), DBS_Updated);
    CTQBSType reread;
    ASSERT_TRUE(reread.ReadData(wall.GetID(), nullptr));
    EXPECT_EQ(reread.BSDLId, 2);

    // A new name nobody holds: written over its own row.
    wall.Name = QStringLiteral("外墙C");
    EXPECT_EQ(wall.UpdateIfNoOther(nullptr, 1), DBS_Updated);
    ASSERT_TRUE(reread.ReadData(wall.GetID(), nullptr));
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
}

TEST_F(RecordKeyTest, UpdateOfAnUnstoredRecordFails)
{
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
