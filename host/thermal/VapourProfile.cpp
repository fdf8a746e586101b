#include "host/thermal/VapourProfile.h"

#include "host/thermal/GB50176.h"
#include "host/thermal/WallInputCheck.h"

#include <cmath>
#include <limits>

namespace thermal {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// EN ISO 13788 Annex E: Ps = 610.5·exp(17.269·θ/(237.3 + θ)) over water for θ ≥ 0 °C and
// 610.5·exp(21.875·θ/(265.5 + θ)) over ice below. At 16 °C this gives 1817.3 Pa and at −4 °C
// 436.9 Pa, where the GB 50176 table (and the textbook it is printed in) reads 1817.2 and 437.3.
constexpr double kP0 = 610.5;
constexpr double kWaterA = 17.269, kWaterB = 237.3;
constexpr double kIceA = 21.875, kIceB = 265.5;

bool IsHumidity(double value)
{
    return std::isfinite(value) && value >= 0.0 && value <= 100.0;
}

TQLoad::ErrorType CheckInput(const Layers& layers, const SurfaceFilms& films, const MoistureConditions& conditions)
{
    if (const TQLoad::ErrorType fault = CheckSurfaceCoefficient(films.inner); fault != TQLoad::ET_OK)
        return fault;
    if (const TQLoad::ErrorType fault = CheckSurfaceCoefficient(films.outerWinter); fault != TQLoad::ET_OK)
        return fault;
    for (int i = 0; i < layers.GetSize(); ++i) {
        if (const TQLoad::ErrorType fault = CheckLayerResistance(layers[i]); fault != TQLoad::ET_OK)
            return fault;
    }
    const bool conditionsValid = std::isfinite(conditions.indoorTemperature) &&
                                 std::isfinite(conditions.outdoorTemperature) &&
                                 IsHumidity(conditions.indoorHumidity) && IsHumidity(conditions.outdoorHumidity);
    return conditionsValid ? TQLoad::ET_OK : TQLoad::ET_NonFinite;
}

/// θ at every plane: the air-to-air temperature difference falls in proportion to the thermal
/// resistance passed, θk = θe + (θi − θe)·(Re + ΣR of the layers outside plane k)/R0 (GB 50176-93 §7.1.5).
void FillTemperatures(VapourProfileResult& result, const Layers& layers, const SurfaceFilms& films,
                      const MoistureConditions& conditions)
{
    const double re = 1.0 / films.outerWinter;
    const double ri = 1.0 / films.inner;
    const double r0 = re + GB50176::TotalResistance(layers) + ri;
    const double difference = conditions.indoorTemperature - conditions.outdoorTemperature;
    double passed = re;
    double position = 0.0;
    for (int plane = 0; plane <= layers.GetSize(); ++plane) {
        if (plane > 0) {
            passed += GB50176::LayerResistance(layers[plane - 1]);
            position += layers[plane - 1].Thick;
        }
        const double temperature = conditions.outdoorTemperature + difference * passed / r0;
        result.planes.push_back({position, temperature, SaturationPressure(temperature), kNaN});
    }
    result.innerSurfaceTemperature = conditions.indoorTemperature - difference * ri / r0;
}

/// H = δ/μ of every layer (GB 50176-93 §3.4.15); the index of the first layer without data, or −1.
int FillResistances(VapourProfileResult& result, const Layers& layers, std::span<const double> permeability)
{
    int missing = -1;
    for (int i = 0; i < layers.GetSize(); ++i) {
        const double mu = static_cast<std::size_t>(i) < permeability.size() ? permeability[i] : kNaN;
        const bool known = std::isfinite(mu) && mu > 0.0;
        result.layerResistance.push_back(known ? layers[i].Thick / mu : kNaN);
        if (!known && missing < 0)
            missing = i;
    }
    return missing;
}

/// The condensation zone and rate by the Glaser construction (EN ISO 13788): the real vapour
/// pressure is the tightest line from Pe at x = 0 to Pi at x = H0 that stays at or below Ps of every
/// interface, the lower convex hull of those points (x = vapour resistance from the outer surface).
/// The interfaces it touches condense; the rate is what flows into the zone from both sides,
/// g = (Pe − Ps,c1)/x_c1 + (Pi − Ps,c2)/(H0 − x_c2).
void FindCondensationZone(VapourProfileResult& result, double pe, double pi, double total)
{
    const int last = static_cast<int>(result.planes.size()) - 1;
    const auto y = [&](int plane) { return plane == 0 ? pe : plane == last ? pi : result.planes[plane].saturation; };
    // Andrew's monotone chain, lower half; planes are already ordered by x.
    std::vector<int> hull;
    hull.reserve(result.planes.size());
    std::vector<double> positions(result.planes.size(), 0.0);
    for (int plane = 1; plane <= last; ++plane)
        positions[plane] = positions[plane - 1] + result.layerResistance[plane - 1];
    for (int plane = 0; plane <= last; ++plane) {
        while (hull.size() >= 2) {
            const int o = hull[hull.size() - 2], a = hull.back();
            const double cross =
                (positions[a] - positions[o]) * (y(plane) - y(o)) - (y(a) - y(o)) * (positions[plane] - positions[o]);
            if (cross > 0.0)
                break;
            hull.pop_back();
        }
        hull.push_back(plane);
    }
    if (hull.size() < 3) {
        result.condensationRate = 0.0; // rounding kept the crossing point on the straight line
        return;
    }
    const int outer = hull[1], inner = hull[hull.size() - 2];
    result.zoneOuterPlane = outer;
    result.zoneInnerPlane = inner;
    const double rate = (pe - result.planes[outer].saturation) / positions[outer] +
                        (pi - result.planes[inner].saturation) / (total - positions[inner]);
    result.condensationRate = std::isfinite(rate) ? rate : kNaN;
}

} // namespace

