#include "host/ui/CPictureCtrl.h"
#include "host/ui/CPictureEx.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's allocation hooks (declared by clang's sanitizer/allocator_interface.h,
// which GCC does not ship).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*, std::size_t),
                                                         void (*freeHook)(const volatile void*));
#endif

#include <atomic>
#include <cstdlib>
#include <limits>
#include <tuple>
#include <utility>

namespace {

const QColor kBrick(200, 40, 30);

/// Pictures written for the test: a 400 × 300 brick-red JPEG at 72 dpi and damaged files.
class PictureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QImage picture(400, 300, QImage::Format_RGB32);
        picture.fill(kBrick);
        picture.setDotsPerMeterX(2835); // 72 dpi
        picture.setDotsPerMeterY(2835);
        ASSERT_TRUE(picture.save(Path("wall.jpg"), "JPG", 95));
        ASSERT_TRUE(picture.save(Path("wall.png"), "PNG"));
    }

    QString Path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    QByteArray JpegBytes() const
    {
        QFile file(Path("wall.jpg"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    /// The PNG with a chunk before its end that claims 1.8 GB, far more than the file holds.
    QByteArray PngWithOverlongChunk() const
    {
        QFile file(Path("wall.png"));
        QByteArray png = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        return png.insert(png.size() - 12, QByteArray::fromHex("70000000") + "tEXtdate");
    }

    QString Write(const char* name, const QByteArray& bytes) const
    {
        QFile file(Path(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return file.fileName();
    }

    QTemporaryDir m_dir;
};

/// Colours of a JPEG are close to what was saved, not equal.
bool NearColour(const QColor& seen, const QColor& expected)
{
    return std::abs(seen.red() - expected.red()) <= 8 && std::abs(seen.green() - expected.green()) <= 8 &&
           std::abs(seen.blue() - expected.blue()) <= 8;
}

TEST_F(PictureTest, JpegIsShownShrunkToFitAndAFileThatIsNoPictureLeavesTheAreaEmpty)
{
    CPictureCtrl picture(1);
    picture.resize(300, 100);
    ASSERT_TRUE(picture.LoadImageW(Path("wall.jpg")));
    EXPECT_TRUE(picture.text().isEmpty());

    // 400 × 300 fitted into 300 × 100 is 133 × 100, centred: x from 83 to 216.
    const QImage shown = picture.grab().toImage();
    EXPECT_TRUE(NearColour(shown.pixelColor(150, 50), kBrick));
    EXPECT_TRUE(NearColour(shown.pixelColor(90, 50), kBrick));
    EXPECT_FALSE(NearColour(shown.pixelColor(70, 50), kBrick));
    EXPECT_FALSE(NearColour(shown.pixelColor(230, 50), kBrick));

    picture.FreeImage();
    EXPECT_EQ(picture.text(), QStringLiteral("无示意图片"));
    EXPECT_FALSE(NearColour(picture.grab().toImage().pixelColor(150, 50), kBrick));

    // A file that is no picture leaves the area empty.
    const std::pair<const char*, QString> files[] = {
        {"missing", Path("none.jpg")},
        {"no path", QString()},
        {"empty", Write("empty.jpg", QByteArray())},
        {"text", Write("text.jpg", QByteArrayLiteral("这不是图片 not a picture"))},
        {"header only", Write("header.jpg", JpegBytes().left(20))},
    };
    for (const auto& [what, path] : files) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(picture.LoadImageW(Path("wall.jpg")));
        EXPECT_FALSE(picture.LoadImageW(path));
        EXPECT_FALSE(picture.HasImage());
        EXPECT_EQ(picture.text(), QStringLiteral("无示意图片"));
        EXPECT_FALSE(NearColour(picture.grab().toImage().pixelColor(150, 50), kBrick));

        CPictureEx sized;
        EXPECT_FALSE(sized.Load(path));
        EXPECT_EQ(sized.GetImageSize(), QSize(0, 0));
    }
}

// On a 144 dpi device a 72 dpi picture takes twice its pixels: 400 × 144 / 72 = 800. A picture's
// resolution is the file's to say: 4,000,000 pixels at 1 dot per metre (found by fuzzing) once
// overflowed the int product and the rounded size; its width maps to 1 × 600 / 0.0254 dpi.
TEST_F(PictureTest, PictureExSizeOnADeviceFollowsItsResolutionAndNeverOverflows)
{
    QImage tall(1, 4'000'000, QImage::Format_Mono);
    tall.fill(0);
    tall.setDotsPerMeterX(1);
    tall.setDotsPerMeterY(1);
    ASSERT_TRUE(tall.save(Path("tall.bmp"), "BMP"));
    const std::tuple<const char*, int, QSize, QSize> cases[] = {
        // file, device dots per metre, size in pixels and on the device
        {"wall.png", 5669, {400, 300}, {800, 600}},
        {"tall.bmp", 23622, {1, 4'000'000}, {23622, std::numeric_limits<int>::max()}},
    };
    for (const auto& [file, dotsPerMetre, pixels, onDevice] : cases) {
        CPictureEx picture;
        ASSERT_TRUE(picture.Load(Path(file)));
        EXPECT_EQ(picture.GetImageSize(), pixels);
        QImage device(10, 10, QImage::Format_RGB32);
        device.setDotsPerMeterX(dotsPerMetre);
        device.setDotsPerMeterY(dotsPerMetre);
        EXPECT_EQ(picture.GetImageSize(&device), onDevice) << file;
    }
}

#if defined(__SANITIZE_ADDRESS__)
// Refusing a damaged picture of a few hundred bytes costs no large allocation (the sanitizer's
// allocation hook sees every one).
TEST_F(PictureTest, ADamagedPngIsRefusedWithoutAllocatingWhatItClaims)
{
    static std::atomic<std::size_t> largest{0};
    static const int installed = __sanitizer_install_malloc_and_free_hooks(
        [](const volatile void*, std::size_t size) {
            if (size > largest.load())
                largest = size;
        },
        [](const volatile void*) {});
    ASSERT_NE(installed, 0);
    const QString path = Write("long-chunk.png", PngWithOverlongChunk());
    largest = 0;
    EXPECT_TRUE(CPictureEx::ReadImage(path).isNull());
    EXPECT_LT(largest.load(), std::size_t{64} << 20);
}
#endif

} // namespace
