#include "QuadTree.h"

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
    return first(levelsFor(sizeFor(width, height)) + 1);
}

QuadTree::QuadTree(int width, int height)
    : size_(sizeFor(width, height)), maxLevel_(levelsFor(size_)), nodeCount_(first(maxLevel_ + 1)),
      nodes_(std::make_unique_for_overwrite<QuadNode[]>(nodeCount_))
{
}

} // namespace ivra
