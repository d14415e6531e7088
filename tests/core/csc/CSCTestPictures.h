#pragma once

#include "image/ImageRGB.h"
#include "image/RGB24.h"

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace ivra {

// Small pictures for the Colour Structure Code tests.
namespace csc_test {

inline std::unique_ptr<ImageRGB> toImage(const std::vector<RGB24>& px, int w, int h)
{
    auto image = std::make_unique<ImageRGB>(w, h);
    for (int i = 0; i < w * h; ++i)
        image->setPixel(static_cast<std::size_t>(i), px[i].r, px[i].g, px[i].b);
    return image;
}

// Patches of a few base colours with noise: gives elements of every size, elements
// that are dissimilar to their neighbours and overlap conflicts.
inline std::vector<RGB24> patchyPicture(int w, int h, std::uint32_t seed, int noise, int patch)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> channel(0, 255);
    const int pw = (w + patch - 1) / patch + 1, ph = (h + patch - 1) / patch + 1;
    std::vector<RGB24> bases(static_cast<std::size_t>(pw) * ph);
    for (auto& b : bases)
        b = {static_cast<std::uint8_t>(channel(rng)), static_cast<std::uint8_t>(channel(rng)),
             static_cast<std::uint8_t>(channel(rng))};
    std::uniform_int_distribution<int> jitter(-noise, noise);
    std::vector<RGB24> px(static_cast<std::size_t>(w) * h);
    const auto clamp = [](int v) { return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const RGB24 b = bases[(y / patch) * pw + x / patch];
            px[y * w + x] = {clamp(b.r + jitter(rng)), clamp(b.g + jitter(rng)), clamp(b.b + jitter(rng))};
        }
    return px;
}

} // namespace csc_test

} // namespace ivra
