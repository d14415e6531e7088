#include "PictureInput.h"

#include "Avx2Kernels.h"
#include "RecycledMemory.h"

#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"
#include "util/ParallelRows.h"
#include "util/Simd.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>

namespace py = pybind11;

namespace ivra::python {

namespace {

bool accepts(const std::vector<int>& types, int type)
{
    for (const int t : types)
        if (t == type)
            return true;
    return false;
}

std::string shapeText(const py::array& a)
{
    std::string text;
    for (py::ssize_t i = 0; i < a.ndim(); ++i)
        text += (i ? ", " : "") + std::to_string(a.shape(i));
    return "(" + text + (a.ndim() == 1 ? ",)" : ")");
}

// Whether every value of T survives the cast to int32, so that the cast value can be
// checked, with one unsigned comparison.
template <class T>
constexpr bool castKeepsValue = std::numeric_limits<T>::min() >= std::numeric_limits<std::int32_t>::min() &&
                                std::numeric_limits<T>::max() <= std::numeric_limits<std::int32_t>::max();

// A channel's range lo..hi, for the element type T.
template <class T>
struct Bounds {
    T low, high;              // lo..hi clamped to T
    std::uint32_t base, span; // v in lo..hi: unsigned(v - lo) <= hi - lo
    Bounds(int lo, int hi)
        : low(static_cast<T>(std::max<long long>(lo, std::numeric_limits<T>::min()))),
          high(static_cast<T>(std::min<unsigned long long>(hi, std::numeric_limits<T>::max()))),
          base(static_cast<std::uint32_t>(lo)), span(static_cast<std::uint32_t>(hi - lo))
    {
    }
    // Whether v lies outside; bytes always lie inside.
    bool outside(T v) const
    {
        if constexpr (std::is_same_v<T, std::uint8_t>)
            return false;
        else if constexpr (castKeepsValue<T>)
            return static_cast<std::uint32_t>(static_cast<std::int32_t>(v)) - base > span;
        else
            return (v < low) | (v > high);
    }
};

#if IVRA_SIMD_SSE2
// Packed RGB bytes, four pixels a round: two 8-byte loads six bytes apart put two
// pixels in each half, which spread into 32-bit lanes, then split into the planes.
// The second load reaches two bytes into the next pixel, so the rounds stop one
// pixel before the row's end and never read past the array. Returns the pixels done.
int splitByteRounds(const char* row, int width, std::int32_t* out0, std::int32_t* out1, std::int32_t* out2)
{
    const __m128i byte = _mm_set1_epi32(0xFF);
    const __m128i low = _mm_set_epi32(0, 0xFFFFFF, 0, 0xFFFFFF), high = _mm_set_epi32(0xFFFFFF, 0, 0xFFFFFF, 0);
    int x = 0;
    for (; x + 5 <= width; x += 4) {
        const __m128i both = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + x * 3)),
                                                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + x * 3 + 6)));
        const __m128i pixels = _mm_or_si128(_mm_and_si128(both, low), _mm_and_si128(_mm_slli_epi64(both, 8), high));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out0 + x), _mm_and_si128(pixels, byte));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out1 + x), _mm_and_si128(_mm_srli_epi32(pixels, 8), byte));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out2 + x), _mm_srli_epi32(pixels, 16));
    }
    return x;
}

