#include "IoError.h"
#include "PictureReader.h"

#include "image/ImageGray.h"
#include "image/ImageRGB.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace ivra;

using ivra::IoError;
using ivra::readPicture;

namespace {

class PictureReaderTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QString save(const QImage& picture, const char* name, const char* format = nullptr)
    {
        const QString p = path(name);
        EXPECT_TRUE(picture.save(p, format)) << name;
        return p;
    }

    QString writeBytes(const char* name, const QByteArray& bytes)
    {
        const QString p = path(name);
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return p;
    }

    QTemporaryDir dir;
};

const ImageGray& gray(const std::unique_ptr<Image>& image)
{
    EXPECT_EQ(image->type(), 2);
    return static_cast<const ImageGray&>(*image);
}

const ImageRGB& rgb(const std::unique_ptr<Image>& image)
{
    EXPECT_EQ(image->type(), 3);
    return static_cast<const ImageRGB&>(*image);
}

// A 4 x 2 indexed picture whose pixel (x, y) uses palette index x + 4 y.
QImage indexed(const QList<QRgb>& palette)
{
    QImage picture(4, 2, QImage::Format_Indexed8);
    picture.setColorTable(palette);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            picture.setPixel(x, y, static_cast<uint>((x + 4 * y) % palette.size()));
    return picture;
}

} // namespace

TEST_F(PictureReaderTest, GrayPgmLoadsAsGray)
{
    QImage picture(3, 2, QImage::Format_Grayscale8);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            picture.scanLine(y)[x] = static_cast<uchar>(40 * x + 100 * y + 1);
    const auto image = readPicture(save(picture, "g.pgm"));
    const ImageGray& g = gray(image);
    ASSERT_EQ(g.width(), 3);
    ASSERT_EQ(g.height(), 2);
    EXPECT_EQ(g.at(0, 0), 1);
    EXPECT_EQ(g.at(2, 1), 181);
}

TEST_F(PictureReaderTest, PpmAndColourPngLoadAsRgb)
{
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 255, 0));
    picture.setPixel(0, 1, qRgb(0, 0, 255));
    picture.setPixel(1, 1, qRgb(10, 20, 30));
    for (const char* name : {"c.ppm", "c.png"}) {
        const auto image = readPicture(save(picture, name));
        const ImageRGB& c = rgb(image);
        EXPECT_EQ(c.pixel(0, 0), (ImageColor::Triple{255, 0, 0})) << name;
        EXPECT_EQ(c.pixel(1, 0), (ImageColor::Triple{0, 255, 0})) << name;
        EXPECT_EQ(c.pixel(0, 1), (ImageColor::Triple{0, 0, 255})) << name;
        EXPECT_EQ(c.pixel(1, 1), (ImageColor::Triple{10, 20, 30})) << name;
    }
}

TEST_F(PictureReaderTest, AlphaIsDroppedWithoutPremultiplying)
{
    QImage picture(1, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(200, 100, 50, 10));
    const auto image = readPicture(save(picture, "a.png"));
    EXPECT_EQ(rgb(image).pixel(0, 0), (ImageColor::Triple{200, 100, 50}));
}

TEST_F(PictureReaderTest, AllGrayThirtyTwoBitPictureStaysRgb)
{
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(7, 7, 7));
    picture.setPixel(1, 0, qRgb(200, 200, 200));
    const auto image = readPicture(save(picture, "gray32.png"));
    EXPECT_EQ(rgb(image).pixel(1, 0), (ImageColor::Triple{200, 200, 200}));
}

TEST_F(PictureReaderTest, GrayPaletteInOrderGivesTheIndex)
{
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i)
        palette.append(qRgb(i, i, i));
    const auto image = readPicture(save(indexed(palette), "ordered.png"));
    const ImageGray& g = gray(image);
    EXPECT_EQ(g.at(3, 0), 3);
    EXPECT_EQ(g.at(1, 1), 5);
}

TEST_F(PictureReaderTest, GrayPaletteOutOfOrderGivesEachPixelsGrayLevel)
{
    const QList<QRgb> palette = {qRgb(250, 250, 250), qRgb(0, 0, 0),    qRgb(128, 128, 128), qRgb(9, 9, 9),
                                 qRgb(77, 77, 77),    qRgb(33, 33, 33), qRgb(200, 200, 200), qRgb(1, 1, 1)};
    const auto image = readPicture(save(indexed(palette), "shuffled.png"));
    const ImageGray& g = gray(image);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(g.at(x, y), qRed(palette[x + 4 * y])) << x << "," << y;
}

