#include "library/CTQWallSectionPainter.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Page layout in pixels. The section band lies between the tags above and the dimensions below.
constexpr int kImageWidth = 800;
constexpr double kSectionLeft = 120.0;
constexpr double kSectionRight = 680.0;
constexpr double kSectionTop = 130.0;
constexpr double kSectionBottom = 330.0;
constexpr double kMinLayerWidth = 5.0;
constexpr double kTagY = 96.0;
constexpr double kTagRadius = 11.0;
constexpr double kLayerDimensionY = 362.0;
constexpr double kTotalDimensionY = 394.0;
constexpr double kLegendTop = 420.0;
constexpr double kLegendRowHeight = 28.0;
constexpr double kLegendLeft = 28.0;
constexpr double kLegendColumnWidth = 372.0;
constexpr double kLegendTextLeft = 72.0; ///< from the column's left edge: after tag and swatch
constexpr double kLegendThicknessWidth = 70.0;
constexpr int kBottomMargin = 20;

const QColor kInk(40, 40, 40);

using EHatch = CTQWallSectionPainter::EHatch;

/// Parallel lines at 45° over `rect` (the caller clips), `spacing` apart.
void DrawDiagonals(QPainter& painter, const QRectF& rect, double spacing, bool rising, double offset = 0.0)
{
    const double h = rect.height();
    for (double t = -h + offset; t < rect.width() + h; t += spacing) {
        if (rising)
            painter.drawLine(QPointF(rect.left() + t, rect.bottom()), QPointF(rect.left() + t + h, rect.top()));
        else
            painter.drawLine(QPointF(rect.left() + t, rect.top()), QPointF(rect.left() + t + h, rect.bottom()));
    }
}

QPointF RandomPoint(QRandomGenerator& rng, const QRectF& rect)
{
    return {rect.left() + rng.bounded(rect.width()), rect.top() + rng.bounded(rect.height())};
}

/// How many marks a random pattern puts in `rect`: one per `areaPerMark` px², at least a few.
int MarkCount(const QRectF& rect, double areaPerMark)
{
    return std::max(3, int(rect.width() * rect.height() / areaPerMark));
}

void DrawDots(QPainter& painter, const QRectF& rect, QRandomGenerator& rng, double areaPerDot, double minRadius,
              double maxRadius)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    for (int i = MarkCount(rect, areaPerDot); i > 0; --i) {
        const double r = minRadius + rng.bounded(maxRadius - minRadius);
        painter.drawEllipse(RandomPoint(rng, rect), r, r);
    }
    painter.setBrush(Qt::NoBrush);
}

/// Aggregate: small triangles and grains, the drawing convention for concrete.
void DrawAggregate(QPainter& painter, const QRectF& rect, QRandomGenerator& rng)
{
    painter.setPen(QPen(kInk, 1.0));
    for (int i = MarkCount(rect, 260.0); i > 0; --i) {
        const QPointF c = RandomPoint(rng, rect);
        const double size = 2.5 + rng.bounded(3.0);
        const double turn = rng.bounded(2.0 * std::numbers::pi);
        QPolygonF triangle;
        for (int k = 0; k < 3; ++k) {
            const double a = turn + k * 2.0 * std::numbers::pi / 3.0;
            triangle << c + QPointF(size * std::cos(a), size * std::sin(a));
        }
        painter.drawPolygon(triangle);
    }
    DrawDots(painter, rect, rng, 220.0, 0.7, 1.3);
}

void DrawCells(QPainter& painter, const QRectF& rect, QRandomGenerator& rng)
{
    painter.setPen(QPen(kInk, 0.9));
    for (int i = MarkCount(rect, 200.0); i > 0; --i) {
        const double r = 1.5 + rng.bounded(2.0);
        painter.drawEllipse(RandomPoint(rng, rect), r, r);
    }
}

