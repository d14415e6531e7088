#include "PictureOutput.h"

#include "RecycledMemory.h"

#include "image/HistogramGray.h"
#include "image/HistogramHSV.h"
#include "image/HistogramRGB.h"
#include "image/ImageColor.h"
#include "image/ImageGray.h"
#include "image/ImageSegmented.h"
#include "util/ParallelRows.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <stdexcept>

namespace py = pybind11;

namespace ivra::python {

namespace {

// Copies the planes' elements begin..end - 1 into interleaved elements; returns the
// OR of the values narrowed to bytes (0 for wider elements).
template <class Out, int Channels>
std::uint32_t interleaveRange(const std::int32_t* const* planes, std::size_t begin, std::size_t end, Out* out)
{
    const std::int32_t* in[Channels];
    for (int c = 0; c < Channels; ++c)
        in[c] = planes[c];
    std::uint32_t all = 0;
    for (std::size_t i = begin; i < end; ++i)
        for (int c = 0; c < Channels; ++c) {
            const std::int32_t v = in[c][i];
            if constexpr (sizeof(Out) == 1)
                all |= static_cast<std::uint32_t>(v);
            out[i * Channels + c] = static_cast<Out>(v);
        }
    return all;
}

// The picture's planes interleaved into new memory, rows cut over the thread count.
// Throws std::range_error when a value does not fit in a byte.
template <class Out, int Channels>
ArrayBuffer interleaved(const Image& image, const std::int32_t* const* planes, ArrayBuffer::Element element)
{
    const std::size_t width = static_cast<std::size_t>(image.width());
    ArrayBuffer buffer;
    buffer.owner = recycledBytes(image.pixelCount() * Channels * sizeof(Out), buffer.data);
    Out* out = static_cast<Out*>(buffer.data);
    std::atomic<std::uint32_t> all{0};
    parallelRows(0, image.height(), rowsPerPiece(image.width() * Channels), [&](int y0, int y1) {
        all.fetch_or(interleaveRange<Out, Channels>(planes, y0 * width, y1 * width, out), std::memory_order_relaxed);
    });
    if ((all.load() & ~0xFFu) != 0)
        throw std::range_error("the result holds a value outside 0..255");
    buffer.element = element;
    buffer.shape = {image.height(), image.width()};
    if (Channels == 3)
        buffer.shape.push_back(3);
    return buffer;
}

template <class T>
py::array countsArray(const std::vector<const Histogram*>& histograms, const T* (*counts)(const Histogram&))
{
    const py::ssize_t bins = histograms.front()->binCount();
    std::vector<py::ssize_t> shape{bins};
    if (histograms.size() > 1)
        shape.insert(shape.begin(), static_cast<py::ssize_t>(histograms.size()));
    py::array_t<T> array(shape);
    T* out = array.mutable_data();
    for (const Histogram* h : histograms)
        out = std::copy(counts(*h), counts(*h) + bins, out);
    return array;
}

py::array histogramArray(const std::vector<const Histogram*>& histograms)
{
    switch (histograms.front()->type()) {
    case TypeHistogramGray:
        return countsArray<std::int32_t>(
            histograms, [](const Histogram& h) { return static_cast<const HistogramGray&>(h).counts(); });
    case TypeHistogramRGB:
        return countsArray<float>(histograms,
                                  [](const Histogram& h) { return static_cast<const HistogramRGB&>(h).counts(); });
    default:
        return countsArray<double>(histograms,
                                   [](const Histogram& h) { return static_cast<const HistogramHSV&>(h).counts(); });
    }
}

std::array<const std::int32_t*, 3> planesOf(const Image& image)
{
    if (image.type() == TypeImageGray)
        return {static_cast<const ImageGray&>(image).data(), nullptr, nullptr};
    const auto& color = static_cast<const ImageColor&>(image);
    return {color.plane(0), color.plane(1), color.plane(2)};
}

} // namespace

ArrayBuffer pictureBuffer(std::unique_ptr<Image> image, bool wide)
{
    const bool ints = wide || image->type() == TypeImageHSV;
    const std::array<const std::int32_t*, 3> planes = planesOf(*image);
    if (image->type() != TypeImageGray)
        return ints ? interleaved<std::int32_t, 3>(*image, planes.data(), ArrayBuffer::Element::Int32)
                    : interleaved<std::uint8_t, 3>(*image, planes.data(), ArrayBuffer::Element::UInt8);
    if (!ints)
        return interleaved<std::uint8_t, 1>(*image, planes.data(), ArrayBuffer::Element::UInt8);
    ArrayBuffer buffer; // NumPy's layout already: the array takes the plane itself
    buffer.data = const_cast<std::int32_t*>(planes[0]);
    buffer.element = ArrayBuffer::Element::Int32;
    buffer.shape = {image->height(), image->width()};
    buffer.owner = std::shared_ptr<Image>(std::move(image));
    return buffer;
}

ConvertedResult convertResult(recipe::StepResult&& result, int inputType)
{
    ConvertedResult converted;
    if (dynamic_cast<const Histogram*>(result.data.get())) {
        converted.histograms = std::move(result);
        return converted;
    }
    if (segmentationOf(*result.data)) {
        auto labels = std::make_shared<Array2D<std::uint32_t>>(
            std::move(static_cast<ImageSegmented&>(*result.data).labels));
        converted.labels.data = labels->data();
        converted.labels.element = ArrayBuffer::Element::UInt32;
        converted.labels.shape = {labels->height(), labels->width()};
        converted.labels.owner = std::move(labels);
    }
    const bool wide = inputType == TypeImageHSV && result.data->type() == TypeImageGray;
    converted.picture = pictureBuffer(std::unique_ptr<Image>(static_cast<Image*>(result.data.release())), wide);
    return converted;
}

py::object resultObject(ConvertedResult&& result)
{
    if (const recipe::StepResult& counts = result.histograms; counts.data) {
        std::vector<const Histogram*> histograms{static_cast<const Histogram*>(counts.data.get())};
        for (const recipe::StepResult& more : counts.more)
            histograms.push_back(static_cast<const Histogram*>(more.data.get()));
        return histogramArray(histograms);
    }
    py::array picture = result.picture.toArray();
    if (!result.labels.data)
        return picture;
    return py::module_::import("ivra").attr("Segmentation")(result.labels.toArray(), picture);
}

} // namespace ivra::python
