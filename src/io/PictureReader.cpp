#include "PictureReader.h"

#include "IoError.h"
#include "NetpbmValidator.h"

#include "image/ImageGray.h"
#include "image/ImageRGB.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <climits>
#include <functional>
#include <new>

namespace ivra {

bool mentionsPictureExtension(const QString& path, Qt::CaseSensitivity cs)
{
    return path.contains(QLatin1String(".png"), cs) || path.contains(QLatin1String(".pgm"), cs) ||
           path.contains(QLatin1String(".ppm"), cs);
}

namespace {

// Rows converted at a time: a strip's copy is small beside the picture and the image.
constexpr int kStripRows = 64;

bool colorTableIsGray(const QImage& picture)
{
    const QList<QRgb> table = picture.colorTable();
    return std::all_of(table.begin(), table.end(), [](QRgb c) { return qIsGray(c); });
}

// Calls `rows(strip, y)` for consecutive strips of the picture in `format`,
// converting one strip at a time (the picture itself when it has that format).
void forEachStrip(const QImage& picture, QImage::Format format, const std::function<void(const QImage&)>& rows)
{
    if (picture.format() == format) {
        rows(picture);
        return;
    }
    for (int y = 0; y < picture.height(); y += kStripRows) {
        const QImage strip =
            picture.copy(0, y, picture.width(), std::min(kStripRows, picture.height() - y)).convertToFormat(format);
        if (strip.isNull())
            throw std::bad_alloc(); // the toolkit reports exhausted memory as an empty image
        rows(strip);
    }
}

std::unique_ptr<Image> grayImageFromGrayPicture(const QImage& picture)
{
    // One byte per pixel (1-bit pictures store eight pixels per byte), then each
    // pixel gets the gray level of its table entry: a gray table need not be in the
    // order 0, 1, 2, ... For grayscale formats without a table the byte is the level.
    const QList<QRgb> table = picture.colorTable();
    std::int32_t levels[256];
    for (int i = 0; i < 256; ++i)
        levels[i] = i < table.size() ? qRed(table[i]) : i;
    auto image = std::make_unique<ImageGray>(picture.width(), picture.height());
    std::int32_t* out = image->data();
    const QImage::Format bytes = picture.depth() == 8 ? picture.format() : QImage::Format_Indexed8;
    forEachStrip(picture, bytes, [&](const QImage& strip) {
        for (int y = 0; y < strip.height(); ++y) {
            const uchar* line = strip.constScanLine(y);
            for (int x = 0; x < strip.width(); ++x)
                *out++ = levels[line[x]];
        }
    });
    return image;
}

std::unique_ptr<Image> grayImageFromGray16(const QImage& picture)
{
    auto image = std::make_unique<ImageGray>(picture.width(), picture.height());
    std::int32_t* out = image->data();
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const quint16*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            *out++ = static_cast<std::int32_t>(line[x] * 255u / 65535u);
    }
    return image;
}

std::unique_ptr<Image> rgbImageFromPicture(const QImage& picture)
{
    // Straight (not premultiplied) 32-bit pixels, so dropping alpha keeps the stored colours.
    auto image = std::make_unique<ImageRGB>(picture.width(), picture.height());
    std::int32_t* r = image->red();
    std::int32_t* g = image->green();
    std::int32_t* b = image->blue();
    const QImage::Format format = picture.format() == QImage::Format_RGB32 ? QImage::Format_RGB32 : QImage::Format_ARGB32;
    forEachStrip(picture, format, [&](const QImage& strip) {
        for (int y = 0; y < strip.height(); ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(strip.constScanLine(y));
            for (int x = 0; x < strip.width(); ++x) {
                *r++ = qRed(line[x]);
                *g++ = qGreen(line[x]);
                *b++ = qBlue(line[x]);
            }
        }
    });
    return image;
}

bool moreThan8BitsPerSample(QImage::Format format)
{
    const QPixelFormat pixel = QImage::toPixelFormat(format);
    return pixel.colorModel() == QPixelFormat::Grayscale ? pixel.bitsPerPixel() > 8
                                                         : pixel.redSize() > 8 || pixel.typeInterpretation() ==
                                                                                      QPixelFormat::FloatingPoint;
}

// Refuses a picture the header announces too large, before anything is decoded.
void checkAnnouncedSize(QSize size, int planes, const PictureLimits& limits, const std::string& name)
{
    if (const std::string problem = pictureSizeProblem(size.width(), size.height()); !problem.empty())
        throw IoError(name, problem);
    const std::int64_t pixels = std::int64_t(size.width()) * size.height();
    const std::string announced = "the picture is " + std::to_string(size.width()) + " x " +
                                  std::to_string(size.height()) + " pixels, ";
    if (limits.maxPixels > 0 && pixels > limits.maxPixels)
        throw IoError(name, announced + "more than the " + std::to_string(limits.maxPixels) + " pixels allowed");
    if (limits.maxPixels <= 0 && pixels * planes * 4 > kDefaultPlaneBudget)
        throw IoError(name, announced + "more than the " + std::to_string(kDefaultPlaneBudget >> 20) +
                                " MiB of planes allowed");
}

QImage decodeWith(QIODevice& device, const QByteArray& format, int planes, const PictureLimits& limits,
                  const std::string& name)
{
    QImageReader reader(&device, format);
    reader.setAutoTransform(false);
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid())
        throw IoError(name, "cannot decode the picture: " + reader.errorString().toStdString());
    const QImage::Format announced = reader.imageFormat(); // before reading: a failed read forgets it
    if (announced == QImage::Format_Grayscale8 || announced == QImage::Format_Grayscale16)
        planes = 1;
    checkAnnouncedSize(size, planes, limits, name);
    if (format == "tiff" && moreThan8BitsPerSample(announced))
        throw IoError(name, "only TIFF pictures of 8 bits a sample are supported");
    // The toolkit's own limit, raised to what the checks above let through (its
    // largest pixels take 8 bytes); the checks are the real limit.
    const std::int64_t allowed = limits.maxPixels > 0 ? limits.maxPixels : kDefaultPlaneBudget / 4;
    QImageReader::setAllocationLimit(static_cast<int>(std::min<std::int64_t>(INT_MAX, allowed * 8 / (1 << 20) + 1)));
    QImage picture;
    if (reader.read(&picture) && !picture.isNull())
        return picture;
    // A picture that would fit in memory failed to decode; one that would not is
    // reported as what it is.
    if (announced != QImage::Format_Invalid && QImage(size, announced).isNull())
        throw IoError(name, notEnoughMemory(size.width(), size.height()));
    throw IoError(name, "cannot decode the picture: " + reader.errorString().toStdString());
}

