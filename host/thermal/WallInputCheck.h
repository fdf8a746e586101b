#pragma once

#include "host/thermal/TQErrorType.h"
#include "host/thermal/TQTimberingCharacter.h"
#include "host/thermal/WallThermal.h"

namespace thermal {

/// Which inputs of a construction can be used, and the fault that explains the most NaN results.
/// A result is computed only from usable inputs; everything else is NaN.
struct WallInputCheck
{
    TQLoad::ErrorType error = TQLoad::ET_OK;
    bool resistancesValid = true; ///< δ, λ and a of every layer: each R = δ/(λ·a) can be formed
    bool storageValid = true;     ///< ρ and c of every layer: each S can be formed
    bool innerValid = true;       ///< αi
    bool outerSummerValid = true; ///< αe in summer
    bool outerWinterValid = true; ///< αe in winter
};

/// Fault in δ, λ or a of one layer, ET_OK when its resistance is a finite number ≥ 0.
TQLoad::ErrorType CheckLayerResistance(const tagTQTIMBERINGCHARACTER& layer);

/// Fault in ρ or c of one layer, ET_OK when its heat storage coefficient S and thermal inertia D are
/// finite numbers ≥ 0 (0 for an air layer). Assumes λ and a have passed CheckLayerResistance.
TQLoad::ErrorType CheckLayerStorage(const tagTQTIMBERINGCHARACTER& layer);

/// ET_NonFinite for a NaN or infinite surface heat-exchange coefficient, ET_BadSurfaceCoefficient for one ≤ 0.
TQLoad::ErrorType CheckSurfaceCoefficient(double alpha);

/// First fault of the layers: any resistance fault (outside first) before any storage fault.
TQLoad::ErrorType CheckLayers(const Layers& layers);

/// Checks everything EvaluateWall uses. `error` reports, in this order of precedence, a layer's δ/λ/a
/// (all five results NaN), αi (all NaN), αe summer (summer K, attenuation and delay NaN), αe winter
/// (winter K NaN), a layer's ρ/c (attenuation and delay NaN).
WallInputCheck CheckWallInput(const Layers& layers, const SurfaceFilms& films);

} // namespace thermal
