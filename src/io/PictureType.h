#pragma once

#include <QByteArray>
#include <QString>

#include <string>

namespace ivra {

// The picture formats Ivra opens, and a few it recognises only to name them when
// a file is refused.
enum class PictureType { Unknown, Png, Jpeg, Bmp, Tiff, Pbm, Pgm, Ppm, Xpm, Gif, Xbm, Webp };

// The type a file name announces by its last extension, in any letter case:
// .png, .jpg/.jpeg, .bmp, .tif/.tiff, .pbm, .pgm, .ppm, .xpm; Unknown for others
// ("x.ppm.txt" is a text file).
PictureType pictureTypeOfName(const QString& path);

// The type the first bytes of a file show (at least 16 bytes, or the whole file if
// shorter); Unknown when nothing matches.
PictureType pictureTypeOfContent(const QByteArray& head);

// Whether Ivra opens pictures of this type.
bool isOpenedType(PictureType type);

// "PNG", "JPEG", ... for messages; the toolkit's format name ("png", "jpeg", ...).
std::string pictureTypeName(PictureType type);
QByteArray readerFormatOf(PictureType type);

// Why a picture of width x height pixels cannot be an image (a side above
// Image::maxSide, or none at all); empty when it can.
std::string pictureSizeProblem(qint64 width, qint64 height);

// The netpbm types; their content is checked by validateNetpbm().
inline bool isNetpbm(PictureType type)
{
    return type == PictureType::Pbm || type == PictureType::Pgm || type == PictureType::Ppm;
}

} // namespace ivra
