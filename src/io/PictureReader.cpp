#include "PictureReader.h"

#include "IoError.h"

#include "image/ImageGray.h"
#include "image/ImageRGB.h"

#include <QImageReader>

#include <algorithm>

namespace ivra {

bool mentionsPictureExtension(const QString& path, Qt::CaseSensitivity cs)
{
    return path.contains(QLatin1String(".png"), cs) || path.contains(QLatin1String(".pgm"), cs) ||
           path.contains(QLatin1String(".ppm"), cs);
}

namespace {

bool tooLarge(QSize size) { return size.width() > Image::maxSide || size.height() > Image::maxSide; }

std::string sizeProblem(QSize size)
{
    return "the picture is " + std::to_string(size.width()) + " x " + std::to_string(size.height()) +
           " pixels; at most " + std::to_string(Image::maxSide) + " per side are supported";
}

bool colorTableIsGray(const QImage& picture)
{
    const QList<QRgb> table = picture.colorTable();
    return std::all_of(table.begin(), table.end(), [](QRgb c) { return qIsGray(c); });
}

std::unique_ptr<Image> grayImageFromGrayPicture(const QImage& picture)
{
    // One byte per pixel first (1-bit pictures store eight pixels per byte), then
    // each pixel gets the gray level of its table entry: a gray table need not be
    // in the order 0, 1, 2, ... For grayscale formats without a table the byte is the level.
    QImage bytes = picture.depth() == 8 ? picture : picture.convertToFormat(QImage::Format_Indexed8);
    const QList<QRgb> table = bytes.colorTable();
    std::int32_t levels[256];
    for (int i = 0; i < 256; ++i)
        levels[i] = i < table.size() ? qRed(table[i]) : i;

    auto image = std::make_unique<ImageGray>(bytes.width(), bytes.height());
    std::int32_t* out = image->data();
    for (int y = 0; y < bytes.height(); ++y) {
        const uchar* line = bytes.constScanLine(y);
        for (int x = 0; x < bytes.width(); ++x)
            *out++ = levels[line[x]];
    }
    return image;
}

std::unique_ptr<Image> rgbImageFromPicture(const QImage& picture)
{
    // Straight (not premultiplied) 32-bit pixels, so dropping alpha keeps the stored colours.
    const QImage rgb = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
                           ? picture
                           : picture.convertToFormat(QImage::Format_ARGB32);
    auto image = std::make_unique<ImageRGB>(rgb.width(), rgb.height());
    std::int32_t* r = image->red();
    std::int32_t* g = image->green();
    std::int32_t* b = image->blue();
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            *r++ = qRed(line[x]);
            *g++ = qGreen(line[x]);
            *b++ = qBlue(line[x]);
        }
    }
    return image;
}

} // namespace

std::unique_ptr<Image> imageFromQImage(const QImage& picture)
{
    if (picture.isNull())
        return nullptr;
    if (tooLarge(picture.size()))
        throw IoError(sizeProblem(picture.size()));
    if (picture.depth() <= 8 && colorTableIsGray(picture))
        return grayImageFromGrayPicture(picture);
    return rgbImageFromPicture(picture);
}

std::unique_ptr<Image> readPicture(const QString& path)
{
    const std::string name = path.toStdString();
    // Large scans are a real use (a 600 dpi page is some 35 megapixels): allow up to
    // 1 GiB of decoded picture instead of the toolkit's 128 MiB default. Headers
    // announcing more are still refused before anything is allocated.
    QImageReader::setAllocationLimit(kAllocationLimitMiB);
    QImageReader reader(path);
    reader.setAutoTransform(false);
    // The format is guessed from the contents, never from the file name.
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead())
        throw IoError(name, "not a readable PNG, PGM or PPM picture");
    // Refuse before decoding what the header announces, so a forged header cannot
    // make us allocate gigabytes.
    const QSize announced = reader.size();
    if (announced.isValid() && tooLarge(announced))
        throw IoError(name, sizeProblem(announced));
    // A truncated or corrupt file fails here; so does a header announcing more than
    // the reader's allocation limit (QImageReader::allocationLimit()).
    QImage picture;
    if (!reader.read(&picture) || picture.isNull())
        throw IoError(name, "cannot decode the picture: " + reader.errorString().toStdString());
    return imageFromQImage(picture);
}

} // namespace ivra
