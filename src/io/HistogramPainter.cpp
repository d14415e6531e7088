#include "HistogramPainter.h"

#include <QColor>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace ivra {

namespace {

constexpr QRgb white = 0xffffffffu;
constexpr QRgb black = 0xff000000u;

QRgb grayOfLowByte(int v)
{
    const int g = v & 0xff;
    return qRgb(g, g, g);
}

// An opaque white picture with clipped pixel writes: bars and lines that would
// run past the edge (rounding at the rim, a count above the float maximum) are
// cut off instead of writing outside the picture.
class Canvas {
public:
    Canvas(int width, int height) : image_(width, height, QImage::Format_RGB32)
    {
        image_.fill(white);
        bits_ = image_.bits();
        stride_ = image_.bytesPerLine();
    }

    void set(int x, int y, QRgb color)
    {
        if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
            return;
        reinterpret_cast<QRgb*>(bits_ + static_cast<std::ptrdiff_t>(y) * stride_)[x] = color;
    }

    QImage take() { return std::move(image_); }

private:
    QImage image_;
    uchar* bits_ = nullptr;
    qsizetype stride_ = 0;
};

// trunc toward zero of a floating position, kept inside int range so that a
// far-off value only ever clips.
int pixelPosition(double v)
{
    if (!(v > -1e6 && v < 1e6))
        return -1;
    return static_cast<int>(v);
}

// The wheel of the HSV drawing: centre (150, 150), saturation 255 at 150 pixels.
struct WheelGeometry {
    int sectors;
    int rings;
    int minSaturation;
    int ringWidth; // (255 - minSaturation) / rings
};

// Hue/saturation wheel with black circles at the minimum saturation, at the ring
// boundaries and at the rim.
void drawHueSaturationWheel(Canvas& canvas, const WheelGeometry& wheel)
{
    QColor color;
    for (int x = -150; x <= 150; ++x) {
        for (int y = -150; y <= 149; ++y) {
            const int r = static_cast<int>(std::sqrt(static_cast<double>(x * x + y * y)) * 1.7000000000000002);
            QRgb pixel = white;
            if (r < 256) {
                const int hue = static_cast<int>(360.0 - std::atan2(static_cast<double>(y), static_cast<double>(x)) *
                                                             57.29582790879778) %
                                360;
                color.setHsv(hue, r, 255);
                pixel = color.rgb() | black;
            }
            const int ring = wheel.ringWidth > 0 ? (r - wheel.minSaturation + 1) % wheel.ringWidth : -1;
            if (r == wheel.minSaturation || r == 256 || ring == 0 || ring == 1)
                pixel = black;
            canvas.set(150 + x, 150 + y, pixel);
        }
    }
}

// Sector boundaries from the minimum-saturation circle to the rim.
void drawSectorBoundaries(Canvas& canvas, const WheelGeometry& wheel)
{
    for (int s = 0; s < wheel.sectors; ++s) {
        const double theta = (2 * s + 1) * 3.141593 / wheel.sectors;
        const double c = std::cos(theta), sn = std::sin(theta);
        for (float rho = static_cast<float>(wheel.minSaturation + 1); rho < 255.0f; rho += 1.0f) {
            const float scaled = rho * 0.5882353f;
            canvas.set(pixelPosition(150 + scaled * c), pixelPosition(150 - scaled * sn), black);
        }
    }
}

// The panel right of the wheel: a strip with the value of each gray bin and the
// gray bins' bars above it.
void drawGrayPanel(Canvas& canvas, const HistogramHSV& histogram, float max, int ringWidth)
{
    const int grays = histogram.grays();
    if (grays <= 0)
        return;
    for (int x = 300; x < 500; ++x) {
        const int q = (x - 300) * grays / 200;
        const int v = 256 * q / grays + 128 / grays - 1;
        for (int y = 290; y >= 281; --y)
            canvas.set(x, y, grayOfLowByte(v));
    }
    const int barWidth = 200 / grays;
    const double* counts = histogram.counts();
    for (int g = 0; g < grays && g < histogram.binCount(); ++g) {
        const float h = static_cast<float>(ringWidth * counts[g] / static_cast<double>(max) * 0.5882352941176471);
        const int x0 = 300 + g * 200 / grays;
        for (int j = 0; j < barWidth; ++j)
            for (int k = 0; k < h && k <= 270; ++k)
                canvas.set(x0 + j, 270 - k, black);
    }
}

// Chromatic bars: along each sector's centre line, outwards from the inner circle
// of the bin's ring, about ten pixels wide. Both 0.2 steps are counted rather than
// summed so that no row is lost to rounding.
void drawChromaticBars(Canvas& canvas, const HistogramHSV& histogram, float max, const WheelGeometry& wheel)
{
    const int S = wheel.sectors, R = wheel.rings, M = wheel.minSaturation;
    if (R <= 0 || S <= 0)
        return;
    const double* counts = histogram.counts();
    const float step = static_cast<float>(6.283186 / S);
    for (int r = 0; r < R; ++r) {
        for (int s = 0; s < S; ++s) {
            const int bin = histogram.grays() + r * S + s;
            if (bin >= histogram.binCount())
                continue;
            const double h = counts[bin] / static_cast<double>(max) * (255 - M) / R;
            const double theta = static_cast<float>(s) * step;
            const double c = std::cos(theta), sn = std::sin(theta);
            const int a = M + r * (255 - M) / R;
            for (int n = 0; 0.2 * n < h && n < 100000; ++n) {
                const double rho = (a + 0.2 * n) * 0.5882352941176471;
                for (int m = 0; m <= 50; ++m) {
                    const double u = -5 + 0.2 * m;
                    canvas.set(pixelPosition(150 + rho * c + u * sn), pixelPosition(150 - rho * sn + u * c), black);
                }
            }
        }
    }
}

} // namespace

