#include "tools/wallbmp/CTQWallSectionPainter.h"

#include <gtest/gtest.h>

#include <numeric>
#include <ostream>
#include <vector>

namespace {

using EHatch = CTQWallSectionPainter::EHatch;

void ExpectNear(const QList<double>& actual, const std::vector<double>& expected, double tolerance)
{
    ASSERT_EQ(actual.size(), qsizetype(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(actual[qsizetype(i)], expected[i], tolerance) << "index " << i;
}

struct WidthCase
{
    const char* name;
    QList<double> thicknessesMm;
    double totalWidth;
    std::vector<double> widths;
};

void PrintTo(const WidthCase& c, std::ostream* os)
{
    *os << c.name;
}

class LayerWidths : public testing::TestWithParam<WidthCase>
{
};

TEST_P(LayerWidths, ScaleThicknessesWithAMinimumWidth)
{
    const WidthCase& c = GetParam();
    const QList<double> widths = CTQWallSectionPainter::LayerWidths(c.thicknessesMm, c.totalWidth, 5.0);
    ExpectNear(widths, c.widths, 1e-9);
    if (!widths.isEmpty()) {
        EXPECT_NEAR(std::accumulate(widths.begin(), widths.end(), 0.0), c.totalWidth, 1e-9);
    }
}

// Worked by hand with a minimum of 5 px.
INSTANTIATE_TEST_SUITE_P(
    Sections, LayerWidths,
    testing::Values(
        // 100 : 300 over 400 px, nothing below the minimum.
        WidthCase{"Proportional", {100, 300}, 400, {100, 300}},
        // The 3 mm render is pinned at 5 px; 555 px go 370 : 20 to the rest.
        WidthCase{"ThinLayerPinned", {3, 370, 20}, 560, {5, 555.0 * 370 / 390, 555.0 * 20 / 390}},
        // At 1 px/mm only the 1 mm layer is below 5 px; once it is pinned the scale drops to 101/105 and
        // the 5 mm layer (4.8 px) must be pinned too; 100 mm takes the remaining 96 px.
        WidthCase{"PinningCascades", {1, 5, 100}, 106, {5, 5, 96}},
        // A layer without a thickness is still drawn at the minimum.
        WidthCase{"ZeroThickness", {0, 100}, 100, {5, 95}},
        // Ten layers at 5 px would overflow 40 px: equal shares.
        WidthCase{"TooManyLayers", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 40, std::vector<double>(10, 4.0)},
        WidthCase{"NoLayer", {}, 560, {}}),
    [](const testing::TestParamInfo<WidthCase>& param) { return std::string(param.param.name); });

TEST(SpreadLabels, LeavesLabelsThatDoNotCrowdWhereTheyAre)
{
    ExpectNear(CTQWallSectionPainter::SpreadLabels({100, 200, 300}, 26, 0, 800), {100, 200, 300}, 1e-9);
}

TEST(SpreadLabels, SpreadsACrowdedGroupRoundItsMiddle)
{
    // Three labels wanted at 100..102 with 20 px spacing: centred on 101.
    ExpectNear(CTQWallSectionPainter::SpreadLabels({100, 101, 102}, 20, 0, 800), {81, 101, 121}, 1e-6);
}

TEST(SpreadLabels, KeepsLabelsInsideThePageWhereThereIsRoom)
{
    ExpectNear(CTQWallSectionPainter::SpreadLabels({2, 3}, 20, 10, 800), {10, 30}, 1e-6);
    ExpectNear(CTQWallSectionPainter::SpreadLabels({797, 798}, 20, 0, 790), {770, 790}, 1e-6);
}

TEST(HatchFromKey, KnowsTheMaterialTableKeysOnly)
{
    EHatch hatch = EHatch::Concrete;
    EXPECT_TRUE(CTQWallSectionPainter::HatchFromKey(QStringLiteral("glass"), &hatch));
    EXPECT_EQ(hatch, EHatch::Glass);
    EXPECT_TRUE(CTQWallSectionPainter::HatchFromKey(QStringLiteral("hollow_brick"), &hatch));
    EXPECT_EQ(hatch, EHatch::HollowBrick);
    EXPECT_FALSE(CTQWallSectionPainter::HatchFromKey(QStringLiteral("Glass"), &hatch));
    EXPECT_FALSE(CTQWallSectionPainter::HatchFromKey(QString(), &hatch));
    EXPECT_EQ(hatch, EHatch::HollowBrick) << "a failed look-up leaves the hatch alone";
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

TEST(WallSectionPainter, MakesRoomForALegendRowPerLayerPair)
{
    const CTQWallSectionPainter painter(QStringLiteral("WenQuanYi Micro Hei"));
    CTQWallSectionPainter::Section section;
    section.layers = {{QStringLiteral("水泥砂浆"), 20, EHatch::Mortar}};
    const int oneLayer = painter.Paint(section).height();
    for (int i = 0; i < 7; ++i)
        section.layers << CTQWallSectionPainter::Layer{QStringLiteral("水泥砂浆"), 20, EHatch::Mortar};
    // Eight short names fit two columns of four rows: three rows more than one layer needs.
    EXPECT_EQ(painter.Paint(section).height() - oneLayer, 3 * 28);
}

} // namespace
