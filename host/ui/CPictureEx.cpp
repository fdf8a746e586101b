#include "host/ui/CPictureEx.h"

#include <QImageReader>
#include <QPaintDevice>
#include <QPixmap>

#include <cmath>

namespace {

constexpr double kMetresPerInch = 0.0254;

/// `pixels` at `imageDotsPerMetre` drawn at `deviceDpi`; unchanged when the picture has no resolution.
int ScaleToDevice(int pixels, int imageDotsPerMetre, int deviceDpi)
{
    if (imageDotsPerMetre <= 0 || deviceDpi <= 0)
        return pixels;
    const double imageDpi = imageDotsPerMetre * kMetresPerInch;
    return static_cast<int>(std::lround(pixels * deviceDpi / imageDpi));
}

} // namespace

CPictureEx::CPictureEx(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setText(NoPictureText());
}

CPictureEx::~CPictureEx() = default;

bool CPictureEx::Load(const QString& path)
{
    m_image = ReadImage(path);
    if (m_image.isNull()) {
        setText(NoPictureText());
        return false;
    }
    setPixmap(QPixmap::fromImage(m_image));
    return true;
}

QSize CPictureEx::GetImageSize(QPaintDevice* dc) const
{
    if (m_image.isNull())
        return {0, 0};
    if (dc == nullptr)
        return m_image.size();
    return {ScaleToDevice(m_image.width(), m_image.dotsPerMeterX(), dc->logicalDpiX()),
            ScaleToDevice(m_image.height(), m_image.dotsPerMeterY(), dc->logicalDpiY())};
}

QString CPictureEx::NoPictureText()
{
    return QStringLiteral("无示意图片");
}

QImage CPictureEx::ReadImage(const QString& path)
{
    if (path.isEmpty())
        return {};
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}
