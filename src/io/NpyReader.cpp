#include "NpyReader.h"

#include "IoError.h"
#include "NpyHeader.h"

#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>
#include <limits>

namespace ivra {

namespace {

// Bytes of data the shape announces, refused when the count overflows.
std::int64_t announcedBytes(const NpyHeader& header, const std::string& name)
{
    const std::int64_t itemSize = npyItemSize(header.type);
    std::int64_t count = 1;
    for (std::int64_t d : header.shape) {
        if (d != 0 && count > std::numeric_limits<std::int64_t>::max() / itemSize / d)
            throw IoError(name, "the .npy shape announces an enormous array");
        count *= d;
    }
    return count * itemSize;
}

// Bytes read at a time from a pipe: memory grows with what arrives, never with
// what a header merely announces.
constexpr qint64 kPipeChunk = qint64(1) << 20;

QByteArray readData(QIODevice& device, std::int64_t bytes, const std::string& name)
{
    if (!device.isSequential() && device.size() - device.pos() < bytes)
        throw IoError(name, "truncated .npy data: the header announces " + std::to_string(bytes) +
                                " bytes, the file holds " + std::to_string(device.size() - device.pos()));
    if (bytes > std::numeric_limits<qsizetype>::max() / 2)
        throw IoError(name, "the .npy array is too large");
    QByteArray data;
    if (!device.isSequential())
        data = device.read(bytes);
    std::vector<char> chunk(device.isSequential() ? kPipeChunk : 0);
    while (device.isSequential() && data.size() < bytes) {
        const qint64 n = device.read(chunk.data(), std::min<qint64>(kPipeChunk, bytes - data.size()));
        if (n <= 0 && !device.waitForReadyRead(-1))
            break;
        data.append(chunk.data(), std::max<qint64>(n, 0));
    }
    if (data.size() != bytes)
        throw IoError(name, "truncated .npy data: the header announces " + std::to_string(bytes) + " bytes, " +
                                std::to_string(data.size()) + " arrived");
    if (device.isSequential() ? !device.read(1).isEmpty() : !device.atEnd())
        throw IoError(name, "the .npy file is longer than its header announces");
    return data;
}

void checkImageArray(const NpyArray& array, const std::string& name)
{
    if (array.type == NpyType::Bool || array.type == NpyType::Float32 || array.type == NpyType::Float64)
        throw IoError(name, std::string("a .npy image must hold integers, not ") + npyDescr(array.type) +
                                " (convert it to int32)");
    const auto& s = array.shape;
    if (s.size() != 2 && !(s.size() == 3 && s[0] == 3)) {
        std::string dims;
        for (std::int64_t d : s)
            dims += (dims.empty() ? "" : ", ") + std::to_string(d);
        throw IoError(name, "a .npy image has the shape (H, W) or (3, H, W), not (" + dims + ")");
    }
    const std::int64_t h = s[s.size() - 2], w = s[s.size() - 1];
    if (h == 0 || w == 0)
        throw IoError(name, "the .npy image is empty");
    if (h > Image::maxSide || w > Image::maxSide)
        throw IoError(name, "the .npy image is " + std::to_string(w) + " x " + std::to_string(h) +
                                " pixels; at most " + std::to_string(Image::maxSide) + " per side are supported");
}

// A new image of the array's size and kind, with its planes in plane order.
std::unique_ptr<Image> newImage(const NpyArray& array, NpyColor color, std::int32_t* planes[3])
{
    const int h = static_cast<int>(array.shape[array.shape.size() - 2]);
    const int w = static_cast<int>(array.shape[array.shape.size() - 1]);
    if (array.shape.size() == 2) {
        auto gray = std::make_unique<ImageGray>(w, h);
        planes[0] = gray->data();
        return gray;
    }
    std::unique_ptr<ImageColor> image;
    if (color == NpyColor::Hsv)
        image = std::make_unique<ImageHSV>(w, h);
    else
        image = std::make_unique<ImageRGB>(w, h);
    for (int i = 0; i < 3; ++i)
        planes[i] = image->plane(i);
    return image;
}

void copyValues(const NpyArray& array, std::int32_t* const planes[3], std::int64_t perPlane, const std::string& name)
{
    const std::int64_t total = array.elementCount();
    if (array.type == NpyType::Int32) {
        for (std::int64_t p = 0; p * perPlane < total; ++p)
            std::memcpy(planes[p], array.data.constData() + p * perPlane * 4, static_cast<std::size_t>(perPlane) * 4);
        return;
    }
    for (std::int64_t i = 0; i < total; ++i) {
        const std::int64_t v = array.integerAt(i);
        if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
            throw IoError(name, "value " + std::to_string(v) + " at element " + std::to_string(i) +
                                    " does not fit in a 32-bit pixel");
        planes[i / perPlane][i % perPlane] = static_cast<std::int32_t>(v);
    }
}

} // namespace

NpyArray readNpy(QIODevice& device, const std::string& name)
{
    NpyHeader header = readNpyHeader(device, name);
    NpyArray array;
    array.type = header.type;
    array.data = readData(device, announcedBytes(header, name), name);
    array.shape = std::move(header.shape);
    return array;
}

NpyArray readNpy(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw IoError(path.toStdString(), "cannot open: " + file.errorString().toStdString());
    try {
        return readNpy(file, path.toStdString());
    } catch (const std::bad_alloc&) {
        throw IoError(path.toStdString(), "not enough memory for the .npy array");
    }
}

std::unique_ptr<Image> imageFromNpy(const NpyArray& array, NpyColor color, const std::string& name)
{
    checkImageArray(array, name);
    std::int32_t* planes[3] = {};
    std::unique_ptr<Image> image;
    try {
        image = newImage(array, color, planes);
    } catch (const std::bad_alloc&) {
        throw IoError(name, notEnoughMemory(array.shape.back(), array.shape[array.shape.size() - 2]));
    }
    copyValues(array, planes, static_cast<std::int64_t>(image->width()) * image->height(), name);
    return image;
}

std::unique_ptr<Image> readNpyImage(const QString& path, NpyColor color)
{
    return imageFromNpy(readNpy(path), color, path.toStdString());
}

} // namespace ivra
