#include "NpyWriter.h"

#include "IoError.h"
#include "OutputTarget.h"
#include "NpyHeader.h"

#include "image/HistogramGray.h"
#include "image/HistogramHSV.h"
#include "image/HistogramRGB.h"
#include "image/ImageColor.h"
#include "image/ImageGray.h"

#include <QSaveFile>

#include <algorithm>

namespace ivra {

namespace {

void writeAll(QIODevice& device, const void* data, std::size_t bytes)
{
    const char* p = static_cast<const char*>(data);
    while (bytes > 0) {
        const qint64 n = device.write(p, static_cast<qint64>(std::min<std::size_t>(bytes, 1u << 30)));
        if (n <= 0)
            throw IoError("cannot write: " + device.errorString().toStdString());
        p += n;
        bytes -= static_cast<std::size_t>(n);
    }
}

// The counts of a histogram as stored: element type, first count, bytes per count.
struct HistogramCounts {
    NpyType type;
    const void* data;
    int itemSize;
};

HistogramCounts countsOf(const Histogram& h)
{
    switch (h.type()) {
    case TypeHistogramGray: return {NpyType::Int32, static_cast<const HistogramGray&>(h).counts(), 4};
    case TypeHistogramRGB: return {NpyType::Float32, static_cast<const HistogramRGB&>(h).counts(), 4};
    case TypeHistogramHSV: return {NpyType::Float64, static_cast<const HistogramHSV&>(h).counts(), 8};
    default: throw IoError("unknown histogram type " + std::to_string(h.type()));
    }
}

void encodeColorImage(QIODevice& device, const ImageColor& image)
{
    // Header for the whole array, then the three planes one after another.
    encodeNpy(device, NpyType::Int32, {3, image.height(), image.width()}, nullptr, 0);
    for (int p = 0; p < 3; ++p)
        writeAll(device, image.plane(p), image.pixelCount() * 4);
}

} // namespace

void encodeNpy(QIODevice& device, NpyType type, const std::vector<std::int64_t>& shape, const void* data,
               std::size_t bytes)
{
    const QByteArray header = encodeNpyHeader(type, shape);
    writeAll(device, header.constData(), static_cast<std::size_t>(header.size()));
    writeAll(device, data, bytes);
}

void encodeNpy(QIODevice& device, const DataObject& object)
{
    switch (object.type()) {
    case TypeImageGray: {
        const auto& g = static_cast<const ImageGray&>(object);
        encodeNpy(device, NpyType::Int32, {g.height(), g.width()}, g.data(), g.pixelCount() * 4);
        return;
    }
    case TypeImageRGB:
    case TypeImageHSV: encodeColorImage(device, static_cast<const ImageColor&>(object)); return;
    case TypeHistogramGray:
    case TypeHistogramRGB:
    case TypeHistogramHSV: {
        const auto& h = static_cast<const Histogram&>(object);
        const HistogramCounts counts = countsOf(h);
        encodeNpy(device, counts.type, {h.binCount()}, counts.data,
                  static_cast<std::size_t>(h.binCount()) * counts.itemSize);
        return;
    }
    default: throw IoError("cannot store an object of type " + std::to_string(object.type()) + " as .npy");
    }
}

void encodeNpy(QIODevice& device, const std::vector<const Histogram*>& histograms)
{
    if (histograms.empty())
        throw IoError("no histograms to store");
    const Histogram& first = *histograms.front();
    for (const Histogram* h : histograms)
        if (h->type() != first.type() || h->binCount() != first.binCount())
            throw IoError("histograms of different kinds or bin counts cannot be stacked");
    const HistogramCounts counts = countsOf(first);
    encodeNpy(device, counts.type, {static_cast<std::int64_t>(histograms.size()), first.binCount()}, nullptr, 0);
    for (const Histogram* h : histograms)
        writeAll(device, countsOf(*h).data, static_cast<std::size_t>(h->binCount()) * counts.itemSize);
}

void encodeNpyLabels(QIODevice& device, const Array2D<std::uint32_t>& labels)
{
    encodeNpy(device, NpyType::UInt32, {labels.height(), labels.width()}, labels.data(), labels.size() * 4);
}

void writeNpy(const DataObject& object, const QString& path)
{
    checkOutputTarget(path); // never rename over a pipe, a device or a directory
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw IoError(path.toStdString(), "cannot write: " + file.errorString().toStdString());
    try {
        encodeNpy(file, object);
    } catch (const IoError& e) {
        file.cancelWriting();
        throw IoError(path.toStdString(), e.what());
    }
    if (!file.commit())
        throw IoError(path.toStdString(), "cannot write: " + file.errorString().toStdString());
}

} // namespace ivra
