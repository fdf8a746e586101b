#pragma once

#include "host/thermal/TQErrorType.h"
#include "host/thermal/WallThermal.h"

#include <span>
#include <vector>

/// Steady temperature and water-vapour profile through a construction in winter, and its two
/// condensation checks (GB 50176 §7, 围护结构防潮设计: interior surface and interstitial condensation; the Glaser
/// method of EN ISO 13788 for the zone and the rate). Plain C++, no Qt.
namespace thermal {

/// Indoor and outdoor air: temperature in °C, relative humidity in % (0–100).
struct MoistureConditions
{
    double indoorTemperature = 18.0;
    double indoorHumidity = 60.0;
    double outdoorTemperature = -10.0;
    double outdoorHumidity = 80.0;
};

/// State at one plane of the construction. Planes run as the layers do, outside to inside:
/// plane 0 is the outer surface, plane n the inner surface, plane k the face between layers k and k+1.
struct ProfilePlane
{
    double position = 0.0;    ///< distance from the outer surface, m
    double temperature = 0.0; ///< θ, °C
    double saturation = 0.0;  ///< saturation vapour pressure Ps(θ), Pa
    double partial = 0.0; ///< vapour pressure of the unrestricted (straight) Glaser line, Pa; NaN without vapour data
};

enum class InterstitialVerdict
{
    None,         ///< the vapour line stays below saturation at every plane
    Condensing,   ///< it crosses saturation: a condensation zone exists
    NoVapourData, ///< a layer has no vapour permeability: no verdict can be given
};

struct VapourProfileResult
{
    std::vector<ProfilePlane> planes;    ///< n + 1 planes, outer surface first
    std::vector<double> layerResistance; ///< vapour resistance H = δ/μ of each layer, m²·h·Pa/g; NaN without data

    double innerSurfaceTemperature = 0.0; ///< θi, °C
    double dewPoint = 0.0;                ///< dew point of the room air, °C
    double surfaceMargin = 0.0;           ///< θi − dew point, K (negative: the surface condenses)
    bool surfaceCondensation = false;

    InterstitialVerdict interstitial = InterstitialVerdict::None;
    int missingLayer = -1;   ///< index of the first layer without vapour data (outside to inside), or −1
    int zoneOuterPlane = -1; ///< the condensation zone spans these planes (equal: one interface), or −1
    int zoneInnerPlane = -1;
    double condensationRate = 0.0; ///< g/(m²·h) condensing in the zone (EN ISO 13788 Glaser construction)

    TQLoad::ErrorType error = TQLoad::ET_OK;
};

/// Saturation vapour pressure over water (θ ≥ 0 °C) or ice (θ < 0 °C), Pa, by the Magnus-type
/// formulas of EN ISO 13788 Annex E; they reproduce the GB 50176 saturation table within 0.2 %.
double SaturationPressure(double temperature);

/// Temperature at which `pressure` (Pa) saturates, °C: the inverse of SaturationPressure.
double DewPoint(double pressure);

/// Profile of `layers` (outside to inside) with the winter films (αi, αe winter) under `conditions`.
/// `permeability[i]` is layer i's vapour permeability μ in g/(m·h·Pa); NaN (or a value ≤ 0, or a
/// span shorter than the layers) means no data for that layer. Bad thermal input (a layer's δ, λ or a,
/// αi or winter αe, as EvaluateWall refuses them), a temperature that is not finite or a humidity
/// outside 0–100 % set `error` and leave the profile empty with NaN figures.
VapourProfileResult EvaluateVapourProfile(const Layers& layers, std::span<const double> permeability,
                                          const SurfaceFilms& films, const MoistureConditions& conditions);

} // namespace thermal
