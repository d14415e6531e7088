#include "HistogramHSV.h"

HistogramHSV::HistogramHSV(std::shared_ptr<const HSVBinLayout> layout)
    : Histogram(layout->binCount), layout_(std::move(layout)), sectors_(layout_->sectors), rings_(layout_->rings),
      grays_(layout_->grays), minSaturation_(layout_->minSaturation),
      counts_(static_cast<std::size_t>(binCount()), 0.0), colours_(static_cast<std::size_t>(binCount()))
{
    // Gray bins first, centred on their value band; then the chromatic bins at
    // the start of their sector and the middle of their ring. Integer divisions.
    for (int i = 0; i < grays_; ++i)
        colours_[i] = {-1, 0, (256 / grays_) * i + 128 / grays_ - 1};
    const int span = 255 - minSaturation_;
    for (int r = 0; r < rings_; ++r)
        for (int s = 0; s < sectors_; ++s)
            colours_[sectors_ * r + grays_ + s] = {(360 / sectors_) * s,
                                                   minSaturation_ + span / (2 * rings_) + r * (span / rings_), 127};
}

void HistogramHSV::addPixel(int, int, int)
{
    // Filled in with the membership tables of the fuzzy HSV histogram.
    ++pixelCount_;
}
