#pragma once

#include "image/Image.h"

#include <QImage>
#include <QIODevice>
#include <QString>

namespace ivra {

// Picture formats the writer knows, chosen by a file name's extension.
enum class PictureFormat { Png, Ppm, Pgm, Xpm, Jpeg, Bmp, Tiff };

// The format for a path's extension (.png, .ppm, .pgm, .xpm, case ignored);
// throws IoError for any other extension.
PictureFormat pictureFormatFor(const QString& path);

// The same, also knowing the formats the workbench saves besides (.jpg, .jpeg, .bmp,
// .tif, .tiff); throws IoError for any other extension.
PictureFormat savedPictureFormatFor(const QString& path);

// Encodes a picture into an open device. PGM stores the gray of each pixel
// (qGray of its red, green and blue); the other formats store the colours.
// Throws IoError when the encoder fails.
void encodePicture(const QImage& picture, PictureFormat format, QIODevice& device);

// Writes a picture to a file in the format of its extension (savedPictureFormatFor). The file is replaced
// atomically: on failure an existing file keeps its old contents and no partial
// file is left. Throws IoError naming the file and the problem.
void writePicture(const QImage& picture, const QString& path);

// Writes an image through the display conversion (toDisplayImage).
void writePicture(const Image& image, const QString& path);

} // namespace ivra
