#include "ui/library/CTqUiBSViewPicDlg.h"

#include "host/ui/CPictureCtrl.h"
#include "host/ui/CPictureEx.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

namespace {

/// Room around the picture inside its area, in border widths.
constexpr int kPictureMarginBorders = 5;

/// A line step scrolls a sixth of the scroll limit, a page step a third.
constexpr int kLinesPerLimit = 6;
constexpr int kPagesPerLimit = 3;

/// Position after a scroll request on a bar whose limit is `limit`; the far end of a bar is its
/// limit less one.
int NewScrollPosition(int code, int position, int limit, int thumbPosition)
{
    using Dlg = CTqUiBSViewPicDlg;
    const int farEnd = limit - 1;
    switch (code) {
    case Dlg::SB_LINELEFT:
        return position - limit / kLinesPerLimit <= 0 ? 0 : position - limit / kLinesPerLimit;
    case Dlg::SB_LINERIGHT:
        return position + limit / kLinesPerLimit >= farEnd ? farEnd : position + limit / kLinesPerLimit;
    case Dlg::SB_PAGELEFT:
        return position - limit / kPagesPerLimit <= 0 ? 0 : position - limit / kPagesPerLimit;
    case Dlg::SB_PAGERIGHT:
        return position + limit / kPagesPerLimit >= farEnd ? farEnd : position + limit / kPagesPerLimit;
    case Dlg::SB_THUMBPOSITION:
    case Dlg::SB_THUMBTRACK:
        return thumbPosition;
    case Dlg::SB_LEFT:
        return 0;
    case Dlg::SB_RIGHT:
        return farEnd;
    default:
        return position;
    }
}

/// The scroll request a Qt scroll bar action stands for; SB_ENDSCROLL for none.
int ScrollCodeOf(int action)
{
    using Dlg = CTqUiBSViewPicDlg;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return Dlg::SB_LINELEFT;
    case QAbstractSlider::SliderSingleStepAdd:
        return Dlg::SB_LINERIGHT;
    case QAbstractSlider::SliderPageStepSub:
        return Dlg::SB_PAGELEFT;
    case QAbstractSlider::SliderPageStepAdd:
        return Dlg::SB_PAGERIGHT;
    case QAbstractSlider::SliderToMinimum:
        return Dlg::SB_LEFT;
    case QAbstractSlider::SliderToMaximum:
        return Dlg::SB_RIGHT;
    case QAbstractSlider::SliderMove:
        return Dlg::SB_THUMBTRACK;
    default:
        return Dlg::SB_ENDSCROLL;
    }
}

} // namespace

CTqUiBSViewPicDlg::CTqUiBSViewPicDlg(const QString& path, QWidget* parent) : CTqUiBSViewPicDlg(QImage(), parent)
{
    m_strPicPath = path;
}

CTqUiBSViewPicDlg::CTqUiBSViewPicDlg(const QImage& image, QWidget* parent) : QDialog(parent), m_image(image)
{
    setWindowTitle(QStringLiteral("Dialog"));
    m_pPicture = new CPictureCtrl(1, this);
    m_pPicture->setObjectName(QStringLiteral("demoPicture"));
    m_pPicture->EnableViewBmp(0);
    m_pHScroll = new QScrollBar(Qt::Horizontal, this);
    m_pHScroll->setObjectName(QStringLiteral("horizontalScrollBar"));
    m_pVScroll = new QScrollBar(Qt::Vertical, this);
    m_pVScroll->setObjectName(QStringLiteral("verticalScrollBar"));
    m_pHScroll->hide();
    m_pVScroll->hide();

    connect(m_pPicture, &CPictureCtrl::clicked, this, &QWidget::close);
    connect(m_pHScroll, &QAbstractSlider::actionTriggered, this,
            [this](int action) { OnScrollAction(m_pHScroll, action); });
    connect(m_pVScroll, &QAbstractSlider::actionTriggered, this,
            [this](int action) { OnScrollAction(m_pVScroll, action); });
}

CTqUiBSViewPicDlg::~CTqUiBSViewPicDlg()
{
    for (QObject* control :
         {static_cast<QObject*>(m_pPicture), static_cast<QObject*>(m_pHScroll), static_cast<QObject*>(m_pVScroll)})
        control->disconnect(this);
}

int CTqUiBSViewPicDlg::DoModal()
{
    return exec();
}

void CTqUiBSViewPicDlg::setVisible(bool visible)
{
    if (visible && !m_bInitialised) {
        m_bInitialised = true;
        OnInitDialog();
    }
    QDialog::setVisible(visible);
}

