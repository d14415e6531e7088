#pragma once

#include "DataObject.h"
#include "util/HugePages.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace ivra {

// A picture of width x height pixels. Planes are 32-bit signed ints, pixel (x, y)
// at index y * width + x. Planes are not cleared: whoever creates an image writes
// every pixel.
class Image : public DataObject {
public:
    // Largest accepted side: the bit image used by the segmenters takes 16-bit
    // coordinates, and keeping every side below it keeps all index arithmetic in range.
    static constexpr int maxSide = 32767;

    virtual int size() const { return width_ * height_; }
    virtual int width() const { return width_; }
    virtual int height() const { return height_; }

    // Number of pixels as a size_t, for loops and allocations.
    std::size_t pixelCount() const { return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_); }

protected:
    // Throws std::length_error for a negative size or a side above maxSide.
    Image(int width, int height);

    // Planes come from allocateLarge(): huge-page aligned when large.
    LargeArray<std::int32_t> allocatePlane() const;

private:
    int width_;
    int height_;
};

} // namespace ivra
