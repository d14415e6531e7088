#include "OPSplit.h"

#include "util/ParallelRows.h"

#include <cstring>
#include <stdexcept>

namespace ivra {

std::unique_ptr<ImageGray> OPSplit::channel(const ImageColor& image, int plane)
{
    if (plane < 0 || plane > 2)
        throw std::out_of_range("a colour image has planes 0, 1 and 2");
    auto out = std::make_unique<ImageGray>(image.width(), image.height());
    const std::size_t w = static_cast<std::size_t>(image.width());
    parallelRows(0, image.height(), rowsPerPiece(image.width(), 1 << 18), [&](int y0, int y1) {
        std::memcpy(out->data() + y0 * w, image.plane(plane) + y0 * w, (y1 - y0) * w * sizeof(std::int32_t));
    });
    return out;
}

std::unique_ptr<ImageGray> OPSplit::execute(const Image& image, const SplitParams& params, const ivra::Progress&) const
{
    if (image.type() != TypeImageRGB && image.type() != TypeImageHSV)
        throw UnacceptedInput("Split", image.type());
    return channel(static_cast<const ImageColor&>(image), params.plane);
}

std::string OPSplit::resultName(int inputType, const SplitParams& params)
{
    static const char* const rgbNames[] = {"Red", "Green", "Blue"};
    static const char* const hsvNames[] = {"Hue", "Saturation", "Value"};
    return inputType == TypeImageHSV ? hsvNames[params.plane] : rgbNames[params.plane];
}

} // namespace ivra