QImage drawGrayHistogram(const HistogramGray& histogram)
{
    Canvas canvas(276, 190);
    const int bins = histogram.binCount();
    const std::int32_t* counts = histogram.counts();
    // More than 256 bins would give a zero step: draw them one pixel wide.
    const int step = bins > 0 ? std::max(1, 256 / bins) : 256;
    std::int64_t max = 1;
    for (int i = 0; i < bins; ++i)
        max = std::max<std::int64_t>(max, counts[i]);

    for (int v = 0; v < 256; ++v)
        for (int k = 0; k < 10; ++k)
            canvas.set(10 + v, 180 - k, grayOfLowByte((v / step) * step));

    // 64-bit products: count * 150 passes 2^31 once a bin holds about 14 million pixels.
    for (int i = 0; i < bins; ++i) {
        const std::int64_t h = static_cast<std::int64_t>(counts[i]) * 150 / max;
        for (int j = 0; j < step; ++j)
            for (std::int64_t k = 0; k < h; ++k)
                canvas.set(10 + i * step + j, 160 - static_cast<int>(k), black);
    }
    return canvas.take();
}

QImage drawRGBHistogram(const HistogramRGB& histogram)
{
    const int bins = histogram.binCount();
    const int W = std::max(256, bins);
    Canvas canvas(W + 20, 190);
    const float* counts = histogram.counts();
    const HistogramRGB::Color* colors = histogram.colors();
    const int step = bins > 0 ? W / bins : W;
    float max = 1.0f;
    for (int i = 0; i < bins; ++i)
        max = std::max(max, counts[i]);

    // Colour strip with the same gaps as the bars: each bin shows over the left 80 % of its width.
    for (int x = 0; x < W; ++x) {
        if (!((x % step) < 0.8 * step))
            continue;
        const int bin = x / step;
        QRgb color = black;
        if (bin < bins) {
            const auto& c = colors[bin];
            color = qRgb(c[0] & 0xff, c[1] & 0xff, c[2] & 0xff);
        }
        for (int k = 0; k < 10; ++k)
            canvas.set(10 + x, 180 - k, color);
    }

    const double barWidth = step - 0.2 * step;
    for (int i = 0; i < bins; ++i) {
        const double h = static_cast<double>(counts[i]) * 150 / static_cast<double>(max);
        for (int j = 0; j < barWidth; ++j)
            for (int k = 0; k < h && k <= 160; ++k)
                canvas.set(10 + i * step + j, 160 - k, black);
    }
    return canvas.take();
}

QImage drawHSVHistogram(const HistogramHSV& histogram)
{
    Canvas canvas(500, 300);
    const WheelGeometry wheel{histogram.sectors(), histogram.rings(), histogram.minSaturation(),
                              histogram.rings() > 0 ? (255 - histogram.minSaturation()) / histogram.rings() : 0};
    const double* counts = histogram.counts();
    float max = 1.0f;
    for (int i = 0; i < histogram.binCount(); ++i)
        max = std::max(max, static_cast<float>(counts[i]));

    drawHueSaturationWheel(canvas, wheel);
    drawSectorBoundaries(canvas, wheel);
    drawGrayPanel(canvas, histogram, max, wheel.ringWidth);
    drawChromaticBars(canvas, histogram, max, wheel);
    return canvas.take();
}

QImage drawHistogram(const Histogram& histogram)
{
    switch (histogram.type()) {
    case TypeHistogramGray:
        return drawGrayHistogram(static_cast<const HistogramGray&>(histogram));
    case TypeHistogramRGB:
        return drawRGBHistogram(static_cast<const HistogramRGB&>(histogram));
    case TypeHistogramHSV:
        return drawHSVHistogram(static_cast<const HistogramHSV&>(histogram));
    default:
        return {};
    }
}

QImage drawHistograms(const std::vector<const Histogram*>& histograms)
{
    std::vector<QImage> parts;
    int width = 0, height = 0;
    for (const Histogram* h : histograms) {
        parts.push_back(drawHistogram(*h));
        width = std::max(width, parts.back().width());
        height += parts.back().height();
    }
    if (parts.empty())
        return {};
    QImage out(width, height, QImage::Format_RGB32);
    out.fill(white);
    QPainter painter(&out);
    int y = 0;
    for (const QImage& part : parts) {
        painter.drawImage(0, y, part);
        y += part.height();
    }
    painter.end();
    return out;
}

} // namespace ivra