// Packed int32 triples, four pixels a round: three loads, seven shuffles into the
// channels, and the range test unsigned(v - lo) > hi - lo as a signed comparison of
// flipped values. Returns the pixels done; sets `outside` when one lies outside.
int splitIntRounds(const char* row, int width, std::int32_t* const* out, const Bounds<std::int32_t>* bounds,
                   bool& outside)
{
    const __m128i flip = _mm_set1_epi32(std::numeric_limits<std::int32_t>::min());
    __m128i base[3], limit[3];
    for (int c = 0; c < 3; ++c) {
        base[c] = _mm_set1_epi32(static_cast<int>(bounds[c].base));
        limit[c] = _mm_set1_epi32(static_cast<int>(bounds[c].span ^ 0x80000000u));
    }
    __m128i bad = _mm_setzero_si128();
    int x = 0;
    for (; x + 4 <= width; x += 4) {
        const auto* p = reinterpret_cast<const float*>(row + x * 12);
        const __m128 a = _mm_loadu_ps(p), b = _mm_loadu_ps(p + 4), c = _mm_loadu_ps(p + 8);
        // a = r0 g0 b0 r1, b = g1 b1 r2 g2, c = b2 r3 g3 b3
        const __m128 m = _mm_shuffle_ps(b, c, _MM_SHUFFLE(2, 1, 3, 2)); // r2 g2 r3 g3
        const __m128 n = _mm_shuffle_ps(a, b, _MM_SHUFFLE(0, 0, 1, 1)); // g0 g0 g1 g1
        const __m128 o = _mm_shuffle_ps(a, b, _MM_SHUFFLE(1, 1, 2, 2)); // b0 b0 b1 b1
        const __m128 q = _mm_shuffle_ps(c, c, _MM_SHUFFLE(3, 3, 0, 0)); // b2 b2 b3 b3
        const __m128i channels[3] = {_mm_castps_si128(_mm_shuffle_ps(a, m, _MM_SHUFFLE(2, 0, 3, 0))),
                                     _mm_castps_si128(_mm_shuffle_ps(n, m, _MM_SHUFFLE(3, 1, 2, 0))),
                                     _mm_castps_si128(_mm_shuffle_ps(o, q, _MM_SHUFFLE(2, 0, 2, 0)))};
        for (int k = 0; k < 3; ++k) {
            const __m128i v = channels[k];
            bad = _mm_or_si128(bad, _mm_cmpgt_epi32(_mm_xor_si128(_mm_sub_epi32(v, base[k]), flip), limit[k]));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out[k] + x), v);
        }
    }
    outside = _mm_movemask_epi8(bad) != 0;
    return x;
}
#endif

// Packed RGB bytes of a row into the planes as far as the vector rounds go; returns
// the pixels done.
int splitBytes([[maybe_unused]] const char* row, [[maybe_unused]] int width, [[maybe_unused]] std::int32_t* out0,
               [[maybe_unused]] std::int32_t* out1, [[maybe_unused]] std::int32_t* out2)
{
#if IVRA_PYTHON_AVX2
    if (avx2::available())
        return avx2::splitBytes(row, width, out0, out1, out2);
#endif
#if IVRA_SIMD_SSE2
    return splitByteRounds(row, width, out0, out1, out2);
#else
    return 0;
#endif
}

// One channel's elements of a row, lying next to each other, into its plane; true
// when a value lies outside the bounds. Plain enough for the compiler to vectorise.
template <class T>
bool copyRun(const char* __restrict in, int width, std::int32_t* __restrict out, const Bounds<T> b)
{
#if IVRA_PYTHON_AVX2
    if constexpr (std::is_same_v<T, std::int32_t>) {
        if (avx2::available())
            return avx2::copyRun(in, width, out, b.base, b.span);
    }
    if constexpr (std::is_same_v<T, std::uint8_t>) {
        if (avx2::available()) {
            avx2::copyRun(reinterpret_cast<const std::uint8_t*>(in), width, out);
            return false;
        }
    }
#endif
    unsigned outside = 0;
    for (int x = 0; x < width; ++x) {
        T v;
        std::memcpy(&v, in + static_cast<std::size_t>(x) * sizeof(T), sizeof v);
        outside |= b.outside(v);
        out[x] = static_cast<std::int32_t>(v);
    }
    return outside != 0;
}

