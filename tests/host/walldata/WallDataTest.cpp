// The host's wall data around the thermal engine: the method chosen in the settings, and the
// thickness search as the editor uses it. (Its figures are checked by hand through the library
// dialog's list and the entry functions, tests/ui; a bad layer through the library's list.)
#include "host/walldata/CTQWallData.h"
#include "support/LibraryFixture.h"

#include <cmath>
#include <tuple>

namespace {

/// The textbook wall, outside to inside: 80 mm EPS (λ 0.039, a 1.2), 20 mm cement mortar, 370 mm
/// brick (λ 0.57), 20 mm cement mortar; the default films αi 8.7, αe 19 (summer) and 23 (winter).
CTQWallData TextbookWall()
{
    CTQArray<CTQTimberingData> layers;
    for (const auto& [name, metres, conductivity, factor, density] : {std::tuple{"聚苯板", 0.08, 0.039, 1.2, 20.0},
                                                                      {"水泥砂浆", 0.02, 0.93, 1.0, 1800.0},
                                                                      {"红砖墙", 0.37, 0.57, 1.0, 1800.0},
                                                                      {"水泥砂浆", 0.02, 0.93, 1.0, 1800.0}}) {
        CTQTimberingData layer;
        layer.SetStuffName(QString::fromUtf8(name));
        layer.SetThick(metres);
        layer.SetDrXs(conductivity);
        layer.SetDrXsXz(factor);
        layer.SetGMD(density);
        layer.SetBRr(1.05);
        layers.Add(layer);
    }
    CTQWallData wall;
    wall.SetTimbering(layers, 0);
    return wall;
}

} // namespace

using WallDataTest = LibraryFixture;

TEST_F(WallDataTest, MethodFromTheSettingsChangesOnlyTheDynamicResults)
{
    CTQWallData gb = TextbookWall();
    gb.Cal(1);
    gb.Cal(0);
    CTQDBGlobalSetting::GetGlobalSetting()->WriteSysIni(QStringLiteral("Calculation"), QStringLiteral("DynamicMethod"),
                                                        QStringLiteral("ISO13786"));
    CTQWallData iso = TextbookWall();
    iso.Cal(1);
    iso.Cal(0);
    // Handing the layers on again (as the library's entry functions do) keeps the wall's method.
    const double attenuation = iso.GetSj();
    iso.m_WallCharacter.SetTimberingData(iso.m_WallCharacter.GetTimberingData(), 1);
    EXPECT_DOUBLE_EQ(iso.GetSj(), attenuation);
    CTQDBGlobalSetting::GetGlobalSetting()->WriteSysIni(QStringLiteral("Calculation"), QStringLiteral("DynamicMethod"),
                                                        QStringLiteral("GB50176"));
    EXPECT_DOUBLE_EQ(iso.GetCrXs(), gb.GetCrXs());
    EXPECT_NE(iso.GetSj(), gb.GetSj());
    EXPECT_TRUE(std::isfinite(iso.GetYc()) && iso.GetYc() >= 0.0 && iso.GetYc() < 24.0);
}

TEST_F(WallDataTest, ThicknessSearchReachesTheTargetOnTheInsulation)
{
    CTQWallData wall = TextbookWall();
    for (bool winter : {false, true}) {
        int index = -1;
        double thickness = 0.0;
        const double target = 0.3; // below the wall's K in both seasons: the EPS grows
        if (winter)
            wall.CurrectDjThick(target, index, thickness);
        else
            wall.CurrectThick(target, index, thickness);
        ASSERT_EQ(index, 0) << "EPS has the lowest λ·a";
        CTQArray<CTQTimberingData> layers = wall.GetTimbering();
        layers[0].SetThick(thickness);
        CTQWallData changed = wall;
        changed.SetTimbering(layers, 0);
        changed.Cal(winter ? 1 : 0);
        EXPECT_NEAR(winter ? changed.GetDjCrXs() : changed.GetCrXs(), target, 1e-9);
    }
}

// The host replaces a wall's layers through its character block; the layers the wall hands out
// are those it calculates with.
TEST_F(WallDataTest, LayersReplacedThroughTheCharacterBlockAreTheWallsLayers)
{
    CTQWallData wall = TextbookWall();
    CTQTheroyArray<tagTQTIMBERINGCHARACTER> characters = wall.m_WallCharacter.GetTimberingData();
    characters[2].Thick = 0.24; // the same brick, thinner
    characters[0].DrXs = 0.030; // another insulation
    characters.RemoveAt(3);
    wall.m_WallCharacter.SetTimberingData(characters, 1);

    const CTQArray<CTQTimberingData> layers = wall.GetTimbering();
    ASSERT_EQ(layers.GetSize(), 3);
    EXPECT_EQ(layers[2].GetThick(), 0.24);
    EXPECT_EQ(layers[2].GetStuffName(), QStringLiteral("红砖墙")) << "its material is unchanged";
    EXPECT_EQ(layers[0].GetDrXs(), 0.030);
    EXPECT_EQ(layers[0].GetStuffName(), QString()) << "a changed material is no longer 聚苯板";
    EXPECT_EQ(layers[1].GetStuffName(), QStringLiteral("水泥砂浆"));
}
