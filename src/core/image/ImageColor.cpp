#include "ImageColor.h"

namespace ivra {

ImageColor::ImageColor(int width, int height)
    : Image(width, height), block_(std::make_unique_for_overwrite<std::int32_t[]>(3 * pixelCount()))
{
    for (int c = 0; c < 3; ++c)
        planes_[c] = block_.get() + c * pixelCount();
}

} // namespace ivra
