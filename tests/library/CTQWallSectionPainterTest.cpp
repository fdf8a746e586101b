#include "library/CTQWallSectionPainter.h"

#include <gtest/gtest.h>

#include <numeric>
#include <tuple>
#include <vector>

namespace {

using EHatch = CTQWallSectionPainter::EHatch;

void ExpectNear(const QList<double>& actual, const std::vector<double>& expected, double tolerance)
{
    ASSERT_EQ(actual.size(), qsizetype(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(actual[qsizetype(i)], expected[i], tolerance) << "index " << i;
}

// Worked by hand with a minimum of 5 px.
TEST(LayerWidths, ScaleThicknessesWithAMinimumWidth)
{
    // Thicknesses in mm, the width to fill and the widths expected, px.
    const std::tuple<const char*, QList<double>, double, std::vector<double>> cases[] = {
        // 100 : 300 over 400 px, nothing below the minimum.
        {"proportional", {100, 300}, 400, {100, 300}},
        // The 3 mm render is pinned at 5 px; 555 px go 370 : 20 to the rest.
        {"thin layer pinned", {3, 370, 20}, 560, {5, 555.0 * 370 / 390, 555.0 * 20 / 390}},
        // At 1 px/mm only the 1 mm layer is below 5 px; once it is pinned the scale drops to 101/105 and
        // the 5 mm layer (4.8 px) must be pinned too; 100 mm takes the remaining 96 px.
        {"pinning cascades", {1, 5, 100}, 106, {5, 5, 96}},
        {"a layer without thickness is still drawn", {0, 100}, 100, {5, 95}},
        // Ten layers at 5 px would overflow 40 px: equal shares.
        {"too many layers", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 40, std::vector<double>(10, 4.0)},
        {"no layer", {}, 560, {}},
    };
    for (const auto& [name, thicknessesMm, totalWidth, expected] : cases) {
        SCOPED_TRACE(name);
        const QList<double> widths = CTQWallSectionPainter::LayerWidths(thicknessesMm, totalWidth, 5.0);
        ExpectNear(widths, expected, 1e-9);
        if (!widths.isEmpty()) {
            EXPECT_NEAR(std::accumulate(widths.begin(), widths.end(), 0.0), totalWidth, 1e-9);
        }
    }
}

// Labels that do not crowd stay; a crowded group spreads round its middle (three wanted at 100..102
// with 20 px spacing centre on 101); labels stay inside the page where there is room.
TEST(SpreadLabels, SpreadsOnlyCrowdedLabelsAndKeepsThemOnThePage)
{
    ExpectNear(CTQWallSectionPainter::SpreadLabels({100, 200, 300}, 26, 0, 800), {100, 200, 300}, 1e-9);
    ExpectNear(CTQWallSectionPainter::SpreadLabels({100, 101, 102}, 20, 0, 800), {81, 101, 121}, 1e-6);
    ExpectNear(CTQWallSectionPainter::SpreadLabels({2, 3}, 20, 10, 800), {10, 30}, 1e-6);
    ExpectNear(CTQWallSectionPainter::SpreadLabels({797, 798}, 20, 0, 790), {770, 790}, 1e-6);
}

// The section lies between x 120 and 680 and y 130 and 330 of the picture.
TEST(WallSectionPainter, DrawsTheOutsideLayerLeftAndEachLayerToScale)
{
    CTQWallSectionPainter::Section section;
    section.typeName = QStringLiteral("测试");
    section.constructionName = QStringLiteral("测试构造");
    section.outsideLabel = QStringLiteral("室外");
    section.insideLabel = QStringLiteral("室内");
    // 140 mm waterproofing (solid dark), 280 mm air (white), 140 mm glass (blue): 140, 280, 140 px.
    section.layers = {{QStringLiteral("油毡"), 140, EHatch::Membrane},
                      {QStringLiteral("空气"), 280, EHatch::Air},
                      {QStringLiteral("玻璃"), 140, EHatch::Glass}};
    const QImage image = CTQWallSectionPainter(QStringLiteral("WenQuanYi Micro Hei")).Paint(section);
    ASSERT_EQ(image.width(), 800);

    const QColor membrane = image.pixelColor(190, 300);
    const QColor airLeft = image.pixelColor(270, 300);
    const QColor airRight = image.pixelColor(530, 300);
    const QColor glass = image.pixelColor(660, 300);
    EXPECT_LT(membrane.lightness(), 80);
    EXPECT_GT(airLeft.lightness(), 250);
    EXPECT_GT(airRight.lightness(), 250);
    EXPECT_GT(glass.blue() - glass.red(), 20);
    // The membrane ends at 260 px: just past it the air begins.
    EXPECT_LT(image.pixelColor(257, 300).lightness(), 80);
    EXPECT_GT(image.pixelColor(264, 300).lightness(), 250);
}

} // namespace
