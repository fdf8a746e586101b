#include "host/ui/CPictureCtrl.h"

#include "host/ui/CPictureEx.h"

#include <QMouseEvent>
#include <QPainter>

#include <utility>

CPictureCtrl::CPictureCtrl(int mode, QWidget* parent) : QLabel(parent), m_nMode(mode)
{
    setAlignment(Qt::AlignCenter);
    setText(CPictureEx::NoPictureText());
}

CPictureCtrl::~CPictureCtrl() = default;

bool CPictureCtrl::LoadImageW(const QString& path)
{
    const QImage image = CPictureEx::ReadImage(path);
    SetImage(image);
    return !image.isNull();
}

void CPictureCtrl::SetImage(const QImage& image)
{
    if (image.isNull()) {
        FreeImage();
        return;
    }
    m_image = image;
    m_scaled = QPixmap();
    setText(QString());
    UpdateCursor();
    update();
}

void CPictureCtrl::FreeImage()
{
    m_image = QImage();
    m_scaled = QPixmap();
    setText(CPictureEx::NoPictureText());
    UpdateCursor();
    update();
}

void CPictureCtrl::EnableViewBmp(int bEnable)
{
    m_bViewBmp = bEnable != 0;
    UpdateCursor();
}

void CPictureCtrl::paintEvent(QPaintEvent* event)
{
    if (m_image.isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const QRect target = PictureRect();
    if (target.isEmpty())
        return;
    if (m_scaled.size() != target.size())
        m_scaled = QPixmap::fromImage(m_image.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    painter.setClipRect(contentsRect());
    painter.drawPixmap(target.topLeft(), m_scaled);
}

void CPictureCtrl::mousePressEvent(QMouseEvent* event)
{
    // Taking the press makes the release come here too.
    if (event->button() == Qt::LeftButton)
        event->accept();
    else
        QLabel::mousePressEvent(event);
}

void CPictureCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        event->accept();
        emit clicked();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

QRect CPictureCtrl::PictureRect() const
{
    const QRect area = contentsRect();
    QSize size = m_image.size();
    if (m_nMode == 0)
        return {area.topLeft(), size};
    if (size.width() > area.width() || size.height() > area.height())
        size.scale(area.size(), Qt::KeepAspectRatio);
    QRect picture({0, 0}, size);
    picture.moveCenter(area.center());
    return picture;
}

void CPictureCtrl::UpdateCursor()
{
    if (m_bViewBmp && HasImage())
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}
