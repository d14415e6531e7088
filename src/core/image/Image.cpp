#include "Image.h"

#include <stdexcept>
#include <string>

namespace ivra {

Image::Image(int width, int height) : width_(width), height_(height)
{
    if (width < 0 || height < 0 || width > maxSide || height > maxSide)
        throw std::length_error("image size " + std::to_string(width) + " x " + std::to_string(height) +
                                " is outside 0.." + std::to_string(maxSide) + " per side");
}

LargeArray<std::int32_t> Image::allocatePlane() const
{
    return allocateLarge<std::int32_t>(pixelCount());
}

} // namespace ivra
