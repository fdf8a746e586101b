// The layer lists of a construction: parsing, storing and the find-by-construction key.
#include "support/LibraryFixture.h"

#include <QStringList>

#include <tuple>

using namespace TQLoad;

class LayerSetTest : public LibraryFixture
{
protected:
    int AddMaterial(const QString& name, double conductivity)
    {
        return LibraryFixture::AddMaterial(name, 0, 0, 0, 1800.0, conductivity, 1.05);
    }

    static QList<int> MaterialIds(const CTQBoundingStructureData& layers)
    {
        QList<int> ids;
        for (const CTQMateralData& material : layers.m_StuffAry)
            ids.append(material.GetStuffID());
        return ids;
    }
};

TEST_F(LayerSetTest, ListsParseOutsideToInsideWithTheirMaterials)
{
    const int mortar = AddMaterial(QStringLiteral("水泥砂浆"), 0.93);
    const int brick = AddMaterial(QStringLiteral("重砂浆黏土砖砌体"), 0.81);

    CTQBoundingStructure layers;
    layers.TIdS = QStringLiteral("%1,%2,%1").arg(mortar).arg(brick);
    layers.HouDuS = QStringLiteral("20,240,20");
    layers.XzXsS = QStringLiteral("1,1.00,1.2");
    layers.MakeArray();

    EXPECT_EQ(MaterialIds(layers), (QList<int>{mortar, brick, mortar}));
    EXPECT_EQ(layers.m_StuffAry[1].GetStuffName(), QStringLiteral("重砂浆黏土砖砌体"));
    EXPECT_DOUBLE_EQ(layers.m_StuffAry[1].GetDrXs(), 0.81);
    ASSERT_EQ(layers.m_HouDuAry.GetSize(), 3);
    EXPECT_DOUBLE_EQ(layers.m_HouDuAry[1], 240.0);
    EXPECT_DOUBLE_EQ(layers.m_XzXsAry[2], 1.2);
}

// The three lists parse each on its own: material IDs, thicknesses in mm, factors (how many).
TEST_F(LayerSetTest, ListsParseIndependentlyAndForgiveBadItems)
{
    const int mortar = AddMaterial(QStringLiteral("水泥砂浆"), 0.93);
    const QString m = QString::number(mortar);
    const std::tuple<const char*, QString, QString, QString, QList<int>, QList<double>, int> cases[] = {
        {"empty lists give no layer", "", "", "", {}, {}, 0},
        {"four materials, three thicknesses",
         m + "," + m + "," + m + "," + m,
         "20,30,40",
         "1,1,1,1",
         {mortar, mortar, mortar, mortar},
         {20, 30, 40},
         4},
        {"leading numbers are read, others give 0", m + "abc,x", "12.5mm,abc,,7", "1", {mortar, 0}, {12.5, 0, 0, 7}, 1},
        {"an unknown material ID gives an empty material", "999999", "20", "1", {0}, {20}, 1},
    };
    for (const auto& [what, ids, thicknesses, factors, expectedIds, expectedThicknesses, factorCount] : cases) {
        CTQBoundingStructure layers;
        layers.TIdS = ids;
        layers.HouDuS = thicknesses;
        layers.XzXsS = factors;
        layers.MakeArray();
        EXPECT_EQ(MaterialIds(layers), expectedIds) << what;
        EXPECT_EQ(QList<double>(layers.m_HouDuAry.begin(), layers.m_HouDuAry.end()), expectedThicknesses) << what;
        EXPECT_EQ(layers.m_XzXsAry.GetSize(), factorCount) << what;
    }
}

TEST_F(LayerSetTest, AddOrUpdateKeepsOneRowPerConstruction)
{
    const int mortar = AddMaterial(QStringLiteral("水泥砂浆"), 0.93);
    CTQBoundingStructure layers;
    layers.BSCId = 42;
    layers.TIdS = QString::number(mortar);
    layers.HouDuS = QStringLiteral("20");
    layers.XzXsS = QStringLiteral("1");
    ASSERT_EQ(layers.AddOrUpdate(nullptr), DBS_Added);
    const int rowId = layers.GetID();

    // A fresh record for the same construction finds the row, takes its ID and updates it.
    CTQBoundingStructure again;
    again.BSCId = 42;
    again.TIdS = QStringLiteral("%1,%1").arg(mortar);
    again.HouDuS = QStringLiteral("20,30");
    again.XzXsS = QStringLiteral("1,1");
    again.HaveDemoBMP = 1;
    ASSERT_EQ(again.AddOrUpdate(nullptr), DBS_Updated);
    EXPECT_EQ(again.GetID(), rowId);

    // The arrays are derived: changing them without the strings stores the old strings.
    again.MakeArray();
    again.m_HouDuAry[0] = 999.0;
    ASSERT_EQ(again.AddOrUpdate(nullptr), DBS_Updated);

    CTQBoundingStructure stored;
    ASSERT_TRUE(stored.ReadData(rowId, nullptr));
    EXPECT_EQ(stored.ID, rowId);
    EXPECT_EQ(stored.HouDuS, QStringLiteral("20,30"));
    EXPECT_EQ(stored.HaveDemoBMP, 1);
    EXPECT_EQ(stored.m_StuffAry.GetSize(), 2) << "a load parses the lists";

    EXPECT_EQ(CountRows(QStringLiteral("BoundingStructure"), QStringLiteral("BSCId = ?"), {42}), 1);
}

TEST_F(LayerSetTest, TwoRowsForOneConstructionAreLeftAlone)
{
    Exec(QStringLiteral("INSERT INTO BoundingStructure (BSCId, TIdS) VALUES (7, '1')"));
    Exec(QStringLiteral("INSERT INTO BoundingStructure (BSCId, TIdS) VALUES (7, '2')"));
    CTQBoundingStructure layers;
    layers.BSCId = 7;
    EXPECT_EQ(layers.IsExist(nullptr), DBS_Exist);
    EXPECT_EQ(layers.GetID(), 0) << "with two rows no ID is taken over";
    EXPECT_EQ(layers.AddOrUpdate(nullptr), DBS_Failed) << "and nothing is written blindly";
}
