#include "DisplayConversion.h"
#include "IoError.h"
#include "PictureReader.h"
#include "PictureWriter.h"

#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ivra;

using ivra::IoError;

namespace {

std::unique_ptr<ImageRGB> sampleRgb()
{
    auto image = std::make_unique<ImageRGB>(3, 2);
    for (int i = 0; i < 6; ++i) {
        image->red()[i] = 40 * i;
        image->green()[i] = 255 - 30 * i;
        image->blue()[i] = (i * 97) % 256;
    }
    return image;
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(DisplayConversion, LowEightBitsOfGrayAndRgb)
{
    ImageRGB rgb(2, 1);
    rgb.setPixel(0, 256, 10, 255);
    rgb.setPixel(1, -1, 0, 1);
    const QImage shown = ivra::toDisplayImage(rgb);
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 10, 255)); // 256 shows as 0
    EXPECT_EQ(shown.pixel(1, 0), qRgb(255, 0, 1));
    ImageGray gray(1, 1);
    gray.data()[0] = 300;
    EXPECT_EQ(ivra::toDisplayImage(gray).pixel(0, 0), qRgb(44, 44, 44));
}

TEST(DisplayConversion, HsvGoesThroughTheToolkitColour)
{
    ImageHSV hsv(2, 1);
    hsv.setPixel(0, 120, 255, 255);
    hsv.setPixel(1, -1, 0, 77);
    const QImage shown = ivra::toDisplayImage(hsv);
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(shown.pixel(1, 0), qRgb(77, 77, 77));

    // Values the toolkit's HSV colour does not accept show black; hues past 359 wrap.
    ImageHSV odd(4, 1);
    odd.setPixel(0, -2, 255, 255);
    odd.setPixel(1, 0, 256, 255);
    odd.setPixel(2, 0, 255, -1);
    odd.setPixel(3, 480, 255, 255);
    const QImage oddShown = ivra::toDisplayImage(odd);
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(oddShown.pixel(x, 0), qRgb(0, 0, 0)) << x;
    EXPECT_EQ(oddShown.pixel(3, 0), qRgb(0, 255, 0));
}

TEST(PictureWriter, FormatFollowsTheExtension)
{
    EXPECT_EQ(ivra::pictureFormatFor("a.png"), ivra::PictureFormat::Png);
    EXPECT_EQ(ivra::pictureFormatFor("a.PPM"), ivra::PictureFormat::Ppm);
    EXPECT_EQ(ivra::pictureFormatFor("dir.x/a.pgm"), ivra::PictureFormat::Pgm);
    EXPECT_EQ(ivra::pictureFormatFor("a.xpm"), ivra::PictureFormat::Xpm);
    EXPECT_THROW(ivra::pictureFormatFor("a.jpg"), IoError);
    EXPECT_THROW(ivra::pictureFormatFor("png"), IoError);
}

TEST(PictureWriter, PngPpmAndXpmRoundTripExactly)
{
    QTemporaryDir dir;
    const auto image = sampleRgb();
    for (const char* name : {"out.png", "out.ppm", "out.xpm"}) {
        const QString path = dir.filePath(name);
        ivra::writePicture(*image, path);
        const QImage back(path);
        ASSERT_FALSE(back.isNull()) << name;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) {
                const auto p = image->pixel(x, y);
                EXPECT_EQ(back.pixel(x, y) & 0xffffff, qRgb(p[0], p[1], p[2]) & 0xffffff) << name << " " << x;
            }
    }
    // Read back through the loader, PNG and PPM give the same RGB image.
    const auto loaded = ivra::readPicture(dir.filePath("out.ppm"));
    ASSERT_EQ(loaded->type(), 3);
    EXPECT_EQ(static_cast<const ImageRGB&>(*loaded).pixel(2, 1), image->pixel(2, 1));
}

TEST(PictureWriter, PgmHoldsTheGrayOfTheDisplayPicture)
{
    QTemporaryDir dir;
    const auto image = sampleRgb();
    const QString path = dir.filePath("out.pgm");
    ivra::writePicture(*image, path);
    EXPECT_TRUE(contents(path).startsWith("P5"));
    const auto loaded = ivra::readPicture(path);
    ASSERT_EQ(loaded->type(), 2);
    const auto& gray = static_cast<const ImageGray&>(*loaded);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(gray.data()[i], qGray(image->red()[i], image->green()[i], image->blue()[i])) << i;

    ImageGray g(2, 1);
    g.data()[0] = 3;
    g.data()[1] = 250;
    ivra::writePicture(g, path);
    const auto back = ivra::readPicture(path);
    ASSERT_EQ(back->type(), 2);
    EXPECT_EQ(static_cast<const ImageGray&>(*back).data()[0], 3);
    EXPECT_EQ(static_cast<const ImageGray&>(*back).data()[1], 250);
}

TEST(PictureWriter, FailureLeavesAnExistingFileAndNoLeftovers)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.png");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old contents");
    }
    EXPECT_THROW(ivra::writePicture(QImage(), path), IoError); // nothing to encode
    EXPECT_EQ(contents(path), "old contents");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.png"});

    EXPECT_THROW(ivra::writePicture(*sampleRgb(), dir.filePath("no/such/dir/x.png")), IoError);
    EXPECT_THROW(ivra::writePicture(*sampleRgb(), dir.filePath("x.bmp")), IoError);
    EXPECT_FALSE(QFile::exists(dir.filePath("x.bmp")));

    ivra::writePicture(*sampleRgb(), path); // a successful write replaces it
    EXPECT_TRUE(contents(path).startsWith("\x89PNG"));
}
