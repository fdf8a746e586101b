#include "host/thermal/VapourProfile.h"
#include "host/thermal/WallThermal.h"

#include <benchmark/benchmark.h>

namespace {

tagTQTIMBERINGCHARACTER Layer(double thickness, double conductivity, double density, double specificHeat,
                              double correction = 1.0)
{
    tagTQTIMBERINGCHARACTER layer;
    layer.Thick = thickness;
    layer.DrXs = conductivity;
    layer.DrXsXz = correction;
    layer.GMD = density;
    layer.BRr = specificHeat;
    return layer;
}

/// Outside to inside: 20 cement mortar, 60 EPS (a 1.2), 20 cement mortar, 240 brick, 20 lime-cement mortar.
thermal::Layers FiveLayerWall()
{
    thermal::Layers layers;
    layers.Add(Layer(0.02, 0.93, 1800.0, 1.05));
    layers.Add(Layer(0.06, 0.039, 20.0, 1.38, 1.2));
    layers.Add(Layer(0.02, 0.93, 1800.0, 1.05));
    layers.Add(Layer(0.24, 0.81, 1800.0, 1.05));
    layers.Add(Layer(0.02, 0.87, 1700.0, 1.05));
    return layers;
}

/// What the wall-data wrapper does for every construction it shows: Cal(1), then Cal(0), each a
/// full evaluation.
void ShowConstruction(benchmark::State& state, TQDynamicMethod method)
{
    const thermal::Layers layers = FiveLayerWall();
    const thermal::SurfaceFilms films;
    for (auto _ : state) {
        benchmark::DoNotOptimize(thermal::EvaluateWall(layers, films, method));
        benchmark::DoNotOptimize(thermal::EvaluateWall(layers, films, method));
    }
}

void BM_ShowConstructionGB50176(benchmark::State& state)
{
    ShowConstruction(state, TQDynamicMethod::GB50176);
}
BENCHMARK(BM_ShowConstructionGB50176);

void BM_ShowConstructionISO13786(benchmark::State& state)
{
    ShowConstruction(state, TQDynamicMethod::ISO13786);
}
BENCHMARK(BM_ShowConstructionISO13786);

void BM_SolveThickness(benchmark::State& state)
{
    const thermal::Layers layers = FiveLayerWall();
    const thermal::SurfaceFilms films;
    for (auto _ : state)
        benchmark::DoNotOptimize(thermal::SolveThickness(layers, films, thermal::Season::Winter, 0.45));
}
BENCHMARK(BM_SolveThickness);

/// One temperature and vapour profile of the five-layer wall with its two condensation checks
/// (μ of mortar and brick from the GB 50176 table; 0.0000162 for EPS is a hand-set figure: the cost
/// does not depend on it).
void BM_VapourProfile(benchmark::State& state)
{
    const thermal::Layers layers = FiveLayerWall();
    const double permeability[] = {0.000021, 0.0000162, 0.000021, 0.000105, 0.0000975};
    const thermal::SurfaceFilms films;
    const thermal::MoistureConditions conditions;
    for (auto _ : state)
        benchmark::DoNotOptimize(thermal::EvaluateVapourProfile(layers, permeability, films, conditions));
}
BENCHMARK(BM_VapourProfile);

} // namespace

BENCHMARK_MAIN();
