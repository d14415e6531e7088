#pragma once

#include <array>
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

} // namespace ivra::rhs
