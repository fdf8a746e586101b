#include "ui/library/CTqUiBSViewPicDlg.h"

#include "host/ui/CPictureCtrl.h"

#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

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

/// A 1920 × 1080 screen, 1 px borders, a 20 px title bar, 17 px scroll bars.
CTqUiBSViewPicDlg::Metrics FullHd()
{
    CTqUiBSViewPicDlg::Metrics metrics;
    metrics.nBorder = 1;
    metrics.nCaption = 20;
    metrics.screen = QSize(1920, 1080);
    metrics.nVScrollWidth = 17;
    metrics.nHScrollHeight = 17;
    return metrics;
}

class CTqUiBSViewPicDlgTest : public ::testing::Test
{
protected:
    QString Picture(QSize size)
    {
        const QString path = m_Folder.filePath(QStringLiteral("%1x%2.jpg").arg(size.width()).arg(size.height()));
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::gray);
        EXPECT_TRUE(image.save(path));
        return path;
    }

    /// Shows the viewer of a picture of `size` on the screen of `metrics`.
    std::unique_ptr<ViewerOnScreen> Show(QSize size, const CTqUiBSViewPicDlg::Metrics& metrics = FullHd())
    {
        auto viewer = std::make_unique<ViewerOnScreen>(Picture(size), metrics);
        viewer->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(viewer.get()));
        return viewer;
    }

    static QScrollBar* HBar(QWidget& viewer)
    {
        return viewer.findChild<QScrollBar*>(QStringLiteral("horizontalScrollBar"));
    }
    static QScrollBar* VBar(QWidget& viewer)
    {
        return viewer.findChild<QScrollBar*>(QStringLiteral("verticalScrollBar"));
    }
    static CPictureCtrl* Area(QWidget& viewer)
    {
        return viewer.findChild<CPictureCtrl*>(QStringLiteral("demoPicture"));
    }

    QTemporaryDir m_Folder;
};

TEST_F(CTqUiBSViewPicDlgTest, WindowFitsThePictureAndScrollsWhereTheScreenIsTooSmall)
{
    // With border b = 1: picture area = picture + 5b; window = area + 2b wide and area + caption +
    // 2b high, cut to the screen; Qt sizes the client, which is the window less border and caption.
    // A bar's limit is the area less the visible part: window − 2b − bar for the width,
    // window − caption − 2b − bar for the height.
    const struct
    {
        const char* name;
        QSize picture;
        QSize client;
        int hLimit; // -1: no horizontal bar
        int vLimit; // -1: no vertical bar
    } table[] = {
        // 405 × 305 area, window 407 × 327 fits 1920 × 1080.
        {"fits", {400, 300}, {405, 305}, -1, -1},
        // 3005 wide: window cut to 1920, visible 1920 − 2 − 17 = 1901, limit 3005 − 1901 = 1104.
        {"wider than the screen", {3000, 500}, {1918, 505}, 1104, -1},
        // 2005 high: window cut to 1080, visible 1080 − 20 − 2 − 17 = 1041, limit 2005 − 1041 = 964.
        {"higher than the screen", {500, 2000}, {505, 1058}, -1, 964},
        {"larger both ways", {2500, 1500}, {1918, 1058}, 2505 - 1901, 1505 - 1041},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        auto viewer = Show(row.picture);
        EXPECT_EQ(viewer->windowTitle(), QStringLiteral("围护结构示例图片"));
        EXPECT_EQ(viewer->size(), row.client);
        EXPECT_EQ(Area(*viewer)->geometry(), QRect(QPoint(0, 0), row.picture + QSize(5, 5)));
        EXPECT_TRUE(Area(*viewer)->HasImage());
        EXPECT_EQ(HBar(*viewer)->isVisible(), row.hLimit >= 0);
        EXPECT_EQ(VBar(*viewer)->isVisible(), row.vLimit >= 0);
        if (row.hLimit >= 0) {
            EXPECT_EQ(HBar(*viewer)->maximum(), row.hLimit);
        }
        if (row.vLimit >= 0) {
            EXPECT_EQ(VBar(*viewer)->maximum(), row.vLimit);
        }
    }
}

TEST_F(CTqUiBSViewPicDlgTest, ScrollStepsAreFractionsOfTheLimitAndStopOneShortOfIt)
{
    // Limit 1104 (see above): a line is 1104/6 = 184, a page 1104/3 = 368, the far end 1103.
    auto viewer = Show({3000, 500});
    QScrollBar* bar = HBar(*viewer);
    const struct
    {
        QAbstractSlider::SliderAction action;
        int expected;
    } steps[] = {
        {QAbstractSlider::SliderSingleStepAdd, 184},  {QAbstractSlider::SliderSingleStepAdd, 368},
        {QAbstractSlider::SliderPageStepAdd, 736},    {QAbstractSlider::SliderPageStepAdd, 1103},
        {QAbstractSlider::SliderSingleStepAdd, 1103}, {QAbstractSlider::SliderSingleStepSub, 919},
        {QAbstractSlider::SliderPageStepSub, 551},    {QAbstractSlider::SliderPageStepSub, 183},
        {QAbstractSlider::SliderPageStepSub, 0},      {QAbstractSlider::SliderToMaximum, 1103},
        {QAbstractSlider::SliderToMinimum, 0},
    };
    for (const auto& step : steps) {
        bar->triggerAction(step.action);
        EXPECT_EQ(bar->value(), step.expected) << "action " << step.action;
        EXPECT_EQ(Area(*viewer)->pos(), QPoint(-step.expected, 0));
    }

    // Dragging the thumb puts the picture where the thumb is.
    bar->setSliderPosition(500);
    EXPECT_EQ(Area(*viewer)->pos(), QPoint(-500, 0));
}

TEST_F(CTqUiBSViewPicDlgTest, VerticalScrollingMovesThePictureUpAndKeepsTheHorizontalPosition)
{
    // Limits 604 and 464 (2505 − 1901, 1505 − 1041): lines of 100 and 77.
    auto viewer = Show({2500, 1500});
    HBar(*viewer)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    VBar(*viewer)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Area(*viewer)->pos(), QPoint(-100, -77));
    VBar(*viewer)->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(Area(*viewer)->pos(), QPoint(-100, -463));
}

TEST_F(CTqUiBSViewPicDlgTest, ALimitBelowSixDoesNotMoveByLines)
{
    // Without a scroll bar allowance the limit is area − (screen − 2b): 1921 − 1918 = 3 for a
    // 1916 px wide picture. A line is 3/6 = 0, a page 3/3 = 1, the far end 2.
    CTqUiBSViewPicDlg::Metrics metrics = FullHd();
    metrics.nVScrollWidth = 0;
    auto viewer = Show({1916, 300}, metrics);
    QScrollBar* bar = HBar(*viewer);
    ASSERT_EQ(bar->maximum(), 3);

    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar->value(), 0);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), 1);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), 2);
}

TEST_F(CTqUiBSViewPicDlgTest, AClickOnThePictureClosesTheWindow)
{
    auto viewer = Show({2500, 1500});
    QTest::mouseClick(Area(*viewer), Qt::LeftButton, {}, QPoint(50, 50));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer->isVisible(); }));
    EXPECT_EQ(viewer->result(), QDialog::Rejected);
}

} // namespace
