#include "HistogramHSV.h"

namespace ivra {

HistogramHSV::HistogramHSV(std::shared_ptr<const HSVBinLayout> layout)
    : Histogram(layout->binCount), layout_(std::move(layout)), sectors_(layout_->sectors), rings_(layout_->rings),
      grays_(layout_->grays), minSaturation_(layout_->minSaturation),
      counts_(static_cast<std::size_t>(binCount()) + 1, 0.0), colors_(static_cast<std::size_t>(binCount()))
{
    // Gray bins first, centred on their value band; then the chromatic bins at
    // the start of their sector and the middle of their ring. Integer divisions.
    for (int i = 0; i < grays_; ++i)
        colors_[i] = {-1, 0, (256 / grays_) * i + 128 / grays_ - 1};
    const int span = 255 - minSaturation_;
    for (int r = 0; r < rings_; ++r)
        for (int s = 0; s < sectors_; ++s)
            colors_[sectors_ * r + grays_ + s] = {(360 / sectors_) * s,
                                                   minSaturation_ + span / (2 * rings_) + r * (span / rings_), 127};
}

namespace {

// The weight of one candidate: hue x value x saturation membership, in this
// order, in double precision. "No bin" candidates point at the sink count with
// memberships 0 and so add nothing.
inline void enter(const HSVBinLayout& layout, double* counts, int h, int s, int v)
{
    if (h < -1 || h > 359 || s < 0 || s > 255 || v < 0 || v > 255)
        return;
    const double* hueMu = layout.hueTable();
    const double* satMu = layout.saturationTable();
    const double* valMu = layout.valueTable();
    const auto& c = layout.candidates(h, s);
    std::uint16_t bins[4] = {c.bins[0], c.bins[1], c.bins[2], c.bins[3]};
    if (c.usesGrayPair) {
        const auto& pair = layout.grayPair(v);
        bins[0] = pair[0];
        bins[1] = pair[1];
    }
    const std::size_t hi = static_cast<std::size_t>(h + 1);
    for (const std::uint16_t b : bins) {
        const std::size_t base = static_cast<std::size_t>(b) * HSVBinLayout::levelCount;
        counts[b] += hueMu[static_cast<std::size_t>(b) * HSVBinLayout::hueCount + hi] * valMu[base + v] * satMu[base + s];
    }
}

} // namespace

void HistogramHSV::addPixels(const std::int32_t* h, const std::int32_t* s, const std::int32_t* v, std::size_t n)
{
    double* counts = counts_.data();
    const HSVBinLayout& layout = *layout_;
    for (std::size_t i = 0; i < n; ++i)
        enter(layout, counts, h[i], s[i], v[i]);
    pixelCount_ += static_cast<int>(n);
}

} // namespace ivra
