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
#include <vector>
#include <string>

namespace ivra {

// Colour histograms of RGB and HSV images: per-channel gray-level histograms,
// static (crisp) and fuzzy (trilinear) RGB cubes, and the fuzzy HSV histogram
// on sectors x rings plus gray bins.
// Colour histogram, one choice per kind of the dialog: three per-channel gray
// histograms of `bins` bins, or a static or fuzzy histogram on a cube of `cube`
// cells per axis (RGB images) or on the 6x2 layout plus `grays` gray cells (HSV
// images, where static and fuzzy compute the same histogram). The dialog starts at
// the per-channel kind on RGB images and at the fuzzy kind on HSV images. Only the
// keys of the chosen kind are read.
struct ColorHistogramParams {
    enum class Kind { Channel, Static, Fuzzy };
    Kind kind = Kind::Channel;
    int bins = 256;
    int cube = 2;
    int grays = 4;

    static ColorHistogramParams defaultsFor(int inputType)
    {
        ColorHistogramParams p;
        if (inputType == TypeImageHSV)
            p.kind = Kind::Fuzzy;
        return p;
    }

    template <class Visitor>
    void visit(Visitor& v)
    {
        v.choice("kind", kind, {{"channel", Kind::Channel}, {"static", Kind::Static}, {"fuzzy", Kind::Fuzzy}});
        if (kind == Kind::Channel)
            v.choice("bins", bins,
                     {{"256", 256}, {"128", 128}, {"64", 64}, {"32", 32}, {"16", 16}, {"8", 8}, {"4", 4}, {"2", 2}});
        else if (v.inputType() == TypeImageHSV)
            v.choice("layout", grays, {{"6x2+4", 4}, {"6x2+8", 8}});
        else
            v.choice("cube", cube, {{"2", 2}, {"4", 4}, {"8", 8}});
    }
};

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
    static void setRGBColors(HistogramRGB& histogram, int nR, int nG, int nB);

    // RGB and HSV images; throws std::invalid_argument for any other type. The
    // per-channel kind gives three histograms (red, green, blue or hue, saturation,
    // value), the others one.
    static std::vector<std::unique_ptr<DataObject>> execute(const Image& src, const ColorHistogramParams& params,
                                                            const ivra::Progress& progress = {});
    // The names of what execute() gives, in the same order, e.g. "Histogram Red 256",
    // "Static RGB-Histogram 2x2x2", "Fuzzy HSV-Histogram 6x2+4".
    static std::vector<std::string> resultNames(int inputType, const ColorHistogramParams& params);
};

} // namespace ivra
