#pragma once

#include "image/HistogramGray.h"
#include "image/HistogramHSV.h"
#include "image/HistogramRGB.h"
#include "image/ImageColor.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"
#include "util/Progress.h"

#include <array>
#include <memory>

namespace ivra {

// Colour histograms of RGB and HSV images: per-channel gray-level histograms,
// static (crisp) and fuzzy (trilinear) RGB cubes, and the fuzzy HSV histogram
// on sectors x rings plus gray bins.
class OPColorHistogram {
public:
    virtual ~OPColorHistogram() = default;

    // Every HSV layout the program builds uses this minimum saturation.
    static constexpr int minSaturation = 15;
    // Largest RGB histogram accepted (bins over all three axes).
    static constexpr int maxRGBBins = 65536;

    // Three gray-level histograms, one per channel in plane order (R, G, B or
    // H, S, V): OPHistogram on each channel image of OPSplit.
    static std::array<std::unique_ptr<HistogramGray>, 3> channels(const ImageColor& src, int bins,
                                                                  const ivra::Progress& progress = {});

    // Crisp RGB histogram on nR x nG x nB cells (each 1..256). Bin of a pixel:
    // ((B / wB) * nG + G / wG) * nR + R / wR with w = 256 / n; pixels whose
    // index is not a bin are not counted. Counts are exact integers stored as floats.
    static std::unique_ptr<HistogramRGB> staticRGB(const ImageRGB& src, int nR, int nG, int nB,
                                                   const ivra::Progress& progress = {});

    // Fuzzy RGB histogram on n x n x n cells: every pixel is shared among the
    // eight nearest bin centres with trilinear single-precision weights.
    static std::unique_ptr<HistogramRGB> fuzzyRGB(const ImageRGB& src, int n, const ivra::Progress& progress = {});

    // The fuzzy HSV histogram on sectors x rings + grays bins with minimum
    // saturation 15. Both names compute the same histogram.
    static std::unique_ptr<HistogramHSV> staticHSV(const ImageHSV& src, int sectors, int rings, int grays,
                                                   const ivra::Progress& progress = {});
    static std::unique_ptr<HistogramHSV> fuzzyHSV(const ImageHSV& src, int sectors, int rings, int grays,
                                                  const ivra::Progress& progress = {});

    // The "Dynamic" choice: reports that it does not exist and computes nothing.
    static void dynamic();

    // Bin colours shared by both RGB histograms: the centre of each cell.
    static void setRGBColours(HistogramRGB& histogram, int nR, int nG, int nB);
};

} // namespace ivra
