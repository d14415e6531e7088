#pragma once

#include "image/Array2D.h"
#include "image/RGB24.h"

#include <cstdint>
#include <vector>

// Exact colour sums of one block: per channel R, G, B the sum of the values and
// the sum of their squares. 64-bit integers hold the sums of any picture exactly.
struct ChannelSums {
    std::int64_t sum[3];
    std::int64_t squares[3];
};

// Colour sums of every quadtree block that starts inside a picture, level by
// level, built bottom-up once so that a block's statistics cost O(1) however
// often the split, merge and extraction phases ask for them. Blocks are clipped
// to the picture. The pixel level is not stored: a pixel is its own sum.
class BlockSums {
public:
    // size is the quadtree's side (a power of two covering the picture), maxLevel its log2.
    BlockSums(const Array2D<RGB24>& pixels, int size, int maxLevel);

    // Sums over the clipped block of the level whose top-left pixel (x, y) lies inside the picture.
    ChannelSums at(int level, int x, int y) const
    {
        if (level == maxLevel_) {
            const RGB24 p = pixels_.at(x, y);
            return {{p.r, p.g, p.b}, {p.r * p.r, p.g * p.g, p.b * p.b}};
        }
        const int shift = maxLevel_ - level;
        const Level& l = levels_[level];
        return l.cells[static_cast<std::size_t>(y >> shift) * l.columns + (x >> shift)];
    }

private:
    struct Level {
        int columns = 0;
        int rows = 0;
        std::vector<ChannelSums> cells;
    };

    const Array2D<RGB24>& pixels_;
    int maxLevel_;
    std::vector<Level> levels_;
};
