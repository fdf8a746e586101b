#pragma once

#include "host/thermal/WallThermal.h"

#include <initializer_list>

/// Both ways of finding attenuation and delay, and their names for failure messages.
constexpr TQDynamicMethod kMethods[] = {TQDynamicMethod::GB50176, TQDynamicMethod::ISO13786};
inline const char* MethodName(TQDynamicMethod method)
{
    return method == TQDynamicMethod::ISO13786 ? "ISO13786" : "GB50176";
}

/// Layers for the thermal tests. Material values (ρ kg/m³, λ W/(m·K), c kJ/(kg·K)) are rows of the
/// GB 50176 material tables; thicknesses in m.
namespace thermal::test {

inline tagTQTIMBERINGCHARACTER Layer(double thickness, double conductivity, double density, double specificHeat,
                                     double correction = 1.0)
{
    return {thickness, conductivity, correction, density, specificHeat};
}

/// 水泥砂浆 1800 / 0.93 / 1.05
inline tagTQTIMBERINGCHARACTER CementMortar(double thickness)
{
    return Layer(thickness, 0.93, 1800.0, 1.05);
}

/// 石灰水泥砂浆 1700 / 0.87 / 1.05
inline tagTQTIMBERINGCHARACTER LimeCementMortar(double thickness)
{
    return Layer(thickness, 0.87, 1700.0, 1.05);
}

/// 重砂浆砌筑粘土砖砌体 1800 / 0.81 / 1.05
inline tagTQTIMBERINGCHARACTER Brick(double thickness)
{
    return Layer(thickness, 0.81, 1800.0, 1.05);
}

/// 钢筋混凝土 2500 / 1.74 / 0.92
inline tagTQTIMBERINGCHARACTER Concrete(double thickness)
{
    return Layer(thickness, 1.74, 2500.0, 0.92);
}

/// 模塑聚苯板(EPS) 20 / 0.039 / 1.38, correction factor 1.2 as in the textbook exercise.
inline tagTQTIMBERINGCHARACTER Eps(double thickness)
{
    return Layer(thickness, 0.039, 20.0, 1.38, 1.2);
}

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

inline Layers Reversed(const Layers& layers)
{
    Layers reversed;
    for (int i = layers.GetSize() - 1; i >= 0; --i)
        reversed.Add(layers[i]);
    return reversed;
}

} // namespace thermal::test
