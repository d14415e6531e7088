#include "OPSplit.h"

#include <cstring>
#include <stdexcept>

namespace ivra {

std::unique_ptr<ImageGray> OPSplit::channel(const ImageColor& image, int plane)
{
    if (plane < 0 || plane > 2)
        throw std::out_of_range("a colour image has planes 0, 1 and 2");
    auto out = std::make_unique<ImageGray>(image.width(), image.height());
    if (image.pixelCount())
        std::memcpy(out->data(), image.plane(plane), image.pixelCount() * sizeof(std::int32_t));
    return out;
}

} // namespace ivra
