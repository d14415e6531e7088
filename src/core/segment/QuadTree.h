#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace ivra {

// One block of the quadtree: its homogeneous flag and the top-left pixel of the
// block. Pictures are at most 32767 pixels a side, so every block position that
// can hold a pixel fits the 16-bit fields; arithmetic on them is done in int.
struct QuadNode {
    std::uint8_t homogeneous;
    std::int16_t x;
    std::int16_t y;
};

// A complete quadtree over the smallest power-of-two square that covers a
// picture, stored level by level in one flat array. Level L holds the nodes
// first(L) .. first(L + 1) - 1; the parent of node k > 0 is (k - 1) / 4 and its
// four children are 4k + 1 .. 4k + 4: top-right, bottom-left, bottom-right,
// top-left. Nodes are left uninitialised; their users write them top-down.
class QuadTree {
public:
    static constexpr int branching = 4;

    // Side of the covering square: the smallest power of two >= max(width, height), at least 1.
    static int sizeFor(int width, int height);
    // Number of nodes of the complete tree over a square of that side.
    static std::size_t nodeCountFor(int width, int height);

    // Throws std::length_error for a negative side or one above 32767.
    QuadTree(int width, int height);

    int size() const { return size_; }
    // The level whose nodes are single pixels (log2 of the size).
    int GetMaxLevel() const { return maxLevel_; }
    std::size_t nodeCount() const { return nodeCount_; }

    // Index of the first node of a level; first(maxLevel + 1) == nodeCount.
    static std::size_t first(int level) { return ((std::size_t{1} << (2 * level)) - 1) / 3; }
    static std::size_t parent(std::size_t k) { return (k - 1) / 4; }
    // Side of the blocks of a level.
    int side(int level) const { return size_ >> level; }

    QuadNode& operator[](std::size_t k) { return nodes_[k]; }
    const QuadNode& operator[](std::size_t k) const { return nodes_[k]; }

    // Sets the position of node k > 0 of the given level from its parent's position.
    void placeChild(std::size_t k, int level)
    {
        const QuadNode& p = nodes_[parent(k)];
        const int s = side(level);
        int x = p.x;
        int y = p.y;
        switch (k % 4) {
        case 1: x += s; break;
        case 2: y += s; break;
        case 3: x += s; y += s; break;
        default: break;
        }
        nodes_[k].x = static_cast<std::int16_t>(x);
        nodes_[k].y = static_cast<std::int16_t>(y);
    }

private:
    int size_;
    int maxLevel_;
    std::size_t nodeCount_;
    std::unique_ptr<QuadNode[]> nodes_;
};

} // namespace ivra
