#include "ImageColor.h"

namespace ivra {

ImageColor::ImageColor(int width, int height)
    : Image(width, height), block_(allocateLarge<std::int32_t>(3 * pixelCount()))
{
    for (int c = 0; c < 3; ++c)
        planes_[c] = block_.get() + c * pixelCount();
}

} // namespace ivra
