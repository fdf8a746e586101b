#pragma once

namespace thermal {

/// Response of a construction to a 24 h temperature wave outside, the inside air held steady.
struct PeriodicResponse
{
    double attenuation; ///< outside air amplitude / inner surface amplitude, dimensionless
    double delayHours;  ///< lag of the inner surface peak behind the outside peak, h
};

} // namespace thermal
