#pragma once

#include "host/thermal/TQErrorType.h"

#include <cmath>

namespace TQLoad {

/// Setters store every value they are given (an engineer's entry is never lost) and say whether
/// the calculation will accept it.
inline ErrorType CheckNonNegative(double value, ErrorType whenNegative)
{
    if (!std::isfinite(value))
        return ET_NonFinite;
    return value < 0.0 ? whenNegative : ET_OK;
}

inline ErrorType CheckPositive(double value, ErrorType whenNotPositive)
{
    if (!std::isfinite(value))
        return ET_NonFinite;
    return value <= 0.0 ? whenNotPositive : ET_OK;
}

} // namespace TQLoad
