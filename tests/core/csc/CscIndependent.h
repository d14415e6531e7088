#pragma once

#include "image/RGB24.h"

#include <array>
#include <cstdint>
#include <vector>

namespace ivra {

// A second, deliberately plain formulation of the whole Colour Structure Code run,
// kept beside the tests so that the engine can be compared with it value for value.
// Nothing here is shared with the engine: islands are kept in maps keyed by their
// coordinates, elements in a vector addressed by number, and every step is written
// the slow, obvious way. Only the colour conversions are the system's own, since the
// run uses exactly those.
namespace cscref {

enum class Variant { Rgb, Hsv };

// What a run hands back: the result picture (R, G, B bytes per pixel, row by row),
// the label of every pixel, and how many region roots were numbered.
struct Outcome {
    std::vector<std::uint8_t> rgb;
    std::vector<std::uint32_t> labels;
    int regions = 0;
    bool overrun = false;   // the element store ran full; nothing was painted
    // An element grew its links past the end of the link pool before it was kept:
    // what a store does then is not settled, so such runs are not compared.
    bool linkPoolExceeded = false;

    // How often the run took its rarer roads, so tests can tell that a set of pictures
    // exercises them.
    struct Paths {
        int conflicts = 0;        // recorded at levels >= 2
        int detached = 0;         // elements taken from a losing parent
        int carriedDown = 0;      // records appended while resolving
        int orphaned = 0;         // elements left with neither parent nor root mark
        int overpainted = 0;      // pixels painted by more than one root
        int hsvSeam = 0;          // HSV means taken across the 0/360 seam
    } paths;
};

// Runs the whole segmentation on a width x height picture (pixels row by row).
// threshold only matters for the RGB variant.
// elementsPerIsland sizes the store (4 in the program; less provokes an overrun).
Outcome segment(int width, int height, const std::vector<RGB24>& pixels, Variant variant, int threshold,
                double elementsPerIsland = 4.0);

// The pyramid geometry, exposed so the tests can check the formulation itself
// against the worked examples.
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

// The HSV similarity tests on two packed colours (hue, sat, val), and the tolerance
// tables as 256 entries each (index = row * 16 + column).
bool pixelSimilar(const std::array<int, 3>& p, const std::array<int, 3>& q);
bool elementSimilar(const std::array<int, 3>& mean, const std::array<int, 3>& candidate);
const std::array<int, 256>& toleranceTable(int which);

// Which side (1 or 2) a shared element goes to in an overlap conflict.
int closerRgb(const std::array<int, 3>& g, const std::array<int, 3>& side1, const std::array<int, 3>& side2);
int closerHsv(const std::array<int, 3>& g, const std::array<int, 3>& side1, const std::array<int, 3>& side2);   // 0..5: hue0, sat0, val0, hue1, sat1, val1

} // namespace cscref

} // namespace ivra
