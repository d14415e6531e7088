#pragma once

#include "image/Histogram.h"
#include "image/HistogramGray.h"
#include "image/HistogramHSV.h"
#include "image/HistogramRGB.h"

#include <QImage>

#include <vector>

namespace ivra {

// The pictures of the histogram window, drawn once into opaque 32-bit images:
// bars over a gray ramp (276 x 190), bars over a strip of bin colours
// ((max(256, bins) + 20) x 190), or a hue/saturation wheel with radial bars and
// a gray-bin panel (500 x 300).
QImage drawHistogram(const Histogram& histogram);

// Several drawings one below the other, left-aligned on white (the three
// per-channel histograms as one picture). Empty for an empty list.
QImage drawHistograms(const std::vector<const Histogram*>& histograms);

QImage drawGrayHistogram(const HistogramGray& histogram);
QImage drawRGBHistogram(const HistogramRGB& histogram);
QImage drawHSVHistogram(const HistogramHSV& histogram);

} // namespace ivra
