#pragma once

#include "host/thermal/WallThermal.h"

#include <initializer_list>
#include <limits>

/// Both ways of finding attenuation and delay, and their names for failure messages.
constexpr TQDynamicMethod kMethods[] = {TQDynamicMethod::GB50176, TQDynamicMethod::ISO13786};
inline const char* MethodName(TQDynamicMethod method)
{
    return method == TQDynamicMethod::ISO13786 ? "ISO13786" : "GB50176";
}

/// Layers for the thermal tests. Material values (ρ kg/m³, λ W/(m·K), c kJ/(kg·K)) are rows of the
/// GB 50176 material tables; thicknesses in m.
namespace thermal::test {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

/// The default films: αi 8.7, αe 19.0 (summer) and 23.0 (winter) W/(m²·K).
const SurfaceFilms kFilms{};

inline tagTQTIMBERINGCHARACTER Layer(double thickness, double conductivity, double density, double specificHeat,
                                     double correction = 1.0)
{
    return {thickness, conductivity, correction, density, specificHeat};
}

// A layer of each material, by its thickness t in m: 水泥砂浆, 石灰水泥砂浆, 重砂浆砌筑粘土砖砌体, 钢筋混凝土,
// and 模塑聚苯板(EPS) with the correction factor 1.2 of the textbook exercise.
inline const auto CementMortar = [](double t) { return Layer(t, 0.93, 1800.0, 1.05); };
inline const auto LimeCementMortar = [](double t) { return Layer(t, 0.87, 1700.0, 1.05); };
inline const auto Brick = [](double t) { return Layer(t, 0.81, 1800.0, 1.05); };
inline const auto Concrete = [](double t) { return Layer(t, 1.74, 2500.0, 0.92); };
inline const auto Eps = [](double t) { return Layer(t, 0.039, 20.0, 1.38, 1.2); };

inline Layers MakeLayers(std::initializer_list<tagTQTIMBERINGCHARACTER> items)
{
    Layers layers;
    for (const auto& item : items)
        layers.Add(item);
    return layers;
}

/// Plastered brick wall, outside to inside: 20 cement mortar, brick, 20 lime-cement mortar.
inline Layers PlasteredBrick(double brickThickness)
{
    return MakeLayers({CementMortar(0.02), Brick(brickThickness), LimeCementMortar(0.02)});
}

} // namespace thermal::test
