#pragma once

#include <cstdint>

namespace ivra::csc {

// One code element: a connected, colour-homogeneous part of one island. Elements and
// links live in the pools of ElementStore and refer to each other by 32-bit pool
// index, so a record takes 16 bytes; the start of an element's links is kept beside
// the pool (ElementStore::linkFirst) because elements of level 0 have none.
struct CodeElement {
    static constexpr std::uint32_t none = 0xFFFFFFFFu; // no element

    static constexpr std::uint8_t takenFlag = 1; // linked into an element of the island being built
    static constexpr std::uint8_t rootFlag = 4;  // has no parent

    std::uint8_t mask;       // bit k: covers cell k of its island (a pixel, or a child island)
    std::uint8_t childCount; // number of links (0 at level 0)
    std::uint8_t flags;
    std::uint8_t spare;
    std::uint32_t color;  // mean colour: packed RGB or HSV (PackedColor.h)
    std::uint32_t parent1; // first element of the level above that contains this one, or none
    std::uint32_t parent2; // second one (islands overlap), or none
};
static_assert(sizeof(CodeElement) == 16);

// A link from an element to one of its children: the child's pool index and the cell
// (0..6) of the child island that holds it, packed into one word.
using CodeElementLink = std::uint32_t;

inline constexpr CodeElementLink makeLink(int cell, std::uint32_t child)
{
    return child << 3 | static_cast<std::uint32_t>(cell);
}
inline constexpr int linkCell(CodeElementLink link) { return static_cast<int>(link & 7u); }
inline constexpr std::uint32_t linkChild(CodeElementLink link) { return link >> 3; }

} // namespace ivra::csc
