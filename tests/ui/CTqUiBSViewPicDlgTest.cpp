#include "ui/library/CTqUiBSViewPicDlg.h"

#include "host/ui/CPictureCtrl.h"

#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <utility>
#include <vector>

namespace {

/// The viewer on a screen of known size with known frame metrics.
class ViewerOnScreen : public CTqUiBSViewPicDlg
{
public:
    ViewerOnScreen(const QString& path, const Metrics& metrics) : CTqUiBSViewPicDlg(path), m_Metrics(metrics) {}

protected:
    Metrics GetSystemMetrics() const override { return m_Metrics; }

private:
    Metrics m_Metrics;
};

/// A 1920 × 1080 screen, 1 px borders, a 20 px title bar, 17 px scroll bars (`vScroll` wide).
CTqUiBSViewPicDlg::Metrics FullHd(int vScroll = 17)
{
    return {1, 20, QSize(1920, 1080), vScroll, 17};
}

class CTqUiBSViewPicDlgTest : public ::testing::Test
{
protected:
    /// Shows the viewer of a grey picture of `size` on the screen of `metrics`.
    std::unique_ptr<ViewerOnScreen> Show(QSize size, const CTqUiBSViewPicDlg::Metrics& metrics = FullHd())
    {
        const QString path = m_Folder.filePath(QStringLiteral("%1x%2.jpg").arg(size.width()).arg(size.height()));
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::gray);
        EXPECT_TRUE(image.save(path));
        auto viewer = std::make_unique<ViewerOnScreen>(path, metrics);
        viewer->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(viewer.get()));
        return viewer;
    }

    static QScrollBar* Bar(QWidget& viewer, const char* name) { return viewer.findChild<QScrollBar*>(name); }
    static CPictureCtrl* Area(QWidget& viewer) { return viewer.findChild<CPictureCtrl*>("demoPicture"); }

    QTemporaryDir m_Folder;
};

TEST_F(CTqUiBSViewPicDlgTest, WindowFitsThePictureAndScrollsWhereTheScreenIsTooSmall)
{
    // With border b = 1: picture area = picture + 5b; window = area + 2b wide and area + caption +
    // 2b high, cut to the screen; Qt sizes the client, which is the window less border and caption.
    // A bar's limit is the area less the visible part: window − 2b − bar for the width,
    // window − caption − 2b − bar for the height.
    // Picture, client size and the limits of the horizontal and vertical bars (-1: no bar).
    const std::tuple<const char*, QSize, QSize, int, int> table[] = {
        // 405 × 305 area, window 407 × 327 fits 1920 × 1080.
        {"fits", {400, 300}, {405, 305}, -1, -1},
        // 3005 wide: window cut to 1920, visible 1920 − 2 − 17 = 1901, limit 3005 − 1901 = 1104.
        {"wider than the screen", {3000, 500}, {1918, 505}, 1104, -1},
        // 2005 high: window cut to 1080, visible 1080 − 20 − 2 − 17 = 1041, limit 2005 − 1041 = 964.
        {"higher than the screen", {500, 2000}, {505, 1058}, -1, 964},
        {"larger both ways", {2500, 1500}, {1918, 1058}, 2505 - 1901, 1505 - 1041},
    };
    for (const auto& [name, picture, client, hLimit, vLimit] : table) {
        SCOPED_TRACE(name);
        auto viewer = Show(picture);
        EXPECT_EQ(viewer->size(), client);
        EXPECT_EQ(Area(*viewer)->geometry(), QRect(QPoint(0, 0), picture + QSize(5, 5)));
        EXPECT_TRUE(Area(*viewer)->HasImage());
        QScrollBar* hBar = Bar(*viewer, "horizontalScrollBar");
        QScrollBar* vBar = Bar(*viewer, "verticalScrollBar");
        EXPECT_EQ(hBar->isVisible() ? hBar->maximum() : -1, hLimit);
        EXPECT_EQ(vBar->isVisible() ? vBar->maximum() : -1, vLimit);
    }
}

TEST_F(CTqUiBSViewPicDlgTest, ScrollStepsAreFractionsOfTheLimitStopOneShortOfItAndAClickCloses)
{
    using Action = QAbstractSlider::SliderAction;
    // Picture, screen, scroll bar, and the actions on it with the position after each.
    const std::tuple<const char*, QSize, CTqUiBSViewPicDlg::Metrics, const char*, std::vector<std::pair<Action, int>>>
        table[] = {
            // clang-format off
            // Limit 1104 (see above): a line is 1104/6 = 184, a page 1104/3 = 368, the far end 1103.
            {"horizontal", {3000, 500}, FullHd(), "horizontalScrollBar",
             {{Action::SliderSingleStepAdd, 184}, {Action::SliderSingleStepAdd, 368}, {Action::SliderPageStepAdd, 736},
              {Action::SliderPageStepAdd, 1103}, {Action::SliderSingleStepAdd, 1103}, {Action::SliderSingleStepSub, 919},
              {Action::SliderPageStepSub, 551}, {Action::SliderPageStepSub, 183}, {Action::SliderPageStepSub, 0},
              {Action::SliderToMaximum, 1103}, {Action::SliderToMinimum, 0}}},
            // Without a scroll bar allowance the limit is area − (screen − 2b): 1921 − 1918 = 3 for a
            // 1916 px wide picture. A line is 3/6 = 0, a page 3/3 = 1, the far end 2.
            {"limit below six", {1916, 300}, FullHd(0), "horizontalScrollBar",
             {{Action::SliderSingleStepAdd, 0}, {Action::SliderPageStepAdd, 1}, {Action::SliderPageStepAdd, 2}}},
            // clang-format on
        };
    for (const auto& [name, picture, metrics, barName, steps] : table) {
        SCOPED_TRACE(name);
        auto viewer = Show(picture, metrics);
        QScrollBar* bar = Bar(*viewer, barName);
        const bool bHorizontal = bar->orientation() == Qt::Horizontal;
        for (const auto& [action, position] : steps) {
            bar->triggerAction(action);
            EXPECT_EQ(bar->value(), position) << "action " << action;
            EXPECT_EQ(Area(*viewer)->pos(), bHorizontal ? QPoint(-position, 0) : QPoint(0, -position));
        }
    }

    // Dragging the thumb puts the picture where the thumb is; the other direction keeps its place.
    // The vertical limit is 1505 − 1041 = 464, a line 464/6 = 77.
    auto viewer = Show({2500, 1500});
    Bar(*viewer, "horizontalScrollBar")->setSliderPosition(100);
    Bar(*viewer, "verticalScrollBar")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Area(*viewer)->pos(), QPoint(-100, -77));

    // A click on the picture closes the window.
    QTest::mouseClick(Area(*viewer), Qt::LeftButton, {}, QPoint(50, 50));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer->isVisible(); }));
    EXPECT_EQ(viewer->result(), QDialog::Rejected);
}

} // namespace
