#pragma once

#include "color/ColorConversion.h"
#include "image/ImageRGB.h"
#include "image/RGB24.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

// Small pictures for the Colour Structure Code tests.
namespace ivra::csc_test {

struct Picture { std::string name; int w, h; std::vector<RGB24> px; };

inline std::unique_ptr<ImageRGB> toImage(const std::vector<RGB24>& px, int w, int h)
{
    auto image = std::make_unique<ImageRGB>(w, h);
    for (int i = 0; i < w * h; ++i)
        image->setPixel(static_cast<std::size_t>(i), px[i].r, px[i].g, px[i].b);
    return image;
}

inline std::uint8_t byte(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

template <class ColorAt>
Picture make(std::string name, int w, int h, ColorAt colorAt)
{
    Picture p{std::move(name), w, h, {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.px.push_back(colorAt(x, y));
    return p;
}

// Patches of a few base colours with noise: elements of every size, elements that are
// dissimilar to their neighbours, and overlap conflicts.
inline std::vector<RGB24> patchyPicture(int w, int h, std::uint32_t seed, int noise, int patch)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> channel(0, 255), jitter(-noise, noise);
    const int pw = (w + patch - 1) / patch + 1;
    std::vector<RGB24> bases(static_cast<std::size_t>(pw) * ((h + patch - 1) / patch + 1));
    for (auto& b : bases)
        b = {byte(channel(rng)), byte(channel(rng)), byte(channel(rng))};
    return make("patchy", w, h, [&](int x, int y) {
               const RGB24 b = bases[(y / patch) * pw + x / patch];
               return RGB24{byte(b.r + jitter(rng)), byte(b.g + jitter(rng)), byte(b.b + jitter(rng))};
           }).px;
}

// One picture of every kind that reaches a different road of the run: noise, few
// colours, gradients, hues across the red seam, greys beside colours, flat.
inline std::vector<Picture> pictureKinds(int w, int h, unsigned seed)
{
    std::mt19937 rng(seed * 7919u + static_cast<unsigned>(w * 131 + h));
    std::uniform_int_distribution<int> any(0, 255), pick(0, 2), jitter(-20, 20), kind(0, 5);
    const RGB24 palette[3] = {{200, 30, 40}, {20, 180, 60}, {30, 40, 220}};
    std::vector<int> kinds(64);
    std::ranges::generate(kinds, [&] { return kind(rng); });
    const auto hsv = [](double hue, double s, double v) {
        double r, g, b;
        hsvToRgb(std::fmod(hue, 360.0), s, v, r, g, b);
        return RGB24{byte(static_cast<int>(r * 255)), byte(static_cast<int>(g * 255)), byte(static_cast<int>(b * 255))};
    };
    return {make("random", w, h, [&](int, int) { return RGB24{byte(any(rng)), byte(any(rng)), byte(any(rng))}; }),
            make("three-colours", w, h, [&](int, int) { return palette[pick(rng)]; }),
            make("gradient", w, h, [&](int x, int y) { return RGB24{byte(x * 9), byte(y * 7), byte((x + y) * 3)}; }),
            make("gentle-gradient", w, h, [&](int x, int y) { return RGB24{byte(40 + 3 * x), byte(90 + 2 * y), 120}; }),
            make("hue-ramp", w, h,
                 [&](int x, int y) { return hsv(x * 23 + y * 11, 0.3 + 0.7 * ((x + y) % 5) / 4.0, 0.25 + (y % 4) / 4.0); }),
            {"noisy-blocks", w, h, patchyPicture(w, h, seed, 9, 4)},
            make("red-seam", w, h, [&](int x, int y) { // near red, and near-grey dark pixels
                const int j = jitter(rng);
                return (x * 3 + y) % 7 == 0 ? RGB24{byte(20 + j / 4), byte(20 - j / 5), byte(22 + j / 3)}
                                            : RGB24{byte(220 + j), byte(30 + jitter(rng)), byte(30 + jitter(rng))};
            }),
            make("greys-and-colours", w, h, [&](int x, int y) { // achromatic meets chromatic
                const int j = jitter(rng) / 3, k = kinds[(x / 3 + 5 * (y / 3)) % 64];
                const int grey = k == 0 ? 30 : k == 1 ? 140 : 4;
                return k < 3 ? RGB24{byte(grey + j), byte(grey + j), byte(grey + j)}
                             : hsv(k * 70, 0.05 * k, 0.3 + 0.1 * k + j / 100.0);
            }),
            make("pale-seam", w, h, [&](int, int) { // hues 60, 300 and 0, alike at low saturation
                return std::array<RGB24, 3>{{{200, 200, 180}, {200, 180, 200}, {200, 190, 190}}}[pick(rng)];
            }),
            make("uniform", w, h, [&](int, int) { return RGB24{77, 140, 201}; })};
}

} // namespace ivra::csc_test
