#pragma once

#include "PictureType.h"

#include "image/Image.h"

#include <QImage>
#include <QIODevice>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>

namespace ivra {

// The Open command's extension test: the path contains ".png", ".pgm" or ".ppm"
// anywhere (with case, as the workbench does; the CLI ignores case).
bool mentionsPictureExtension(const QString& path, Qt::CaseSensitivity cs = Qt::CaseSensitive);

// How large a loaded picture may be, checked from its header before anything is decoded.
struct PictureLimits {
    // Most pixels a picture may have; 0 leaves the default: at most
    // kDefaultPlaneBudget bytes of planes (4 bytes a pixel for a gray image, 12 for a colour one).
    std::int64_t maxPixels = 0;
};
inline constexpr std::int64_t kDefaultPlaneBudget = std::int64_t(4) << 30;

// The loading conversion: a picture of depth 8 or less whose colour table is all
// gray becomes an ImageGray holding each pixel's gray level, and so does a 16-bit
// gray picture (level = sample * 255 / 65535, rounded down, as 16-bit PGM files
// load); anything else an ImageRGB of its red, green and blue bytes (alpha dropped).
// The picture is converted a strip of rows at a time, so the conversion needs
// little memory beside the picture and the image. Throws IoError for a null
// picture, a side above Image::maxSide, and when memory runs out.
std::unique_ptr<Image> imageFromQImage(const QImage& picture);

// Decodes a picture from a seekable device. The content must be of the type the
// file name says (`nameType`, from pictureTypeOfName()) and one Ivra opens; netpbm
// content is checked strictly (validateNetpbm()). Sides, the pixel limit and the
// plane budget are checked from the header before the pixels are decoded. Throws
// IoError(name, problem) for every refusal, for corrupt data and when memory runs out.
std::unique_ptr<Image> decodePicture(QIODevice& device, PictureType nameType, const std::string& name,
                                     const PictureLimits& limits = {});

// Opens a picture file and decodes it (decodePicture()).
std::unique_ptr<Image> readPicture(const QString& path, const PictureLimits& limits = {});

} // namespace ivra
