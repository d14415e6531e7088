#include "PictureWriter.h"

#include "DisplayConversion.h"
#include "IoError.h"
#include "OutputTarget.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace ivra {

PictureFormat pictureFormatFor(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return PictureFormat::Png;
    if (suffix == QLatin1String("ppm"))
        return PictureFormat::Ppm;
    if (suffix == QLatin1String("pgm"))
        return PictureFormat::Pgm;
    if (suffix == QLatin1String("xpm"))
        return PictureFormat::Xpm;
    throw IoError(path.toStdString(), "unknown picture format (use .png, .ppm, .pgm or .xpm)");
}

PictureFormat savedPictureFormatFor(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return PictureFormat::Jpeg;
    if (suffix == QLatin1String("bmp"))
        return PictureFormat::Bmp;
    if (suffix == QLatin1String("tif") || suffix == QLatin1String("tiff"))
        return PictureFormat::Tiff;
    try {
        return pictureFormatFor(path);
    } catch (const IoError&) {
        throw IoError(path.toStdString(),
                      "unknown picture format (use .png, .jpg, .bmp, .tif, .ppm, .pgm or .xpm)");
    }
}

namespace {

const char* formatName(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Png: return "png";
    case PictureFormat::Ppm: return "ppm";
    case PictureFormat::Pgm: return "pgm";
    case PictureFormat::Xpm: return "xpm";
    case PictureFormat::Jpeg: return "jpeg";
    case PictureFormat::Bmp: return "bmp";
    case PictureFormat::Tiff: return "tiff";
    }
    return "png";
}

// The gray of every pixel with the toolkit's weighting, computed here so the
// result does not depend on how the toolkit converts between formats.
QImage grayPictureOf(const QImage& picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    QImage gray(rgb.width(), rgb.height(), QImage::Format_Grayscale8);
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* out = gray.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x)
            out[x] = static_cast<uchar>(qGray(in[x]));
    }
    return gray;
}

} // namespace

void encodePicture(const QImage& picture, PictureFormat format, QIODevice& device)
{
    if (picture.isNull())
        throw IoError("cannot write an empty picture");
    QImageWriter writer(&device, formatName(format));
    // zlib level 1 (the toolkit scales 0..100 onto levels 0..9: 11 is level 1): about a
    // fifth larger than the default level in a fifth of its time.
    if (format == PictureFormat::Png)
        writer.setCompression(11);
    const bool ok = format == PictureFormat::Pgm ? writer.write(grayPictureOf(picture)) : writer.write(picture);
    if (!ok)
        throw IoError("cannot encode the picture as " + std::string(formatName(format)) + ": " +
                      writer.errorString().toStdString());
}

void writePicture(const QImage& picture, const QString& path)
{
    const PictureFormat format = savedPictureFormatFor(path);
    checkOutputTarget(path); // never rename over a pipe, a device or a directory
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw IoError(path.toStdString(), "cannot write: " + file.errorString().toStdString());
    try {
        encodePicture(picture, format, file);
    } catch (const IoError& e) {
        file.cancelWriting();
        throw IoError(path.toStdString(), e.what());
    }
    if (!file.commit())
        throw IoError(path.toStdString(), "cannot write: " + file.errorString().toStdString());
}

void writePicture(const Image& image, const QString& path)
{
    writePicture(toDisplayImage(image), path);
}

} // namespace ivra
