#pragma once

#include "host/thermal/PeriodicResponse.h"
#include "host/thermal/WallThermal.h"

/// EN ISO 13786, dynamic thermal characteristics: the exact periodic response of a layered
/// construction from its heat transfer matrix, for a period of 24 h.
/// The inputs are assumed checked (WallInputCheck); nothing here validates them.
namespace thermal::ISO13786 {

/// Attenuation αi/|Y12| (outside air amplitude over inner surface amplitude, comparable to the
/// ν0 of GB 50176) and delay (lag of Y12, 0 ≤ h < 24) of the layers (outside to inside) between the
/// air films 1/alphaOuter and 1/alphaInner. As in GB 50176, the correction factor a multiplies λ and
/// the heat capacity ρ·c alike, so that the penetration depth does not depend on it. With no layer,
/// or only layers without heat capacity, the attenuation is αi/K and the delay 0.
PeriodicResponse Evaluate(const Layers& layers, double alphaInner, double alphaOuter);

} // namespace thermal::ISO13786