// "a GIF", "an XPM": the article as the name is spoken.
std::string withArticle(const std::string& typeName)
{
    return (typeName[0] == 'X' ? "an " : "a ") + typeName;
}

QImage decodeNetpbm(QIODevice& device, PictureType type, const PictureLimits& limits, const std::string& name)
{
    QByteArray bitmap;
    const NetpbmHeader header = validateNetpbm(
        device, name,
        [&](const NetpbmHeader& h) {
            checkAnnouncedSize(QSize(h.width, h.height), h.type == PictureType::Ppm ? 3 : 1, limits, name);
        },
        &bitmap);
    if (header.plain && header.type == PictureType::Pbm) {
        // Plain bits become the binary form the toolkit reads whatever their spacing.
        QByteArray packed = "P4\n" + QByteArray::number(header.width) + ' ' + QByteArray::number(header.height) + '\n';
        packed += bitmap;
        bitmap = QByteArray();
        QBuffer buffer(&packed);
        buffer.open(QIODevice::ReadOnly);
        return decodeWith(buffer, "pbm", 1, limits, name);
    }
    if (!device.seek(0))
        throw IoError(name, "cannot read the picture again after checking it");
    return decodeWith(device, readerFormatOf(type), header.type == PictureType::Ppm ? 3 : 1, limits, name);
}

} // namespace

std::unique_ptr<Image> imageFromQImage(const QImage& picture)
{
    if (picture.isNull())
        throw IoError("the picture is empty");
    if (const std::string problem = pictureSizeProblem(picture.width(), picture.height()); !problem.empty())
        throw IoError(problem);
    try {
        if (picture.format() == QImage::Format_Grayscale16)
            return grayImageFromGray16(picture);
        if (picture.depth() <= 8 && colorTableIsGray(picture))
            return grayImageFromGrayPicture(picture);
        return rgbImageFromPicture(picture);
    } catch (const std::bad_alloc&) {
        throw IoError(notEnoughMemory(picture.width(), picture.height()));
    }
}

std::unique_ptr<Image> decodePicture(QIODevice& device, PictureType nameType, const std::string& name,
                                     const PictureLimits& limits)
{
    if (!isOpenedType(nameType))
        throw IoError(name, "not a picture name Ivra opens (.png, .jpg, .jpeg, .bmp, .tif, .tiff, .pbm, .pgm, "
                            ".ppm or .xpm)");
    const PictureType contentType = pictureTypeOfContent(device.peek(16));
    if (contentType != nameType)
        throw IoError(name, contentType == PictureType::Unknown
                                ? "the content is not a " + pictureTypeName(nameType) + " picture"
                                : "the content is " + withArticle(pictureTypeName(contentType)) +
                                      " picture, but the name says " + pictureTypeName(nameType));
    QImage picture;
    try {
        picture = isNetpbm(nameType) ? decodeNetpbm(device, nameType, limits, name)
                                     : decodeWith(device, readerFormatOf(nameType), 3, limits, name);
    } catch (const std::bad_alloc&) {
        throw IoError(name, "not enough memory to decode the picture");
    }
    try {
        return imageFromQImage(picture);
    } catch (const IoError& e) {
        throw IoError(name, e.what());
    }
}

std::unique_ptr<Image> readPicture(const QString& path, const PictureLimits& limits)
{
    const std::string name = path.toStdString();
    // Opening a named pipe would wait for a writer; a picture is read from a file.
    if (QFileInfo::exists(path) && !QFileInfo(path).isFile())
        throw IoError(name, "not a regular file");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.isSequential())
        throw IoError(name, "not a readable PNG, PGM or PPM picture");
    return decodePicture(file, pictureTypeOfName(path), name, limits);
}

} // namespace ivra
