#include "host/thermal/TQWallCharacter.h"

#include "ThermalTestSupport.h"
#include "host/thermal/WallThermal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace thermal::test {
namespace {

// The textbook exercise (published K 0.39 with Ri 0.11, Re 0.04, m.274949.com/7198/t32889504.html).
Layers TextbookWall()
{
    return MakeLayers({Eps(0.08), CementMortar(0.02), Layer(0.37, 0.57, 1800.0, 1.05), CementMortar(0.02)});
}

TEST(TQWallCharacter, RecalculatingSetterGivesPublishedK)
{
    tagTQWALLCHARACTER wall;
    EXPECT_EQ(wall.SetNHrXs(1.0 / 0.11, 0), TQLoad::ET_OK);
    EXPECT_EQ(wall.SetWHrXs(1.0 / 0.04, 0), TQLoad::ET_OK);
    EXPECT_EQ(wall.CrXs, 0.0) << "flag 0 must not calculate";

    EXPECT_EQ(wall.SetTimberingData(TextbookWall(), 1), TQLoad::ET_OK);

    EXPECT_DOUBLE_EQ(std::round(wall.CrXs * 100.0) / 100.0, 0.39);
    EXPECT_GT(wall.Sj, 1.0);
    EXPECT_GT(wall.Yc, 0.0);
}

// The block holds the summer figures of the chosen method.
TEST(TQWallCharacter, CalculateHandsOnTheMethod)
{
    tagTQWALLCHARACTER wall;
    wall.SetTimberingData(PlasteredBrick(0.24), 0);
    SurfaceFilms films;
    films.inner = wall.NHrXs;
    films.outerSummer = wall.WHrXs;

    for (TQDynamicMethod method : {TQDynamicMethod::GB50176, TQDynamicMethod::ISO13786}) {
        const WallResults expected = EvaluateWall(PlasteredBrick(0.24), films, method);
        EXPECT_EQ(wall.Calculate(method), TQLoad::ET_OK);
        EXPECT_DOUBLE_EQ(wall.CrXs, expected.kSummer);
        EXPECT_DOUBLE_EQ(wall.Sj, expected.attenuation);
        EXPECT_DOUBLE_EQ(wall.Yc, expected.delayHours);
    }
}

TEST(TQWallCharacter, FlagDecidesWhetherResultsFollowTheOuterCoefficient)
{
    tagTQWALLCHARACTER wall;
    wall.SetTimberingData(PlasteredBrick(0.24), 1);
    const double before = wall.CrXs;

    wall.SetWHrXs(5.0, 0);
    EXPECT_EQ(wall.CrXs, before);

    wall.SetWHrXs(5.0, 1);
    EXPECT_LT(wall.CrXs, before) << "a smaller αe must lower K";
}

TEST(TQWallCharacter, BadValuesReportTheirFault)
{
    tagTQWALLCHARACTER wall;
    wall.SetTimberingData(PlasteredBrick(0.24), 1);

    EXPECT_EQ(wall.SetNHrXs(0.0, 0), TQLoad::ET_BadSurfaceCoefficient);
    EXPECT_TRUE(std::isfinite(wall.CrXs)) << "flag 0 leaves the last results";
    EXPECT_EQ(wall.SetNHrXs(std::numeric_limits<double>::quiet_NaN(), 1), TQLoad::ET_NonFinite);
    EXPECT_TRUE(std::isnan(wall.CrXs));
    EXPECT_TRUE(std::isnan(wall.Sj));
    EXPECT_TRUE(std::isnan(wall.Yc));

    EXPECT_EQ(wall.SetNHrXs(8.7, 0), TQLoad::ET_OK);
    Layers layers = PlasteredBrick(0.24);
    layers[1].GMD = -1.0;
    EXPECT_EQ(wall.SetTimberingData(layers, 0), TQLoad::ET_BadDensity);
    EXPECT_EQ(wall.Calculate(), TQLoad::ET_BadDensity);
    EXPECT_TRUE(std::isfinite(wall.CrXs)) << "density does not enter K";
    EXPECT_TRUE(std::isnan(wall.Sj));
}

} // namespace
} // namespace thermal::test
