#include "host/thermal/WallThermal.h"

#include "ThermalTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace thermal::test {
namespace {

// The layer with the lowest λ·a (the first from the outside) changed to the found thickness gives
// the target K of the season.
TEST(ThicknessSearch, ChangedLayerGivesTheTargetK)
{
    const std::tuple<const char*, Layers, int, double> cases[] = {
        // expected layer index, target K
        {"textbook, EPS outside", MakeLayers({Eps(0.08), CementMortar(0.02), Brick(0.37), CementMortar(0.02)}), 0, 0.3},
        {"EPS inside", MakeLayers({CementMortar(0.02), Concrete(0.2), Eps(0.03), LimeCementMortar(0.02)}), 2, 0.45},
        {"two equal layers: the outer one", MakeLayers({Brick(0.12), Eps(0.02), Brick(0.12), Eps(0.02)}), 1, 0.6},
        // λ·a decides, not λ: 0.04·1.5 = 0.06 is higher than 0.05·1.0.
        {"corrected λ", MakeLayers({Layer(0.05, 0.04, 30.0, 1.38, 1.5), Layer(0.05, 0.05, 80.0, 1.22)}), 1, 0.4},
        {"thinning: target above the present K", MakeLayers({Eps(0.2), Brick(0.24)}), 0, 0.5},
        {"zero thickness to start with", MakeLayers({Brick(0.24), Eps(0.0)}), 1, 0.35},
    };
    for (const auto& [name, layers, expectedIndex, targetK] : cases) {
        for (Season season : {Season::Summer, Season::Winter}) {
            SCOPED_TRACE(std::string(name) + (season == Season::Summer ? ", summer" : ", winter"));
            const ThicknessSolution solution = SolveThickness(layers, kFilms, season, targetK);
            ASSERT_EQ(solution.index, expectedIndex);
            ASSERT_GE(solution.thickness, 0.0);
            Layers changed = layers;
            changed[solution.index].Thick = solution.thickness;
            const WallResults results = EvaluateWall(changed, kFilms, TQDynamicMethod::GB50176);
            EXPECT_NEAR(season == Season::Summer ? results.kSummer : results.kWinter, targetK, 1e-9);
        }
    }
}

TEST(ThicknessSearch, UnusableInputChangesNoLayer)
{
    // The films alone give K = 5.967509 in summer: no thickness ≥ 0 reaches 6.5.
    const Layers wall = MakeLayers({Brick(0.24), Eps(0.05)});
    const ThicknessSolution unreachable = SolveThickness(wall, kFilms, Season::Summer, 6.5);
    EXPECT_EQ(unreachable.index, 1);
    EXPECT_LT(unreachable.thickness, 0.0);

    const std::tuple<const char*, Layers, double, double> cases[] = {
        // αi, target K
        {"no layer", {}, 8.7, 0.5},
        {"zero target", wall, 8.7, 0.0},
        {"negative target", wall, 8.7, -0.5},
        {"NaN target", wall, 8.7, kNaN},
        {"target too small for a finite thickness (1/1e-310 overflows)", wall, 8.7, 1e-310},
        {"chosen layer without λ", MakeLayers({Brick(0.24), Layer(0.05, 0.0, 20.0, 1.38)}), 8.7, 0.5},
        {"other layer of negative δ", MakeLayers({Brick(-0.24), Eps(0.05)}), 8.7, 0.5},
        {"NaN λ", MakeLayers({Layer(0.2, kNaN, 1.0, 1.0), Eps(0.05)}), 8.7, 0.5},
        {"zero αi", wall, 0.0, 0.5},
    };
    for (const auto& [name, layers, inner, targetK] : cases) {
        for (Season season : {Season::Summer, Season::Winter}) {
            SCOPED_TRACE(name);
            const ThicknessSolution solution = SolveThickness(layers, {19.0, 23.0, inner}, season, targetK);
            EXPECT_EQ(solution.index, -1);
            EXPECT_EQ(solution.thickness, 0.0);
        }
    }
}

} // namespace
} // namespace thermal::test