void DrawHollowBrick(QPainter& painter, const QRectF& rect)
{
    painter.setPen(QPen(QColor(140, 74, 58), 1.0));
    DrawDiagonals(painter, rect, 7.0, true);
    painter.setBrush(Qt::white);
    const double holeWidth = std::min(12.0, rect.width() / 3.0);
    const int columns = std::max(1, int(rect.width() / 32.0));
    for (double y = rect.top() + 8.0; y + 14.0 < rect.bottom(); y += 30.0) {
        for (int c = 0; c < columns; ++c) {
            const double x = rect.left() + (c + 0.5) * rect.width() / columns - holeWidth / 2.0;
            painter.drawRect(QRectF(x, y, holeWidth, 14.0));
        }
    }
    painter.setBrush(Qt::NoBrush);
}

void DrawFoam(QPainter& painter, const QRectF& rect)
{
    painter.setPen(QPen(QColor(150, 115, 20), 1.0));
    constexpr double step = 10.0;
    constexpr double arm = 2.5;
    int row = 0;
    for (double y = rect.top() + step / 2.0; y < rect.bottom(); y += step, ++row) {
        for (double x = rect.left() + (row % 2 ? step : step / 2.0); x < rect.right(); x += step) {
            painter.drawLine(QPointF(x - arm, y - arm), QPointF(x + arm, y + arm));
            painter.drawLine(QPointF(x - arm, y + arm), QPointF(x + arm, y - arm));
        }
    }
}

/// One coil of loops down a strip `width` wide centred on `x`: the batt symbol of fibrous insulation.
void DrawCoil(QPainter& painter, double x, double width, double top, double bottom)
{
    const double amplitude = width * 0.42;
    const double pitch = std::max(width * 0.55, 4.0);            // vertical advance per loop
    const double swing = pitch / (2.0 * std::numbers::pi) * 2.2; // > pitch/2π, so the curve turns back
    QPainterPath path;
    for (double theta = -2.0 * std::numbers::pi;; theta += 0.08) {
        const double y = top + pitch * theta / (2.0 * std::numbers::pi) - swing * std::cos(theta);
        const QPointF p(x + amplitude * std::sin(theta), y);
        path.elementCount() == 0 ? path.moveTo(p) : path.lineTo(p);
        if (y > bottom + swing)
            break;
    }
    painter.drawPath(path);
}

/// Fibrous insulation: coils side by side, none wider than about 60 px, so the loops keep their shape
/// in thick layers.
void DrawFibre(QPainter& painter, const QRectF& rect)
{
    painter.setPen(QPen(QColor(150, 95, 15), 1.1));
    const int columns = std::max(1, int(std::ceil(rect.width() / 60.0)));
    const double columnWidth = rect.width() / columns;
    for (int c = 0; c < columns; ++c)
        DrawCoil(painter, rect.left() + (c + 0.5) * columnWidth, columnWidth, rect.top(), rect.bottom());
}

void DrawWoodGrain(QPainter& painter, const QRectF& rect)
{
    painter.setPen(QPen(QColor(140, 95, 40), 1.0));
    int line = 0;
    const double spacing = std::clamp(rect.width() / 4.0, 4.0, 12.0);
    for (double x = rect.left() + spacing / 2.0; x < rect.right(); x += spacing, ++line) {
        QPolygonF grain;
        for (double y = rect.top(); y <= rect.bottom(); y += 3.0)
            grain << QPointF(x + 2.2 * std::sin(y / 14.0 + line * 1.7), y);
        painter.drawPolyline(grain);
    }
}

void DrawBoard(QPainter& painter, const QRectF& rect, QRandomGenerator& rng)
{
    DrawDots(painter, rect, rng, 110.0, 0.6, 1.1);
    painter.setPen(QPen(kInk, 0.8));
    for (int i = MarkCount(rect, 420.0); i > 0; --i) {
        const QPointF p = RandomPoint(rng, rect);
        painter.drawLine(p, p + QPointF(3.0, 0.0));
    }
}

