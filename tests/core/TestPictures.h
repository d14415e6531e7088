#pragma once

#include "image/ImageGray.h"
#include "image/ImageRGB.h"
#include "image/RGB24.h"

#include <cstdint>
#include <memory>
#include <ostream>
#include <random>
#include <vector>

namespace ivra {

inline void PrintTo(const RGB24& p, std::ostream* os)
{
    *os << '(' << int{p.r} << ',' << int{p.g} << ',' << int{p.b} << ')';
}

// Small pictures for the core tests, row after row.
namespace testpictures {

using Pixels = std::vector<RGB24>;

inline std::unique_ptr<ImageRGB> rgbFrom(int width, int height, const Pixels& pixels)
{
    auto image = std::make_unique<ImageRGB>(width, height);
    for (std::size_t i = 0; i < image->pixelCount(); ++i)
        image->setPixel(i, pixels[i].r, pixels[i].g, pixels[i].b);
    return image;
}

template <class ValueAt>
std::unique_ptr<ImageGray> grayWhere(int width, int height, ValueAt valueAt)
{
    auto image = std::make_unique<ImageGray>(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->at(x, y) = valueAt(x, y);
    return image;
}

// Channel values drawn from `levels` values spread over 0..255: few levels give many ties.
inline Pixels randomPixels(int width, int height, int levels, unsigned seed)
{
    std::mt19937 engine(seed);
    std::uniform_int_distribution<int> pick(0, levels - 1);
    const auto value = [&] { return static_cast<std::uint8_t>(levels == 1 ? 0 : pick(engine) * 255 / (levels - 1)); };
    Pixels pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (auto& p : pixels)
        p = RGB24{value(), value(), value()};
    return pixels;
}

// Cells of `cell` pixels a side; each channel is 100 + 8 k (k = 0..2 per cell) + 4 j
// (j = 0..1 per pixel): means, variances and distances of blocks hit small
// thresholds exactly.
inline Pixels cellPixels(int w, int h, int cell, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<int> level(3 * static_cast<std::size_t>(w / cell + 1) * static_cast<std::size_t>(h / cell + 1));
    for (int& l : level)
        l = static_cast<int>(random() % 3);
    Pixels pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int* l = &level[3 * static_cast<std::size_t>((y / cell) * (w / cell + 1) + x / cell)];
            const auto v = [&](int c) { return static_cast<std::uint8_t>(100 + 8 * l[c] + 4 * (random() % 2)); };
            pixels.push_back({v(0), v(1), v(2)});
        }
    return pixels;
}

// The three planes as bytes (values outside 0..255 keep their low byte).
inline Pixels pixelsOf(const ImageColor& image)
{
    Pixels pixels(image.pixelCount());
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = {static_cast<std::uint8_t>(image.plane(0)[i]), static_cast<std::uint8_t>(image.plane(1)[i]),
                     static_cast<std::uint8_t>(image.plane(2)[i])};
    return pixels;
}

} // namespace testpictures

} // namespace ivra
