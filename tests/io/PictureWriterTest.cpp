#include "IoTestSupport.h"
#include "PictureReader.h"
#include "PictureWriter.h"

TEST(PictureWriter, FormatFollowsTheExtension)
{
    const std::pair<const char*, PictureFormat> rows[] = {{"a.png", PictureFormat::Png}, {"a.PPM", PictureFormat::Ppm},
                                                          {"d.x/a.pgm", PictureFormat::Pgm}, {"a.Xpm", PictureFormat::Xpm}};
    for (const auto& [path, format] : rows)
        EXPECT_EQ(pictureFormatFor(path), format) << path;
    for (const char* path : {"a.jpg", "png", "a.png.bak"})
        EXPECT_TRUE(refusedWith([&] { pictureFormatFor(path); }, "unknown picture format")) << path;
}

// Colour formats keep the display picture exactly; PGM holds the gray of each pixel.
TEST(PictureWriter, WritesTheDisplayPictureInTheFormatOfTheExtension)
{
    QTemporaryDir dir;
    ImageRGB image(3, 2);
    std::vector<int> colors, grays;
    for (int i = 0; i < 6; ++i) {
        image.setPixel(i, 40 * i + 256 * (i % 2), 255 - 30 * i, (i * 97) % 256); // red past 8 bits shows its low byte
        colors.insert(colors.end(), {40 * i, 255 - 30 * i, (i * 97) % 256});
        grays.push_back(qGray(40 * i, 255 - 30 * i, (i * 97) % 256));
    }
    for (const auto& [name, signature] : {std::pair{"out.png", "\x89PNG"}, {"out.ppm", "P6"}, {"out.xpm", "/* XPM */"},
                                          {"out.pgm", "P5"}}) {
        writePicture(image, dir.filePath(name));
        EXPECT_TRUE(contents(dir.filePath(name)).startsWith(signature)) << name;
        const bool pgm = QLatin1String(name).endsWith(QLatin1String("pgm"));
        EXPECT_EQ(valuesOf(*readPicture(dir.filePath(name))), pgm ? grays : colors) << name;
    }
}

TEST(PictureWriter, FailureLeavesAnExistingFileAndNoLeftovers)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.png");
    writeFile(path, "old contents");
    const ImageRGB image(2, 2);
    EXPECT_TRUE(refusedWith([&] { writePicture(QImage(), path); }, "keep.png: cannot write an empty picture"));
    EXPECT_TRUE(refusedWith([&] { writePicture(image, dir.filePath("no/dir/x.png")); }, "x.png: cannot write"));
    EXPECT_TRUE(refusedWith([&] { writePicture(image, dir.filePath("x.gif")); }, "x.gif: unknown"));
    EXPECT_EQ(contents(path), "old contents");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.png"});

    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    const QImage one(1, 1, QImage::Format_RGB32);
    EXPECT_TRUE(refusedWith([&] { encodePicture(one, PictureFormat::Png, readOnly); }, "cannot encode the picture as png"));

    writePicture(image, path); // a successful write replaces it
    EXPECT_TRUE(contents(path).startsWith("\x89PNG"));
}
