#include "host/thermal/VapourProfile.h"

#include "host/thermal/GB50176.h"

#include "ThermalTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace thermal;
using thermal::test::kNaN;
using thermal::test::Layer;
using thermal::test::MakeLayers;

// The worked example of 刘加平《建筑物理》 (热环境例题 例2, as printed at https://m.wenke99.com/d-9229322.html):
// "试检验图1所示的外墙结构是否会产生内部冷凝", ti = 16 °C, φi = 60 %, te = −4 °C, φe = 50 %, Ri = 0.11,
// Re = 0.04. Layers from the inside: 石灰砂浆 δ 0.02 λ 0.81 H 166.67; 泡沫混凝土 δ 0.05 λ 0.19 H 251.51;
// 振动砖板 δ 0.14 λ 0.81 H 2098.95 (μ = δ/H). Printed: R0 = 0.611, H0 = 2517.13, Ps(16) = 1817.2,
// Pi = 1090.3, Ps(−4) = 437.3, so Pe = 0.5·437.3 = 218.7 Pa.
// Worked by hand from those figures (θ = ti − (ti − te)·ΣR/R0, P = Pi − (Pi − Pe)·ΣH/H0):
//   inner surface      θ = 16 − 20·0.110/0.611 = 12.40 °C
//   砂浆 | 泡沫混凝土   θ = 16 − 20·0.135/0.611 = 11.58 °C   P = 1090.3 − 871.6·166.67/2517.13 = 1032.6 Pa
//   泡沫混凝土 | 砖板   θ = 16 − 20·0.398/0.611 =  2.97 °C   P = 1090.3 − 871.6·418.18/2517.13 =  945.5 Pa
//   outer surface      θ = −4 + 20·0.040/0.611 = −2.69 °C
// Ps(2.97 °C) ≈ 756 Pa (the table's 757 at 3 °C) < 945.5: the wall condenses at 泡沫混凝土 | 砖板, the
// verdict of the example. Glaser rate there: (1090.3 − 756)/418.18 − (756 − 218.7)/2098.95 = 0.544 g/(m²·h).
const Layers kTextbookWall = MakeLayers({Layer(0.14, 0.81, 0, 0), Layer(0.05, 0.19, 0, 0), Layer(0.02, 0.81, 0, 0)});
const std::vector<double> kTextbookMu{0.14 / 2098.95, 0.05 / 251.51, 0.02 / 166.67};
const SurfaceFilms kTextbookFilms{19.0, 1.0 / 0.04, 1.0 / 0.11};
const MoistureConditions kTextbookAir{16.0, 60.0, -4.0, 50.0};

TEST(VapourProfileTest, TextbookWallCondensesAtTheFoamConcreteBrickInterface)
{
    EXPECT_NEAR(SaturationPressure(16.0), 1817.2, 1817.2 * 0.01);
    EXPECT_NEAR(SaturationPressure(-4.0), 437.3, 437.3 * 0.01);
    EXPECT_NEAR(SaturationPressure(DewPoint(1090.3)), 1090.3, 0.01);
    EXPECT_NEAR(SaturationPressure(DewPoint(300.0)), 300.0, 0.01);

    const VapourProfileResult result = EvaluateVapourProfile(kTextbookWall, kTextbookMu, kTextbookFilms, kTextbookAir);
    ASSERT_EQ(result.error, TQLoad::ET_OK);
    ASSERT_EQ(result.planes.size(), 4u);
    const double temperatures[] = {-2.69, 2.97, 11.58, 12.40};
    const double partials[] = {218.7, 945.5, 1032.6, 1090.3};
    for (std::size_t plane = 0; plane < 4; ++plane) {
        EXPECT_NEAR(result.planes[plane].temperature, temperatures[plane], 0.1) << "plane " << plane;
        EXPECT_NEAR(result.planes[plane].partial, partials[plane], partials[plane] * 0.01) << "plane " << plane;
    }
    EXPECT_NEAR(result.planes[1].saturation, 756.0, 756.0 * 0.01);
    EXPECT_NEAR(result.planes[3].position, 0.21, 1e-12);
    EXPECT_NEAR(result.layerResistance[0] + result.layerResistance[1] + result.layerResistance[2], 2517.13, 0.01);
    EXPECT_NEAR(result.innerSurfaceTemperature, 12.40, 0.1);

    EXPECT_EQ(result.interstitial, InterstitialVerdict::Condensing);
    EXPECT_EQ(result.zoneOuterPlane, 1);
    EXPECT_EQ(result.zoneInnerPlane, 1);
    EXPECT_NEAR(result.condensationRate, 0.544, 0.544 * 0.02);
    // Room air at 16 °C / 60 %: dew point 8.2 °C (Ps = 1090 Pa between the table's 8 and 9 °C rows).
    EXPECT_NEAR(result.dewPoint, 8.2, 0.1);
    EXPECT_FALSE(result.surfaceCondensation);
    EXPECT_NEAR(result.surfaceMargin, 12.40 - 8.2, 0.15);
}