void DrawEarth(QPainter& painter, const QRectF& rect, QRandomGenerator& rng)
{
    painter.setPen(QPen(QColor(100, 70, 35), 1.0));
    for (int i = MarkCount(rect, 90.0); i > 0; --i) {
        const QPointF p = RandomPoint(rng, rect);
        painter.drawLine(p, p + QPointF(3.5, -3.5));
    }
}

void DrawStone(QPainter& painter, const QRectF& rect)
{
    painter.setPen(QPen(QColor(70, 85, 100), 1.0));
    DrawDiagonals(painter, rect, 12.0, true);
    DrawDiagonals(painter, rect, 12.0, true, 3.5);
}

void DrawMetal(QPainter& painter, const QRectF& rect)
{
    if (rect.width() <= 6.0)
        return;
    painter.setPen(QPen(QColor(170, 178, 186), 0.8));
    DrawDiagonals(painter, rect, 4.0, true);
    DrawDiagonals(painter, rect, 4.0, false);
}

void DrawGlassGlints(QPainter& painter, const QRectF& rect)
{
    if (rect.width() <= 10.0)
        return;
    painter.setPen(QPen(Qt::white, 2.0));
    const double w = rect.width();
    const double y = rect.top() + rect.height() * 0.25;
    painter.drawLine(QPointF(rect.left() + 0.25 * w, y + 0.3 * w), QPointF(rect.left() + 0.55 * w, y));
    painter.drawLine(QPointF(rect.left() + 0.4 * w, y + 0.35 * w), QPointF(rect.left() + 0.7 * w, y + 0.05 * w));
}

QString ThicknessText(double mm)
{
    return QString::number(mm, 'g', 6);
}

} // namespace

bool CTQWallSectionPainter::HatchFromKey(const QString& key, EHatch* hatch)
{
    static const QHash<QString, EHatch> kKeys = {
        {QStringLiteral("concrete"), EHatch::Concrete},
        {QStringLiteral("reinforced_concrete"), EHatch::ReinforcedConcrete},
        {QStringLiteral("porous"), EHatch::Porous},
        {QStringLiteral("mortar"), EHatch::Mortar},
        {QStringLiteral("brick"), EHatch::Brick},
        {QStringLiteral("hollow_brick"), EHatch::HollowBrick},
        {QStringLiteral("foam"), EHatch::Foam},
        {QStringLiteral("fibre"), EHatch::Fibre},
        {QStringLiteral("wood"), EHatch::Wood},
        {QStringLiteral("board"), EHatch::Board},
        {QStringLiteral("loose"), EHatch::Loose},
        {QStringLiteral("earth"), EHatch::Earth},
        {QStringLiteral("stone"), EHatch::Stone},
        {QStringLiteral("membrane"), EHatch::Membrane},
        {QStringLiteral("metal"), EHatch::Metal},
        {QStringLiteral("glass"), EHatch::Glass},
        {QStringLiteral("air"), EHatch::Air},
    };
    const auto it = kKeys.constFind(key);
    if (it == kKeys.constEnd())
        return false;
    *hatch = it.value();
    return true;
}

