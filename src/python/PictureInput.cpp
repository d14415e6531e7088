#include "PictureInput.h"

#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"

#include <cstdint>
#include <cstring>
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

// Copies the elements into the planes; returns false at the first value outside
// lo..hi of its channel, with its row, column and channel in `bad`.
template <class T, bool Packed, int Channels>
bool copyPlanes(const Layout& l, std::int32_t* const* planes, const int* lo, const int* hi, int (&bad)[3])
{
    const py::ssize_t columnStride = Packed ? static_cast<py::ssize_t>(sizeof(T)) * Channels : l.columnStride;
    const py::ssize_t channelStride = Packed ? static_cast<py::ssize_t>(sizeof(T)) : l.channelStride;
    for (int y = 0; y < l.height; ++y) {
        const char* row = l.base + y * l.rowStride;
        const std::size_t offset = static_cast<std::size_t>(y) * l.width;
        bool inRange = true;
        for (int x = 0; x < l.width; ++x)
            for (int c = 0; c < Channels; ++c) {
                T v;
                std::memcpy(&v, row + x * columnStride + c * channelStride, sizeof v);
                inRange &= std::cmp_greater_equal(v, lo[c]) & std::cmp_less_equal(v, hi[c]);
                planes[c][offset + x] = static_cast<std::int32_t>(v);
            }
        if (inRange)
            continue;
        for (int x = 0; x < l.width; ++x)
            for (int c = 0; c < Channels; ++c) {
                T v;
                std::memcpy(&v, row + x * columnStride + c * channelStride, sizeof v);
                if (std::cmp_less(v, lo[c]) || std::cmp_greater(v, hi[c])) {
                    bad[0] = y, bad[1] = x, bad[2] = c;
                    return false;
                }
            }
    }
    return true;
}

// The common case, bytes in C order, where no value can lie out of range.
template <int Channels>
void splitBytes(const std::uint8_t* in, std::size_t count, std::int32_t* const* planes)
{
    std::int32_t* out[Channels];
    for (int c = 0; c < Channels; ++c)
        out[c] = planes[c];
    for (std::size_t i = 0; i < count; ++i)
        for (int c = 0; c < Channels; ++c)
            out[c][i] = in[i * Channels + c];
}

template <class T>
bool copyPlanes(const Layout& l, bool packed, std::int32_t* const* planes, const int* lo, const int* hi,
                int (&bad)[3])
{
    if constexpr (std::is_same_v<T, std::uint8_t>)
        if (packed && lo[0] <= 0 && hi[0] >= 255) {
            const auto* in = reinterpret_cast<const std::uint8_t*>(l.base);
            const std::size_t count = static_cast<std::size_t>(l.width) * l.height;
            l.channels == 3 ? splitBytes<3>(in, count, planes) : splitBytes<1>(in, count, planes);
            return true;
        }
    if (l.channels == 3)
        return packed ? copyPlanes<T, true, 3>(l, planes, lo, hi, bad) : copyPlanes<T, false, 3>(l, planes, lo, hi, bad);
    return packed ? copyPlanes<T, true, 1>(l, planes, lo, hi, bad) : copyPlanes<T, false, 1>(l, planes, lo, hi, bad);
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
    packed_ = (array_.flags() & py::array::c_style) != 0;
    elementCode_ = static_cast<int>(array_.dtype().itemsize()) * (kind == 'u' ? 1 : -1);
}

std::unique_ptr<Image> PictureInput::read() const
{
    const int w = layout_.width;
    const int h = layout_.height;
    std::unique_ptr<Image> image;
    std::int32_t* planes[3] = {};
    if (type_ == TypeImageGray) {
        auto gray = std::make_unique<ImageGray>(w, h);
        planes[0] = gray->data();
        image = std::move(gray);
    } else {
        std::unique_ptr<ImageColor> color;
        if (type_ == TypeImageHSV)
            color = std::make_unique<ImageHSV>(w, h);
        else
            color = std::make_unique<ImageRGB>(w, h);
        for (int c = 0; c < 3; ++c)
            planes[c] = color->plane(c);
        image = std::move(color);
    }
    const int channels = layout_.channels;
    const Layout& layout = layout_;
    const bool packed = packed_;
    const int lo[3] = {type_ == TypeImageHSV ? -1 : 0, 0, 0};
    const int hi[3] = {type_ == TypeImageHSV ? 359 : 255, 255, 255};
    int bad[3] = {};
    bool ok = false;
    switch (elementCode_) {
    case 1: ok = copyPlanes<std::uint8_t>(layout, packed, planes, lo, hi, bad); break;
    case -1: ok = copyPlanes<std::int8_t>(layout, packed, planes, lo, hi, bad); break;
    case 2: ok = copyPlanes<std::uint16_t>(layout, packed, planes, lo, hi, bad); break;
    case -2: ok = copyPlanes<std::int16_t>(layout, packed, planes, lo, hi, bad); break;
    case 4: ok = copyPlanes<std::uint32_t>(layout, packed, planes, lo, hi, bad); break;
    case -4: ok = copyPlanes<std::int32_t>(layout, packed, planes, lo, hi, bad); break;
    case 8: ok = copyPlanes<std::uint64_t>(layout, packed, planes, lo, hi, bad); break;
    default: ok = copyPlanes<std::int64_t>(layout, packed, planes, lo, hi, bad); break;
    }
    if (!ok) {
        const std::string where = "[" + std::to_string(bad[0]) + ", " + std::to_string(bad[1]) +
                                  (channels == 3 ? ", " + std::to_string(bad[2]) : std::string()) + "]";
        throw std::invalid_argument(what_ + ": the value at " + where + " lies outside " + std::to_string(lo[bad[2]]) +
                                    ".." + std::to_string(hi[bad[2]]));
    }
    return image;
}

} // namespace ivra::python
