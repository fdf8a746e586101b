#pragma once

#include "host/thermal/TQArray.h"
#include "host/thermal/TQErrorType.h"
#include "host/thermal/TQTimberingCharacter.h"
#include "host/thermal/TQWallCharacter.h"

/// Steady and periodic heat transfer through a layered construction (GB 50176, EN ISO 13786).
/// Plain C++: no Qt, no database; the wall-data classes of the host wrap it.
namespace thermal {

using Layers = CTQTheroyArray<tagTQTIMBERINGCHARACTER>;

/// Surface heat-exchange coefficients, W/(m²·K).
struct SurfaceFilms
{
    double outerSummer = 19.0; ///< αe in summer
    double outerWinter = 23.0; ///< αe in winter
    double inner = 8.7;        ///< αi
};

/// The five results of a construction. A result that cannot be computed from the input is NaN
/// and `error` says why.
struct WallResults
{
    double kSummer;     ///< W/(m²·K)
    double kWinter;     ///< W/(m²·K)
    double kInner;      ///< partition with inner surfaces on both sides, W/(m²·K)
    double attenuation; ///< ν0
    double delayHours;  ///< ξ0, h
    TQLoad::ErrorType error = TQLoad::ET_OK;
};

enum class Season
{
    Summer,
    Winter,
};

/// The layer chosen by the thickness search and its new thickness (m). index −1: none.
struct ThicknessSolution
{
    int index = -1;
    double thickness = 0.0;
};

/// Evaluates all five results. Layers are ordered outside to inside; an empty list is valid (films
/// only). K always follows GB 50176; `method` chooses how attenuation and delay (summer αe) are found.
/// Bad input sets `error` and makes NaN every result it enters: a layer's δ, λ or a all five, a
/// layer's ρ or c the attenuation and delay, αi all five, αe summer the summer K, attenuation and
/// delay, αe winter the winter K. A zero ρ or c (an air layer) is valid. A wall so massive that its
/// attenuation exceeds the largest double (ΣD near 1000) has a NaN attenuation and ET_NonFinite.
WallResults EvaluateWall(const Layers& layers, const SurfaceFilms& films, TQDynamicMethod method);

/// Thickness of the layer with the lowest λ·a (the first such from the outside) that makes the
/// K of `season` equal `targetK`. The thickness may be negative when the target cannot be
/// reached; index −1 for no layer, a target ≤ 0 or a chosen layer with λ·a ≤ 0, and also when
/// the result could not be trusted: a non-finite target or λ·a, another layer's δ, λ or a unusable,
/// αi or the season's αe not finite and positive, or a thickness that is not finite (a target so
/// small that 1/K overflows). The chosen layer's own thickness is not looked at.
ThicknessSolution SolveThickness(const Layers& layers, const SurfaceFilms& films, Season season, double targetK);

/// The layer SolveThickness sizes: the lowest λ·a, the first such from the outside; −1 for no
/// layers or a λ·a that is not finite. Callers name it before the search changes anything.
int ThicknessLayer(const Layers& layers);

} // namespace thermal
