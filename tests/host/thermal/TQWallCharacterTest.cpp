#include "host/thermal/TQWallCharacter.h"

#include "ThermalTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace thermal::test {
namespace {

// Plastered 240 mm brick with the default films αi 8.7, αe 19: R = 0.02/0.93 + 0.24/0.81 + 0.02/0.87
// = 0.340790, K = 1/(1/8.7 + 0.340790 + 1/19) = 1.967093; with αe 5, 1/(0.114943 + 0.340790 + 0.2) = 1.525012.
TEST(TQWallCharacter, SettersRecalculateOnlyWhenTheirFlagSaysSoAndReportABadValue)
{
    tagTQWALLCHARACTER wall;
    EXPECT_EQ(wall.SetTimberingData(PlasteredBrick(0.24), 0), TQLoad::ET_OK);
    EXPECT_EQ(wall.CrXs, 0.0) << "flag 0 must not calculate";
    EXPECT_EQ(wall.SetTimberingData(PlasteredBrick(0.24), 1), TQLoad::ET_OK);
    EXPECT_NEAR(wall.CrXs, 1.967093, 1e-6);
    EXPECT_GT(wall.Sj, 1.0);
    EXPECT_GT(wall.Yc, 0.0);

    wall.SetWHrXs(5.0, 0);
    EXPECT_NEAR(wall.CrXs, 1.967093, 1e-6);
    wall.SetWHrXs(5.0, 1);
    EXPECT_NEAR(wall.CrXs, 1.525012, 1e-6);

    EXPECT_EQ(wall.SetNHrXs(0.0, 0), TQLoad::ET_BadSurfaceCoefficient);
    EXPECT_TRUE(std::isfinite(wall.CrXs)) << "flag 0 leaves the last results";
    EXPECT_EQ(wall.SetNHrXs(kNaN, 1), TQLoad::ET_NonFinite);
    EXPECT_TRUE(std::isnan(wall.CrXs) && std::isnan(wall.Sj) && std::isnan(wall.Yc));

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
