#pragma once

#include "ColorConversion.h"

#include <cstdint>

namespace ivra {

// The conversion tables, computed when the project is built: src/tools/HsvTableGenerator
// writes them with the entry functions below, so a process finds them ready in its
// read-only data instead of computing a quarter of a million conversions first.
// kHsvFromRgbTable[(r6 * 64 + g6) * 64 + b6] = hsvFromRgbEntry(r6, g6, b6);
// kHueSatTable[row][sat] = hueSatEntry(row, sat); kScaleTable[a][b] = scaleEntry(a, b).
extern const HSVPixel kHsvFromRgbTable[64 * 64 * 64];
extern const std::uint8_t kHueSatTable[361][256][3];
extern const std::uint8_t kScaleTable[256][256];

// A double-precision HSV colour packed: floor(h) (an undefined hue becomes 0),
// floor(s * 255), floor(v * 255).
HSVPixel packHsv(double h, double s, double v);

// The packed HSV of the unit colour (r6, g6, b6) / 63, each component in 0..63.
HSVPixel hsvFromRgbEntry(int r6, int g6, int b6);

// R, G, B (each floor(unit * 255)) of hue row - 1 (row 0: undefined), saturation
// sat / 255 and value 1; row in 0..360, sat in 0..255.
void hueSatEntry(int row, int sat, std::uint8_t* rgb);

// floor(a * b / 255) for a, b in 0..255.
constexpr std::uint8_t scaleEntry(int a, int b)
{
    return static_cast<std::uint8_t>(a * b / 255);
}

} // namespace ivra