int CTqUiBSViewPicDlg::OnInitDialog()
{
    setWindowTitle(QStringLiteral("围护结构示例图片"));
    if (!m_strPicPath.isEmpty())
        m_image = CPictureEx::ReadImage(m_strPicPath);
    ResetDlgSize();
    m_pPicture->SetImage(m_image);
    return 1;
}

CTqUiBSViewPicDlg::Metrics CTqUiBSViewPicDlg::GetSystemMetrics() const
{
    Metrics metrics;
    const QStyle* windowStyle = style();
    metrics.nBorder = windowStyle->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    metrics.nCaption = windowStyle->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    metrics.nVScrollWidth = windowStyle->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    metrics.nHScrollHeight = metrics.nVScrollWidth;

    // The window manager draws the real frame; a shown calling window tells how thick it is.
    if (const QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
        owner != nullptr && owner->isVisible()) {
        const QRect frame = owner->frameGeometry();
        const QRect client = owner->geometry();
        const int side = client.left() - frame.left();
        const int top = client.top() - frame.top();
        if (top > side && side >= 0) {
            metrics.nBorder = side;
            metrics.nCaption = top - side;
        }
    }

    const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr)
        metrics.screen = screen->availableGeometry().size();
    return metrics;
}

void CTqUiBSViewPicDlg::ResetDlgSize()
{
    const QSize imageSize = m_image.isNull() ? QSize(0, 0) : m_image.size();
    const Metrics metrics = GetSystemMetrics();
    const int border = metrics.nBorder;

    const int areaWidth = imageSize.width() + kPictureMarginBorders * border;
    const int areaHeight = imageSize.height() + kPictureMarginBorders * border;
    int windowWidth = areaWidth + 2 * border;
    int windowHeight = areaHeight + metrics.nCaption + 2 * border;

    const bool bHorizontal = windowWidth > metrics.screen.width();
    if (bHorizontal) {
        windowWidth = metrics.screen.width();
        const int visibleWidth = windowWidth - 2 * border - metrics.nVScrollWidth;
        m_pHScroll->setRange(0, areaWidth - visibleWidth);
        m_pHScroll->setPageStep(visibleWidth);
    }
    const bool bVertical = windowHeight > metrics.screen.height();
    if (bVertical) {
        windowHeight = metrics.screen.height();
        const int visibleHeight = windowHeight - metrics.nCaption - 2 * border - metrics.nHScrollHeight;
        m_pVScroll->setRange(0, areaHeight - visibleHeight);
        m_pVScroll->setPageStep(visibleHeight);
    }
    m_pHScroll->setVisible(bHorizontal);
    m_pVScroll->setVisible(bVertical);
    if (areaWidth < 1 || areaHeight < 1)
        return;

    // Qt sizes the client area; the window manager adds border and title bar around it.
    const QSize client(windowWidth - 2 * border, windowHeight - metrics.nCaption - 2 * border);
    setFixedSize(client);
    m_pPicture->setGeometry(0, 0, areaWidth, areaHeight);
    const int barWidth = metrics.nVScrollWidth;
    const int barHeight = metrics.nHScrollHeight;
    m_pHScroll->setGeometry(0, client.height() - barHeight, client.width() - (bVertical ? barWidth : 0), barHeight);
    m_pVScroll->setGeometry(client.width() - barWidth, 0, barWidth, client.height() - (bHorizontal ? barHeight : 0));
    m_pHScroll->raise();
    m_pVScroll->raise();
}

void CTqUiBSViewPicDlg::OnScrollAction(QScrollBar* bar, int action)
{
    // Qt has already moved the thumb for the action; the position is the window's to decide.
    const int code = ScrollCodeOf(action);
    if (bar == m_pHScroll)
        OnHScroll(code, bar->sliderPosition());
    else
        OnVScroll(code, bar->sliderPosition());
}

void CTqUiBSViewPicDlg::OnHScroll(int code, int thumbPosition)
{
    const int x = NewScrollPosition(code, m_pHScroll->value(), m_pHScroll->maximum(), thumbPosition);
    m_pPicture->move(-x, -m_pVScroll->value());
    m_pHScroll->setSliderPosition(x);
}

void CTqUiBSViewPicDlg::OnVScroll(int code, int thumbPosition)
{
    const int y = NewScrollPosition(code, m_pVScroll->value(), m_pVScroll->maximum(), thumbPosition);
    m_pPicture->move(-m_pHScroll->value(), -y);
    m_pVScroll->setSliderPosition(y);
}

void CTqUiBSViewPicDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        close();
    QDialog::mousePressEvent(event);
}

void CTqUiBSViewPicDlg::keyPressEvent(QKeyEvent* event)
{
    // Help is not offered here.
    if (event->key() == Qt::Key_F1) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