// Copies one row into the planes; true when a value lies outside its channel's bounds.
// Every pointer a parameter of its own, restrict-qualified, so that the compiler
// vectorises what it can without run-time alias checks.
template <class T, Walk W, int Channels>
bool copyRow(const char* __restrict row, py::ssize_t columnStride, py::ssize_t channelStride, int width,
             std::int32_t* __restrict out0, std::int32_t* __restrict out1, std::int32_t* __restrict out2,
             const Bounds<T> b0, const Bounds<T> b1, const Bounds<T> b2)
{
    if constexpr (W == Walk::Runs) {
        bool outside = copyRun(row, width, out0, b0);
        if constexpr (Channels == 3)
            outside |= copyRun(row + channelStride, width, out1, b1) | copyRun(row + 2 * channelStride, width, out2, b2);
        return outside;
    }
    if constexpr (W == Walk::Pixels) {
        columnStride = static_cast<py::ssize_t>(sizeof(T)) * Channels;
        channelStride = sizeof(T);
    }
    bool outside = false;
    int x = 0;
    if constexpr (W == Walk::Pixels && Channels == 3 && std::is_same_v<T, std::uint8_t>)
        x = splitBytes(row, width, out0, out1, out2);
#if IVRA_SIMD_SSE2
    if constexpr (W == Walk::Pixels && Channels == 3 && std::is_same_v<T, std::int32_t>) {
        std::int32_t* const out[3] = {out0, out1, out2};
        const Bounds<T> bounds[3] = {b0, b1, b2};
        x = splitIntRounds(row, width, out, bounds, outside);
    }
#endif
    for (; x < width; ++x) {
        const char* pixel = row + x * columnStride;
        T v;
        std::memcpy(&v, pixel, sizeof v);
        outside |= b0.outside(v);
        out0[x] = static_cast<std::int32_t>(v);
        if constexpr (Channels == 3) {
            std::memcpy(&v, pixel + channelStride, sizeof v);
            outside |= b1.outside(v);
            out1[x] = static_cast<std::int32_t>(v);
            std::memcpy(&v, pixel + 2 * channelStride, sizeof v);
            outside |= b2.outside(v);
            out2[x] = static_cast<std::int32_t>(v);
        }
    }
    return outside;
}

// Copies rows y0..y1 - 1 into the planes. Returns the first of them holding a value
// outside lo..hi of its channel, y1 when all lie inside.
template <class T, Walk W, int Channels>
int copyRows(const Layout& l, std::int32_t* const* planes, const int* lo, const int* hi, int y0, int y1)
{
    const int last = Channels - 1;
    const Bounds<T> b0(lo[0], hi[0]), b1(lo[last > 0 ? 1 : 0], hi[last > 0 ? 1 : 0]), b2(lo[last], hi[last]);
    for (int y = y0; y < y1; ++y) {
        const std::size_t offset = static_cast<std::size_t>(y) * l.width;
        if (copyRow<T, W, Channels>(l.base + y * l.rowStride, l.columnStride, l.channelStride, l.width,
                                    planes[0] + offset, Channels == 3 ? planes[1] + offset : nullptr,
                                    Channels == 3 ? planes[2] + offset : nullptr, b0, b1, b2))
            return y;
    }
    return y1;
}

// Where in row y the first value outside lo..hi lies: {y, x, channel}.
template <class T>
std::array<int, 3> firstOutside(const Layout& l, const int* lo, const int* hi, int y)
{
    for (int x = 0; x < l.width; ++x)
        for (int c = 0; c < l.channels; ++c) {
            T v;
            std::memcpy(&v, l.base + y * l.rowStride + x * l.columnStride + c * l.channelStride, sizeof v);
            if (std::cmp_less(v, lo[c]) || std::cmp_greater(v, hi[c]))
                return {y, x, c};
        }
    return {y, 0, 0};
}

// Copies the picture into the planes, its rows cut over the caller's thread count.
// Returns the first row holding a value out of range, the height when there is none.
template <class T>
int copyPlanes(const Layout& l, Walk walk, std::int32_t* const* planes, const int* lo, const int* hi)
{
    const auto rows = [&](int y0, int y1) {
        if (l.channels == 1)
            return walk == Walk::Elements ? copyRows<T, Walk::Elements, 1>(l, planes, lo, hi, y0, y1)
                                          : copyRows<T, Walk::Runs, 1>(l, planes, lo, hi, y0, y1);
        switch (walk) {
        case Walk::Pixels: return copyRows<T, Walk::Pixels, 3>(l, planes, lo, hi, y0, y1);
        case Walk::Runs: return copyRows<T, Walk::Runs, 3>(l, planes, lo, hi, y0, y1);
        default: return copyRows<T, Walk::Elements, 3>(l, planes, lo, hi, y0, y1);
        }
    };
    std::atomic<int> firstBad{l.height};
    parallelRows(0, l.height, rowsPerPiece(l.width * l.channels), [&](int y0, int y1) {
        const int bad = rows(y0, y1);
        int seen = firstBad.load(std::memory_order_relaxed);
        while (bad < y1 && bad < seen && !firstBad.compare_exchange_weak(seen, bad, std::memory_order_relaxed)) {
        }
    });
    return firstBad.load();
}

