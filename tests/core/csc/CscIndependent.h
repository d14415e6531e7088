#pragma once

#include "image/RGB24.h"

#include <array>
#include <cstdint>
#include <vector>

namespace ivra::cscref {

// A second, deliberately plain formulation of the whole Colour Structure Code run, to
// compare the engine with value for value. Nothing is shared with the engine (islands in
// a map, elements in a vector, tables written anew) but the colour conversions it uses.

enum class Variant { Rgb, Hsv };
using Color = std::array<int, 3>; // R, G, B or hue, saturation, value

struct Outcome {
    std::vector<std::uint8_t> rgb;     // the result picture, R, G, B per pixel, row by row
    std::vector<std::uint32_t> labels; // the label of every pixel
    bool overrun = false;              // the element store ran full; nothing was painted
    bool linkPoolExceeded = false; // links grew past the pool before keeping: not compared
    int usedElements = 0, islandCount = 0; // elements kept (a run that finished); islands

    // How often the run took its rarer roads: conflicts recorded at levels >= 2, elements taken from a
    // losing parent, records carried down while resolving, pixels painted by more than one root, HSV seam means.
    struct Paths { int conflicts = 0, detached = 0, carriedDown = 0, overpainted = 0, hsvSeam = 0; } paths;
};

// Segments a picture (pixels row by row); threshold only matters for RGB. The store
// holds elementsPerIsland elements per island (4 in the program; less can overrun).
Outcome segment(int width, int height, const std::vector<RGB24>& pixels, Variant variant, int threshold,
                double elementsPerIsland = 4.0);

// The pyramid geometry, exposed so the tests can check the engine's against it.
struct Pyramid {
    Pyramid(int width, int height);
    int size = 1, levels = 0;
    std::vector<int> rowLength;

    // The level just below the top has its short rows where the others have long ones.
    int islandsInRow(int level, int row) const { return rowLength[level] - ((row % 2 == 0) == (level == levels - 2)); }
    bool contains(int level, int x, int y) const
    {
        return level >= 0 && level < levels && y >= 0 && y < rowLength[level] && x >= 0 && x < islandsInRow(level, y);
    }
    // The 7 members (child islands, or pixels at level 0) in cell order.
    std::array<std::array<int, 2>, 7> members(int level, int x, int y) const;
    // Even rows first, then odd rows, x ascending.
    std::vector<std::array<int, 2>> walk(int level) const;
    int islandCount() const
    {
        int total = 0;
        for (int l = 0; l < levels; ++l)
            total += static_cast<int>(walk(l).size());
        return total;
    }
};

// The HSV similarity tests, and which side (1 or 2) a shared element goes to in an
// overlap conflict.
bool pixelSimilar(const Color& p, const Color& q);
bool elementSimilar(const Color& mean, const Color& candidate);
int closerRgb(const Color& g, const Color& side1, const Color& side2);
int closerHsv(const Color& g, const Color& side1, const Color& side2);

} // namespace ivra::cscref
