#include "IoTestSupport.h"
#include "PictureReader.h"
#include "ChildProcess.h"

#include <algorithm>
#include <cstring>

namespace {

// A picture whose pixel i (in row order) is pixels[i]: an index for indexed
// formats, a gray level for Grayscale8, a colour otherwise.
QImage picture(QImage::Format format, int width, const std::vector<QRgb>& pixels, const QList<QRgb>& table = {})
{
    QImage out(width, static_cast<int>(pixels.size()) / width, format);
    out.setColorTable(table);
    for (int i = 0; i < static_cast<int>(pixels.size()); ++i)
        format == QImage::Format_Grayscale8 ? void(out.scanLine(i / width)[i % width] = static_cast<uchar>(pixels[i]))
                                            : out.setPixel(i % width, i / width, pixels[i]);
    return out;
}

QString saved(const QTemporaryDir& dir, const QImage& picture, const char* name, const char* format = nullptr)
{
    EXPECT_TRUE(picture.save(dir.filePath(QLatin1String(name)), format)) << name;
    return dir.filePath(QLatin1String(name));
}

} // namespace

// A picture of at most 8 bits with an all-gray table loads as each pixel's gray
// level; anything else as red, green and blue (alpha dropped, not premultiplied).
TEST(PictureReader, LoadsGrayOrRgbByTheColorTable)
{
    const QList<QRgb> grays = {qRgb(250, 250, 250), qRgb(0, 0, 0), qRgb(128, 128, 128), qRgb(9, 9, 9)};
    const QList<QRgb> colors = {qRgba(10, 20, 30, 40), qRgb(0, 0, 255), qRgb(0, 255, 0), qRgb(255, 0, 0)};
    const std::vector<QRgb> rgb = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(10, 20, 30)};
    const std::vector<int> rgbValues = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30};
    const std::vector<int> monoLevels = {255, 255, 255, 0, 255, 255, 255, 255, 255, 0};
    const QImage monoPicture =
        picture(QImage::Format_Mono, 5, {0, 0, 0, 1, 0, 0, 0, 0, 0, 1}, {qRgb(255, 255, 255), qRgb(0, 0, 0)});
    const struct { QImage picture; const char* name; const char* format; int type; std::vector<int> values; } rows[] = {
        {picture(QImage::Format_Grayscale8, 3, {1, 41, 81, 101, 141, 181}), "g.pgm", nullptr, TypeImageGray,
         {1, 41, 81, 101, 141, 181}},
        {picture(QImage::Format_Indexed8, 2, {3, 0, 1, 2}, grays), "shuffled.png", nullptr, TypeImageGray, {9, 250, 0, 128}},
        {monoPicture, "mono.png", nullptr, TypeImageGray, monoLevels},
        {monoPicture, "mono.pbm", "PBM", TypeImageGray, monoLevels},
        {picture(QImage::Format_RGB32, 2, rgb), "c.ppm", nullptr, TypeImageRGB, rgbValues},
        {picture(QImage::Format_RGB32, 2, rgb), "c.png", nullptr, TypeImageRGB, rgbValues},
        {picture(QImage::Format_RGB32, 2, rgb), "c.BMP", "BMP", TypeImageRGB, rgbValues},
        {picture(QImage::Format_RGB32, 2, rgb), "c.tif", "TIFF", TypeImageRGB, rgbValues},
        {picture(QImage::Format_Indexed8, 2, {3, 2, 1, 0}, colors), "c.xpm", "XPM", TypeImageRGB, rgbValues},
        {picture(QImage::Format_Indexed8, 2, {3, 2, 1, 0}, colors), "palette.png", nullptr, TypeImageRGB, rgbValues},
        {picture(QImage::Format_ARGB32, 1, {qRgba(200, 100, 50, 10)}), "alpha.png", nullptr, TypeImageRGB, {200, 100, 50}},
        {picture(QImage::Format_RGB32, 1, {qRgb(7, 7, 7)}), "gray32.png", nullptr, TypeImageRGB, {7, 7, 7}},
    };
    QTemporaryDir dir;
    for (const auto& row : rows) {
        const auto image = readPicture(saved(dir, row.picture, row.name, row.format));
        EXPECT_EQ(image->type(), row.type) << row.name;
        EXPECT_EQ(image->width(), row.picture.width()) << row.name;
        EXPECT_EQ(valuesOf(*image), row.values) << row.name;
    }
}

