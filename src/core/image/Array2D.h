#pragma once

#include "util/HugePages.h"

#include <cstddef>
#include <memory>

namespace ivra {

// Owning row-major two-dimensional array; element (x, y) at index y * width + x.
// Elements are not cleared on allocation; large arrays are huge-page aligned
// (allocateLarge). Not copyable.
template <typename T>
class Array2D {
public:
    Array2D() = default;
    Array2D(int w, int h) { resize(w, h); }
    Array2D(const Array2D&) = delete;
    Array2D& operator=(const Array2D&) = delete;
    Array2D(Array2D&&) noexcept = default;
    Array2D& operator=(Array2D&&) noexcept = default;

    // Same positive size: keeps the contents. Other positive size: new, uncleared
    // elements. A non-positive side: empty (0 x 0, no data).
    void resize(int w, int h)
    {
        if (w > 0 && h > 0) {
            if (w == width_ && h == height_)
                return;
            data_.reset();
            data_ = allocateLarge<T>(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
            width_ = w;
            height_ = h;
        } else {
            data_.reset();
            width_ = height_ = 0;
        }
    }

    T& at(int x, int y) { return data_[static_cast<std::size_t>(y) * width_ + x]; }
    const T& at(int x, int y) const { return data_[static_cast<std::size_t>(y) * width_ + x]; }
    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }

    T* data() { return data_.get(); }
    const T* data() const { return data_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    std::size_t size() const { return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_); }

private:
    LargeArray<T> data_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace ivra
