#include "BlockSums.h"

#include "util/ParallelRows.h"
#include "util/ScratchArena.h"

#include <algorithm>

namespace ivra {

namespace {
void add(ChannelSums& to, const ChannelSums& from)
{
    for (int c = 0; c < 3; ++c) {
        to.sum[c] += from.sum[c];
        to.squares[c] += from.squares[c];
    }
}

void add(ChannelSums& to, const RGB24& p)
{
    const int v[3] = {p.r, p.g, p.b};
    for (int c = 0; c < 3; ++c) {
        to.sum[c] += v[c];
        to.squares[c] += v[c] * v[c];
    }
}
} // namespace

BlockSums::BlockSums(const Array2D<RGB24>& pixels, int size, int maxLevel, ScratchArena& arena)
    : pixels_(pixels), maxLevel_(maxLevel)
{
    const int width = pixels.width();
    const int height = pixels.height();
    const int stored = maxLevel - 1; // levels 0 .. maxLevel - 2, blocks of side 4 and more
    for (int level = 0; level < stored; ++level) {
        const int side = size >> level;
        Level& l = levels_[level];
        l.columns = (width + side - 1) / side;
        l.rows = (height + side - 1) / side;
        l.cells = arena.take<ChannelSums>(static_cast<std::size_t>(l.columns) * l.rows);
    }
    if (stored <= 0)
        return;

    sumBottomLevel(levels_[stored - 1]);
    // Each coarser block is the sum of its (up to four) children inside the picture.
    // A level is a sixteenth of the work of the one below: threads are started only
    // for large ones, where they pay for their start.
    for (int level = stored - 2; level >= 0; --level) {
        Level& l = levels_[level];
        const Level& fine = levels_[level + 1];
        parallelRows(0, l.rows, rowsPerPiece(l.columns, 1 << 16), [&](int r0, int r1) {
            for (int by = r0; by < r1; ++by)
                for (int bx = 0; bx < l.columns; ++bx) {
                    ChannelSums cell{};
                    for (int dy = 0; dy < 2; ++dy)
                        for (int dx = 0; dx < 2; ++dx) {
                            const int fx = 2 * bx + dx;
                            const int fy = 2 * by + dy;
                            if (fx < fine.columns && fy < fine.rows)
                                add(cell, fine.cells[static_cast<std::size_t>(fy) * fine.columns + fx]);
                        }
                    l.cells[static_cast<std::size_t>(by) * l.columns + bx] = cell;
                }
        });
    }
}

// Blocks of side 4 straight from the pixels, one row of blocks per piece of work.
void BlockSums::sumBottomLevel(Level& bottom) const
{
    const int width = pixels_.width();
    const int height = pixels_.height();
    parallelRows(0, bottom.rows, rowsPerPiece(width, 1 << 14), [&](int b0, int b1) {
        for (int b = b0; b < b1; ++b) {
            ChannelSums* cells = &bottom.cells[static_cast<std::size_t>(b) * bottom.columns];
            std::fill_n(cells, bottom.columns, ChannelSums{});
            for (int y = 4 * b; y < std::min(height, 4 * b + 4); ++y) {
                const RGB24* row = &pixels_.at(0, y);
                for (int x = 0; x < width; ++x)
                    add(cells[x >> 2], row[x]);
            }
        }
    });
}

ChannelSums BlockSums::fromPixels(int x, int y, int side) const
{
    ChannelSums s{};
    const int x1 = std::min(x + side, pixels_.width());
    const int y1 = std::min(y + side, pixels_.height());
    for (int py = y; py < y1; ++py)
        for (int px = x; px < x1; ++px)
            add(s, pixels_.at(px, py));
    return s;
}

} // namespace ivra
