#pragma once

#include <array>
#include <bit>
#include <cstdint>

// What both colour spaces of the linking engine (SpaceRGB.h, SpaceHSV.h) share.
namespace ivra::csc::detail {

// Similarity bits of a pixel towards three of its hexagonal neighbours: the right one,
// the one below (same column) and the diagonal one below (to the left on even rows,
// to the right on odd rows).
constexpr std::uint8_t bitRight = 1, bitBelow = 2, bitDiagonal = 4;

// Division of the sums of at most seven pixels by their count: s / c equals
// s * smallReciprocal[c] >> 16 (the reciprocal rounded up) for every s below 13107,
// which covers seven bytes and seven hues of at most 420 (hue + 360).
constexpr std::uint32_t smallReciprocal[8] = {0, 65536, 32768, 21846, 16384, 13108, 10923, 9363};

// cellCount[mask]: the number of cells in a 7-bit cell set.
constexpr std::array<std::uint8_t, 128> cellCount = [] {
    std::array<std::uint8_t, 128> c{};
    for (int i = 0; i < 128; ++i)
        c[i] = static_cast<std::uint8_t>(std::popcount(static_cast<unsigned>(i)));
    return c;
}();

} // namespace ivra::csc::detail
