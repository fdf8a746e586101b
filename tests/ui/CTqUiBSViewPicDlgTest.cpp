#include "ui/library/CTqUiBSViewPicDlg.h"

#include "host/ui/CPictureCtrl.h"

#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
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

// With border b = 1: picture area = picture + 5b; window = area + 2b wide and area + caption + 2b
// high, cut to the screen; Qt sizes the client, which is the window less border and caption. A bar's
// limit is the area less the visible part: window − 2b − bar for the width, window − caption − 2b −
// bar for the height. A line is a sixth of the limit, a page a third, and the far end one short of it.
TEST_F(CTqUiBSViewPicDlgTest, WindowFitsThePictureAndScrollsWhereTheScreenIsTooSmall)
{
    using Action = QAbstractSlider::SliderAction;
    const struct
    {
        const char* name;
        QSize picture, client;
        int vScroll, hLimit, vLimit;                ///< scroll bar allowance; limits of the bars, -1: no bar
        std::vector<std::pair<Action, int>> hSteps; ///< actions on the horizontal bar, position after each
    } table[] = {
        // clang-format off
        // 405 × 305 area, window 407 × 327 fits 1920 × 1080.
        {"fits", {400, 300}, {405, 305}, 17, -1, -1, {}},
        // 3005 wide: window cut to 1920, visible 1920 − 2 − 17 = 1901, limit 3005 − 1901 = 1104; a
        // line is 184, a page 368, the far end 1103.
        {"wider than the screen", {3000, 500}, {1918, 505}, 17, 1104, -1,
         {{Action::SliderSingleStepAdd, 184}, {Action::SliderSingleStepAdd, 368}, {Action::SliderPageStepAdd, 736},
          {Action::SliderPageStepAdd, 1103}, {Action::SliderSingleStepAdd, 1103}, {Action::SliderSingleStepSub, 919},
          {Action::SliderPageStepSub, 551}, {Action::SliderPageStepSub, 183}, {Action::SliderPageStepSub, 0},
          {Action::SliderToMaximum, 1103}, {Action::SliderToMinimum, 0}}},
        // 2005 high: window cut to 1080, visible 1080 − 20 − 2 − 17 = 1041, limit 2005 − 1041 = 964.
        {"higher than the screen", {500, 2000}, {505, 1058}, 17, -1, 964, {}},
        // Without a scroll bar allowance the limit is 1921 − 1918 = 3: a line 3/6 = 0, a page 1, the end 2.
        {"limit below six", {1916, 300}, {1918, 305}, 0, 3, -1,
         {{Action::SliderSingleStepAdd, 0}, {Action::SliderPageStepAdd, 1}, {Action::SliderPageStepAdd, 2}}},
        // clang-format on
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        auto viewer = Show(row.picture, FullHd(row.vScroll));
        EXPECT_EQ(viewer->size(), row.client);
        EXPECT_EQ(Area(*viewer)->geometry(), QRect(QPoint(0, 0), row.picture + QSize(5, 5)));
        EXPECT_TRUE(Area(*viewer)->HasImage());
        QScrollBar* hBar = Bar(*viewer, "horizontalScrollBar");
        QScrollBar* vBar = Bar(*viewer, "verticalScrollBar");
        EXPECT_EQ(hBar->isVisible() ? hBar->maximum() : -1, row.hLimit);
        EXPECT_EQ(vBar->isVisible() ? vBar->maximum() : -1, row.vLimit);
        for (const auto& [action, position] : row.hSteps) {
            hBar->triggerAction(action);
            EXPECT_EQ(hBar->value(), position) << "action " << action;
            EXPECT_EQ(Area(*viewer)->pos(), QPoint(-position, 0));
        }
    }

    // Larger both ways: limits 2505 − 1901 = 604 and 1505 − 1041 = 464. Dragging the thumb puts the
    // picture where the thumb is; the other direction keeps its place (a vertical line is 464/6 = 77).
    auto viewer = Show({2500, 1500});
    EXPECT_EQ(viewer->size(), QSize(1918, 1058));
    Bar(*viewer, "horizontalScrollBar")->setSliderPosition(100);
    Bar(*viewer, "verticalScrollBar")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Area(*viewer)->pos(), QPoint(-100, -77));
    Bar(*viewer, "verticalScrollBar")->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(Area(*viewer)->pos(), QPoint(-100, -463));

    // A click on the picture closes the window.
    QTest::mouseClick(Area(*viewer), Qt::LeftButton, {}, QPoint(50, 50));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer->isVisible(); }));
    EXPECT_EQ(viewer->result(), QDialog::Rejected);
}

} // namespace
