#pragma once

namespace TQLoad {

/// Result of the wall-data component's setters and of a calculation. Anything but ET_OK from a
/// calculation means the affected results are NaN, never a plausible wrong number.
enum ErrorType : int
{
    ET_OK = 0,
    ET_NonFinite = 1,              ///< a value is NaN or infinite
    ET_BadConductivity = 2,        ///< a layer's λ·a is not positive
    ET_BadDensity = 3,             ///< a negative dry density
    ET_BadSpecificHeat = 4,        ///< a negative specific heat
    ET_BadThickness = 5,           ///< a negative layer thickness
    ET_BadSurfaceCoefficient = 6,  ///< a surface heat-exchange coefficient that is not positive
};

} // namespace TQLoad
