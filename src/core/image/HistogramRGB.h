#pragma once

#include "Histogram.h"

#include <array>
#include <cstdint>
#include <vector>

namespace ivra {

// binCount single-precision counts and one (R, G, B) colour per bin, all zero
// after construction; the operator that fills the histogram sets the colours.
class HistogramRGB : public Histogram {
public:
    using Color = std::array<std::int32_t, 3>;

    explicit HistogramRGB(int binCount)
        : Histogram(binCount), counts_(static_cast<std::size_t>(binCount), 0.0f),
          colors_(static_cast<std::size_t>(binCount), Color{0, 0, 0})
    {
    }

    int type() const override { return TypeHistogramRGB; }

    float* counts() { return counts_.data(); }
    const float* counts() const { return counts_.data(); }
    Color* colors() { return colors_.data(); }
    const Color* colors() const { return colors_.data(); }

private:
    std::vector<float> counts_;
    std::vector<Color> colors_;
};

} // namespace ivra