// Pictures in a file whose name says another type, names of other types, and
// files that are no picture of their type.
TEST(PictureReader, RefusedFilesTable)
{
    QTemporaryDir dir;
    QImage full(64, 64, QImage::Format_RGB32);
    for (int i = 0; i < 64 * 64; ++i)
        full.setPixel(i % 64, i / 64, qRgb(i % 251, i / 64, i % 7));
    const QByteArray png = contents(saved(dir, full, "full.png"));
    const QByteArray gif("GIF89a\1\0\1\0\0\0\0,\0\0\0\0\1\0\1\0\0\2\2D\1\0;", 29);
    const QImage small = full.copy(0, 0, 2, 2);
    const struct { const char* name; QByteArray bytes; const char* problem; } rows[] = {
        {"empty.png", {}, "the content is not a PNG picture"},
        {"garbage.png", QByteArray(200, 'x'), "the content is not a PNG picture"},
        {"half.png", png.left(png.size() / 2), "cannot decode"},
        {"gif.png", gif, "the content is a GIF picture, but the name says PNG"},
        {"bmp.png", contents(saved(dir, small, "s.bmp")), "the content is a BMP picture, but the name says PNG"},
        {"jpeg.pgm", contents(saved(dir, small, "s.jpg")), "the content is a JPEG picture, but the name says PGM"},
        {"xpm.ppm", contents(saved(dir, small, "s.xpm")), "the content is an XPM picture, but the name says PPM"},
        {"xbm.png", contents(saved(dir, small, "s.xbm")), "the content is an XBM picture, but the name says PNG"},
        {"ppm.pgm", contents(saved(dir, small, "s.ppm")), "the content is a PPM picture, but the name says PGM"},
        {"x.ppm.txt", contents(saved(dir, small, "s.ppm")), "not a picture name Ivra opens"},
        {"header-only.ppm", "P6\n4 4\n255\n", "the data end early"},
        {"short-ascii.pgm", "P2\n3 1\n255\n1 2\n", "the data end early"},
        {"budget.ppm", "P6\n32767 10924\n255\n", "the picture is 32767 x 10924 pixels, more than the 4096 MiB of planes allowed"},
        {"within-budget.ppm", "P6\n32767 10923\n255\n", "the data end early"},
        {"gray-within-budget.pgm", "P5\n32767 32767\n255\n", "the data end early"},
    };
    for (const auto& row : rows) {
        const QString path = dir.filePath(QLatin1String(row.name));
        writeFile(path, row.bytes);
        EXPECT_TRUE(refusedWith([&] { readPicture(path); }, path.toStdString() + ": " + row.problem));
    }
    EXPECT_TRUE(refusedWith([&] { readPicture(dir.filePath("missing.png")); }, "not a readable"));
    EXPECT_EQ(readPicture(saved(dir, small, "ok.JPEG", "JPEG"))->width(), 2);
    // --max-pixels and the preference file's limit: refused from the header, before decoding.
    const QString fourByFour = saved(dir, full.copy(0, 0, 4, 4), "4x4.png");
    EXPECT_TRUE(refusedWith([&] { readPicture(fourByFour, {15}); }, "the picture is 4 x 4 pixels, more than the 15 pixels allowed"));
    EXPECT_EQ(readPicture(fourByFour, {16})->width(), 4);
}

