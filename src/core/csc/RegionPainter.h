#pragma once

#include "ElementStore.h"

#include <cstdint>
#include <vector>

namespace ivra::csc {

// Turns the region roots of a finished run into a label picture. Roots are taken
// top-down: the top level first, down to level 0; within a level in walk order;
// within an island in store order. Root number i (from 1) paints label i; every
// pixel reachable from a root through its links takes the root's label, and a pixel
// reached by several roots keeps the label of the last one. Pixels in no region stay
// 0. labels is row-major with stride w and covers columns x0 .. x0 + w - 1, rows
// y0 .. y0 + h - 1. Returns the colour of every root, indexed by its label (entry 0,
// for pixels in no region, is 0).
std::vector<std::uint32_t> paintRegions(const ElementStore& store, int x0, int y0, int w, int h,
                                        std::uint32_t* labels);

} // namespace ivra::csc
