// The host's wall data around the thermal engine: results after Cal, the method chosen in the
// settings, and the thickness search as the editor uses it.
#include "host/walldata/CTQWallData.h"
#include "host/core/TQString.h"
#include "support/LibraryFixture.h"

#include <cmath>

namespace {

CTQTimberingData Layer(const char* name, double metres, double conductivity, double factor, double density,
                       double specificHeat)
{
    CTQTimberingData layer;
    layer.SetStuffName(QString::fromUtf8(name));
    layer.SetThick(metres);
    layer.SetDrXs(conductivity);
    layer.SetDrXsXz(factor);
    layer.SetGMD(density);
    layer.SetBRr(specificHeat);
    return layer;
}

// The textbook wall: 80 mm EPS (λ 0.039, a 1.2), 20 mm cement mortar, 370 mm brick (λ 0.57),
// 20 mm cement mortar, outside to inside.
CTQWallData TextbookWall(double outer, double inner)
{
    CTQArray<CTQTimberingData> layers;
    layers.Add(Layer("聚苯板", 0.08, 0.039, 1.2, 20, 1.38));
    layers.Add(Layer("水泥砂浆", 0.02, 0.93, 1.0, 1800, 1.05));
    layers.Add(Layer("红砖墙", 0.37, 0.57, 1.0, 1800, 1.05));
    layers.Add(Layer("水泥砂浆", 0.02, 0.93, 1.0, 1800, 1.05));
    CTQWallData wall;
    wall.SetTimbering(layers, 0);
    wall.SetWHrXsData(outer, 0);
    wall.SetDjWHrXsData(outer, 0);
    wall.SetNHrXsData(inner, 0);
    return wall;
}

} // namespace

class WallDataTest : public LibraryFixture
{
};

TEST_F(WallDataTest, PublishedTextbookFigure)
{
    // Ri 0.11 and Re 0.04 m²·K/W: K = 0.39 W/(m²·K) as the exercise gives it.
    CTQWallData wall = TextbookWall(1.0 / 0.04, 1.0 / 0.11);
    ASSERT_EQ(wall.Cal(1), TQLoad::ET_OK);
    ASSERT_EQ(wall.Cal(0), TQLoad::ET_OK);
    EXPECT_EQ(TQLoad::DblToStr(wall.GetCrXs(), 2), QStringLiteral("0.39"));
    EXPECT_DOUBLE_EQ(wall.GetCrXs(), wall.GetDjCrXs()) << "same film summer and winter";
    EXPECT_LT(wall.GetNCrXs(), wall.GetCrXs()) << "two inner films resist more than one inner and one outer";
    EXPECT_GT(wall.GetSj(), 1.0);
    EXPECT_GT(wall.GetYc(), 0.0);
}

TEST_F(WallDataTest, MethodFromTheSettingsChangesOnlyTheDynamicResults)
{
    CTQWallData gb = TextbookWall(19.0, 8.7);
    gb.Cal(1);
    gb.Cal(0);
    CTQDBGlobalSetting::GetGlobalSetting()->WriteSysIni(QStringLiteral("Calculation"), QStringLiteral("DynamicMethod"),
                                                        QStringLiteral("ISO13786"));
    CTQWallData iso = TextbookWall(19.0, 8.7);
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

TEST_F(WallDataTest, BadLayerGivesNaNNotANumber)
{
    CTQWallData wall = TextbookWall(19.0, 8.7);
    CTQArray<CTQTimberingData> layers = wall.GetTimbering();
    layers[2].SetDrXs(0.0); // a material row that could not be read
    wall.SetTimbering(layers, 0);
    EXPECT_NE(wall.Cal(0), TQLoad::ET_OK);
    EXPECT_TRUE(std::isnan(wall.GetCrXs()));
    EXPECT_EQ(TQLoad::DblToStr(wall.GetCrXs(), 2), QStringLiteral("-"));
}

TEST_F(WallDataTest, ThicknessSearchReachesTheTargetOnTheInsulation)
{
    CTQWallData wall = TextbookWall(19.0, 8.7);
    for (bool winter : {false, true}) {
        int index = -1;
        double thickness = 0.0;
        const double target = 0.3;
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
    CTQWallData empty;
    int index = 7;
    double thickness = 1.0;
    empty.CurrectThick(0.5, index, thickness);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(thickness, 0.0);

    // A target whose 1/K overflows cannot be reached: no layer, never an infinite thickness.
    index = 7;
    thickness = 1.0;
    wall.CurrectThick(1e-310, index, thickness);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(thickness, 0.0);
}

// The host replaces a wall's layers through its character block; the layers the wall hands out
// are those it calculates with.
TEST_F(WallDataTest, LayersReplacedThroughTheCharacterBlockAreTheWallsLayers)
{
    CTQWallData wall = TextbookWall(19.0, 8.7);
    CTQTheroyArray<tagTQTIMBERINGCHARACTER> characters = wall.m_WallCharacter.GetTimberingData();
    characters[2].Thick = 0.24;     // the same brick, thinner
    characters[0].DrXs = 0.030;     // another insulation
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
