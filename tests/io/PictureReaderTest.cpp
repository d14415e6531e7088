#include "IoTestSupport.h"
#include "PictureReader.h"

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
        {picture(QImage::Format_RGB32, 2, rgb), "png-named.ppm", "PNG", TypeImageRGB, rgbValues}, // by content
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

TEST(PictureReader, RefusedFilesTable)
{
    QTemporaryDir dir;
    QImage full(64, 64, QImage::Format_RGB32);
    for (int i = 0; i < 64 * 64; ++i)
        full.setPixel(i % 64, i / 64, qRgb(i % 251, i / 64, i % 7));
    const QByteArray png = contents(saved(dir, full, "full.png"));
    const struct { const char* name; QByteArray bytes; const char* problem; } rows[] = {
        {"empty.png", {}, "not a readable"},
        {"garbage.png", QByteArray(200, 'x'), "not a readable"},
        {"half.png", png.left(png.size() / 2), "cannot decode"},
        {"header-only.ppm", "P6\n4 4\n255\n", "cannot decode"},
        {"short-ascii.pgm", "P2\n3 1\n255\n1 2\n", "cannot decode"},
        {"big.pgm", "P5\n30000 30000\n255\nxx", "cannot decode"}, // beyond what the reader allocates
    };
    for (const auto& row : rows) {
        const QString path = dir.filePath(QLatin1String(row.name));
        writeFile(path, row.bytes);
        EXPECT_TRUE(refusedWith([&] { readPicture(path); }, path.toStdString() + ": " + row.problem));
    }
    EXPECT_TRUE(refusedWith([&] { readPicture(dir.filePath("missing.png")); }, "not a readable"));
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
    EXPECT_EQ(imageFromQImage(QImage()), nullptr);
}

TEST(PictureExtension, MatchesWithCaseAnywhereInThePath)
{
    for (const char* path : {"/pictures/lena.ppm", "a.pgm.bak", "x.png"})
        EXPECT_TRUE(mentionsPictureExtension(path)) << path;
    EXPECT_FALSE(mentionsPictureExtension("photo.PNG"));
    EXPECT_TRUE(mentionsPictureExtension("photo.PNG", Qt::CaseInsensitive));
    EXPECT_FALSE(mentionsPictureExtension("photo.jpg", Qt::CaseInsensitive));
}
