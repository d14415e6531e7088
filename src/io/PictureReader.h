#pragma once

#include "image/Image.h"

#include <QImage>
#include <QString>

#include <memory>

namespace ivra {

// The Open command's extension test: the path contains ".png", ".pgm" or ".ppm"
// anywhere (with case, as the workbench does; the CLI ignores case).
bool mentionsPictureExtension(const QString& path, Qt::CaseSensitivity cs = Qt::CaseSensitive);

// The loading conversion: a picture of depth 8 or less whose colour table is all
// gray becomes an ImageGray holding each pixel's gray level; anything else an
// ImageRGB of its red, green and blue bytes (alpha dropped). A null picture gives null.
std::unique_ptr<Image> imageFromQImage(const QImage& picture);

// Decodes a picture file (format guessed from the contents) and converts it.
// Throws IoError for a missing, empty, truncated or corrupt file, for a side above
// Image::maxSide, and for a picture whose decoded size exceeds the toolkit reader's
// allocation limit (kAllocationLimitMiB, about 268 megapixels at 32 bits a pixel);
// sizes are checked from the header before the pixels are allocated.
inline constexpr int kAllocationLimitMiB = 1024;
std::unique_ptr<Image> readPicture(const QString& path);

} // namespace ivra
