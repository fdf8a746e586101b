#pragma once

#include "host/thermal/VapourProfile.h"

#include <QStringList>
#include <QWidget>

/// Temperature, saturation and vapour pressure across a construction, the layers drawn to their
/// thickness (outside at the left) and the condensation zone shaded.
///
/// Drawn with QPainter: the chart is three curves over a few bands, which Qt Widgets draws in a
/// hundred lines, and a chart library (Qt Charts) would be a new dependency of the library and of
/// every host for this one picture; it also cannot shade between two curves of different axes.
class CTqUiProfileChart : public QWidget
{
public:
    explicit CTqUiProfileChart(QWidget* parent = nullptr);

    /// The profile to draw and the layer names (outside to inside) for the bands.
    void SetProfile(const thermal::VapourProfileResult& result, const QStringList& layerNames);
    QSize sizeHint() const override { return {640, 360}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Sample
    {
        double position;    ///< m from the outer surface
        double temperature; ///< °C
        double saturation;  ///< Pa
        double partial;     ///< Pa, NaN without vapour data
    };
    /// Points along the construction: θ and P are straight within a layer, Ps follows θ.
    std::vector<Sample> Samples() const;

    thermal::VapourProfileResult m_Result;
    QStringList m_LayerNames;
};