TEST_F(PictureReaderTest, OneBitPictureGivesOneGrayLevelPerPixel)
{
    QImage picture(10, 2, QImage::Format_Mono);
    picture.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)}); // index 0 is white
    picture.fill(0);
    picture.setPixel(3, 0, 1);
    picture.setPixel(9, 1, 1);
    for (const char* name : {"mono.png", "mono.pbm"}) {
        const auto image = readPicture(save(picture, name, name[5] == 'p' && name[6] == 'b' ? "PBM" : nullptr));
        const ImageGray& g = gray(image);
        ASSERT_EQ(g.width(), 10) << name;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 10; ++x)
                EXPECT_EQ(g.at(x, y), (x == 3 && y == 0) || (x == 9 && y == 1) ? 0 : 255) << name << " " << x;
    }
}

TEST_F(PictureReaderTest, ColourPaletteLoadsAsRgb)
{
    const QList<QRgb> palette = {qRgb(255, 0, 0), qRgb(0, 128, 0), qRgb(1, 2, 3), qRgb(9, 9, 9)};
    const auto image = readPicture(save(indexed(palette), "palette.png"));
    const ImageRGB& c = rgb(image);
    EXPECT_EQ(c.pixel(0, 0), (ImageColor::Triple{255, 0, 0}));
    EXPECT_EQ(c.pixel(2, 0), (ImageColor::Triple{1, 2, 3}));
    EXPECT_EQ(c.pixel(1, 1), (ImageColor::Triple{0, 128, 0}));
}

TEST_F(PictureReaderTest, FormatComesFromTheContentsNotTheName)
{
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    const QString p = path("really-a-png.ppm");
    ASSERT_TRUE(picture.save(p, "PNG"));
    EXPECT_EQ(rgb(readPicture(p)).pixel(1, 0), (ImageColor::Triple{1, 2, 3}));
}

TEST_F(PictureReaderTest, EmptyCorruptAndTruncatedFilesAreErrors)
{
    EXPECT_THROW(readPicture(writeBytes("empty.png", {})), IoError);
    EXPECT_THROW(readPicture(writeBytes("garbage.png", QByteArray(200, 'x'))), IoError);
    EXPECT_THROW(readPicture(path("missing.png")), IoError);

    QImage picture(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            picture.setPixel(x, y, qRgb(x * 4, y * 4, (x * y) & 255));
    QFile png(save(picture, "full.png"));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    const QByteArray pngBytes = png.readAll();
    EXPECT_THROW(readPicture(writeBytes("half.png", pngBytes.left(pngBytes.size() / 2))), IoError);

    QFile ppm(save(picture, "full.ppm"));
    ASSERT_TRUE(ppm.open(QIODevice::ReadOnly));
    const QByteArray ppmBytes = ppm.readAll();
    EXPECT_THROW(readPicture(writeBytes("half.ppm", ppmBytes.left(ppmBytes.size() / 2))), IoError);
    EXPECT_THROW(readPicture(writeBytes("header-only.ppm", "P6\n4 4\n255\n")), IoError);
    EXPECT_THROW(readPicture(writeBytes("short-ascii.ppm", "P3\n2 2\n255\n1 2 3 4 5 6 7\n")), IoError);
    EXPECT_THROW(readPicture(writeBytes("short-ascii.pgm", "P2\n3 1\n255\n1 2\n")), IoError);
}

TEST_F(PictureReaderTest, EnormousHeadersAreRefusedWithoutDecoding)
{
    // Past the largest side an image may have.
    EXPECT_THROW(readPicture(writeBytes("wide.ppm", "P6\n100000 1\n255\n")), IoError);
    // Within the side limit but far beyond what the reader will allocate.
    EXPECT_THROW(readPicture(writeBytes("big.pgm", "P5\n30000 30000\n255\nxx")), IoError);
    // A well-formed picture wider than an image may be is refused by its announced size.
    QImage wide(40000, 1, QImage::Format_Grayscale8);
    wide.fill(0);
    const QString widePath = save(wide, "wide.png");
    try {
        readPicture(widePath);
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find("32767"), std::string::npos) << e.what();
    }
}

TEST(PictureExtension, MatchesWithCaseAnywhereInThePath)
{
    EXPECT_TRUE(ivra::hasPictureExtension("/pictures/lena.ppm"));
    EXPECT_TRUE(ivra::hasPictureExtension("a.pgm.bak"));
    EXPECT_FALSE(ivra::hasPictureExtension("photo.PNG"));
    EXPECT_TRUE(ivra::hasPictureExtension("photo.PNG", Qt::CaseInsensitive));
    EXPECT_FALSE(ivra::hasPictureExtension("photo.jpg", Qt::CaseInsensitive));
}

TEST(LoadingConversion, NullPictureGivesNothing)
{
    EXPECT_EQ(ivra::imageFromQImage(QImage()), nullptr);
}
