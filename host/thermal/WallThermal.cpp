#include "host/thermal/WallThermal.h"

#include "host/thermal/GB50176.h"
#include "host/thermal/ISO13786.h"
#include "host/thermal/WallInputCheck.h"

#include <cmath>
#include <limits>

namespace thermal {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

PeriodicResponse EvaluatePeriodic(const Layers& layers, const SurfaceFilms& films, TQDynamicMethod method)
{
    // Attenuation and delay are summer figures: the outer film is the summer one.
    if (method == TQDynamicMethod::ISO13786)
        return ISO13786::Evaluate(layers, films.inner, films.outerSummer);
    return GB50176::Evaluate(layers, films.inner, films.outerSummer);
}

/// First layer from the outside with the lowest λ·a; −1 for no layer or a λ·a that cannot be
/// compared (NaN or infinite).
int LowestConductivityLayer(const Layers& layers)
{
    int lowest = -1;
    double lowestConductivity = 0.0;
    for (int i = 0; i < layers.GetSize(); ++i) {
        const double conductivity = layers[i].DrXs * layers[i].DrXsXz;
        if (!std::isfinite(conductivity))
            return -1;
        if (lowest < 0 || conductivity < lowestConductivity) {
            lowest = i;
            lowestConductivity = conductivity;
        }
    }
    return lowest;
}

} // namespace

WallResults EvaluateWall(const Layers& layers, const SurfaceFilms& films, TQDynamicMethod method)
{
    const WallInputCheck check = CheckWallInput(layers, films);
    WallResults results{kNaN, kNaN, kNaN, kNaN, kNaN, check.error};
    // Every result goes through ΣR and αi.
    if (!check.resistancesValid || !check.innerValid)
        return results;

    const double sumResistance = GB50176::TotalResistance(layers);
    results.kInner = GB50176::HeatTransferCoefficient(sumResistance, films.inner, films.inner);
    if (check.outerWinterValid)
        results.kWinter = GB50176::HeatTransferCoefficient(sumResistance, films.inner, films.outerWinter);
    if (!check.outerSummerValid)
        return results;
    results.kSummer = GB50176::HeatTransferCoefficient(sumResistance, films.inner, films.outerSummer);
    if (!check.storageValid)
        return results;

    const PeriodicResponse response = EvaluatePeriodic(layers, films, method);
    // Usable layers can still be too massive for a double: the attenuation grows as e^(ΣD/√2) and
    // passes the largest double near ΣD = 1000 (some 80 m of brick). Such a result is not a number
    // the wall has, so it is NaN like any other result that cannot be computed.
    const auto representable = [&results](double value) {
        if (std::isfinite(value))
            return value;
        if (results.error == TQLoad::ET_OK)
            results.error = TQLoad::ET_NonFinite;
        return kNaN;
    };
    results.attenuation = representable(response.attenuation);
    results.delayHours = representable(response.delayHours);
    return results;
}

ThicknessSolution SolveThickness(const Layers& layers, const SurfaceFilms& films, Season season, double targetK)
{
    const int index = ThicknessLayer(layers);
    if (index < 0 || !(targetK > 0.0) || !std::isfinite(targetK))
        return {};
    const double conductivity = layers[index].DrXs * layers[index].DrXsXz;
    if (!(conductivity > 0.0))
        return {};

    // The K of the season is 1/(1/αi + ΣR + 1/αe); only the chosen layer's R is free.
    const double outer = season == Season::Summer ? films.outerSummer : films.outerWinter;
    if (CheckSurfaceCoefficient(films.inner) != TQLoad::ET_OK || CheckSurfaceCoefficient(outer) != TQLoad::ET_OK)
        return {};
    double otherResistance = 0.0;
    for (int i = 0; i < layers.GetSize(); ++i) {
        if (i == index)
            continue; // its own thickness, even a bad one, is what gets replaced
        if (CheckLayerResistance(layers[i]) != TQLoad::ET_OK)
            return {};
        otherResistance += GB50176::LayerResistance(layers[i]);
    }
    const double neededResistance = 1.0 / targetK - 1.0 / films.inner - 1.0 / outer - otherResistance;
    const double thickness = conductivity * neededResistance;
    // A target so close to 0 that 1/K overflows (1e-310) needs an infinite layer: unreachable.
    if (!std::isfinite(thickness))
        return {};
    return {index, thickness};
}

int ThicknessLayer(const Layers& layers)
{
    return LowestConductivityLayer(layers);
}

} // namespace thermal
