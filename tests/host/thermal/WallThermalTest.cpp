#include "host/thermal/WallThermal.h"

#include "ThermalTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <tuple>

namespace thermal::test {
namespace {

// --- Steady heat transfer ------------------------------------------------------------------------

// Textbook exercise (last row): 370 mm brick (λ 0.57), 80 mm EPS (λ 0.039, a 1.2) outside, 20 mm
// cement mortar (λ 0.93) on each side, Ri 0.11, Re 0.04 → published K = 0.39
// (m.274949.com/7198/t32889504.html); by hand R = 1.709402 + 0.043011 + 0.649123 = 2.401535,
// K = 1/(0.15 + R) = 0.391921 in both seasons, inner 1/(0.22 + R) = 0.381456. The brick's density and
// specific heat are not given; K does not depend on them.
TEST(WallThermal, SteadyHeatTransferMatchesHandCalculation)
{
    const std::tuple<const char*, Layers, SurfaceFilms, double, double, double> cases[] = {
        // K summer, winter, inner
        // Films only: 1/(1/8.7 + 1/19) = 5.967509, 1/(1/8.7 + 1/23) = 6.312303, 8.7/2 = 4.35.
        {"films only", {}, kFilms, 5.967509, 6.312303, 4.35},
        // R = 0.2/1.74 = 0.114943: 1/(0.114943 + 0.114943 + 0.052632) = 3.539615,
        // 1/(0.114943 + 0.114943 + 0.043478) = 3.658135, 1/(2·0.114943 + 0.114943) = 2.9.
        {"one concrete layer", MakeLayers({Concrete(0.2)}), kFilms, 3.539615, 3.658135, 2.9},
        // The correction factor divides R: 0.08/(0.039·1.2) = 1.709402, so
        // 1/(0.114943 + 1.709402 + 0.052632) = 0.532772, winter 0.535383, inner 0.515653.
        {"corrected insulation", MakeLayers({Eps(0.08)}), kFilms, 0.532772, 0.535383, 0.515653},
        {"textbook exercise",
         MakeLayers({Eps(0.08), CementMortar(0.02), Layer(0.37, 0.57, 1800.0, 1.05), CementMortar(0.02)}),
         SurfaceFilms{1.0 / 0.04, 1.0 / 0.04, 1.0 / 0.11}, 0.391921, 0.391921, 0.381456},
    };
    for (const auto& [name, layers, films, kSummer, kWinter, kInner] : cases) {
        SCOPED_TRACE(name);
        const WallResults results = EvaluateWall(layers, films, TQDynamicMethod::GB50176);
        EXPECT_EQ(results.error, TQLoad::ET_OK);
        EXPECT_NEAR(results.kSummer, kSummer, 1e-6);
        EXPECT_NEAR(results.kWinter, kWinter, 1e-6);
        EXPECT_NEAR(results.kInner, kInner, 1e-6);
    }
}

// --- Attenuation and delay ---------------------------------------------------------------------

TEST(WallThermal, PeriodicResponseMatchesExpectedFigures)
{
    const Layers noMass = MakeLayers({Layer(0.05, 0.025, 0.0, 0.0)});
    const Layers noHeatCapacity = MakeLayers({Layer(0.05, 0.025, 0.0, 0.0), Layer(0.1, 0.5, 1200.0, 0.0)});
    const struct
    {
        const char* name;
        Layers layers;
        TQDynamicMethod method;
        double attenuation, delayHours, attenuationTolerance, delayTolerance;
    } cases[] = {
        // Massless constructions: the GB formula reduces to ν0 = 0.9·αi/K (the product telescopes),
        // the transfer matrix to αi·RT = αi/K with no lag. K summer: films only 5.967509; a 50 mm
        // layer of λ 0.025 (R 2.0) 0.461345; plus 100 mm of λ 0.5 without specific heat (R 0.2) 0.422373.
        // 0.9·(8.7 + 19)/19 = 1.312105 and ξ0 = 0 (both arctangent terms are atan(αi/(αi + √2·αe))).
        {"films only GB", {}, TQDynamicMethod::GB50176, 1.312105, 0.0, 1e-6, 1e-12},
        // (8.7 + 19)/19 = 1.457895
        {"films only ISO", {}, TQDynamicMethod::ISO13786, 1.457895, 0.0, 1e-6, 1e-12},
        // 0.9·8.7/0.461345 = 16.972105. The GB delay formula, meant for massive walls, goes negative:
        // Yef = 8.7/(1 + 2·8.7) = 0.472826, Yif = 19/(1 + 2·19) = 0.487179,
        // ξ0 = (−atan(8.7/(8.7 + √2·Yif)) + atan(Yef/(Yef + √2·19)))/15 = (−42.818763° + 0.990687°)/15
        // = −2.788538 h, which a lag cannot be: 0 h.
        {"air layer GB", noMass, TQDynamicMethod::GB50176, 16.972105, 0.0, 1e-6, 0.0},
        // 8.7/0.461345 = 18.857895
        {"air layer ISO", noMass, TQDynamicMethod::ISO13786, 18.857895, 0.0, 1e-6, 1e-9},
        // 8.7/0.422373 = 20.597895
        {"no heat capacity ISO", noHeatCapacity, TQDynamicMethod::ISO13786, 20.597895, 0.0, 1e-6, 1e-9},
        // 200 mm concrete: R 0.114943, S = √(2π·1.74·0.92·2500/86.4) = 17.059708, D 1.960886 ≥ 1, so
        // Y1 = Yif = S. ν0 = 0.9·e^(D/√2)·(S + 8.7)/(2S)·(S + 19)/19 = 0.9·4.001046·0.755002·1.897879
        // = 5.159695; ξ0 = (40.5·D − atan(8.7/(8.7 + √2·S)) + atan(S/(S + √2·19)))/15
        // = (79.415884 − 14.844007° + 21.223209°)/15 = 5.719672 h.
        {"concrete 200 GB", MakeLayers({Concrete(0.2)}), TQDynamicMethod::GB50176, 5.159695, 5.719672, 1e-5, 1e-5},
        // 100 mm concrete: D 0.980443 < 1, so Y1 = (R·S² + 8.7)/(1 + R·8.7) = 16.950715 and
        // Yif = (R·S² + 19)/(1 + R·19) = 17.077848.
        // ν0 = 0.9·2.000261·(S + 8.7)/(S + Y1)·(Y1 + 19)/19 = 2.579955;
        // ξ0 = (39.707942 − 14.832927° + 21.147426°)/15 = 3.068163 h.
        {"concrete 100 GB", MakeLayers({Concrete(0.1)}), TQDynamicMethod::GB50176, 2.579955, 3.068163, 1e-5, 1e-5},
        // From an explicit finite-volume simulation of the same walls (2.5 mm cells, time step ≤ 20 s,
        // 15 simulated days, outside air cos(2πt/24 h), inside air steady, films 8.7 and 19): amplitude
        // ratio of outside air to inner surface and the lag of the inner surface peak.
        {"plastered brick 240 ISO", PlasteredBrick(0.24), TQDynamicMethod::ISO13786, 15.6075, 9.4775, 0.02, 0.02},
        {"concrete with outer EPS ISO", MakeLayers({Eps(0.05), Concrete(0.3), LimeCementMortar(0.02)}),
         TQDynamicMethod::ISO13786, 135.288, 10.4193, 0.2, 0.02},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        const WallResults results = EvaluateWall(row.layers, kFilms, row.method);
        EXPECT_EQ(results.error, TQLoad::ET_OK);
        EXPECT_NEAR(results.attenuation, row.attenuation, row.attenuationTolerance);
        EXPECT_NEAR(results.delayHours, row.delayHours, row.delayTolerance);
    }
}

// On massive, nearly homogeneous walls (ΣD well above 1) GB 50176's fitted formulas follow the exact
// solution: the attenuation within a few percent, the delay within a quarter of an hour. The last wall
// checks that both methods apply a correction factor to λ and to the heat storage alike.
TEST(WallThermal, MethodsAgreeOnMassiveWalls)
{
    for (const Layers& layers : {PlasteredBrick(0.24), PlasteredBrick(0.37), MakeLayers({Concrete(0.2)}),
                                 MakeLayers({CementMortar(0.02), Concrete(0.25), LimeCementMortar(0.02)}),
                                 MakeLayers({CementMortar(0.02), Layer(0.37, 0.81, 1800.0, 1.05, 1.25)})}) {
        const WallResults gb = EvaluateWall(layers, kFilms, TQDynamicMethod::GB50176);
        const WallResults iso = EvaluateWall(layers, kFilms, TQDynamicMethod::ISO13786);
        EXPECT_NEAR(gb.attenuation / iso.attenuation, 1.0, 0.08);
        EXPECT_NEAR(gb.delayHours, iso.delayHours, 0.25);
        EXPECT_DOUBLE_EQ(gb.kSummer, iso.kSummer);
    }
}

// Both methods switch formulas inside (GB 50176 at D = 1, the transfer matrix between a direct and a
// scaled form); the response must still grow smoothly with mass: at most 2 % per millimetre of
// concrete (e^(δ/d) with d = 0.145 m grows 0.7 % per mm), never a jump.
TEST(WallThermal, ResponseGrowsContinuouslyWithMass)
{
    for (TQDynamicMethod method : kMethods) {
        SCOPED_TRACE(MethodName(method));
        WallResults previous = EvaluateWall(MakeLayers({Concrete(0.02)}), kFilms, method);
        for (int millimetres = 21; millimetres <= 400; ++millimetres) {
            const WallResults current = EvaluateWall(MakeLayers({Concrete(millimetres / 1000.0)}), kFilms, method);
            EXPECT_GT(current.attenuation, previous.attenuation) << millimetres << " mm";
            EXPECT_LT(current.attenuation, 1.02 * previous.attenuation) << millimetres << " mm";
            EXPECT_GT(current.delayHours, previous.delayHours) << millimetres << " mm";
            EXPECT_LT(current.delayHours, previous.delayHours + 0.1) << millimetres << " mm";
            previous = current;
        }
    }
}

// --- Bad input -----------------------------------------------------------------------------------

enum Result : unsigned
{
    KSummer = 1,
    KWinter = 2,
    KInner = 4,
    Attenuation = 8,
    Delay = 16,
    Dynamic = Attenuation | Delay,
    All = KSummer | KWinter | KInner | Dynamic,
};

TEST(WallThermal, BadInputReportsItsErrorAndNaNsOnlyWhatItEnters)
{
    // What is spoilt, how, the error reported and the results that must be NaN.
    const std::tuple<const char*, std::function<void(Layers&, SurfaceFilms&)>, TQLoad::ErrorType, unsigned> cases[] = {
        {"zero λ", [](Layers& l, SurfaceFilms&) { l[1].DrXs = 0.0; }, TQLoad::ET_BadConductivity, All},
        {"negative a", [](Layers& l, SurfaceFilms&) { l[0].DrXsXz = -1.0; }, TQLoad::ET_BadConductivity, All},
        {"negative δ", [](Layers& l, SurfaceFilms&) { l[2].Thick = -0.01; }, TQLoad::ET_BadThickness, All},
        {"NaN δ", [](Layers& l, SurfaceFilms&) { l[2].Thick = kNaN; }, TQLoad::ET_NonFinite, All},
        {"infinite λ", [](Layers& l, SurfaceFilms&) { l[1].DrXs = kInf; }, TQLoad::ET_NonFinite, All},
        {"overflowing R",
         [](Layers& l, SurfaceFilms&) {
             l[1].Thick = 1e300;
             l[1].DrXs = 1e-10;
         },
         TQLoad::ET_NonFinite, All},
        // 100 m of brick: ΣD ≈ 1200, and e^(ΣD/√2) is past the largest double (found by fuzzing).
        {"overflowing ν", [](Layers& l, SurfaceFilms&) { l[1].Thick = 100.0; }, TQLoad::ET_NonFinite, Attenuation},
        {"negative ρ", [](Layers& l, SurfaceFilms&) { l[1].GMD = -1800.0; }, TQLoad::ET_BadDensity, Dynamic},
        {"negative c", [](Layers& l, SurfaceFilms&) { l[0].BRr = -1.05; }, TQLoad::ET_BadSpecificHeat, Dynamic},
        {"NaN c", [](Layers& l, SurfaceFilms&) { l[0].BRr = kNaN; }, TQLoad::ET_NonFinite, Dynamic},
        {"zero αi", [](Layers&, SurfaceFilms& f) { f.inner = 0.0; }, TQLoad::ET_BadSurfaceCoefficient, All},
        {"infinite αi", [](Layers&, SurfaceFilms& f) { f.inner = kInf; }, TQLoad::ET_NonFinite, All},
        {"negative summer αe", [](Layers&, SurfaceFilms& f) { f.outerSummer = -19.0; },
         TQLoad::ET_BadSurfaceCoefficient, KSummer | Dynamic},
        {"zero winter αe", [](Layers&, SurfaceFilms& f) { f.outerWinter = 0.0; }, TQLoad::ET_BadSurfaceCoefficient,
         KWinter},
        // Two faults: the one spoiling more results is reported, and both take effect.
        {"ρ, λ and winter αe",
         [](Layers& l, SurfaceFilms& f) {
             l[0].GMD = -1.0;
             l[2].DrXs = -0.87;
             f.outerWinter = 0.0;
         },
         TQLoad::ET_BadConductivity, All},
        {"ρ and winter αe",
         [](Layers& l, SurfaceFilms& f) {
             l[0].GMD = -1.0;
             f.outerWinter = 0.0;
         },
         TQLoad::ET_BadSurfaceCoefficient, KWinter | Dynamic},
    };
    for (const auto& [name, spoil, error, nanResults] : cases) {
        for (TQDynamicMethod method : kMethods) {
            SCOPED_TRACE(std::string(name) + ", " + MethodName(method));
            Layers layers = PlasteredBrick(0.24);
            SurfaceFilms films;
            spoil(layers, films);
            const WallResults results = EvaluateWall(layers, films, method);
            EXPECT_EQ(results.error, error);
            const std::pair<unsigned, double> values[] = {{KSummer, results.kSummer},
                                                          {KWinter, results.kWinter},
                                                          {KInner, results.kInner},
                                                          {Attenuation, results.attenuation},
                                                          {Delay, results.delayHours}};
            for (const auto& [result, value] : values)
                EXPECT_EQ(std::isnan(value), (nanResults & result) != 0) << "result " << result << " = " << value;
            for (const auto& [result, value] : values)
                EXPECT_FALSE(std::isinf(value)) << "result " << result;
        }
    }
}

} // namespace
} // namespace thermal::test
