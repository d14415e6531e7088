#pragma once

#include "image/ImageGray.h"
#include "image/ImageRGB.h"
#include "util/Progress.h"

#include <memory>
#include <string>

namespace ivra {

// Salt-and-pepper noise: which extreme is scattered and over what share of the pixels.
struct SaltAndPepperParams {
    enum class Mode { Salt, Pepper, SaltAndPepper };
    static constexpr int minPercent = 0;
    static constexpr int maxPercent = 50;
    Mode mode = Mode::SaltAndPepper;
    int percent = 10;

    template <class Visitor>
    void visit(Visitor& v)
    {
        v.choice("mode", mode, {{"salt", Mode::Salt}, {"pepper", Mode::Pepper}, {"both", Mode::SaltAndPepper}});
        v.integer("percent", percent, minPercent, maxPercent);
    }
};

// Salt-and-pepper noise: a percentage of the pixels, chosen by the process-wide
// random generator, becomes white (salt) or black (pepper). The result has the
// source's class and size.
class OPSaltAndPepper {
public:
    using Mode = SaltAndPepperParams::Mode;

    virtual ~OPSaltAndPepper() = default;

    // mode: one of Mode; value: percentage of pixels hit. Pixels are visited column
    // by column; each draws one number, a hit pixel a second one (whatever the mode).
    // Throws std::invalid_argument for a mode or value outside its range. A cancelled
    // run throws ivra::Cancelled and leaves the generator where it was.
    std::unique_ptr<ImageRGB> execute(const ImageRGB& src, Mode mode, int value,
                                      const ivra::Progress& progress = {}) const;
    std::unique_ptr<ImageGray> execute(const ImageGray& src, Mode mode, int value,
                                       const ivra::Progress& progress = {}) const;
    // Gray and RGB images; throws std::invalid_argument for any other type.
    std::unique_ptr<Image> execute(const Image& src, const SaltAndPepperParams& params,
                                   const ivra::Progress& progress = {}) const;

    // "(%1) Salt [Percent=%2%]", "(%1) Pepper [Percent=%2%]" or
    // "(%1) Salt and Pepper [Percent=%2%]" with the dialog's run counter.
    static std::string resultName(int run, Mode mode, int value);
    static std::string resultName(int run, const SaltAndPepperParams& p) { return resultName(run, p.mode, p.percent); }
};

} // namespace ivra
