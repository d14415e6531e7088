#pragma once

#include "ImageColor.h"
#include "RGB24.h"

#include <cstddef>

namespace ivra {

// The picture an operator works on: the low byte of each of the three plane
// values, pixel by pixel (width * height RGB24 values into out).
void copyLowBytes(const ImageColor& source, RGB24* out);

// The reverse: each RGB24 pixel into the three planes of target (width * height pixels).
void copyToPlanes(const RGB24* pixels, ImageColor& target);

} // namespace ivra
