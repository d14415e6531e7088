#include "QuadTree.h"

#include "util/ScratchArena.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace ivra {

namespace {
constexpr int maxSide = 32767;

void checkSides(int width, int height)
{
    if (width < 0 || height < 0 || width > maxSide || height > maxSide)
        throw std::length_error("quadtree over " + std::to_string(width) + " x " + std::to_string(height) +
                                " pixels: sides must lie in 0.." + std::to_string(maxSide));
}

int levelsFor(int size)
{
    int level = 0;
    while ((1 << level) < size)
        ++level;
    return level;
}
} // namespace

int QuadTree::sizeFor(int width, int height)
{
    checkSides(width, height);
    return 1 << levelsFor(std::max(width, height));
}

std::size_t QuadTree::nodeCountFor(int width, int height)
{
    const int levels = levelsFor(sizeFor(width, height)) + 1;
    return ((std::size_t{1} << (2 * levels)) - 1) / 3;
}

QuadTree::QuadTree(int width, int height, ScratchArena& arena)
    : size_(sizeFor(width, height)), maxLevel_(levelsFor(size_))
{
    levels_[0].count = 1;
    levels_[0].nodes = arena.take<QuadNode>(1);
    levels_[0].nodes[0].x = 0;
    levels_[0].nodes[0].y = 0;
}

void QuadTree::addChildren(int level, ScratchArena& arena)
{
    const Level& above = levels_[level];
    const std::size_t groups = static_cast<std::size_t>(
        std::count_if(above.nodes, above.nodes + above.count, [](const QuadNode& n) { return n.state == split; }));
    Level& below = levels_[level + 1];
    below.count = 4 * groups;
    below.nodes = arena.take<QuadNode>(below.count);
    below.parents = arena.take<std::uint32_t>(groups);
    const int s = side(level + 1);
    QuadNode* child = below.nodes;
    std::uint32_t* parent = below.parents;
    for (std::size_t p = 0; p < above.count; ++p) {
        const QuadNode& n = above.nodes[p];
        if (n.state != split)
            continue;
        *parent++ = static_cast<std::uint32_t>(p);
        const auto x = static_cast<std::int16_t>(n.x + s);
        const auto y = static_cast<std::int16_t>(n.y + s);
        *child++ = {x, n.y, split};
        *child++ = {n.x, y, split};
        *child++ = {x, y, split};
        *child++ = {n.x, n.y, split};
    }
}

} // namespace ivra
