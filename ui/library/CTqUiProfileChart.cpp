#include "ui/library/CTqUiProfileChart.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSamplesPerLayer = 24;
constexpr int kLeft = 56, kRight = 64, kTop = 28, kBottom = 40;

struct Range
{
    double low;
    double high;
    /// Widens an empty range and rounds its ends outwards to `step`.
    Range Rounded(double step) const
    {
        const double lo = std::floor(low / step) * step;
        const double hi = std::ceil(high / step) * step;
        return {lo, hi > lo ? hi : lo + step};
    }
};

} // namespace

CTqUiProfileChart::CTqUiProfileChart(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(480, 280);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void CTqUiProfileChart::SetProfile(const thermal::VapourProfileResult& result, const QStringList& layerNames)
{
    m_Result = result;
    m_LayerNames = layerNames;
    update();
}

std::vector<CTqUiProfileChart::Sample> CTqUiProfileChart::Samples() const
{
    std::vector<Sample> samples;
    const auto& planes = m_Result.planes;
    for (std::size_t plane = 0; plane + 1 < planes.size(); ++plane) {
        const thermal::ProfilePlane& a = planes[plane];
        const thermal::ProfilePlane& b = planes[plane + 1];
        for (int step = 0; step < kSamplesPerLayer; ++step) {
            const double f = static_cast<double>(step) / kSamplesPerLayer;
            const double temperature = a.temperature + (b.temperature - a.temperature) * f;
            samples.push_back({a.position + (b.position - a.position) * f, temperature,
                               thermal::SaturationPressure(temperature), a.partial + (b.partial - a.partial) * f});
        }
    }
    if (!planes.empty())
        samples.push_back(
            {planes.back().position, planes.back().temperature, planes.back().saturation, planes.back().partial});
    return samples;
}

void CTqUiProfileChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF plot(kLeft, kTop, width() - kLeft - kRight, height() - kTop - kBottom);
    const auto& planes = m_Result.planes;
    if (planes.size() < 2 || !(planes.back().position > 0.0) || plot.width() < 10 || plot.height() < 10) {
        painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("无构造层，无法绘制"));
        return;
    }
    const std::vector<Sample> samples = Samples();
    Range temperature{samples.front().temperature, samples.front().temperature};
    Range pressure{0.0, 0.0};
    for (const Sample& s : samples) {
        temperature = {std::min(temperature.low, s.temperature), std::max(temperature.high, s.temperature)};
        pressure.high = std::max({pressure.high, s.saturation, std::isfinite(s.partial) ? s.partial : 0.0});
    }
    temperature = temperature.Rounded(5.0);
    pressure = pressure.Rounded(500.0);
    const double total = planes.back().position;
    const auto x = [&](double position) { return plot.left() + plot.width() * position / total; };
    const auto yT = [&](double t) {
        return plot.bottom() - plot.height() * (t - temperature.low) / (temperature.high - temperature.low);
    };
    const auto yP = [&](double p) {
        return plot.bottom() - plot.height() * (p - pressure.low) / (pressure.high - pressure.low);
    };

    // The layers as bands, to their thickness, named where there is room.
    for (std::size_t layer = 0; layer + 1 < planes.size(); ++layer) {
        const QRectF band(QPointF(x(planes[layer].position), plot.top()),
                          QPointF(x(planes[layer + 1].position), plot.bottom()));
        painter.fillRect(band, layer % 2 ? QColor(236, 236, 236) : QColor(248, 248, 248));
        painter.setPen(QColor(190, 190, 190));
        painter.drawLine(band.topLeft(), band.bottomLeft());
        if (static_cast<qsizetype>(layer) < m_LayerNames.size() && band.width() > 14) {
            painter.save();
            painter.setPen(Qt::darkGray);
            painter.translate(band.left() + 3, band.top() + 4);
            painter.rotate(90);
            const QString name = fontMetrics().elidedText(m_LayerNames[static_cast<qsizetype>(layer)], Qt::ElideRight,
                                                          static_cast<int>(plot.height() * 0.45));
            painter.drawText(QPointF(0, -3), name);
            painter.restore();
        }
    }

    // The condensation zone: where the straight vapour line lies above saturation.
    if (m_Result.interstitial == thermal::InterstitialVerdict::Condensing) {
        for (std::size_t i = 0; i + 1 < samples.size(); ++i) {
            const Sample& a = samples[i];
            const Sample& b = samples[i + 1];
            if (a.partial > a.saturation || b.partial > b.saturation) {
                QPainterPath area;
                area.moveTo(x(a.position), yP(std::max(a.partial, a.saturation)));
                area.lineTo(x(b.position), yP(std::max(b.partial, b.saturation)));
                area.lineTo(x(b.position), yP(b.saturation));
                area.lineTo(x(a.position), yP(a.saturation));
                area.closeSubpath();
                painter.fillPath(area, QColor(220, 40, 40, 110));
                painter.fillRect(QRectF(QPointF(x(a.position), plot.top()), QPointF(x(b.position), plot.top() + 6)),
                                 QColor(220, 40, 40));
            }
        }
    }

    const auto drawCurve = [&](auto value, auto y, const QPen& pen) {
        QPainterPath path;
        bool started = false;
        for (const Sample& s : samples) {
            const double v = value(s);
            if (!std::isfinite(v))
                return;
            const QPointF point(x(s.position), y(v));
            started ? path.lineTo(point) : path.moveTo(point);
            started = true;
        }
        painter.strokePath(path, pen);
    };
    const QPen temperaturePen(QColor(200, 60, 20), 2);
    const QPen saturationPen(QColor(20, 80, 200), 2);
    const QPen partialPen(QColor(20, 140, 60), 2, Qt::DashLine);
    drawCurve([](const Sample& s) { return s.temperature; }, yT, temperaturePen);
    drawCurve([](const Sample& s) { return s.saturation; }, yP, saturationPen);
    drawCurve([](const Sample& s) { return s.partial; }, yP, partialPen);

    // Axes: °C at the left, Pa at the right, thickness below.
    painter.setPen(Qt::black);
    painter.drawRect(plot);
    for (int i = 0; i <= 5; ++i) {
        const double f = i / 5.0;
        const double yy = plot.bottom() - plot.height() * f;
        painter.drawText(QRectF(0, yy - 8, kLeft - 4, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(temperature.low + (temperature.high - temperature.low) * f, 'f', 1));
        painter.drawText(QRectF(plot.right() + 4, yy - 8, kRight - 4, 16), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::number(pressure.low + (pressure.high - pressure.low) * f, 'f', 0));
    }
    painter.drawText(QRectF(0, 4, kLeft + 40, 18), Qt::AlignLeft, QStringLiteral("温度(℃)"));
    painter.drawText(QRectF(width() - kRight - 80, 4, kRight + 76, 18), Qt::AlignRight, QStringLiteral("压力(Pa)"));
    painter.drawText(QRectF(plot.left(), plot.bottom() + 2, 60, 18), Qt::AlignLeft, QStringLiteral("室外"));
    painter.drawText(QRectF(plot.right() - 60, plot.bottom() + 2, 60, 18), Qt::AlignRight, QStringLiteral("室内"));
    painter.drawText(QRectF(plot.left(), plot.bottom() + 2, plot.width(), 18), Qt::AlignHCenter,
                     QStringLiteral("厚度 %1 mm").arg(total * 1000.0, 0, 'f', 0));

    // Legend.
    const struct
    {
        QPen pen;
        const char* text;
    } legend[] = {{temperaturePen, "温度"}, {saturationPen, "饱和水蒸气分压"}, {partialPen, "水蒸气分压"}};
    double lx = plot.left() + 8;
    const double ly = height() - 12;
    for (const auto& item : legend) {
        painter.setPen(item.pen);
        painter.drawLine(QPointF(lx, ly - 4), QPointF(lx + 22, ly - 4));
        painter.setPen(Qt::black);
        const QString text = QString::fromUtf8(item.text);
        painter.drawText(QPointF(lx + 26, ly), text);
        lx += 36 + fontMetrics().horizontalAdvance(text);
    }
}
