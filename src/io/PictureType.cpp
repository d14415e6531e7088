#include "PictureType.h"

#include "image/Image.h"

#include <QFileInfo>

#include <algorithm>

namespace ivra {

namespace {

struct TypeNames {
    PictureType type;
    const char* name;      // for messages
    const char* format;    // the toolkit's reader
    const char* suffixes[2];
};

constexpr TypeNames kTypes[] = {
    {PictureType::Png, "PNG", "png", {"png", nullptr}},    {PictureType::Jpeg, "JPEG", "jpeg", {"jpg", "jpeg"}},
    {PictureType::Bmp, "BMP", "bmp", {"bmp", nullptr}},    {PictureType::Tiff, "TIFF", "tiff", {"tif", "tiff"}},
    {PictureType::Pbm, "PBM", "pbm", {"pbm", nullptr}},    {PictureType::Pgm, "PGM", "pgm", {"pgm", nullptr}},
    {PictureType::Ppm, "PPM", "ppm", {"ppm", nullptr}},    {PictureType::Xpm, "XPM", "xpm", {"xpm", nullptr}},
    {PictureType::Gif, "GIF", "gif", {nullptr, nullptr}},  {PictureType::Xbm, "XBM", "xbm", {nullptr, nullptr}},
    {PictureType::Webp, "WebP", "webp", {nullptr, nullptr}},
};

const TypeNames* namesOf(PictureType type)
{
    for (const TypeNames& t : kTypes)
        if (t.type == type)
            return &t;
    return nullptr;
}

bool startsWith(const QByteArray& head, const char* magic, qsizetype length)
{
    return head.size() >= length && std::equal(magic, magic + length, head.constData());
}

} // namespace

PictureType pictureTypeOfName(const QString& path)
{
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    if (suffix.isEmpty())
        return PictureType::Unknown;
    for (const TypeNames& t : kTypes)
        for (const char* s : t.suffixes)
            if (s && suffix == s)
                return t.type;
    return PictureType::Unknown;
}

PictureType pictureTypeOfContent(const QByteArray& head)
{
    if (startsWith(head, "\x89PNG\r\n\x1a\n", 8))
        return PictureType::Png;
    if (startsWith(head, "\xff\xd8\xff", 3))
        return PictureType::Jpeg;
    if (startsWith(head, "BM", 2))
        return PictureType::Bmp;
    if (startsWith(head, "II*\0", 4) || startsWith(head, "MM\0*", 4))
        return PictureType::Tiff;
    if (startsWith(head, "GIF87a", 6) || startsWith(head, "GIF89a", 6))
        return PictureType::Gif;
    if (startsWith(head, "RIFF", 4) && head.mid(8, 4) == "WEBP")
        return PictureType::Webp;
    if (startsWith(head, "/* XPM */", 9))
        return PictureType::Xpm;
    if (startsWith(head, "#define", 7))
        return PictureType::Xbm;
    if (head.size() >= 2 && head[0] == 'P') {
        switch (head[1]) {
        case '1': case '4': return PictureType::Pbm;
        case '2': case '5': return PictureType::Pgm;
        case '3': case '6': return PictureType::Ppm;
        default: break;
        }
    }
    return PictureType::Unknown;
}

bool isOpenedType(PictureType type)
{
    const TypeNames* t = namesOf(type);
    return t && t->suffixes[0];
}

std::string pictureTypeName(PictureType type)
{
    const TypeNames* t = namesOf(type);
    return t ? t->name : "unknown";
}

std::string pictureSizeProblem(qint64 width, qint64 height)
{
    if (width > Image::maxSide || height > Image::maxSide)
        return "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
               " pixels; at most " + std::to_string(Image::maxSide) + " per side are supported";
    if (width < 1 || height < 1)
        return "the picture is empty";
    return {};
}

QByteArray readerFormatOf(PictureType type)
{
    const TypeNames* t = namesOf(type);
    return t ? QByteArray(t->format) : QByteArray();
}

} // namespace ivra
