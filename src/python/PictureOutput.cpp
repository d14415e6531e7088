#include "PictureOutput.h"

#include "Avx2Kernels.h"
#include "RecycledMemory.h"

#include "image/HistogramGray.h"
#include "image/HistogramHSV.h"
#include "image/HistogramRGB.h"
#include "image/ImageColor.h"
#include "image/ImageGray.h"
#include "image/ImageSegmented.h"
#include "util/ParallelRows.h"
#include "util/Simd.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <type_traits>

namespace py = pybind11;

namespace ivra::python {

namespace {

#if IVRA_SIMD_SSE2
// Bytes from three planes, four pixels a round: R | G << 8 | B << 16 in each 32-bit
// lane, two lanes packed into six bytes of each half, the halves stored six bytes
// apart. The second store reaches two bytes into the next pixel, which the next round
// or the plain loop writes, so the rounds stop one pixel before the range's end (the
// next range may be another thread's). Returns where they stopped; ORs the values into `all`.
std::size_t packByteRounds(const std::int32_t* in0, const std::int32_t* in1, const std::int32_t* in2,
                           std::size_t begin, std::size_t end, std::uint8_t* out, std::uint32_t& all)
{
    const __m128i byte = _mm_set1_epi32(0xFF);
    const __m128i low = _mm_set_epi32(0, -1, 0, -1), high = _mm_set_epi32(0xFFFF, -0x1000000, 0xFFFF, -0x1000000);
    const auto load = [](const std::int32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
    __m128i any = _mm_setzero_si128();
    std::size_t i = begin;
    for (; i + 5 <= end; i += 4) {
        const __m128i r = load(in0 + i), g = load(in1 + i), b = load(in2 + i);
        any = _mm_or_si128(any, _mm_or_si128(r, _mm_or_si128(g, b)));
        const __m128i pixels = _mm_or_si128(
            _mm_and_si128(r, byte),
            _mm_or_si128(_mm_slli_epi32(_mm_and_si128(g, byte), 8), _mm_slli_epi32(_mm_and_si128(b, byte), 16)));
        const __m128i packed = _mm_or_si128(_mm_and_si128(pixels, low), _mm_and_si128(_mm_srli_epi64(pixels, 8), high));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i * 3), packed);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i * 3 + 6), _mm_srli_si128(packed, 8));
    }
    any = _mm_or_si128(any, _mm_srli_si128(any, 8));
    any = _mm_or_si128(any, _mm_srli_si128(any, 4));
    all |= static_cast<std::uint32_t>(_mm_cvtsi128_si32(any));
    return i;
}
#endif

// Copies the planes' elements begin..end - 1 into interleaved elements; returns the
// OR of the values narrowed to bytes (0 for wider elements). Every pointer is a
// restrict-qualified parameter of its own, so that the plain loop needs no alias checks.
template <class Out, int Channels>
std::uint32_t interleaveRange(const std::int32_t* __restrict in0, const std::int32_t* __restrict in1,
                              const std::int32_t* __restrict in2, std::size_t begin, std::size_t end,
                              Out* __restrict out)
{
    std::uint32_t all = 0;
    std::size_t i = begin;
    if constexpr (std::is_same_v<Out, std::uint8_t> && Channels == 3) {
#if IVRA_PYTHON_AVX2
        if (avx2::available())
            i = avx2::packBytes(in0, in1, in2, begin, end, out, all);
#endif
#if IVRA_SIMD_SSE2
        if (i == begin)
            i = packByteRounds(in0, in1, in2, begin, end, out, all);
#endif
    }
    for (; i < end; ++i) {
        const std::int32_t v[3] = {in0[i], Channels == 3 ? in1[i] : 0, Channels == 3 ? in2[i] : 0};
        for (int c = 0; c < Channels; ++c) {
            if constexpr (sizeof(Out) == 1)
                all |= static_cast<std::uint32_t>(v[c]);
            out[i * Channels + c] = static_cast<Out>(v[c]);
        }
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
        all.fetch_or(interleaveRange<Out, Channels>(planes[0], planes[1], planes[2], y0 * width, y1 * width, out),
                     std::memory_order_relaxed);
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
    if (!ints) {
        ArrayBuffer bytes = image->type() == TypeImageGray
                                ? interleaved<std::uint8_t, 1>(*image, planes.data(), ArrayBuffer::Element::UInt8)
                                : interleaved<std::uint8_t, 3>(*image, planes.data(), ArrayBuffer::Element::UInt8);
        // The next call reads its picture into these planes, which the conversion has just
        // read and are likelier to be in cache than the input's. (A segmentation is no
        // input.)
        if (!segmentationOf(*image))
            recycleImage(std::move(image));
        return bytes;
    }
    // int32 is the planes' own element: the array views them where they are. A colour
    // picture's planes lie one after the other, so the channel's stride is a plane.
    ArrayBuffer buffer;
    buffer.data = const_cast<std::int32_t*>(planes[0]);
    buffer.element = ArrayBuffer::Element::Int32;
    const py::ssize_t height = image->height(), width = image->width(), element = sizeof(std::int32_t);
    buffer.shape = {height, width};
    if (image->type() != TypeImageGray) {
        buffer.shape.push_back(3);
        buffer.strides = {width * element, element, height * width * element};
    }
    buffer.owner = recyclingOwner(std::move(image));
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
