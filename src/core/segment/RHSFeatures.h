#pragma once

#include "image/RGB24.h"
#include "util/Progress.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The nine per-pixel features that recursive histogram splitting histograms:
// R, G, B, H, S, V, Y, I, Q, in this order.
namespace ivra::rhs {

inline constexpr int featureCount = 9;
inline constexpr int hueFeature = 3;
// Bins per feature; only the hue histogram (360 bins) is circular.
inline constexpr std::array<int, featureCount> featureBins = {256, 256, 256, 360, 256, 256, 256, 256, 256};
inline constexpr int maxFeatureBins = 360;

// Unit value of a byte: the single-precision constant 1/255, applied as a float product.
inline constexpr float unitFloat = 0.003921569f;

// The features of one colour, in feature order. H is in whole degrees 0..359 (0 for
// a gray), S and V 0..255 (through the double-precision rgbToHsv fed with float unit
// values); Y, I and Q are computed in single precision throughout.
std::array<int, featureCount> pixelFeatures(std::uint8_t r, std::uint8_t g, std::uint8_t b);

// The features of one pixel as stored for a picture: bytes R, G, B, S, V, Y, I, Q and the hue.
struct FeatureVector {
    std::array<std::uint8_t, 8> bytes;
    std::uint16_t hue;
};
// Feature index of each byte of FeatureVector::bytes.
inline constexpr std::array<int, 8> byteFeature = {0, 1, 2, 4, 5, 6, 7, 8};

// A cache entry of featureFrame: R, G, B packed, plus one (0: empty), and the features.
struct FeatureCacheEntry {
    std::uint32_t color;
    FeatureVector features;
};
inline constexpr int featureCacheBits = 14;

// The features of the width x height pixels into frame, where pixel (x, y) is
// frame[(y + 1) * (width + 2) + x + 1]; the frame's border is left alone. caches holds
// 2^featureCacheBits entries for each thread of threadCount(). Progress counts rows as
// the first half of 2 * height.
void featureFrame(const RGB24* pixels, int width, int height, FeatureVector* frame, FeatureCacheEntry* caches,
                  const ivra::Progress& progress);

} // namespace ivra::rhs
