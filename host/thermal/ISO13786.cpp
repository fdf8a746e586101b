#include "host/thermal/ISO13786.h"

#include <cmath>
#include <complex>
#include <numbers>

// Conventions. Over one layer, with complex amplitudes θ(x)·e^(iωt), ω = 2π/T, and the heat flux
// q = −λ·dθ/dx counted positive in the direction of x, conduction gives θ'' = k²·θ with
// k = (1 + i)/d and penetration depth d = √(λ·T/(π·ρ·c)). Solving from one face (x = 0) to the other
// (x = δ) yields the layer matrix, with ξ = δ/d:
//
//     [θ(δ)]   [ cosh(kδ)           −sinh(kδ)/(λ·k) ] [θ(0)]      kδ = ξ·(1 + i)
//     [q(δ)] = [ −λ·k·sinh(kδ)      cosh(kδ)        ] [q(0)]      1/(λ·k) = δ/(λ·ξ·(1 + i))
//
// and a surface film of resistance R the matrix [[1, −R], [0, 1]] (the temperature drops by R·q in
// the direction of the flux). x runs from the outside air to the inside air, so the matrix of the
// construction is the product with the first element on the right:
//
//     M = Z(1/αi) · Z(innermost layer) ··· Z(outermost layer) · Z(1/αe).
//
// Every factor has determinant 1. With the inside air held steady (θ = 0 there) and a unit
// amplitude outside, the first row gives q(outside) = −M11/M12 and the second the flux reaching the
// inside air: Y12 = −det(M)/M12 = −1/M12 (1/RT, the steady K, for a massless construction). The inner
// surface amplitude is |Y12|/αi, so the attenuation is αi/|Y12|; the flux, and with it the inner
// surface temperature, lags the outside air by −arg(Y12)·T/(2π).
//
// A thick layer's entries grow like e^ξ: each matrix is divided by e^ξ and the exponents are summed
// separately, so that no product overflows and the phase stays exact.

namespace thermal::ISO13786 {

namespace {

using Complex = std::complex<double>;

constexpr double kPeriodSeconds = 24.0 * 3600.0;
constexpr double kPeriodHours = 24.0;
constexpr double kJoulesPerKilojoule = 1000.0;

/// From this ξ on the matrix is divided by e^ξ; below it, it is used as it is.
constexpr double kScaleFromXi = 1.0;

/// sinh(z)/z is taken from its series below this ξ, where the quotient is 0/0 or nearly.
constexpr double kSeriesBelow = 1e-6;

struct Matrix
{
    Complex m11, m12, m21, m22;
};

Matrix operator*(const Matrix& a, const Matrix& b)
{
    return {a.m11 * b.m11 + a.m12 * b.m21, a.m11 * b.m12 + a.m12 * b.m22, a.m21 * b.m11 + a.m22 * b.m21,
            a.m21 * b.m12 + a.m22 * b.m22};
}

/// A matrix divided by e^logScale.
struct ScaledMatrix
{
    Matrix matrix;
    double logScale;
};

Matrix FilmMatrix(double alpha)
{
    return {1.0, -1.0 / alpha, 0.0, 1.0};
}

ScaledMatrix LayerMatrix(const tagTQTIMBERINGCHARACTER& layer)
{
    const double conductivity = layer.DrXs * layer.DrXsXz;                                  // W/(m·K)
    const double heatCapacity = layer.DrXsXz * layer.GMD * layer.BRr * kJoulesPerKilojoule; // J/(m³·K)
    const double resistance = layer.Thick / conductivity;                                   // m²·K/W
    // 1/d; 0 for an air layer, whose matrix is then the film matrix of its resistance.
    const double inverseDepth = std::sqrt(std::numbers::pi * heatCapacity / (conductivity * kPeriodSeconds));
    const double xi = layer.Thick * inverseDepth;
    const Complex k = Complex(1.0, 1.0) * inverseDepth;

    // cosh(ξ + iξ) = cosh ξ·cos ξ + i·sinh ξ·sin ξ and sinh(ξ + iξ) = sinh ξ·cos ξ + i·cosh ξ·sin ξ.
    // From ξ = 1 on, cosh ξ and sinh ξ are divided by e^ξ: (1 ± e^(−2ξ))/2. Below, one expm1 gives both
    // without cancellation: with m = e^ξ − 1, sinh ξ = m·(2 + m)/(2·(1 + m)), cosh ξ = sinh ξ + 1/(1 + m).
    const bool scaled = xi >= kScaleFromXi;
    double coshXi = 0.0;
    double sinhXi = 0.0;
    if (scaled) {
        const double decay = std::exp(-2.0 * xi);
        coshXi = 0.5 * (1.0 + decay);
        sinhXi = 0.5 * (1.0 - decay);
    } else {
        const double growthMinusOne = std::expm1(xi);
        sinhXi = growthMinusOne * (2.0 + growthMinusOne) / (2.0 * (1.0 + growthMinusOne));
        coshXi = sinhXi + 1.0 / (1.0 + growthMinusOne);
    }
    const double cosXi = std::cos(xi);
    const double sinXi = std::sin(xi);
    const Complex coshZ(coshXi * cosXi, sinhXi * sinXi);
    const Complex sinhZ(sinhXi * cosXi, coshXi * sinXi);
    // sinh(z)/z with 1/z = (1 − i)/(2ξ); its series 1 + z²/6 (z² = 2iξ²) where ξ is 0 or nearly.
    const Complex sinhOverZ = xi < kSeriesBelow ? Complex(1.0, xi * xi / 3.0) : sinhZ * Complex(1.0, -1.0) / (2.0 * xi);
    return {{coshZ, -resistance * sinhOverZ, -conductivity * k * sinhZ, coshZ}, scaled ? xi : 0.0};
}

/// Lag in [0, T) of a response whose complex amplitude has the argument `phase`.
double LagHours(double phase)
{
    double hours = std::fmod(-phase * kPeriodHours / (2.0 * std::numbers::pi), kPeriodHours);
    if (hours < 0.0)
        hours += kPeriodHours;
    return hours < kPeriodHours ? hours : 0.0;
}

} // namespace

PeriodicResponse Evaluate(const Layers& layers, double alphaInner, double alphaOuter)
{
    Matrix product = FilmMatrix(alphaOuter);
    double logScale = 0.0;
    for (const auto& layer : layers) {
        const ScaledMatrix factor = LayerMatrix(layer);
        product = factor.matrix * product;
        logScale += factor.logScale;
    }
    product = FilmMatrix(alphaInner) * product;

    // Y12 = −e^(−logScale)/M12 with M12 the scaled entry: |Y12| from logarithms, arg(Y12) from M12.
    const Complex scaledTransmittance = -1.0 / product.m12;
    const double attenuation = std::exp(logScale + std::log(alphaInner / std::abs(scaledTransmittance)));
    return {attenuation, LagHours(std::arg(scaledTransmittance))};
}

} // namespace thermal::ISO13786
