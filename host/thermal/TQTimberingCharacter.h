#pragma once

/// One layer of a construction as the thermal calculation sees it.
struct tagTQTIMBERINGCHARACTER
{
    double Thick = 0.0;  ///< thickness δ, m
    double DrXs = 0.0;   ///< conductivity λ, W/(m·K)
    double DrXsXz = 1.0; ///< correction factor a of λ (and of S), dimensionless
    double GMD = 0.0;    ///< dry density ρ, kg/m³
    double BRr = 0.0;    ///< specific heat c, kJ/(kg·K)

    bool operator==(const tagTQTIMBERINGCHARACTER&) const = default;
};
