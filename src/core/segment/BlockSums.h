#pragma once

#include "image/Array2D.h"
#include "image/RGB24.h"

#include <cstdint>

namespace ivra {

class ScratchArena;

// Exact colour sums of one block: per channel R, G, B the sum of the values and
// the sum of their squares. 64-bit integers hold the sums of any picture exactly.
struct ChannelSums {
    std::int64_t sum[3];
    std::int64_t squares[3];
};

// Colour sums of every quadtree block that starts inside a picture, level by
// level, built bottom-up once so that a block's statistics cost O(1) however
// often the split, merge and extraction phases ask for them. Blocks are clipped
// to the picture. Blocks of one and two pixels a side are summed from the pixels
// when asked: storing them would take more memory than the picture.
class BlockSums {
public:
    // size is the quadtree's side (a power of two covering the picture), maxLevel its log2.
    // The levels are taken from the arena.
    BlockSums(const Array2D<RGB24>& pixels, int size, int maxLevel, ScratchArena& arena);

    // Sums over the clipped block of the level whose top-left pixel (x, y) lies inside the picture.
    ChannelSums at(int level, int x, int y) const
    {
        const int shift = maxLevel_ - level;
        if (shift <= 1)
            return fromPixels(x, y, 1 << shift);
        const Level& l = levels_[level];
        return l.cells[static_cast<std::size_t>(y >> shift) * l.columns + (x >> shift)];
    }

private:
    ChannelSums fromPixels(int x, int y, int side) const;

    struct Level {
        int columns = 0;
        int rows = 0;
        ChannelSums* cells = nullptr;
    };

    void sumBottomLevel(Level& bottom) const;

    const Array2D<RGB24>& pixels_;
    int maxLevel_;
    Level levels_[16];
};

} // namespace ivra
