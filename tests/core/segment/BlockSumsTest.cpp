#include "segment/BlockSums.h"
#include "segment/QuadTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace ivra;

namespace {
ChannelSums bruteForce(const Array2D<RGB24>& p, int x0, int y0, int side)
{
    ChannelSums s{};
    for (int y = y0; y < std::min(y0 + side, p.height()); ++y)
        for (int x = x0; x < std::min(x0 + side, p.width()); ++x) {
            const int v[3] = {p.at(x, y).r, p.at(x, y).g, p.at(x, y).b};
            for (int c = 0; c < 3; ++c) {
                s.sum[c] += v[c];
                s.squares[c] += v[c] * v[c];
            }
        }
    return s;
}
} // namespace

// Every block that starts inside the picture, clipped blocks at the right and
// bottom edges included, gets the sums of exactly its pixels.
TEST(BlockSums, MatchDirectSummationOverClippedBlocks)
{
    std::mt19937 random(7);
    for (const auto& [w, h] : {std::pair{13, 6}, std::pair{1, 9}, std::pair{16, 16}, std::pair{17, 2}}) {
        Array2D<RGB24> p(w, h);
        for (std::size_t i = 0; i < p.size(); ++i)
            p[i] = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                    static_cast<std::uint8_t>(random())};
        const int size = QuadTree::sizeFor(w, h);
        const int maxLevel = QuadTree(w, h).GetMaxLevel();
        const BlockSums sums(p, size, maxLevel);
        for (int level = 0; level <= maxLevel; ++level) {
            const int side = size >> level;
            for (int y = 0; y < h; y += side)
                for (int x = 0; x < w; x += side) {
                    const ChannelSums got = sums.at(level, x, y);
                    const ChannelSums want = bruteForce(p, x, y, side);
                    for (int c = 0; c < 3; ++c) {
                        EXPECT_EQ(got.sum[c], want.sum[c]) << w << "x" << h << " level " << level << " at " << x << "," << y;
                        EXPECT_EQ(got.squares[c], want.squares[c]) << w << "x" << h << " level " << level;
                    }
                }
        }
    }
}
