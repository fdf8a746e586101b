#include "host/thermal/WallInputCheck.h"

#include "host/thermal/GB50176.h"

#include <cmath>

namespace thermal {

namespace {

/// Keeps the first fault: later checks never hide an earlier one.
void Record(TQLoad::ErrorType& first, TQLoad::ErrorType fault)
{
    if (first == TQLoad::ET_OK)
        first = fault;
}

} // namespace

TQLoad::ErrorType CheckLayerResistance(const tagTQTIMBERINGCHARACTER& layer)
{
    if (!std::isfinite(layer.Thick) || !std::isfinite(layer.DrXs) || !std::isfinite(layer.DrXsXz))
        return TQLoad::ET_NonFinite;
    if (layer.Thick < 0.0)
        return TQLoad::ET_BadThickness;
    if (!(layer.DrXs * layer.DrXsXz > 0.0))
        return TQLoad::ET_BadConductivity;
    // Finite inputs can still overflow (a huge δ over a tiny λ·a); an infinite R would give K = 0.
    if (!std::isfinite(GB50176::LayerResistance(layer)))
        return TQLoad::ET_NonFinite;
    return TQLoad::ET_OK;
}

TQLoad::ErrorType CheckLayerStorage(const tagTQTIMBERINGCHARACTER& layer)
{
    if (!std::isfinite(layer.GMD) || !std::isfinite(layer.BRr))
        return TQLoad::ET_NonFinite;
    if (layer.GMD < 0.0)
        return TQLoad::ET_BadDensity;
    if (layer.BRr < 0.0)
        return TQLoad::ET_BadSpecificHeat;
    if (!std::isfinite(GB50176::LayerThermalInertia(layer)))
        return TQLoad::ET_NonFinite;
    return TQLoad::ET_OK;
}

TQLoad::ErrorType CheckSurfaceCoefficient(double alpha)
{
    if (!std::isfinite(alpha))
        return TQLoad::ET_NonFinite;
    return alpha > 0.0 ? TQLoad::ET_OK : TQLoad::ET_BadSurfaceCoefficient;
}

TQLoad::ErrorType CheckLayers(const Layers& layers)
{
    TQLoad::ErrorType first = TQLoad::ET_OK;
    for (const auto& layer : layers)
        Record(first, CheckLayerResistance(layer));
    if (first != TQLoad::ET_OK)
        return first;
    for (const auto& layer : layers)
        Record(first, CheckLayerStorage(layer));
    return first;
}

WallInputCheck CheckWallInput(const Layers& layers, const SurfaceFilms& films)
{
    WallInputCheck check;
    TQLoad::ErrorType storageFault = TQLoad::ET_OK;
    for (const auto& layer : layers) {
        const TQLoad::ErrorType resistanceFault = CheckLayerResistance(layer);
        Record(check.error, resistanceFault);
        if (resistanceFault == TQLoad::ET_OK)
            Record(storageFault, CheckLayerStorage(layer));
    }
    check.resistancesValid = check.error == TQLoad::ET_OK;

    const TQLoad::ErrorType innerFault = CheckSurfaceCoefficient(films.inner);
    const TQLoad::ErrorType summerFault = CheckSurfaceCoefficient(films.outerSummer);
    const TQLoad::ErrorType winterFault = CheckSurfaceCoefficient(films.outerWinter);
    check.innerValid = innerFault == TQLoad::ET_OK;
    check.outerSummerValid = summerFault == TQLoad::ET_OK;
    check.outerWinterValid = winterFault == TQLoad::ET_OK;
    check.storageValid = storageFault == TQLoad::ET_OK;

    Record(check.error, innerFault);
    Record(check.error, summerFault);
    Record(check.error, winterFault);
    Record(check.error, storageFault);
    return check;
}

} // namespace thermal
