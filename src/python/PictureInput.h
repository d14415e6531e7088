#pragma once

#include "image/Image.h"

#include <pybind11/numpy.h>

#include <memory>
#include <string>
#include <vector>

namespace ivra::python {

// How read() walks the elements: whole pixels of a C-contiguous colour picture, runs
// of one channel's elements lying next to each other along a row (a gray picture
// without gaps, the planes of an array hsv() returns), or one element at a time.
enum class Walk { Pixels, Runs, Elements };

// Where a picture's elements lie: bytes between rows, columns and channels.
struct Layout {
    const char* base = nullptr;
    pybind11::ssize_t rowStride = 0, columnStride = 0, channelStride = 0;
    int width = 0, height = 0, channels = 0;
};

// A NumPy picture checked for what the operators take, ready to be read into the
// core's planes. The checks that need only the array's header (type, dtype, shape,
// size) run at construction, with the interpreter lock held; read() walks the
// elements straight from the caller's buffer, with any strides, and so needs no
// lock and makes no intermediate copy.
//
// (H, W) is a gray picture. (H, W, 3) is an RGB picture, or an HSV picture when
// the function takes HSV and either takes no RGB or the dtype is int32 (the type
// hsv() returns). Any integer dtype is accepted; values must lie in 0..255 (hue
// -1..359); nothing is wrapped or rounded.
class PictureInput {
public:
    // `accepts` holds the type codes of the function; `what` names the argument in
    // messages. Throws pybind11::type_error or pybind11::value_error.
    PictureInput(pybind11::handle object, const std::vector<int>& accepts, const char* what = "image");

    int type() const { return type_; }
    // Throws std::invalid_argument naming the first value out of range.
    std::unique_ptr<Image> read() const;

private:
    pybind11::array array_; // keeps the buffer alive
    std::string what_;
    int type_ = 0;
    Layout layout_;
    Walk walk_ = Walk::Elements;
    int elementCode_ = 0;   // bytes per element, negative for signed types
};

} // namespace ivra::python
