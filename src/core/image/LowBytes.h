#pragma once

#include "ImageColor.h"
#include "RGB24.h"

#include <cstddef>

// The picture an operator works on: the low byte of each of the three plane
// values, pixel by pixel (width * height RGB24 values into out).
void copyLowBytes(const ImageColor& source, RGB24* out);
