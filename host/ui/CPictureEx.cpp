#include "host/ui/CPictureEx.h"

#include <QImageReader>
#include <QPaintDevice>
#include <QPixmap>

#include <cmath>
#include <limits>

namespace {

constexpr double kMetresPerInch = 0.0254;

/// `pixels` at `imageDotsPerMetre` drawn at `deviceDpi`; unchanged when the picture has no resolution.
/// The resolution comes from the file: a tall picture at a few dots per metre is larger than any
/// device and gets the largest size an int holds, not an overflowed one.
int ScaleToDevice(int pixels, int imageDotsPerMetre, int deviceDpi)
{
    if (imageDotsPerMetre <= 0 || deviceDpi <= 0)
        return pixels;
    const double imageDpi = imageDotsPerMetre * kMetresPerInch;
    const double scaled = std::round(static_cast<double>(pixels) * deviceDpi / imageDpi);
    constexpr double largest = std::numeric_limits<int>::max();
    return scaled >= largest ? std::numeric_limits<int>::max() : static_cast<int>(scaled);
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