double SaturationPressure(double temperature)
{
    if (temperature >= 0.0)
        return kP0 * std::exp(kWaterA * temperature / (kWaterB + temperature));
    return kP0 * std::exp(kIceA * temperature / (kIceB + temperature));
}

double DewPoint(double pressure)
{
    if (!(pressure > 0.0))
        return kNaN;
    const double l = std::log(pressure / kP0);
    if (pressure >= kP0)
        return kWaterB * l / (kWaterA - l);
    return kIceB * l / (kIceA - l);
}

VapourProfileResult EvaluateVapourProfile(const Layers& layers, std::span<const double> permeability,
                                          const SurfaceFilms& films, const MoistureConditions& conditions)
{
    VapourProfileResult result;
    result.error = CheckInput(layers, films, conditions);
    if (result.error != TQLoad::ET_OK) {
        result.innerSurfaceTemperature = result.dewPoint = result.surfaceMargin = result.condensationRate = kNaN;
        return result;
    }
    result.planes.reserve(static_cast<std::size_t>(layers.GetSize()) + 1);
    result.layerResistance.reserve(static_cast<std::size_t>(layers.GetSize()));
    FillTemperatures(result, layers, films, conditions);

    // Interior surface (GB 50176): the surface must stay above the dew point of the room air.
    const double pi = conditions.indoorHumidity / 100.0 * SaturationPressure(conditions.indoorTemperature);
    const double pe = conditions.outdoorHumidity / 100.0 * SaturationPressure(conditions.outdoorTemperature);
    result.dewPoint = DewPoint(pi);
    result.surfaceMargin = result.innerSurfaceTemperature - result.dewPoint;
    result.surfaceCondensation = result.surfaceMargin < 0.0;

    result.missingLayer = FillResistances(result, layers, permeability);
    if (result.missingLayer >= 0) {
        result.interstitial = InterstitialVerdict::NoVapourData;
        result.condensationRate = kNaN;
        return result;
    }
    // Interstitial (GB 50176-93 §7.1.3): the straight vapour line Pm = Pe + (Pi − Pe)·x/H0 must not rise
    // above Ps at any interface. The films' vapour resistance is neglected, as the standard does.
    double total = 0.0;
    for (const double h : result.layerResistance)
        total += h;
    double passed = 0.0;
    bool crosses = false;
    for (std::size_t plane = 0; plane < result.planes.size(); ++plane) {
        if (plane > 0)
            passed += result.layerResistance[plane - 1];
        ProfilePlane& state = result.planes[plane];
        state.partial = total > 0.0 ? pe + (pi - pe) * passed / total : (plane == 0 ? pe : pi);
        const bool interior = plane > 0 && plane + 1 < result.planes.size();
        crosses = crosses || (interior && state.partial > state.saturation);
    }
    if (crosses) {
        result.interstitial = InterstitialVerdict::Condensing;
        FindCondensationZone(result, pe, pi, total);
    }
    return result;
}

} // namespace thermal
