#pragma once

#include <cstdint>

namespace ivra {

// One code element: a connected, colour-homogeneous part of one island. Elements and
// links live in the pools of ipcCodeelementBase and refer to each other by 32-bit
// pool index, so a record takes 16 bytes; the start of an element's links is kept
// beside the pool (ipcCodeelementBase::linkFirst) because elements of level 0 have none.
struct ipcCodeelement {
    static constexpr std::uint32_t none = 0xFFFFFFFFu; // no element

    static constexpr std::uint8_t takenFlag = 1;   // linked into an element of the island being built
    static constexpr std::uint8_t rootFlag = 4;    // has no parent
    static constexpr std::uint8_t visitedFlag = 8; // reached while painting regions

    std::uint8_t mask;       // bit k: covers cell k of its island (a pixel, or a child island)
    std::uint8_t childCount; // number of links (0 at level 0)
    std::uint8_t flags;
    std::uint8_t spare;
    std::uint32_t colour;  // mean colour: packed RGB (R | G << 8 | B << 16) or an HSVPixel word
    std::uint32_t parent1; // first element of the level above that contains this one, or none
    std::uint32_t parent2; // second one (islands overlap), or none
};
static_assert(sizeof(ipcCodeelement) == 16);

// A link from an element to one of its children: the child's pool index and the cell
// (0..6) of the child island that holds it, packed into one word.
using ipcCodeelementLink = std::uint32_t;

inline constexpr ipcCodeelementLink makeLink(int cell, std::uint32_t child)
{
    return child << 3 | static_cast<std::uint32_t>(cell);
}
inline constexpr int linkCell(ipcCodeelementLink link) { return static_cast<int>(link & 7u); }
inline constexpr std::uint32_t linkChild(ipcCodeelementLink link) { return link >> 3; }

// Packed colours.
inline constexpr std::uint32_t packRGB(int r, int g, int b)
{
    return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b) << 16;
}
inline constexpr int redOf(std::uint32_t c) { return static_cast<int>(c & 0xFF); }
inline constexpr int greenOf(std::uint32_t c) { return static_cast<int>(c >> 8 & 0xFF); }
inline constexpr int blueOf(std::uint32_t c) { return static_cast<int>(c >> 16 & 0xFF); }

// An HSVPixel word: bits 0..15 hue, 16..23 saturation, 24..31 value.
inline constexpr std::uint32_t packHSV(int h, int s, int v)
{
    return static_cast<std::uint32_t>(h & 0xFFFF) | static_cast<std::uint32_t>(s) << 16 |
           static_cast<std::uint32_t>(v) << 24;
}
inline constexpr int hueOf(std::uint32_t c) { return static_cast<int>(static_cast<std::int16_t>(c & 0xFFFF)); }
inline constexpr int satOf(std::uint32_t c) { return static_cast<int>(c >> 16 & 0xFF); }
inline constexpr int valOf(std::uint32_t c) { return static_cast<int>(c >> 24); }

} // namespace ivra