QList<double> CTQWallSectionPainter::LayerWidths(const QList<double>& thicknessesMm, double totalWidth, double minWidth)
{
    const qsizetype n = thicknessesMm.size();
    if (n == 0)
        return {};
    if (n * minWidth >= totalWidth)
        return QList<double>(n, totalWidth / double(n));

    // Layers too thin for the scale are pinned at minWidth; the rest share what is left in proportion.
    // Pinning one raises nobody's share, so the loop ends after at most n rounds.
    QList<bool> pinned(n, false);
    for (qsizetype i = 0; i < n; ++i)
        pinned[i] = !(thicknessesMm[i] > 0.0);
    for (;;) {
        double freeThickness = 0.0;
        qsizetype pinnedCount = 0;
        for (qsizetype i = 0; i < n; ++i) {
            if (pinned[i])
                ++pinnedCount;
            else
                freeThickness += thicknessesMm[i];
        }
        const double scale = freeThickness > 0.0 ? (totalWidth - pinnedCount * minWidth) / freeThickness : 0.0;
        bool pinnedMore = false;
        for (qsizetype i = 0; i < n; ++i) {
            if (!pinned[i] && thicknessesMm[i] * scale < minWidth)
                pinned[i] = pinnedMore = true;
        }
        if (pinnedMore)
            continue;
        if (freeThickness <= 0.0) // no layer has a usable thickness: share out evenly
            return QList<double>(n, totalWidth / double(n));
        QList<double> widths(n);
        for (qsizetype i = 0; i < n; ++i)
            widths[i] = pinned[i] ? minWidth : thicknessesMm[i] * scale;
        return widths;
    }
}

QList<double> CTQWallSectionPainter::SpreadLabels(const QList<double>& desired, double spacing, double low, double high)
{
    QList<double> pos = desired;
    const qsizetype n = pos.size();
    // Pushing overlapping neighbours apart by halves moves a crowded group round its middle.
    for (int round = 0; round < 200; ++round) {
        bool moved = false;
        for (qsizetype i = 1; i < n; ++i) {
            const double overlap = spacing - (pos[i] - pos[i - 1]);
            if (overlap > 1e-9) {
                pos[i - 1] -= overlap / 2.0;
                pos[i] += overlap / 2.0;
                moved = true;
            }
        }
        if (!moved)
            break;
    }
    // Keep the labels inside the page where there is room, then restore the spacing exactly.
    for (qsizetype i = n - 1; i >= 0; --i)
        pos[i] = std::min(pos[i], i + 1 < n ? pos[i + 1] - spacing : high);
    for (qsizetype i = 0; i < n; ++i)
        pos[i] = std::max(pos[i], i > 0 ? pos[i - 1] + spacing : low);
    return pos;
}

CTQWallSectionPainter::CTQWallSectionPainter(const QString& fontFamily) : m_fontFamily(fontFamily) {}

