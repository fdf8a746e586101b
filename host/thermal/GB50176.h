#pragma once

#include "host/thermal/PeriodicResponse.h"
#include "host/thermal/TQTimberingCharacter.h"
#include "host/thermal/WallThermal.h"

/// GB 50176, thermal design code for civil buildings: steady heat transfer through a layered
/// construction and the simplified method for the attenuation ν0 and delay ξ0 of a 24 h wave.
/// The inputs are assumed checked (WallInputCheck); nothing here validates them.
namespace thermal::GB50176 {

/// Thermal resistance R = δ/(λ·a), m²·K/W.
double LayerResistance(const tagTQTIMBERINGCHARACTER& layer);

/// Heat storage coefficient for a 24 h period S = a·√(2π·λ·c·ρ/86.4), W/(m²·K), with λ in W/(m·K),
/// c in kJ/(kg·K) and ρ in kg/m³ (86.4 = 86400 s / 1000 J per kJ). The correction factor a applies
/// to λ and to S alike. 0 for an air layer (ρ or c zero).
double LayerHeatStorage(const tagTQTIMBERINGCHARACTER& layer);

/// Thermal inertia index D = R·S, dimensionless; a cancels out of it.
double LayerThermalInertia(const tagTQTIMBERINGCHARACTER& layer);

/// ΣR of the layers, m²·K/W.
double TotalResistance(const Layers& layers);

/// K = 1/(1/α1 + ΣR + 1/α2) between the air on the two sides, W/(m²·K).
double HeatTransferCoefficient(double sumResistance, double alphaSide1, double alphaSide2);

/// ν0 and ξ0 of the layers (outside to inside) for the summer outer coefficient alphaOuter.
/// With no layer the formulas give ν0 = 0.9·(αi + αe)/αe (films only; the exact value is 10 % higher)
/// and ξ0 = 0. The method is meant for constructions with some mass: for a light one (ΣD well below
/// 1) the formula gives a negative ξ0, which is returned as 0 h.
PeriodicResponse Evaluate(const Layers& layers, double alphaInner, double alphaOuter);

} // namespace thermal::GB50176
