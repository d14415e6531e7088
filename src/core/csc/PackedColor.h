#pragma once

#include <cstdint>

namespace ivra::csc {

// Colours of code elements, one word each. RGB: R | G << 8 | B << 16.
inline constexpr std::uint32_t packRGB(int r, int g, int b)
{
    return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b) << 16;
}
inline constexpr int redOf(std::uint32_t c) { return static_cast<int>(c & 0xFF); }
inline constexpr int greenOf(std::uint32_t c) { return static_cast<int>(c >> 8 & 0xFF); }
inline constexpr int blueOf(std::uint32_t c) { return static_cast<int>(c >> 16 & 0xFF); }

// HSV, laid out as an HSVPixel word: bits 0..15 hue, 16..23 saturation, 24..31 value.
inline constexpr std::uint32_t packHSV(int h, int s, int v)
{
    return static_cast<std::uint32_t>(h & 0xFFFF) | static_cast<std::uint32_t>(s) << 16 |
           static_cast<std::uint32_t>(v) << 24;
}
inline constexpr int hueOf(std::uint32_t c) { return static_cast<int>(static_cast<std::int16_t>(c & 0xFFFF)); }
inline constexpr int satOf(std::uint32_t c) { return static_cast<int>(c >> 16 & 0xFF); }
inline constexpr int valOf(std::uint32_t c) { return static_cast<int>(c >> 24); }

} // namespace ivra::csc