// Edge cases, each on the textbook wall changed in one way (layers outside to inside).
struct EdgeCase
{
    const char* name;
    Layers layers;
    std::vector<double> mu;
    MoistureConditions air;
    InterstitialVerdict verdict;
    int missingLayer;
};

class VapourProfileEdgeTest : public ::testing::TestWithParam<EdgeCase>
{
};

TEST_P(VapourProfileEdgeTest, GivesTheVerdictAndAConsistentProfile)
{
    const EdgeCase& edge = GetParam();
    const VapourProfileResult result = EvaluateVapourProfile(edge.layers, edge.mu, kTextbookFilms, edge.air);
    ASSERT_EQ(result.error, TQLoad::ET_OK);
    EXPECT_EQ(result.interstitial, edge.verdict);
    EXPECT_EQ(result.missingLayer, edge.missingLayer);
    ASSERT_EQ(result.planes.size(), static_cast<std::size_t>(edge.layers.GetSize()) + 1);
    // The inner surface lies where the films say: θi = ti − (ti − te)·Ri/R0.
    const double r0 = 0.04 + 0.11 + GB50176::TotalResistance(edge.layers);
    const double expected =
        edge.air.indoorTemperature - (edge.air.indoorTemperature - edge.air.outdoorTemperature) * 0.11 / r0;
    EXPECT_NEAR(result.planes.back().temperature, expected, 1e-9);
    EXPECT_NEAR(result.innerSurfaceTemperature, expected, 1e-9);
    if (edge.verdict == InterstitialVerdict::NoVapourData) {
        EXPECT_TRUE(std::isnan(result.planes.front().partial));
        EXPECT_TRUE(std::isnan(result.condensationRate));
    } else if (edge.verdict == InterstitialVerdict::None) {
        EXPECT_EQ(result.zoneOuterPlane, -1);
        EXPECT_EQ(result.condensationRate, 0.0);
        for (std::size_t plane = 1; plane + 1 < result.planes.size(); ++plane)
            EXPECT_LE(result.planes[plane].partial, result.planes[plane].saturation) << "plane " << plane;
    } else {
        EXPECT_GT(result.condensationRate, 0.0);
    }
}

// A 0.2 mm film of H = 2000 m²·h·Pa/g (a hand-set vapour barrier) inside the plaster stops the
// textbook wall condensing: P at the critical face drops to 218.7 + 871.6·2098.95/4517.13 = 624 Pa < 756 Pa. Summer
// outside (30 °C, 80 %) and a cooled room (18 °C, 60 %): vapour runs inwards and the warm outer layers stay above their
// dew point.
INSTANTIATE_TEST_SUITE_P(
    Cases, VapourProfileEdgeTest,
    ::testing::Values(
        EdgeCase{
            "OneLayer", MakeLayers({Layer(0.24, 0.81, 0, 0)}), {0.000105}, kTextbookAir, InterstitialVerdict::None, -1},
        EdgeCase{"NoVapourData",
                 kTextbookWall,
                 {0.14 / 2098.95, kNaN, 0.02 / 166.67},
                 kTextbookAir,
                 InterstitialVerdict::NoVapourData,
                 1},
        EdgeCase{"MissingTail", kTextbookWall, {0.14 / 2098.95}, kTextbookAir, InterstitialVerdict::NoVapourData, 1},
        EdgeCase{"VapourBarrier",
                 MakeLayers({Layer(0.14, 0.81, 0, 0), Layer(0.05, 0.19, 0, 0), Layer(0.0002, 0.16, 0, 0),
                             Layer(0.02, 0.81, 0, 0)}),
                 {0.14 / 2098.95, 0.05 / 251.51, 0.0002 / 2000.0, 0.02 / 166.67},
                 kTextbookAir,
                 InterstitialVerdict::None,
                 -1},
        EdgeCase{"OutdoorAboveIndoor", kTextbookWall, kTextbookMu, MoistureConditions{18.0, 60.0, 30.0, 80.0},
                 InterstitialVerdict::None, -1},
        EdgeCase{"TextbookWall", kTextbookWall, kTextbookMu, kTextbookAir, InterstitialVerdict::Condensing, -1}),
    [](const ::testing::TestParamInfo<EdgeCase>& param) { return std::string(param.param.name); });

TEST(VapourProfileTest, RefusesInputItCannotUse)
{
    const MoistureConditions badHumidity{16.0, 120.0, -4.0, 50.0};
    const MoistureConditions badTemperature{kNaN, 60.0, -4.0, 50.0};
    const Layers badLayer = MakeLayers({Layer(0.14, 0.0, 0, 0)});
    for (const auto& [layers, air] : {std::pair{kTextbookWall, badHumidity}, std::pair{kTextbookWall, badTemperature},
                                      std::pair{badLayer, kTextbookAir}}) {
        const VapourProfileResult result = EvaluateVapourProfile(layers, kTextbookMu, kTextbookFilms, air);
        EXPECT_NE(result.error, TQLoad::ET_OK);
        EXPECT_TRUE(result.planes.empty());
        EXPECT_TRUE(std::isnan(result.innerSurfaceTemperature));
    }
}

} // namespace
