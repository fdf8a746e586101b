// Constructions listed as wall data: which ones each list mode shows, type by type and all at once,
// and the layers and figures they carry.
#include "library/ManagerFixture.h"

#include <cmath>

using namespace TQLoad;

class LibraryContentTest : public ManagerFixture
{
protected:
    static QStringList Names(const CTQArray<CTQWallData>& walls)
    {
        QStringList names;
        for (const CTQWallData& wall : walls)
            names.append(wall.m_strBSCName);
        return names;
    }
    CTQArray<CTQWallData> Listed(int typeId, bool calculate = false)
    {
        CTQBSType type;
        type.SetID(typeId);
        CTQArray<CTQWallData> walls;
        m_Admin.GetBSCodeCWallDataAry(type, walls, calculate, CTQCrXs());
        return walls;
    }
    /// Each layer as "material-ID name thickness-in-m factor".
    static QStringList Layers(const CTQWallData& wall)
    {
        QStringList layers;
        for (const CTQTimberingData& l : wall.GetTimbering())
            layers.append(QStringLiteral("%1 %2 %3 %4").arg(l.GetStuffID()).arg(l.GetStuffName()).arg(l.GetThick()).arg(l.GetDrXsXz()));
        return layers;
    }
};

TEST_F(LibraryContentTest, ListModesChooseNationalProvinceOrCommon)
{
    AddCode("北京砖墙", m_Brick, m_Beijing, 1);
    AddCode("北京屋面", m_FlatRoof, m_Beijing, 0);
    AddCode("黑龙江砖墙", m_Brick, m_Heilongjiang, 0);
    // what, province, common, category, and what 砖墙, 保温墙 and 平屋面 each list in ID order
    const std::tuple<const char*, int, int, int, QStringList, QStringList, QStringList> modes[] = {
        {"national", 0, 0, 0, {"240砖墙", "370砖墙"}, {}, {"平屋面A"}},
        {"Beijing", m_Beijing, 0, 0, {"北京砖墙"}, {}, {"北京屋面"}},
        {"common ones of every province", 0, 1, 0, {"240砖墙", "北京砖墙"}, {"北方保温墙"}, {}},
        {"national walls", 0, 0, m_Wall, {"240砖墙", "370砖墙"}, {}, {"平屋面A"}},
        {"Beijing roofs", m_Beijing, 0, m_Roof, {"北京砖墙"}, {}, {"北京屋面"}},
    };
    for (const auto& [what, province, common, category, brick, insulated, flatRoof] : modes) {
        SCOPED_TRACE(what);
        m_Admin.m_BSProvince.SetID(province);
        m_Admin.m_bBSCommon = common;
        QHash<int, CTQArray<CTQWallData>> ofTypes;
        m_Admin.GetBSCodeCWallDataAryOfTypes(category, ofTypes, true, CTQCrXs());
        const std::pair<int, QStringList> types[] = {
            {m_Brick, brick}, {m_Insulated, insulated}, {m_FlatRoof, flatRoof}};
        for (const auto& [typeId, expected] : types) {
            EXPECT_EQ(Names(Listed(typeId)), expected) << typeId;
            // All types at once list the same, only those of the category when one is given.
            const bool inCategory = category == 0 || category == (typeId == m_FlatRoof ? m_Roof : m_Wall);
            EXPECT_EQ(Names(ofTypes.value(typeId)), inCategory ? expected : QStringList()) << typeId;
            EXPECT_EQ(ofTypes.contains(typeId), inCategory && !expected.isEmpty()) << typeId;
        }
    }

    // All at once, by province; a construction without province (NULL) is of none.
    Exec("INSERT INTO BSCode (BSTId, Name, ProvinceId) VALUES (?, '无省份', NULL)", {m_Brick});
    QHash<int, QHash<int, CTQArray<CTQWallData>>> all;
    m_Admin.GetAllBSCodeCWallDataAry(all, false, CTQCrXs());
    EXPECT_EQ(Names(all[0][m_Brick]), (QStringList{"240砖墙", "370砖墙"}));
    EXPECT_EQ(Names(all[m_Beijing][m_Brick]), QStringList{"北京砖墙"});
    EXPECT_EQ(Names(all[m_Heilongjiang][m_Insulated]), QStringList{"北方保温墙"});
    EXPECT_EQ(all[m_Beijing].size(), 2);
}

TEST_F(LibraryContentTest, WallDataCarriesTheFirstLayerSetInMetres)
{
    // A second layer set of 240砖墙 (a library written elsewhere) is not the one read; a material
    // ID without a row gives an empty layer, a repeated one the same material.
    Exec("INSERT INTO BoundingStructure (BSCId, TIdS, HouDuS, XzXsS) VALUES (?, ?, '100', '1')",
         {m_Brick240, QString::number(m_Clay)});
    AddLayers(m_Brick370, QStringLiteral("%1,999999,%1").arg(m_Clay), "240,10,130", "1,1,1.2");
    const CTQArray<CTQWallData> walls = Listed(m_Brick);
    ASSERT_EQ(walls.GetSize(), 2);
    EXPECT_EQ(walls[0].m_nBSCId, m_Brick240);
    const QString mortar = QStringLiteral("%1 水泥砂浆 0.02 1").arg(m_Mortar);
    EXPECT_EQ(Layers(walls[0]), (QStringList{mortar, QStringLiteral("%1 黏土砖 0.24 1").arg(m_Clay), mortar}));
    EXPECT_EQ(Layers(walls[1]), (QStringList{QStringLiteral("%1 黏土砖 0.24 1").arg(m_Clay), "0  0.01 1",
                                             QStringLiteral("%1 黏土砖 0.13 1.2").arg(m_Clay)}));
    EXPECT_EQ(walls[0].GetCrXs(), 0.0) << "nothing is computed unless asked";

    // A material without a row or lists of unequal length never give a plausible number.
    AddLayers(m_RoofA, QStringLiteral("%1,%2").arg(m_Mortar).arg(m_Clay), "20", "1,1");
    EXPECT_TRUE(std::isnan(Listed(m_Brick, true)[1].GetCrXs()));
    EXPECT_TRUE(std::isnan(Listed(m_FlatRoof, true)[0].GetCrXs()));

    const CTQArray<CTQTimbering> materials = m_Admin.GetTimberings({m_Xps, 999999, m_Mortar, m_Xps});
    ASSERT_EQ(materials.GetSize(), 4);
    EXPECT_EQ(materials[0].GetStuffName(), QStringLiteral("XPS板"));
    EXPECT_EQ(std::pair(materials[1].GetID(), materials[1].GetStuffName()), std::pair(0, QString())) << "no such ID";
    EXPECT_EQ(materials[2].GetDrXs(), 0.93);
    EXPECT_EQ(materials[3].GetID(), m_Xps);

    CTQBoundingStructure stored;
    stored.TIdS = QStringLiteral("stale");
    EXPECT_EQ(m_Admin.GetBS(stored, m_NorthWall), 1);
    EXPECT_TRUE(stored.TIdS.isEmpty()) << "a construction without layer set resets the record";
    EXPECT_EQ(m_Admin.GetBS(stored, m_Brick240), 1);
    EXPECT_EQ(stored.m_StuffAry.GetSize(), 3);
}
