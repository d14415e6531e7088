#pragma once

#include "image/RGB24.h"

#include <array>
#include <cstdint>
#include <vector>

namespace ivra::cscref {

// A second, deliberately plain formulation of the whole Colour Structure Code run,
// kept beside the tests so that the engine can be compared with it value for value.
// Nothing here is shared with the engine: islands are kept in a map keyed by their
// coordinates, elements in a vector addressed by number, the tables are written out
// anew, and every step is done the slow, obvious way. Only the colour conversions are
// the system's own, since the run uses exactly those.

enum class Variant { Rgb, Hsv };
using Colour = std::array<int, 3>; // R, G, B or hue, saturation, value

struct Outcome {
    std::vector<std::uint8_t> rgb;     // the result picture, R, G, B per pixel, row by row
    std::vector<std::uint32_t> labels; // the label of every pixel
    bool overrun = false;              // the element store ran full; nothing was painted
    // An element grew its links past the end of the link pool before it was kept:
    // what a store does then is not settled, so such runs are not compared.
    bool linkPoolExceeded = false;
    int usedElements = 0; // elements kept (a run that finished)
    int islandCount = 0;

    // How often the run took its rarer roads, so tests can tell that a set of pictures
    // exercises them.
    struct Paths {
        int conflicts = 0;   // recorded at levels >= 2
        int detached = 0;    // elements taken from a losing parent
        int carriedDown = 0; // records appended while resolving
        int overpainted = 0; // pixels painted by more than one root
        int hsvSeam = 0;     // HSV means taken across the 0/360 seam
    } paths;
};

// Runs the whole segmentation on a width x height picture (pixels row by row);
// threshold only matters for RGB. elementsPerIsland sizes the store (4 in the
// program; less provokes an overrun).
Outcome segment(int width, int height, const std::vector<RGB24>& pixels, Variant variant, int threshold,
                double elementsPerIsland = 4.0);

// The pyramid geometry, exposed so the tests can check the engine's against it.
struct Pyramid {
    Pyramid(int width, int height);

    int size = 1;
    int levels = 0;
    std::vector<int> rowLength;

    int islandsInRow(int level, int row) const;
    bool contains(int level, int x, int y) const;
    // The 7 members (child islands, or pixels at level 0) in cell order.
    std::array<std::array<int, 2>, 7> members(int level, int x, int y) const;
    // Even rows first, then odd rows, x ascending.
    std::vector<std::array<int, 2>> walk(int level) const;
    int islandCount() const;
};

// The HSV similarity tests, and which side (1 or 2) a shared element goes to in an
// overlap conflict.
bool pixelSimilar(const Colour& p, const Colour& q);
bool elementSimilar(const Colour& mean, const Colour& candidate);
int closerRgb(const Colour& g, const Colour& side1, const Colour& side2);
int closerHsv(const Colour& g, const Colour& side1, const Colour& side2);

} // namespace ivra::cscref
