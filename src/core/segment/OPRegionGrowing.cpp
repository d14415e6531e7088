#include "OPRegionGrowing.h"

#include "util/CMessageHandler.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace {

void checkSpan(int span)
{
    if (span < OPRegionGrowing::minSpan || span > OPRegionGrowing::maxSpan)
        throw std::invalid_argument("region growing: span " + std::to_string(span) + " is outside " +
                                    std::to_string(OPRegionGrowing::minSpan) + ".." +
                                    std::to_string(OPRegionGrowing::maxSpan));
}

// Queue entries hold a position as x | y << 16; sides stay below 2^15.
static_assert(Image::maxSide < (1 << 16));
constexpr std::uint32_t pack(int x, int y) { return static_cast<std::uint32_t>(x) | static_cast<std::uint32_t>(y) << 16; }
constexpr int unpackX(std::uint32_t q) { return static_cast<int>(q & 0xffffu); }
constexpr int unpackY(std::uint32_t q) { return static_cast<int>(q >> 16); }

// Grows every region and hands each finished one to `region.paint`.
//
// A pixel is tested and labelled when it enters the queue, not when it reaches
// the front. That labels exactly the same pixels as testing at the front: the
// similarity test depends only on the seed and the pixel, so either way a region
// is the 4-connected set of pixels that are similar to the seed and unlabelled
// when it starts. Labelling on entry means no position is queued twice, so the
// queue never holds more than one entry per pixel, and after the region is done
// it lists exactly the region's pixels for painting.
//
// Region supplies: start(seedIndex), similar(index), add(index) and
// paint(queue, count, width).
template <typename Region>
void growRegions(int width, int height, std::uint32_t* labels, Region& region, const ivra::Progress& progress)
{
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::fill_n(labels, count, 0u);
    if (count == 0)
        return;
    const auto queue = std::make_unique_for_overwrite<std::uint32_t[]>(count);
    const std::size_t stride = static_cast<std::size_t>(width);
    std::uint32_t regionCount = 0;

    for (int x = 0; x < width; ++x) {
        progress.update(x, width);
        for (int y = 0; y < height; ++y) {
            const std::size_t seed = static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x);
            if (labels[seed] != 0)
                continue;
            const std::uint32_t label = ++regionCount;
            region.start(seed);
            labels[seed] = label;
            queue[0] = pack(x, y);
            std::size_t head = 0;
            std::size_t tail = 1;
            while (head < tail) {
                const std::uint32_t q = queue[head++];
                const int px = unpackX(q);
                const int py = unpackY(q);
                const std::size_t p = static_cast<std::size_t>(py) * stride + static_cast<std::size_t>(px);
                region.add(p);
                // Neighbours in the order left, up, right, down.
                if (px > 0 && labels[p - 1] == 0 && region.similar(p - 1)) {
                    labels[p - 1] = label;
                    queue[tail++] = pack(px - 1, py);
                }
                if (py > 0 && labels[p - stride] == 0 && region.similar(p - stride)) {
                    labels[p - stride] = label;
                    queue[tail++] = pack(px, py - 1);
                }
                if (px + 1 < width && labels[p + 1] == 0 && region.similar(p + 1)) {
                    labels[p + 1] = label;
                    queue[tail++] = pack(px + 1, py);
                }
                if (py + 1 < height && labels[p + stride] == 0 && region.similar(p + stride)) {
                    labels[p + stride] = label;
                    queue[tail++] = pack(px, py + 1);
                }
            }
            region.paint(queue.get(), tail, stride);
        }
    }
    progress.update(width, width);
}

inline std::size_t indexOf(std::uint32_t q, std::size_t stride)
{
    return static_cast<std::size_t>(unpackY(q)) * stride + static_cast<std::size_t>(unpackX(q));
}

// Colour variant: squared Euclidean RGB distance to the seed <= span².
class ColourRegion {
public:
    ColourRegion(const ImageRGB& source, ImageRGB& result, int span)
        : r_(source.red()), g_(source.green()), b_(source.blue()), outR_(result.red()), outG_(result.green()),
          outB_(result.blue()), span2_(span * span)
    {
    }

    void start(std::size_t seed)
    {
        seedR_ = r_[seed];
        seedG_ = g_[seed];
        seedB_ = b_[seed];
        sumR_ = sumG_ = sumB_ = 0;
    }

    bool similar(std::size_t i) const
    {
        return distance(r_[i], seedR_) + distance(g_[i], seedG_) + distance(b_[i], seedB_) <= span2_;
    }

