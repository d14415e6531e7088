#pragma once

#include "image/ImageGray.h"
#include "image/ImageRGB.h"
#include "util/Progress.h"

#include <memory>
#include <string>

namespace ivra {

// Salt-and-pepper noise: a percentage of the pixels, chosen by the process-wide
// random generator, becomes white (salt) or black (pepper). The result has the
// source's class and size.
class OPSaltAndPepper {
public:
    enum Mode : int { Salt = 0, Pepper = 1, SaltAndPepper = 2 };
    static constexpr int minPercent = 0;
    static constexpr int maxPercent = 50;
    // The dialog's initial values.
    static constexpr int defaultMode = SaltAndPepper;
    static constexpr int defaultPercent = 10;

    virtual ~OPSaltAndPepper() = default;

    // mode: one of Mode; value: percentage of pixels hit. Pixels are visited column
    // by column; each draws one number, a hit pixel a second one (whatever the mode).
    // Throws std::invalid_argument for a mode or value outside its range. A cancelled
    // run throws ivra::Cancelled and leaves the generator where it was.
    std::unique_ptr<ImageRGB> execute(const ImageRGB& src, int mode, int value,
                                      const ivra::Progress& progress = {}) const;
    std::unique_ptr<ImageGray> execute(const ImageGray& src, int mode, int value,
                                       const ivra::Progress& progress = {}) const;

    // "(%1) Salt [Percent=%2%]", "(%1) Pepper [Percent=%2%]" or
    // "(%1) Salt and Pepper [Percent=%2%]" with the dialog's run counter.
    static std::string resultName(int run, int mode, int value);
};

} // namespace ivra
