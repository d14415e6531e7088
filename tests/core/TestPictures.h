#pragma once

#include "image/ImageGray.h"
#include "image/ImageRGB.h"
#include "image/RGB24.h"

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace ivra {

// Small pictures for the core tests.
namespace testpictures {

// A picture whose pixel (x, y) is colourAt(x, y), anything with three members r, g, b.
template <class ColourAt>
std::unique_ptr<ImageRGB> rgbWhere(int width, int height, ColourAt colourAt)
{
    auto image = std::make_unique<ImageRGB>(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto [r, g, b] = colourAt(x, y);
            const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
            image->red()[i] = r;
            image->green()[i] = g;
            image->blue()[i] = b;
        }
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

inline std::unique_ptr<ImageRGB> uniformRgb(int width, int height, RGB24 colour)
{
    auto image = std::make_unique<ImageRGB>(width, height);
    for (std::size_t i = 0; i < image->pixelCount(); ++i) {
        image->red()[i] = colour.r;
        image->green()[i] = colour.g;
        image->blue()[i] = colour.b;
    }
    return image;
}

inline std::unique_ptr<ImageRGB> rgbFrom(int width, int height, const std::vector<RGB24>& pixels)
{
    auto image = std::make_unique<ImageRGB>(width, height);
    for (std::size_t i = 0; i < image->pixelCount(); ++i) {
        image->red()[i] = pixels[i].r;
        image->green()[i] = pixels[i].g;
        image->blue()[i] = pixels[i].b;
    }
    return image;
}

inline std::unique_ptr<ImageGray> grayFrom(int width, int height, const std::vector<int>& values)
{
    auto image = std::make_unique<ImageGray>(width, height);
    for (std::size_t i = 0; i < image->pixelCount(); ++i)
        image->data()[i] = values[i];
    return image;
}

// Channel values drawn from 0..levels-1, scaled over 0..255: few levels give many ties.
inline std::vector<RGB24> randomPixels(int width, int height, int levels, unsigned seed)
{
    std::mt19937 engine(seed);
    std::uniform_int_distribution<int> pick(0, levels - 1);
    const auto value = [&] { return static_cast<std::uint8_t>(levels == 1 ? 0 : pick(engine) * 255 / (levels - 1)); };
    std::vector<RGB24> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (auto& p : pixels)
        p = RGB24{value(), value(), value()};
    return pixels;
}

inline RGB24 pixelOf(const ImageRGB& image, int x, int y)
{
    const auto p = image.pixel(x, y);
    return RGB24{static_cast<std::uint8_t>(p[0]), static_cast<std::uint8_t>(p[1]), static_cast<std::uint8_t>(p[2])};
}

inline bool samePixels(const ImageRGB& a, const ImageRGB& b)
{
    if (a.width() != b.width() || a.height() != b.height())
        return false;
    for (std::size_t i = 0; i < a.pixelCount(); ++i)
        if (a.red()[i] != b.red()[i] || a.green()[i] != b.green()[i] || a.blue()[i] != b.blue()[i])
            return false;
    return true;
}

} // namespace testpictures

} // namespace ivra
