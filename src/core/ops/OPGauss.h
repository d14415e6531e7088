#pragma once

#include "image/ImageGray.h"
#include "image/ImageRGB.h"
#include "util/Progress.h"

#include <memory>
#include <string>

namespace ivra {

// Gauss noise: every channel of every pixel gets its own normally distributed
// offset, drawn from the process-wide random generator by the polar method.
// The result has the source's class and size; values are clamped to 0..255.
class OPGauss {
public:
    static constexpr int minMean = -255;
    static constexpr int maxMean = 255;
    static constexpr int minVariance = 0;
    static constexpr int maxVariance = 255;
    // The dialog's initial values.
    static constexpr int defaultMean = 0;
    static constexpr int defaultVariance = 10;

    virtual ~OPGauss() = default;

    // mean is added to every value; variance scales the unit deviate (it acts as
    // the spread of the noise). Throws std::invalid_argument outside the ranges above.
    // A cancelled run throws ivra::Cancelled and leaves the generator where it was.
    std::unique_ptr<ImageRGB> execute(const ImageRGB& src, int mean, int variance,
                                      const ivra::Progress& progress = {}) const;
    std::unique_ptr<ImageGray> execute(const ImageGray& src, int mean, int variance,
                                       const ivra::Progress& progress = {}) const;

    // "Gauss Noise [mean=%1, variance=%2]": the noise dialog names its results
    // without a run counter.
    static std::string resultName(int mean, int variance);

    // One unit normal deviate: the first of the pair the polar method offers.
    static double deviate();
};

} // namespace ivra
