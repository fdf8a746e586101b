#include "host/ui/CPictureEx.h"

#include <QFile>
#include <QImageReader>
#include <QtEndian>
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

/// Whether `file` is a PNG with a chunk that claims more bytes than the file still holds. Qt's PNG
/// reader lifts libpng's limit on chunk sizes, so the decoder would first allocate what such a
/// chunk claims (up to 2 GB, for a file of a few hundred bytes) and only then find the file short.
bool HasOverlongPngChunk(QFile& file)
{
    static const QByteArray signature = QByteArray::fromHex("89504e470d0a1a0a");
    if (file.read(signature.size()) != signature)
        return false;
    // Each chunk: length (4 bytes, big-endian), type (4), data (length), CRC (4).
    while (file.bytesAvailable() > 0) {
        const QByteArray header = file.read(8);
        if (header.size() < 8)
            return false;
        const quint32 length = qFromBigEndian<quint32>(header.constData());
        if (length > static_cast<quint64>(file.bytesAvailable()))
            return true;
        if (header.mid(4) == "IEND" || !file.seek(file.pos() + length + 4))
            return false;
    }
    return false;
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || HasOverlongPngChunk(file))
        return {};
    file.close();
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}