// A 16-bit gray PNG loads as a 16-bit PGM does: gray, level = sample * 255 / 65535.
TEST(PictureReader, SixteenBitGrayFollowsTheGrayRule)
{
    const quint16 samples[] = {0, 256, 257, 32767, 65535};
    QImage png(5, 1, QImage::Format_Grayscale16);
    std::memcpy(png.scanLine(0), samples, sizeof samples);
    QByteArray pgm = "P5 5 1 65535\n";
    for (const quint16 s : samples)
        pgm.append(char(s >> 8)).append(char(s & 255));
    QTemporaryDir dir;
    writeFile(dir.filePath("g.pgm"), pgm);
    for (const QString& path : {saved(dir, png, "g.png"), dir.filePath("g.pgm")}) {
        const auto image = readPicture(path);
        EXPECT_EQ(image->type(), TypeImageGray) << path.toStdString();
        EXPECT_EQ(valuesOf(*image), (std::vector<int>{0, 0, 1, 127, 255})) << path.toStdString();
    }
}

// Memory running out while a picture decodes (the toolkit's picture) or converts
// (the image's planes) is reported in words, in a child process with limited memory.
TEST(PictureReader, ExhaustedMemoryIsReportedInWords)
{
    IVRA_SKIP_WITHOUT_MEMORY_LIMITS();
    QTemporaryDir dir;
    for (const int side : {4500, 2500}) {
        QImage big(side, side, QImage::Format_RGB32);
        big.fill(qRgb(1, 2, 3));
        const QString path = saved(dir, big, "big.png");
        big = QImage();
        const std::string outcome = inChild([&] { return std::to_string(readPicture(path)->width()); }, 64 << 20);
        EXPECT_EQ(outcome, "threw: " + path.toStdString() + ": " + notEnoughMemory(side, side));
    }
}

TEST(PictureReader, SidesUpToTheLimitAreRead)
{
    QTemporaryDir dir;
    QImage line(32767, 1, QImage::Format_Grayscale8);
    line.fill(9);
    EXPECT_EQ(readPicture(saved(dir, line, "longest.png"))->width(), 32767);
    EXPECT_EQ(readPicture(saved(dir, line.transformed(QTransform().rotate(90)), "tallest.pgm"))->height(), 32767);
    // Larger sides are refused by the size the header announces, before decoding,
    // and by the loading conversion itself.
    for (const QSize size : {QSize(32768, 1), QSize(1, 32768)}) {
        QImage large(size, QImage::Format_Grayscale8);
        large.fill(0);
        const QString path = saved(dir, large, "large.png");
        const std::string announced = std::to_string(size.width()) + " x " + std::to_string(size.height());
        EXPECT_TRUE(refusedWith([&] { readPicture(path); }, path.toStdString() + ": the picture is " + announced));
        EXPECT_TRUE(refusedWith([&] { imageFromQImage(large); }, "the picture is " + announced));
    }
    EXPECT_TRUE(refusedWith([] { imageFromQImage(QImage()); }, "the picture is empty"));
    // A picture converted strip by strip: every row arrives (blue where y % 3 == 0, else red).
    QImage tall(1, 200, QImage::Format_Mono);
    tall.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255)});
    for (int y = 0; y < 200; ++y)
        tall.setPixel(0, y, y % 3 == 0);
    const std::vector<int> values = valuesOf(*readPicture(saved(dir, tall, "tall.png")));
    EXPECT_EQ(std::count(values.begin(), values.end(), 255), 200);
    EXPECT_EQ(std::vector<int>(values.end() - 6, values.end()), (std::vector<int>{0, 0, 255, 255, 0, 0}));
}

TEST(PictureExtension, MatchesWithCaseAnywhereInThePath)
{
    for (const char* path : {"/pictures/lena.ppm", "a.pgm.bak", "x.png"})
        EXPECT_TRUE(mentionsPictureExtension(path)) << path;
    EXPECT_FALSE(mentionsPictureExtension("photo.PNG"));
    EXPECT_TRUE(mentionsPictureExtension("photo.PNG", Qt::CaseInsensitive));
    EXPECT_FALSE(mentionsPictureExtension("photo.jpg", Qt::CaseInsensitive));
}
