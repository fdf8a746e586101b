#include "host/thermal/WallThermal.h"

#include "ThermalTestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>

namespace thermal::test {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

/// αi 8.7, αe 19.0 (summer) and 23.0 (winter) W/(m²·K).
const SurfaceFilms kFilms{};

double KOfSeason(const WallResults& results, Season season)
{
    return season == Season::Summer ? results.kSummer : results.kWinter;
}

// One brick layer (λ 0.81) and a target K of 1.0: δ = 0.81·(1/1.0 − 1/8.7 − 1/19) = 0.674265 m in
// summer, 0.81·(1/1.0 − 1/8.7 − 1/23) = 0.681679 m in winter.
TEST(ThicknessSearch, OneLayerByHand)
{
    const Layers layers = MakeLayers({Brick(0.24)});
    const ThicknessSolution summer = SolveThickness(layers, kFilms, Season::Summer, 1.0);
    const ThicknessSolution winter = SolveThickness(layers, kFilms, Season::Winter, 1.0);
    EXPECT_EQ(summer.index, 0);
    EXPECT_NEAR(summer.thickness, 0.674265, 1e-6);
    EXPECT_EQ(winter.index, 0);
    EXPECT_NEAR(winter.thickness, 0.681679, 1e-6);
}

struct TargetCase
{
    std::string name;
    Layers layers;
    int expectedIndex; ///< first layer from the outside with the lowest λ·a
    double targetK;
};

void PrintTo(const TargetCase& row, std::ostream* os)
{
    *os << row.name;
}

class ThicknessSearchHitsTarget : public ::testing::TestWithParam<std::tuple<TargetCase, Season>>
{
};

TEST_P(ThicknessSearchHitsTarget, ChangedLayerGivesTargetK)
{
    const auto& [row, season] = GetParam();
    const ThicknessSolution solution = SolveThickness(row.layers, kFilms, season, row.targetK);
    ASSERT_EQ(solution.index, row.expectedIndex);
    ASSERT_GE(solution.thickness, 0.0);

    Layers changed = row.layers;
    changed[solution.index].Thick = solution.thickness;
    const WallResults results = EvaluateWall(changed, kFilms, TQDynamicMethod::GB50176);
    EXPECT_NEAR(KOfSeason(results, season), row.targetK, 1e-9);
}

const TargetCase kTargets[] = {
    {"TextbookEpsOutside", MakeLayers({Eps(0.08), CementMortar(0.02), Brick(0.37), CementMortar(0.02)}), 0, 0.3},
    {"EpsInside", MakeLayers({CementMortar(0.02), Concrete(0.2), Eps(0.03), LimeCementMortar(0.02)}), 2, 0.45},
    // Two equal insulation layers: the outer one is changed.
    {"TwoEqualLayers", MakeLayers({Brick(0.12), Eps(0.02), Brick(0.12), Eps(0.02)}), 1, 0.6},
    // λ·a decides, not λ: 0.04·1.5 = 0.06 is higher than 0.05·1.0.
    {"CorrectedConductivity", MakeLayers({Layer(0.05, 0.04, 30.0, 1.38, 1.5), Layer(0.05, 0.05, 80.0, 1.22)}), 1, 0.4},
    // Thinning: the target is above the present K.
    {"ThinnerLayer", MakeLayers({Eps(0.2), Brick(0.24)}), 0, 0.5},
    // Zero thickness to start with.
    {"EmptyInsulationSlot", MakeLayers({Brick(0.24), Eps(0.0)}), 1, 0.35},
};

INSTANTIATE_TEST_SUITE_P(ThicknessSearch, ThicknessSearchHitsTarget,
                         ::testing::Combine(::testing::ValuesIn(kTargets),
                                            ::testing::Values(Season::Summer, Season::Winter)),
                         [](const auto& paramInfo) {
                             const bool summer = std::get<1>(paramInfo.param) == Season::Summer;
                             return std::get<0>(paramInfo.param).name + (summer ? "Summer" : "Winter");
                         });

// The films alone give K = 5.967509 in summer: no thickness ≥ 0 reaches 6.5.
TEST(ThicknessSearch, UnreachableTargetGivesNegativeThickness)
{
    const ThicknessSolution solution =
        SolveThickness(MakeLayers({Brick(0.24), Eps(0.05)}), kFilms, Season::Summer, 6.5);
    EXPECT_EQ(solution.index, 1);
    EXPECT_LT(solution.thickness, 0.0);
}

struct NoSolutionCase
{
    std::string name;
    Layers layers;
    SurfaceFilms films;
    double targetK;
};

void PrintTo(const NoSolutionCase& row, std::ostream* os)
{
    *os << row.name;
}

class ThicknessSearchNoSolution : public ::testing::TestWithParam<NoSolutionCase>
{
};

TEST_P(ThicknessSearchNoSolution, ChangesNoLayer)
{
    const NoSolutionCase& row = GetParam();
    for (Season season : {Season::Summer, Season::Winter}) {
        const ThicknessSolution solution = SolveThickness(row.layers, row.films, season, row.targetK);
        EXPECT_EQ(solution.index, -1);
        EXPECT_EQ(solution.thickness, 0.0);
    }
}

const Layers kWall = MakeLayers({Brick(0.24), Eps(0.05)});

SurfaceFilms FilmsWithInner(double inner)
{
    SurfaceFilms films;
    films.inner = inner;
    return films;
}

INSTANTIATE_TEST_SUITE_P(
    ThicknessSearch, ThicknessSearchNoSolution,
    ::testing::Values(NoSolutionCase{"NoLayer", {}, kFilms, 0.5}, NoSolutionCase{"ZeroTarget", kWall, kFilms, 0.0},
                      NoSolutionCase{"NegativeTarget", kWall, kFilms, -0.5},
                      NoSolutionCase{"NaNTarget", kWall, kFilms, kNaN},
                      // 1/1e-310 overflows: the layer would have to be infinitely thick.
                      NoSolutionCase{"TargetTooSmallForAFiniteThickness", kWall, kFilms, 1e-310},
                      NoSolutionCase{"ChosenLayerWithoutConductivity",
                                     MakeLayers({Brick(0.24), Layer(0.05, 0.0, 20.0, 1.38)}), kFilms, 0.5},
                      NoSolutionCase{"OtherLayerNegativeThickness", MakeLayers({Brick(-0.24), Eps(0.05)}), kFilms, 0.5},
                      NoSolutionCase{"NaNConductivity", MakeLayers({Layer(0.2, kNaN, 1.0, 1.0), Eps(0.05)}), kFilms,
                                     0.5},
                      NoSolutionCase{"ZeroInnerFilm", kWall, FilmsWithInner(0.0), 0.5}),
    [](const auto& paramInfo) { return paramInfo.param.name; });

} // namespace
} // namespace thermal::test
