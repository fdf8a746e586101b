#pragma once

#include "host/core/CTQObject.h"
#include "host/TQHostExport.h"

/// The three surface heat-exchange coefficients a wall is evaluated with, W/(m²·K).
class TQHOST_EXPORT CTQCrXs : public CTQObject
{
public:
    CTQCrXs();
    CTQCrXs(double outerSummer, double outerWinter, double inner);
    CTQCrXs(const CTQCrXs&) = default;
    CTQCrXs& operator=(const CTQCrXs&) = default;
    ~CTQCrXs() override;

    const char* GetRuntimeClass() const override;
    /// GB 50176 design values: αe 19.0 in summer, 23.0 in winter, αi 8.7.
    void Init() override;

    double m_dWHrXs = 0.0;   ///< outer surface coefficient in summer
    double m_dDjWHrXs = 0.0; ///< outer surface coefficient in winter
    double m_dNHrXs = 0.0;   ///< inner surface coefficient
};
