// Fuzz target: arbitrary bytes as a demo-picture file, read by the host's picture control
// (CPictureEx) the way the dialogs read a "<name>.jpg" whatever it holds. Runs offscreen.
// Properties: no crash or sanitizer report; Load succeeds exactly when ReadImage gives an image;
// a loaded picture has a positive size, the control's size is the image's and its size on a device
// is never negative; a failed load leaves the control empty, showing its "no picture" text.
//
// Qt's image decoders are not instrumented, so the fuzzer sees no coverage inside them. Distinct
// code per outcome (file format, pixel format, magnitude of the size) lets it keep one input per
// outcome in its corpus instead of dropping every seed that reads like another.
#include "fuzz/FuzzCheck.h"

#include "host/ui/CPictureEx.h"

#include <QApplication>
#include <QByteArrayList>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <bit>
#include <cstdint>
#include <cstdlib>

namespace {

QTemporaryDir* g_folder = nullptr;
CPictureEx* g_picture = nullptr;

volatile int g_outcome = 0;

/// Code of its own for every (Kind, value) below N: each instantiation is a separate function, so
/// each value reached counts as new coverage.
template <int Kind, int N> void Mark(int value)
{
    if (value == N) {
        g_outcome = Kind * 1000 + N;
        return;
    }
    if constexpr (N > 0)
        Mark<Kind, N - 1>(value);
}

void MarkOutcome(const QString& path, const QImage& image)
{
    static const QByteArrayList formats = QImageReader::supportedImageFormats();
    Mark<0, 47>(static_cast<int>(formats.indexOf(QImageReader::imageFormat(path))) + 1);
    Mark<1, 47>(static_cast<int>(image.format()));
    Mark<2, 31>(static_cast<int>(std::bit_width(static_cast<unsigned>(image.width()))));
    Mark<3, 31>(static_cast<int>(std::bit_width(static_cast<unsigned>(image.height()))));
}

QString PicturePath()
{
    return g_folder->filePath(QStringLiteral("demo.jpg"));
}

void CheckSizeOn(QPaintDevice* device)
{
    const QSize size = g_picture->GetImageSize(device);
    FUZZ_REQUIRE(size.width() >= 0 && size.height() >= 0, "a picture's size on a device is not negative",
                 QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Every damaged file makes the decoders complain; a million runs would drown the fuzzer's output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int appArgc = *argc;
    static QApplication app(appArgc, *argv);
    // Pictures up to 32 MB decoded (the default allows 128): a million runs stay within the hour,
    // and a picture tall enough to overflow a device size (4 million rows of one bit) still fits.
    QImageReader::setAllocationLimit(32);
    g_folder = new QTemporaryDir;
    FUZZ_REQUIRE(g_folder->isValid(), "a temporary folder", QString());
    g_picture = new CPictureEx;
    std::atexit([] {
        delete g_picture;
        delete g_folder;
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    {
        QFile file(PicturePath());
        FUZZ_REQUIRE(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the picture file can be written",
                     QString());
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const QImage image = CPictureEx::ReadImage(PicturePath());
    const bool loaded = g_picture->Load(PicturePath());
    MarkOutcome(PicturePath(), image);
    FUZZ_REQUIRE(loaded == !image.isNull(), "Load succeeds exactly when ReadImage gives an image", QString());
    if (!loaded) {
        FUZZ_REQUIRE(g_picture->GetImageSize() == QSize(0, 0) && g_picture->text() == CPictureEx::NoPictureText(),
                     "a picture that cannot be read leaves the control empty", QString());
        return 0;
    }
    FUZZ_REQUIRE(image.width() > 0 && image.height() > 0, "a picture has a positive size", QString());
    FUZZ_REQUIRE(g_picture->GetImageSize() == image.size(), "the control's size is the picture's", QString());
    CheckSizeOn(g_picture);
    // A screen (96 dpi) and a printer (600 dpi).
    for (int dotsPerMetre : {3780, 23622}) {
        QImage device(1, 1, QImage::Format_RGB32);
        device.setDotsPerMeterX(dotsPerMetre);
        device.setDotsPerMeterY(dotsPerMetre);
        CheckSizeOn(&device);
    }
    return 0;
}
