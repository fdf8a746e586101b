#include "host/thermal/TQWallCharacter.h"

#include "host/thermal/WallInputCheck.h"
#include "host/thermal/WallThermal.h"

TQLoad::ErrorType tagTQWALLCHARACTER::SetTimberingData(const CTQTheroyArray<tagTQTIMBERINGCHARACTER>& layers,
                                                       int recalc)
{
    m_Layers = layers;
    return recalc != 0 ? Calculate() : thermal::CheckLayers(m_Layers);
}

TQLoad::ErrorType tagTQWALLCHARACTER::SetNHrXs(double value, int recalc)
{
    NHrXs = value;
    return recalc != 0 ? Calculate() : thermal::CheckSurfaceCoefficient(value);
}

TQLoad::ErrorType tagTQWALLCHARACTER::SetWHrXs(double value, int recalc)
{
    WHrXs = value;
    return recalc != 0 ? Calculate() : thermal::CheckSurfaceCoefficient(value);
}

TQLoad::ErrorType tagTQWALLCHARACTER::Calculate(TQDynamicMethod method)
{
    // The block holds summer figures only; the winter outer coefficient keeps its default and its
    // result is not used.
    thermal::SurfaceFilms films;
    films.inner = NHrXs;
    films.outerSummer = WHrXs;
    Method = method;
    const thermal::WallResults results = thermal::EvaluateWall(m_Layers, films, method);
    CrXs = results.kSummer;
    Sj = results.attenuation;
    Yc = results.delayHours;
    return results.error;
}
