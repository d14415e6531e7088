#pragma once

#include "colour/ColourConversion.h"
#include "ipcCodeelementBase.h"

#include <cstdint>
#include <vector>

namespace ivra {

// Turns the region roots of a finished run into pictures. Roots are taken top-down:
// the top level first, down to minLevel; within a level in walk order; within an
// island in store order. Root number i (from 1) paints label i; every pixel reachable
// from a root through its links takes the root's value, and a pixel reached by several
// roots keeps the value of the last one. Pixels in no region stay 0. Buffers are
// row-major with stride w and cover columns x0 .. x0 + w - 1, rows y0 .. y0 + h - 1.

// Paints the labels and returns the colour of every root, indexed by its label
// (entry 0, for pixels in no region, is 0).
std::vector<std::uint32_t> paintRegions(const ipcCodeelementBase& store, int x0, int y0, int w, int h,
                                        std::uint32_t* labels, int minLevel = 0);

void paintLabels(const ipcCodeelementBase& store, int x0, int y0, int w, int h, std::uint32_t* labels, int minLevel = 0);
// RGB run: 3 bytes per pixel, each region in its mean R, G, B.
void paintColours(const ipcCodeelementBase& store, int x0, int y0, int w, int h, std::uint8_t* rgb, int minLevel = 0);
// HSV run: each region's mean HSVPixel.
void paintColours(const ipcCodeelementBase& store, int x0, int y0, int w, int h, HSVPixel* hsv, int minLevel = 0);

} // namespace ivra
