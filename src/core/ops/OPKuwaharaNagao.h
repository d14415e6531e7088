#pragma once

#include "image/Array2D.h"
#include "image/ImageRGB.h"
#include "image/RGB24.h"
#include "util/Progress.h"

#include <memory>
#include <string>

namespace ivra {

// Kuwahara-Nagao: how many times the filter runs and in which colour space the
// sub-window means are formed.
struct KuwaharaNagaoParams {
    enum class Space { RGB, HSV };
    static constexpr int minIterations = 1;
    static constexpr int maxIterations = 65536;
    int iterations = 1;
    Space space = Space::RGB;

    template <class Visitor>
    void visit(Visitor& v)
    {
        v.integer("iterations", iterations, minIterations, maxIterations);
        v.choice("space", space, {{"rgb", Space::RGB}, {"hsv", Space::HSV}});
    }
};

// Kuwahara-Nagao filter: every inner pixel takes the mean colour of the one of its
// four 2 x 2 sub-windows (upper left, upper right, lower right, lower left, in this
// order of preference on ties) whose colours vary least. Pixels of the outermost
// rows and columns keep their colour.
class OPKuwaharaNagao {
public:
    using Space = KuwaharaNagaoParams::Space;

    virtual ~OPKuwaharaNagao() = default;

    // Applies the filter `iterations` times and returns a new image of the source's
    // size. Throws std::invalid_argument for an iteration count outside the range
    // above and ivra::Cancelled when the progress callback cancels.
    std::unique_ptr<ImageRGB> execute(const ImageRGB& src, int iterations, Space space,
                                      const ivra::Progress& progress = {}) const;

    // RGB images; throws std::invalid_argument for any other type.
    std::unique_ptr<ImageRGB> execute(const Image& src, const KuwaharaNagaoParams& params,
                                      const ivra::Progress& progress = {}) const;

    // "(%1) Kuwahara-Nagao [Iterations=%2]" with the dialog's run counter.
    static std::string resultName(int run, int iterations);
    static std::string resultName(int run, const KuwaharaNagaoParams& p) { return resultName(run, p.iterations); }
};

// One iteration each: reads `src`, writes the inner pixels of `dst`, which is first
// given the source's size. The pixels that are not visited are left as they are.
// The sub-window's mean colour is the truncated mean of each channel.
void kuwaharaRGB(const Array2D<RGB24>& src, Array2D<RGB24>& dst);
// The mean colour is formed in HSV: hue on the circle, saturation and value as means.
void kuwaharaHSV(const Array2D<RGB24>& src, Array2D<RGB24>& dst);

// Building blocks of the HSV mode.
// One pixel's HSV: hue in whole degrees (-1 when undefined), saturation and value 0..255.
struct KuwaharaHsv {
    int h;
    int s;
    int v;
};
KuwaharaHsv kuwaharaPixelHsv(RGB24 pixel);
// Mean of four hues on the circle, rounded: hues below 61 (the undefined -1 among
// them) count one turn higher when a hue of 300 or more is present. 0..359.
int kuwaharaHueMean(const int (&hues)[4]);

} // namespace ivra
