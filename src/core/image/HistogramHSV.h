#pragma once

#include "Histogram.h"
#include "HSVBinLayout.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace ivra {

// Fuzzy HSV histogram: double counts, one (H, S, V) colour per bin set from the
// layout, the layout parameters and the number of pixels entered. The layout
// (with its membership tables) is shared with whoever built it.
class HistogramHSV : public Histogram {
public:
    using Color = std::array<std::int32_t, 3>;

    explicit HistogramHSV(std::shared_ptr<const HSVBinLayout> layout);

    int type() const override { return TypeHistogramHSV; }

    double* counts() { return counts_.data(); }
    const double* counts() const { return counts_.data(); }
    const Color* colors() const { return colors_.data(); }

    int sectors() const { return sectors_; }
    int rings() const { return rings_; }
    int grays() const { return grays_; }
    int minSaturation() const { return minSaturation_; }
    int pixelCount() const { return pixelCount_; }
    const HSVBinLayout& layout() const { return *layout_; }

    // Adds the fuzzy memberships of n pixels, given as three planes, to the counts
    // in index order, and counts the pixels. A value outside hue -1..359 or
    // saturation and value 0..255 has no membership anywhere: the pixel is counted
    // but adds no weight.
    void addPixels(const std::int32_t* h, const std::int32_t* s, const std::int32_t* v, std::size_t n);

private:
    std::shared_ptr<const HSVBinLayout> layout_;
    int sectors_;
    int rings_;
    int grays_;
    int minSaturation_;
    int pixelCount_ = 0;
    std::vector<double> counts_; // binCount + 1: the last one soaks up the "no bin" candidates
    std::vector<Color> colors_;
};

} // namespace ivra