QImage CTQWallSectionPainter::Paint(const Section& section) const
{
    const int height = int(kLegendTop + LegendRows(section) * kLegendRowHeight) + kBottomMargin;
    QImage image(kImageWidth, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    const QList<QRectF> rects = LayerRects(section);
    DrawHeading(painter, section);
    DrawLayers(painter, section, rects);
    DrawSideLabels(painter, section);
    DrawTags(painter, rects);
    DrawDimensions(painter, section, rects);
    DrawLegend(painter, section);
    return image;
}

QFont CTQWallSectionPainter::Font(int pixelSize, bool bold) const
{
    QFont font(m_fontFamily);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QList<QRectF> CTQWallSectionPainter::LayerRects(const Section& section) const
{
    QList<double> thicknesses;
    for (const Layer& layer : section.layers)
        thicknesses << layer.thicknessMm;
    const QList<double> widths = LayerWidths(thicknesses, kSectionRight - kSectionLeft, kMinLayerWidth);
    QList<QRectF> rects;
    double x = kSectionLeft;
    for (double w : widths) {
        rects << QRectF(x, kSectionTop, w, kSectionBottom - kSectionTop);
        x += w;
    }
    return rects;
}

int CTQWallSectionPainter::LegendRows(const Section& section) const
{
    const qsizetype n = section.layers.size();
    if (n <= 4)
        return int(std::max<qsizetype>(n, 1));
    // Two columns when every name fits its column; long names get a row of their own instead.
    const QFontMetricsF metrics(Font(14));
    const double room = kLegendColumnWidth - kLegendTextLeft - kLegendThicknessWidth;
    for (const Layer& layer : section.layers) {
        if (metrics.horizontalAdvance(layer.material) > room)
            return int(n);
    }
    return int((n + 1) / 2);
}

void CTQWallSectionPainter::DrawHeading(QPainter& painter, const Section& section) const
{
    painter.setPen(kInk);
    painter.setFont(Font(22, true));
    painter.drawText(QRectF(28, 14, 620, 32), Qt::AlignLeft | Qt::AlignVCenter, section.typeName);
    painter.setFont(Font(14));
    painter.setPen(QColor(90, 90, 90));
    painter.drawText(QRectF(28, 48, 744, 22), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("示例构造：%1").arg(section.constructionName));
    painter.setFont(Font(12));
    painter.drawText(QRectF(600, 14, 172, 32), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("单位：mm"));
}

void CTQWallSectionPainter::DrawLayers(QPainter& painter, const Section& section, const QList<QRectF>& rects) const
{
    for (qsizetype i = 0; i < rects.size(); ++i) {
        painter.fillRect(rects[i], FillColour(section.layers[i].hatch));
        painter.save();
        painter.setClipRect(rects[i]);
        DrawHatch(painter, rects[i], section.layers[i].hatch, quint32(i + 1));
        painter.restore();
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kInk, 1.0));
    for (qsizetype i = 1; i < rects.size(); ++i)
        painter.drawLine(rects[i].topLeft(), rects[i].bottomLeft());
    // The outer and inner faces are the section's outline; top and bottom are cut, shown by break lines.
    painter.setPen(QPen(kInk, 2.0));
    painter.drawLine(QPointF(kSectionLeft, kSectionTop), QPointF(kSectionLeft, kSectionBottom));
    painter.drawLine(QPointF(kSectionRight, kSectionTop), QPointF(kSectionRight, kSectionBottom));
    DrawBreakLine(painter, kSectionTop);
    DrawBreakLine(painter, kSectionBottom);
}

void CTQWallSectionPainter::DrawBreakLine(QPainter& painter, double y) const
{
    const double mid = (kSectionLeft + kSectionRight) / 2.0;
    QPolygonF line;
    line << QPointF(kSectionLeft - 14, y) << QPointF(mid - 9, y) << QPointF(mid - 4, y - 10) << QPointF(mid + 4, y + 10)
         << QPointF(mid + 9, y) << QPointF(kSectionRight + 14, y);
    painter.setPen(QPen(kInk, 1.0));
    painter.drawPolyline(line);
}

void CTQWallSectionPainter::DrawSideLabels(QPainter& painter, const Section& section) const
{
    painter.setPen(kInk);
    painter.setFont(Font(16, true));
    const double mid = (kSectionTop + kSectionBottom) / 2.0;
    painter.drawText(QRectF(0, mid - 14, kSectionLeft - 14, 28), Qt::AlignCenter, section.outsideLabel);
    painter.drawText(QRectF(kSectionRight + 14, mid - 14, kImageWidth - kSectionRight - 14, 28), Qt::AlignCenter,
                     section.insideLabel);
}

void CTQWallSectionPainter::DrawTags(QPainter& painter, const QList<QRectF>& rects) const
{
    QList<double> centres;
    for (const QRectF& rect : rects)
        centres << rect.center().x();
    const QList<double> tags =
        SpreadLabels(centres, 2.0 * kTagRadius + 4.0, kTagRadius + 4.0, kImageWidth - kTagRadius - 4.0);
    for (qsizetype i = 0; i < rects.size(); ++i) {
        const QPointF end(centres[i], kSectionTop + 10.0);
        painter.setPen(QPen(kInk, 1.0));
        painter.drawLine(QPointF(tags[i], kTagY + kTagRadius), end);
        painter.setBrush(kInk);
        painter.drawEllipse(end, 2.2, 2.2);
        DrawTag(painter, QPointF(tags[i], kTagY), int(i + 1));
    }
}

void CTQWallSectionPainter::DrawTag(QPainter& painter, const QPointF& centre, int number) const
{
    painter.setPen(QPen(kInk, 1.2));
    painter.setBrush(Qt::white);
    painter.drawEllipse(centre, kTagRadius, kTagRadius);
    painter.setFont(Font(13, true));
    painter.drawText(QRectF(centre.x() - kTagRadius, centre.y() - kTagRadius, 2 * kTagRadius, 2 * kTagRadius),
                     Qt::AlignCenter, QString::number(number));
    painter.setBrush(Qt::NoBrush);
}

void CTQWallSectionPainter::DrawDimensions(QPainter& painter, const Section& section, const QList<QRectF>& rects) const
{
    if (rects.isEmpty())
        return;
    QList<double> ticks{kSectionLeft};
    double total = 0.0;
    for (qsizetype i = 0; i < rects.size(); ++i) {
        ticks << rects[i].right();
        total += section.layers[i].thicknessMm;
    }
    // Extension lines down from every layer face; the outer faces reach on to the overall dimension,
    // which a single layer does not need.
    const bool overall = rects.size() > 1;
    painter.setPen(QPen(kInk, 0.8));
    for (double x : ticks)
        painter.drawLine(QPointF(x, kSectionBottom + 4.0), QPointF(x, kLayerDimensionY + 6.0));
    DrawDimensionLine(painter, ticks, kLayerDimensionY);
    if (overall) {
        painter.setPen(QPen(kInk, 0.8));
        painter.drawLine(QPointF(kSectionLeft, kLayerDimensionY), QPointF(kSectionLeft, kTotalDimensionY + 6.0));
        painter.drawLine(QPointF(kSectionRight, kLayerDimensionY), QPointF(kSectionRight, kTotalDimensionY + 6.0));
        DrawDimensionLine(painter, {kSectionLeft, kSectionRight}, kTotalDimensionY);
    }

    painter.setFont(Font(13));
    const QFontMetricsF metrics(painter.font());
    for (qsizetype i = 0; i < rects.size(); ++i) {
        // A figure that does not fit over its layer is left to the legend.
        const QString text = ThicknessText(section.layers[i].thicknessMm);
        if (metrics.horizontalAdvance(text) + 4.0 <= rects[i].width())
            painter.drawText(QRectF(rects[i].left(), kLayerDimensionY - 20.0, rects[i].width(), 18.0), Qt::AlignCenter,
                             text);
    }
    if (overall)
        painter.drawText(QRectF(kSectionLeft, kTotalDimensionY - 20.0, kSectionRight - kSectionLeft, 18.0),
                         Qt::AlignCenter, ThicknessText(total));
}

void CTQWallSectionPainter::DrawDimensionLine(QPainter& painter, const QList<double>& ticks, double y) const
{
    painter.setPen(QPen(kInk, 0.8));
    painter.drawLine(QPointF(ticks.first() - 8.0, y), QPointF(ticks.last() + 8.0, y));
    // Architectural dimension ticks: short 45° strokes through the dimension line.
    painter.setPen(QPen(kInk, 1.6));
    for (double x : ticks)
        painter.drawLine(QPointF(x - 3.5, y + 3.5), QPointF(x + 3.5, y - 3.5));
}

void CTQWallSectionPainter::DrawLegend(QPainter& painter, const Section& section) const
{
    const int rows = LegendRows(section);
    const QFont font = Font(14);
    const QFontMetricsF metrics(font);
    for (qsizetype i = 0; i < section.layers.size(); ++i) {
        const Layer& layer = section.layers[i];
        const double left = kLegendLeft + int(i / rows) * kLegendColumnWidth;
        const double top = kLegendTop + int(i % rows) * kLegendRowHeight;
        DrawTag(painter, QPointF(left + kTagRadius, top + 13.0), int(i + 1));

        const QRectF swatch(left + 30.0, top + 4.0, 34.0, 18.0);
        painter.fillRect(swatch, FillColour(layer.hatch));
        painter.save();
        painter.setClipRect(swatch);
        DrawHatch(painter, swatch, layer.hatch, quint32(i + 1));
        painter.restore();
        painter.setPen(QPen(kInk, 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(swatch);

        const double columnRight = left + (rows < section.layers.size() ? kLegendColumnWidth : 744.0);
        const double nameWidth = columnRight - left - kLegendTextLeft - kLegendThicknessWidth;
        painter.setFont(font);
        painter.setPen(kInk);
        painter.drawText(QRectF(left + kLegendTextLeft, top, nameWidth, 26.0), Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(layer.material, Qt::ElideRight, nameWidth));
        painter.drawText(QRectF(columnRight - kLegendThicknessWidth, top, kLegendThicknessWidth - 12.0, 26.0),
                         Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("%1 mm").arg(ThicknessText(layer.thicknessMm)));
    }
}

QColor CTQWallSectionPainter::FillColour(EHatch hatch)
{
    switch (hatch) {
    case EHatch::Concrete:
        return {228, 228, 228};
    case EHatch::ReinforcedConcrete:
        return {214, 216, 218};
    case EHatch::Porous:
        return {236, 231, 220};
    case EHatch::Mortar:
        return {240, 232, 214};
    case EHatch::Brick:
        return {242, 201, 181};
    case EHatch::HollowBrick:
        return {240, 211, 195};
    case EHatch::Foam:
        return {251, 243, 184};
    case EHatch::Fibre:
        return {251, 233, 168};
    case EHatch::Wood:
        return {232, 204, 154};
    case EHatch::Board:
        return {241, 236, 224};
    case EHatch::Loose:
        return {234, 223, 200};
    case EHatch::Earth:
        return {217, 192, 154};
    case EHatch::Stone:
        return {214, 221, 230};
    case EHatch::Membrane:
        return {48, 48, 48};
    case EHatch::Metal:
        return {109, 119, 128};
    case EHatch::Glass:
        return {207, 232, 247};
    case EHatch::Air:
        return {255, 255, 255};
    }
    return Qt::white;
}

void CTQWallSectionPainter::DrawHatch(QPainter& painter, const QRectF& rect, EHatch hatch, quint32 seed)
{
    // Seeded per layer, so a rebuild draws the same picture.
    QRandomGenerator rng(seed);
    switch (hatch) {
    case EHatch::Concrete:
        DrawAggregate(painter, rect, rng);
        break;
    case EHatch::ReinforcedConcrete:
        painter.setPen(QPen(QColor(90, 90, 90), 0.8));
        DrawDiagonals(painter, rect, 12.0, true);
        DrawAggregate(painter, rect, rng);
        break;
    case EHatch::Porous:
        DrawCells(painter, rect, rng);
        break;
    case EHatch::Mortar:
        DrawDots(painter, rect, rng, 30.0, 0.5, 0.9);
        break;
    case EHatch::Brick:
        painter.setPen(QPen(QColor(140, 74, 58), 1.0));
        DrawDiagonals(painter, rect, 5.0, true);
        break;
    case EHatch::HollowBrick:
        DrawHollowBrick(painter, rect);
        break;
    case EHatch::Foam:
        DrawFoam(painter, rect);
        break;
    case EHatch::Fibre:
        DrawFibre(painter, rect);
        break;
    case EHatch::Wood:
        DrawWoodGrain(painter, rect);
        break;
    case EHatch::Board:
        DrawBoard(painter, rect, rng);
        break;
    case EHatch::Loose:
        DrawDots(painter, rect, rng, 45.0, 0.8, 2.0);
        break;
    case EHatch::Earth:
        DrawEarth(painter, rect, rng);
        break;
    case EHatch::Stone:
        DrawStone(painter, rect);
        break;
    case EHatch::Metal:
        DrawMetal(painter, rect);
        break;
    case EHatch::Glass:
        DrawGlassGlints(painter, rect);
        break;
    case EHatch::Membrane:
    case EHatch::Air:
        break;
    }
}