// Calls visit(T{}) with the element type of a code: bytes per element, negative
// for signed types.
template <class Visit>
auto withElementType(int code, Visit&& visit)
{
    switch (code) {
    case 1: return visit(std::uint8_t{});
    case -1: return visit(std::int8_t{});
    case 2: return visit(std::uint16_t{});
    case -2: return visit(std::int16_t{});
    case 4: return visit(std::uint32_t{});
    case -4: return visit(std::int32_t{});
    case 8: return visit(std::uint64_t{});
    default: return visit(std::int64_t{});
    }
}

} // namespace

PictureInput::PictureInput(py::handle object, const std::vector<int>& types, const char* what) : what_(what)
{
    if (!py::isinstance<py::array>(object))
        throw py::type_error(what_ + " must be a NumPy array, not " + std::string(py::str(object.get_type().attr("__name__"))));
    array_ = py::reinterpret_borrow<py::array>(object);
    const char kind = array_.dtype().kind();
    if (kind != 'i' && kind != 'u')
        throw py::type_error(what_ + " must hold integers, not " + std::string(py::str(array_.dtype())));
    if (array_.dtype().attr("byteorder").cast<std::string>() == ">")
        throw py::type_error(what_ + " must be in the machine's byte order, not " +
                             std::string(py::str(array_.dtype())));
    const bool color = array_.ndim() == 3 && array_.shape(2) == 3;
    if (array_.ndim() != 2 && !color)
        throw py::value_error(what_ + " must have the shape (H, W) or (H, W, 3), not " + shapeText(array_));
    if (array_.shape(0) == 0 || array_.shape(1) == 0)
        throw py::value_error(what_ + " is empty");
    if (array_.shape(0) > Image::maxSide || array_.shape(1) > Image::maxSide)
        throw py::value_error(what_ + " is " + std::to_string(array_.shape(1)) + " x " + std::to_string(array_.shape(0)) +
                              " pixels; sides are limited to " + std::to_string(Image::maxSide));
    const bool hsv = accepts(types, TypeImageHSV) &&
                     (!accepts(types, TypeImageRGB) || array_.dtype().is(py::dtype::of<std::int32_t>()));
    type_ = !color ? TypeImageGray : hsv ? TypeImageHSV : TypeImageRGB;
    // Everything read() needs, taken now: it runs without the interpreter lock.
    layout_ = {static_cast<const char*>(array_.data()),
               array_.strides(0),
               array_.strides(1),
               color ? array_.strides(2) : 0,
               static_cast<int>(array_.shape(1)),
               static_cast<int>(array_.shape(0)),
               color ? 3 : 1};
    const py::ssize_t element = array_.dtype().itemsize();
    walk_ = layout_.columnStride == element                            ? Walk::Runs
            : color && (array_.flags() & py::array::c_style) != 0 ? Walk::Pixels
                                                                     : Walk::Elements;
    elementCode_ = static_cast<int>(array_.dtype().itemsize()) * (kind == 'u' ? 1 : -1);
}

std::unique_ptr<Image> PictureInput::read() const
{
    std::unique_ptr<Image> image = reuseOrMakeImage(type_, layout_.width, layout_.height);
    std::int32_t* planes[3] = {};
    if (type_ == TypeImageGray)
        planes[0] = static_cast<ImageGray&>(*image).data();
    else
        for (int c = 0; c < 3; ++c)
            planes[c] = static_cast<ImageColor&>(*image).plane(c);
    const int lo[3] = {type_ == TypeImageHSV ? -1 : 0, 0, 0};
    const int hi[3] = {type_ == TypeImageHSV ? 359 : 255, 255, 255};
    const Layout& l = layout_;
    const int badRow = withElementType(elementCode_, [&](auto t) {
        return copyPlanes<decltype(t)>(l, walk_, planes, lo, hi);
    });
    if (badRow == l.height)
        return image;
    const std::array<int, 3> bad =
        withElementType(elementCode_, [&](auto t) { return firstOutside<decltype(t)>(l, lo, hi, badRow); });
    recycleImage(std::move(image));
    const std::string where = "[" + std::to_string(bad[0]) + ", " + std::to_string(bad[1]) +
                              (l.channels == 3 ? ", " + std::to_string(bad[2]) : std::string()) + "]";
    throw std::invalid_argument(what_ + ": the value at " + where + " lies outside " + std::to_string(lo[bad[2]]) +
                                ".." + std::to_string(hi[bad[2]]));
}

} // namespace ivra::python
