#pragma once

#include "TQWallExport.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>

class QPainter;

/// Draws the section of a construction as a demo picture: the layers side by side from the outside
/// (left) to the inside (right), each as wide as its thickness to scale and hatched after the drawing
/// convention of its material group (brick, concrete, insulation, mortar, glass, air, ...), with a
/// numbered tag over each layer, a dimension chain under the section and a legend that names each
/// layer's material and thickness.
class TQWALL_EXPORT CTQWallSectionPainter
{
public:
    /// Hatch patterns, one per kind of material as building drawings tell them apart.
    enum class EHatch
    {
        Concrete,
        ReinforcedConcrete,
        Porous, ///< aerated concrete, perlite and other cellular materials
        Mortar,
        Brick,
        HollowBrick,
        Foam,  ///< foamed plastics (EPS, XPS, PU)
        Fibre, ///< mineral wool and other fibrous insulation
        Wood,
        Board,
        Loose,
        Earth,
        Stone,
        Membrane, ///< felt, bitumen and other waterproofing
        Metal,
        Glass,
        Air,
    };

    struct Layer
    {
        QString material;
        double thicknessMm = 0.0;
        EHatch hatch = EHatch::Concrete;
    };

    struct Section
    {
        QString typeName;
        QString constructionName;
        QString outsideLabel; ///< caption left of the section, e.g. "室外"
        QString insideLabel;  ///< caption right of the section, e.g. "室内"
        QList<Layer> layers;  ///< outside to inside
    };

    /// The hatch that `key` names in the material table ("brick", "glass", ...). False for an unknown key.
    static bool HatchFromKey(const QString& key, EHatch* hatch);

    /// Widths of layers laid side by side over `totalWidth`: proportional to the thicknesses, except that
    /// no layer is drawn narrower than `minWidth` (a 3 mm render beside a 370 mm wall stays visible).
    /// The widths add up to `totalWidth`; when all layers at `minWidth` would not fit, all get an equal share.
    static QList<double> LayerWidths(const QList<double>& thicknessesMm, double totalWidth, double minWidth);

    /// Positions for labels wanted at `desired` (ascending) that keep them at least `spacing` apart and,
    /// where room allows, inside [low, high]; crowded labels spread round the middle of their group.
    static QList<double> SpreadLabels(const QList<double>& desired, double spacing, double low, double high);

    /// `fontFamily` must hold CJK glyphs for the Chinese names (e.g. "WenQuanYi Micro Hei").
    explicit CTQWallSectionPainter(const QString& fontFamily);

    QImage Paint(const Section& section) const;

private:
    QFont Font(int pixelSize, bool bold = false) const;
    QList<QRectF> LayerRects(const Section& section) const;
    int LegendRows(const Section& section) const;

    void DrawHeading(QPainter& painter, const Section& section) const;
    void DrawLayers(QPainter& painter, const Section& section, const QList<QRectF>& rects) const;
    void DrawBreakLine(QPainter& painter, double y) const;
    void DrawSideLabels(QPainter& painter, const Section& section) const;
    void DrawTags(QPainter& painter, const QList<QRectF>& rects) const;
    void DrawDimensions(QPainter& painter, const Section& section, const QList<QRectF>& rects) const;
    void DrawDimensionLine(QPainter& painter, const QList<double>& ticks, double y) const;
    void DrawLegend(QPainter& painter, const Section& section) const;
    void DrawTag(QPainter& painter, const QPointF& centre, int number) const;

    static QColor FillColour(EHatch hatch);
    static void DrawHatch(QPainter& painter, const QRectF& rect, EHatch hatch, quint32 seed);

    QString m_fontFamily;
};
