#pragma once

#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"
#include "util/Progress.h"

#include <memory>
#include <string>

namespace ivra {

// Split: which plane to copy. Its words follow the picture: red|green|blue on RGB
// images, hue|saturation|value on HSV images; the first is the default.
struct SplitParams {
    int plane = 0;

    template <class Visitor>
    void visit(Visitor& v)
    {
        if (v.inputType() == TypeImageHSV)
            v.choice("channel", plane, {{"hue", 0}, {"saturation", 1}, {"value", 2}});
        else
            v.choice("channel", plane, {{"red", 0}, {"green", 1}, {"blue", 2}});
    }
};

// The Split operator: one gray image per channel, a value-for-value copy of one
// plane (no scaling or clamping, so a hue channel holds -1..359). Stateless.
class OPSplit {
public:
    virtual ~OPSplit() = default;

    std::unique_ptr<ImageGray> red(const ImageRGB& image) const { return channel(image, 0); }
    std::unique_ptr<ImageGray> green(const ImageRGB& image) const { return channel(image, 1); }
    std::unique_ptr<ImageGray> blue(const ImageRGB& image) const { return channel(image, 2); }
    std::unique_ptr<ImageGray> hue(const ImageHSV& image) const { return channel(image, 0); }
    std::unique_ptr<ImageGray> saturation(const ImageHSV& image) const { return channel(image, 1); }
    std::unique_ptr<ImageGray> value(const ImageHSV& image) const { return channel(image, 2); }

    // The one copying routine: plane 0 (R or H), 1 (G or S) or 2 (B or V).
    static std::unique_ptr<ImageGray> channel(const ImageColor& image, int plane);

    // RGB and HSV images; throws std::invalid_argument for any other type.
    std::unique_ptr<ImageGray> execute(const Image& image, const SplitParams& params,
                                       const ivra::Progress& progress = {}) const;
    // "Red", "Green", "Blue" of an RGB image, "Hue", "Saturation", "Value" of an HSV image.
    static std::string resultName(int inputType, const SplitParams& params);
};

} // namespace ivra
