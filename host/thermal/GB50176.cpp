#include "host/thermal/GB50176.h"

#include <cmath>
#include <numbers>

namespace thermal::GB50176 {

namespace {

/// 24 h in seconds over 1000 J per kJ: S uses c in kJ/(kg·K).
constexpr double kPeriodSecondsPerKilojoule = 3.6 * 24.0;

/// Empirical factor of the GB 50176 attenuation formula.
constexpr double kAttenuationFactor = 0.9;

/// Phase of the wave per unit of D, degrees (40.5°), and degrees per hour of a 24 h wave (15°/h).
constexpr double kPhasePerInertiaDegrees = 40.5;
constexpr double kDegreesPerHour = 15.0;

double Degrees(double radians)
{
    return radians * 180.0 / std::numbers::pi;
}

/// Heat storage coefficient of a layer's surface facing away from `behind`, the coefficient of
/// what lies behind it (the previous layer's surface, or a surface coefficient):
/// Y = (R·S² + Yb)/(1 + R·Yb); a layer with D ≥ 1 shields what lies behind it and Y = S.
double SurfaceHeatStorage(double resistance, double storage, double behind)
{
    if (resistance * storage >= 1.0)
        return storage;
    return (resistance * storage * storage + behind) / (1.0 + resistance * behind);
}

/// ξ0 in hours from ΣD and the two surface storage coefficients (angles in degrees).
double DelayHours(double sumInertia, double alphaInner, double alphaOuter, double innerSurface, double outerSurface)
{
    const double innerPhase = Degrees(std::atan(alphaInner / (alphaInner + std::numbers::sqrt2 * innerSurface)));
    const double outerPhase = Degrees(std::atan(outerSurface / (outerSurface + std::numbers::sqrt2 * alphaOuter)));
    const double delay = (kPhasePerInertiaDegrees * sumInertia - innerPhase + outerPhase) / kDegreesPerHour;
    // The formula is fitted to walls with mass. For very light constructions (single glazing, a
    // steel sheet, an air layer) 40.5°·ΣD is smaller than the inner arctangent term minus the
    // outer one, and ξ0 comes out negative; a response cannot lag behind its cause by less than
    // nothing, so such a delay is 0 h. NaN stays NaN (the comparison is false).
    return delay < 0.0 ? 0.0 : delay;
}

} // namespace

double LayerResistance(const tagTQTIMBERINGCHARACTER& layer)
{
    return layer.Thick / (layer.DrXs * layer.DrXsXz);
}

double LayerHeatStorage(const tagTQTIMBERINGCHARACTER& layer)
{
    const double product = 2.0 * std::numbers::pi * layer.DrXs * layer.BRr * layer.GMD;
    return layer.DrXsXz * std::sqrt(product / kPeriodSecondsPerKilojoule);
}

double LayerThermalInertia(const tagTQTIMBERINGCHARACTER& layer)
{
    return LayerResistance(layer) * LayerHeatStorage(layer);
}

double TotalResistance(const Layers& layers)
{
    double sum = 0.0;
    for (const auto& layer : layers)
        sum += LayerResistance(layer);
    return sum;
}

double HeatTransferCoefficient(double sumResistance, double alphaSide1, double alphaSide2)
{
    return 1.0 / (1.0 / alphaSide1 + sumResistance + 1.0 / alphaSide2);
}

PeriodicResponse Evaluate(const Layers& layers, double alphaInner, double alphaOuter)
{
    // The code numbers layers from the inside (1 = innermost); the array runs outside to inside, so
    // the pass from the inner air outwards walks it backwards. Yk is the storage coefficient of
    // layer k's outer surface; the attenuation multiplies (Sk + Yk−1)/(Sk + Yk) with Y0 = αi.
    double sumInertia = 0.0;
    double surfaceRatio = 1.0;
    double outerSurface = alphaInner;
    for (int k = layers.GetSize() - 1; k >= 0; --k) {
        const double resistance = LayerResistance(layers[k]);
        const double storage = LayerHeatStorage(layers[k]);
        const double next = SurfaceHeatStorage(resistance, storage, outerSurface);
        sumInertia += resistance * storage;
        surfaceRatio *= (storage + outerSurface) / (storage + next);
        outerSurface = next;
    }
    // Yef = Yn; the outer film closes the product with (Yn + αe)/αe.
    surfaceRatio *= (outerSurface + alphaOuter) / alphaOuter;
    const double attenuation = kAttenuationFactor * std::exp(sumInertia / std::numbers::sqrt2) * surfaceRatio;

    // Yif: the same recursion from the outer air inwards, starting from αe.
    double innerSurface = alphaOuter;
    for (const auto& layer : layers)
        innerSurface = SurfaceHeatStorage(LayerResistance(layer), LayerHeatStorage(layer), innerSurface);

    return {attenuation, DelayHours(sumInertia, alphaInner, alphaOuter, innerSurface, outerSurface)};
}

} // namespace thermal::GB50176