    void add(std::size_t i)
    {
        sumR_ += r_[i];
        sumG_ += g_[i];
        sumB_ += b_[i];
    }

    void paint(const std::uint32_t* queue, std::size_t count, std::size_t stride) const
    {
        const auto n = static_cast<std::int64_t>(count);
        const auto meanR = static_cast<std::int32_t>(sumR_ / n);
        const auto meanG = static_cast<std::int32_t>(sumG_ / n);
        const auto meanB = static_cast<std::int32_t>(sumB_ / n);
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t i = indexOf(queue[k], stride);
            outR_[i] = meanR;
            outG_[i] = meanG;
            outB_[i] = meanB;
        }
    }

private:
    // Squared difference of one channel. A difference of 256 or more already
    // exceeds the largest span² (255²) on its own, so it is capped there: the
    // outcome of the test is unchanged and planes with values far outside
    // 0..255 cannot overflow the sum.
    static int distance(std::int32_t value, std::int32_t seed)
    {
        const std::int64_t d = static_cast<std::int64_t>(value) - seed;
        const int a = static_cast<int>(std::min<std::int64_t>(d < 0 ? -d : d, 256));
        return a * a;
    }

    const std::int32_t *r_, *g_, *b_;
    std::int32_t *outR_, *outG_, *outB_;
    int span2_;
    std::int32_t seedR_ = 0, seedG_ = 0, seedB_ = 0;
    // 64-bit: a region of more than about eight million pixels overflows 32-bit sums.
    std::int64_t sumR_ = 0, sumG_ = 0, sumB_ = 0;
};

// Gray variant: |gray - seed gray| <= span; the mean gray goes into all three planes.
class GrayRegion {
public:
    GrayRegion(const ImageGray& source, ImageRGB& result, int span)
        : v_(source.data()), outR_(result.red()), outG_(result.green()), outB_(result.blue()), span_(span)
    {
    }

    void start(std::size_t seed)
    {
        seed_ = v_[seed];
        sum_ = 0;
    }

    bool similar(std::size_t i) const
    {
        const std::int64_t d = static_cast<std::int64_t>(v_[i]) - seed_;
        return (d < 0 ? -d : d) <= span_;
    }

    void add(std::size_t i) { sum_ += v_[i]; }

    void paint(const std::uint32_t* queue, std::size_t count, std::size_t stride) const
    {
        const auto mean = static_cast<std::int32_t>(sum_ / static_cast<std::int64_t>(count));
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t i = indexOf(queue[k], stride);
            outR_[i] = mean;
            outG_[i] = mean;
            outB_[i] = mean;
        }
    }

private:
    const std::int32_t* v_;
    std::int32_t *outR_, *outG_, *outB_;
    std::int64_t span_;
    std::int32_t seed_ = 0;
    std::int64_t sum_ = 0;
};

} // namespace

std::unique_ptr<ImageSegmented> OPRegionGrowing::execute(const ImageRGB& source, int span,
                                                         const ivra::Progress& progress) const
{
    checkSpan(span);
    const int w = source.width();
    const int h = source.height();
    auto result = std::make_unique<ImageSegmented>(w, h);

    // The source as it was: the low byte of each plane. A segmented source gives
    // its planes (its result picture), not its own source pixels.
    const std::int32_t *r = source.red(), *g = source.green(), *b = source.blue();
    RGB24* pixels = result->sourcePixels.data();
    for (std::size_t i = 0, n = result->sourcePixels.size(); i < n; ++i)
        pixels[i] = {static_cast<std::uint8_t>(r[i]), static_cast<std::uint8_t>(g[i]), static_cast<std::uint8_t>(b[i])};

    ColourRegion region(source, *result, span);
    growRegions(w, h, result->labels.data(), region, progress);
    return result;
}

std::unique_ptr<ImageSegmented> OPRegionGrowing::execute(const ImageGray& source, int span,
                                                         const ivra::Progress& progress) const
{
    checkSpan(span);
    const int w = source.width();
    const int h = source.height();
    auto result = std::make_unique<ImageSegmented>(w, h);

    // The gray-to-RGB copy: each gray value goes into R, G and B, and the source
    // pixels keep its low byte.
    const std::int32_t* v = source.data();
    RGB24* pixels = result->sourcePixels.data();
    for (std::size_t i = 0, n = result->sourcePixels.size(); i < n; ++i) {
        const auto byte = static_cast<std::uint8_t>(v[i]);
        pixels[i] = {byte, byte, byte};
    }

    tools::CMessageHandler::instance().message("hier");
    GrayRegion region(source, *result, span);
    growRegions(w, h, result->labels.data(), region, progress);
    return result;
}
