#pragma once

#include "image/RGB24.h"

#include <cstdint>
#include <vector>

namespace ivra {

// A direct, unoptimised formulation of the Colour Structure Code, written step by step
// as the algorithm is described (iterators, breadth-first queues, an island table by
// row-major index, forward painting with visit marks cleared after every root and the
// whole-buffer HSV back conversion). The tests compare the production engine with it.
namespace csc_reference {

struct Outcome {
    bool overrun = false;
    long long usedElements = 0; // elements in the store after the run (when it did not overrun)
    int islandCount = 0;
    std::vector<std::uint32_t> labels; // width x height
    std::vector<RGB24> colours;        // width x height
};

// hsv = false: RGB with the given threshold; true: HSV (threshold unused).
Outcome run(const std::vector<RGB24>& pixels, int width, int height, bool hsv, int threshold,
            double elementsPerIsland = 4.0);

} // namespace csc_reference

} // namespace ivra
