#pragma once

#include "image/Image.h"

#include <QImage>

namespace ivra {

// The display conversion: a 32-bit opaque picture of the image's size. RGB and
// gray take the low 8 bits of each value (no clamping); HSV goes through the
// toolkit's HSV colour. A histogram is not an Image: it is drawn by its window.
QImage toDisplayImage(const Image& image);

} // namespace ivra
