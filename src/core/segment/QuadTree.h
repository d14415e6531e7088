#pragma once

#include <cstddef>
#include <cstdint>

namespace ivra {

class ScratchArena;

// One block of the quadtree: its state and the top-left pixel of the block.
// Pictures are at most 32767 pixels a side, so every block position that can hold
// a pixel fits the 16-bit fields; arithmetic on them is done in int.
struct QuadNode {
    std::int16_t x;
    std::int16_t y;
    std::uint8_t state; // QuadTree::split, whole or below a whole block
};

// The quadtree over the smallest power-of-two square that covers a picture, holding
// only the blocks that can matter: the root and the four children (top-right,
// bottom-left, bottom-right, top-left) of every block that was split. Each level is
// one array in the order of the complete tree's level (children of earlier parents
// first); group g of a level (nodes 4g .. 4g + 3) are the children of node
// parentOf(level, g) of the level above. A picture's flat areas stop the tree early,
// so it holds far fewer nodes than the complete tree and costs no time below them.
class QuadTree {
public:
    static constexpr std::uint8_t split = 0;
    static constexpr std::uint8_t whole = 1;
    static constexpr std::uint8_t belowWhole = 2;

    // Side of the covering square: the smallest power of two >= max(width, height), at least 1.
    static int sizeFor(int width, int height);
    // Number of nodes of the complete tree over a square of that side.
    static std::size_t nodeCountFor(int width, int height);

    // Just the root at (0, 0), its state unset. Throws std::length_error for a negative
    // side or one above 32767.
    QuadTree(int width, int height, ScratchArena& arena);

    int size() const { return size_; }
    // The level whose nodes are single pixels (log2 of the size).
    int GetMaxLevel() const { return maxLevel_; }
    // Side of the blocks of a level.
    int side(int level) const { return size_ >> level; }

    std::size_t count(int level) const { return levels_[level].count; }
    QuadNode* nodes(int level) { return levels_[level].nodes; }
    const QuadNode* nodes(int level) const { return levels_[level].nodes; }
    QuadNode& parentOf(int level, std::size_t group) { return levels_[level - 1].nodes[levels_[level].parents[group]]; }

    // Makes level + 1 from the children of the level's split nodes, placed, each marked split.
    void addChildren(int level, ScratchArena& arena);

private:
    struct Level {
        std::size_t count = 0;
        QuadNode* nodes = nullptr;
        std::uint32_t* parents = nullptr; // per group of four
    };

    int size_;
    int maxLevel_;
    Level levels_[16];
};

} // namespace ivra
