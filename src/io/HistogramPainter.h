#pragma once

#include "image/Histogram.h"
#include "image/HistogramGray.h"
#include "image/HistogramHSV.h"
#include "image/HistogramRGB.h"

#include <QImage>

namespace ivra {

// The pictures of the histogram window, drawn once into opaque 32-bit images:
// bars over a gray ramp (276 x 190), bars over a strip of bin colours
// ((max(256, bins) + 20) x 190), or a hue/saturation wheel with radial bars and
// a gray-bin panel (500 x 300).
QImage drawHistogram(const Histogram& histogram);

QImage drawGrayHistogram(const HistogramGray& histogram);
QImage drawRGBHistogram(const HistogramRGB& histogram);
QImage drawHSVHistogram(const HistogramHSV& histogram);

} // namespace ivra
