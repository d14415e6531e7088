#include "PictureOutput.h"

#include "image/HistogramGray.h"
#include "image/HistogramHSV.h"
#include "image/HistogramRGB.h"
#include "image/ImageColor.h"
#include "image/ImageGray.h"
#include "image/ImageSegmented.h"

#include <cstring>
#include <stdexcept>

namespace py = pybind11;

namespace ivra::python {

namespace {

// Narrows the planes into interleaved bytes; false when a value does not fit.
template <int Channels>
bool interleaveBytes(const std::int32_t* const* planes, std::size_t count, std::uint8_t* out)
{
    const std::int32_t* in[Channels];
    for (int c = 0; c < Channels; ++c)
        in[c] = planes[c];
    std::uint32_t overflow = 0;
    for (std::size_t i = 0; i < count; ++i)
        for (int c = 0; c < Channels; ++c) {
            const std::int32_t v = in[c][i];
            overflow |= static_cast<std::uint32_t>(v);
            out[i * Channels + c] = static_cast<std::uint8_t>(v);
        }
    return (overflow & ~0xFFu) == 0;
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

} // namespace

py::array pictureArray(const Image& image, bool wide)
{
    const std::size_t count = image.pixelCount();
    std::vector<py::ssize_t> shape{image.height(), image.width()};
    const std::int32_t* planes[3] = {};
    if (image.type() == TypeImageGray) {
        planes[0] = static_cast<const ImageGray&>(image).data();
    } else {
        shape.push_back(3);
        for (int c = 0; c < 3; ++c)
            planes[c] = static_cast<const ImageColor&>(image).plane(c);
    }
    const int channels = static_cast<int>(shape.size() == 3 ? 3 : 1);
    if (image.type() == TypeImageHSV || wide) {
        py::array_t<std::int32_t> array(shape);
        std::int32_t* out = array.mutable_data();
        py::gil_scoped_release release;
        for (std::size_t i = 0; i < count; ++i)
            for (int c = 0; c < channels; ++c)
                out[i * channels + c] = planes[c][i];
        return array;
    }
    py::array_t<std::uint8_t> array(shape);
    std::uint8_t* out = array.mutable_data();
    bool fits = false;
    {
        py::gil_scoped_release release;
        fits = channels == 3 ? interleaveBytes<3>(planes, count, out) : interleaveBytes<1>(planes, count, out);
    }
    if (!fits)
        throw std::range_error("the result holds a value outside 0..255");
    return array;
}

py::array labelsArray(Array2D<std::uint32_t>&& labels)
{
    auto owner = std::make_unique<Array2D<std::uint32_t>>(std::move(labels));
    py::capsule free(owner.get(), [](void* p) { delete static_cast<Array2D<std::uint32_t>*>(p); });
    const Array2D<std::uint32_t>& kept = *owner.release(); // the capsule deletes it with the array
    return py::array_t<std::uint32_t>({kept.height(), kept.width()}, kept.data(), free);
}

py::object resultObject(recipe::StepResult&& result, int inputType)
{
    DataObject& data = *result.data;
    if (auto* histogram = dynamic_cast<const Histogram*>(&data)) {
        std::vector<const Histogram*> histograms{histogram};
        for (const recipe::StepResult& more : result.more)
            histograms.push_back(static_cast<const Histogram*>(more.data.get()));
        return histogramArray(histograms);
    }
    const Image& image = static_cast<const Image&>(data);
    if (segmentationOf(data)) {
        auto& segmentation = static_cast<ImageSegmented&>(data);
        py::array picture = pictureArray(image);
        py::array labels = labelsArray(std::move(segmentation.labels));
        return py::module_::import("ivra").attr("Segmentation")(labels, picture);
    }
    return pictureArray(image, inputType == TypeImageHSV && image.type() == TypeImageGray);
}

} // namespace ivra::python
