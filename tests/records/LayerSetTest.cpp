// The layer lists of a construction: parsing, storing and the find-by-construction key.
#include "support/LibraryFixture.h"

using namespace TQLoad;

using LayerSetTest = LibraryFixture;

// The three lists parse each on its own, outside to inside: material IDs (each material loaded),
// thicknesses in mm, factors.
TEST_F(LayerSetTest, ListsParseIndependentlyAndForgiveBadItems)
{
    const QString m = QString::number(AddMaterial("水泥砂浆", 0, 0, 0, 1800, 0.93, 1.05));
    const QString b = QString::number(AddMaterial("黏土砖", 0, 0, 0, 1800, 0.81, 1.05));
    const std::tuple<const char*, QString, QString, QString, QStringList, QList<double>, QList<double>> cases[] = {
        {"outside to inside", m + "," + b + "," + m, "20,240,20", "1,1.00,1.2", {"水泥砂浆", "黏土砖", "水泥砂浆"},
         {20, 240, 20}, {1, 1, 1.2}},
        {"empty lists give no layer", "", "", "", {}, {}, {}},
        {"four materials, three thicknesses", m + "," + m + "," + m + "," + m, "20,30,40", "1,1,1,1",
         {"水泥砂浆", "水泥砂浆", "水泥砂浆", "水泥砂浆"}, {20, 30, 40}, {1, 1, 1, 1}},
        {"leading numbers are read, others give 0", m + "abc,x", "12.5mm,abc,,7", "1", {"水泥砂浆", ""}, {12.5, 0, 0, 7}, {1}},
        {"an unknown material ID gives an empty material", "999999", "20", "1", {""}, {20}, {1}},
    };
    for (const auto& [what, ids, thicknesses, factors, names, expectedThicknesses, expectedFactors] : cases) {
        CTQBoundingStructure layers;
        std::tie(layers.TIdS, layers.HouDuS, layers.XzXsS) = std::tie(ids, thicknesses, factors);
        layers.MakeArray();
        QStringList materials;
        for (const CTQMateralData& material : layers.m_StuffAry)
            materials.append(material.GetStuffName());
        EXPECT_EQ(materials, names) << what;
        EXPECT_EQ(QList<double>(layers.m_HouDuAry.begin(), layers.m_HouDuAry.end()), expectedThicknesses) << what;
        EXPECT_EQ(QList<double>(layers.m_XzXsAry.begin(), layers.m_XzXsAry.end()), expectedFactors) << what;
    }
}

TEST_F(LayerSetTest, AddOrUpdateKeepsOneRowPerConstruction)
{
    CTQBoundingStructure layers;
    layers.BSCId = 42;
    std::tie(layers.TIdS, layers.HouDuS, layers.XzXsS) = std::tuple("1", "20", "1");
    ASSERT_EQ(layers.AddOrUpdate(nullptr), DBS_Added);

    // A fresh record for the same construction finds the row, takes its ID and updates it.
    CTQBoundingStructure again;
    again.BSCId = 42;
    std::tie(again.TIdS, again.HouDuS, again.XzXsS) = std::tuple("1,1", "20,30", "1,1");
    again.HaveDemoBMP = 1;
    ASSERT_EQ(again.AddOrUpdate(nullptr), DBS_Updated);
    EXPECT_EQ(again.GetID(), layers.GetID());

    // The arrays are derived: changing them without the strings stores the old strings.
    again.MakeArray();
    again.m_HouDuAry[0] = 999.0;
    ASSERT_EQ(again.AddOrUpdate(nullptr), DBS_Updated);

    CTQBoundingStructure stored;
    ASSERT_TRUE(stored.ReadData(layers.GetID(), nullptr));
    EXPECT_EQ(std::tuple(stored.ID, stored.HouDuS, stored.HaveDemoBMP), std::tuple(layers.GetID(), QStringLiteral("20,30"), 1));
    EXPECT_EQ(stored.m_StuffAry.GetSize(), 2) << "a load parses the lists";
    EXPECT_EQ(CountRows("BoundingStructure", "BSCId = ?", {42}), 1);

    // Two rows for one construction (an older library): no ID is taken over, nothing written blindly.
    Exec("INSERT INTO BoundingStructure (BSCId, TIdS) VALUES (42, '2')");
    CTQBoundingStructure twice;
    twice.BSCId = 42;
    EXPECT_EQ(twice.IsExist(nullptr), DBS_Exist);
    EXPECT_EQ(twice.GetID(), 0);
    EXPECT_EQ(twice.AddOrUpdate(nullptr), DBS_Failed);
}
