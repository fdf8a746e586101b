#pragma once

#include "host/thermal/TQArray.h"
#include "host/thermal/TQErrorType.h"
#include "host/thermal/TQTimberingCharacter.h"

/// How attenuation and delay are computed. GB 50176's simplified method is the default; the
/// transfer-matrix method of EN ISO 13786 is exact for a periodic (24 h) temperature wave.
enum class TQDynamicMethod : int
{
    GB50176 = 0,
    ISO13786 = 1,
};

/// Thermal characteristic block of a wall: its layers outside to inside, the surface
/// coefficients of the summer case and the three summer results. The first three members are
/// the results and keep their order: the host reads them as the block's first three doubles.
struct tagTQWALLCHARACTER
{
    double CrXs = 0.0; ///< summer heat transfer coefficient K, W/(m²·K)
    double Sj = 0.0;   ///< attenuation ν0, dimensionless
    double Yc = 0.0;   ///< delay ξ0, h

    double NHrXs = 8.7;  ///< inner surface coefficient αi, W/(m²·K)
    double WHrXs = 19.0; ///< outer surface coefficient αe in summer, W/(m²·K)

    const CTQTheroyArray<tagTQTIMBERINGCHARACTER>& GetTimberingData() const { return m_Layers; }
    /// Replaces the layers; a non-zero flag recomputes the three results at once (with Method).
    /// Returns the calculation's error when recomputing, otherwise the first fault of the layers.
    TQLoad::ErrorType SetTimberingData(const CTQTheroyArray<tagTQTIMBERINGCHARACTER>& layers, int recalc);
    /// Set αi and αe; a non-zero flag recomputes the three results at once (with Method).
    /// Returns the calculation's error when recomputing, otherwise the value's own fault (ET_NonFinite,
    /// ET_BadSurfaceCoefficient for one ≤ 0) or ET_OK. The value is stored either way.
    TQLoad::ErrorType SetNHrXs(double value, int recalc);
    TQLoad::ErrorType SetWHrXs(double value, int recalc);

    /// Computes CrXs, Sj and Yc from the layers and the two surface coefficients.
    TQLoad::ErrorType Calculate(TQDynamicMethod method);
    /// The same with the method of the last calculation.
    TQLoad::ErrorType Calculate() { return Calculate(Method); }

    /// Method of the last calculation; a setter's recalculation keeps it, so results copied from
    /// an evaluated wall are not silently recomputed by the other method.
    TQDynamicMethod Method = TQDynamicMethod::GB50176;

private:
    CTQTheroyArray<tagTQTIMBERINGCHARACTER> m_Layers;
};
