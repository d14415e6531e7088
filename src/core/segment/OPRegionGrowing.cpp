#include "OPRegionGrowing.h"

#include "ops/OPColorTransform.h"
#include "util/MessageSink.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace ivra {

namespace {

void checkSpan(int span)
{
    if (span < RegionGrowingParams::minSpan || span > RegionGrowingParams::maxSpan)
        throw std::invalid_argument("region growing: span " + std::to_string(span) + " is outside " +
                                    std::to_string(RegionGrowingParams::minSpan) + ".." +
                                    std::to_string(RegionGrowingParams::maxSpan));
}

// Queue entries hold a position as x | y << 16; sides stay below 2^15.
static_assert(Image::maxSide < (1 << 16));
constexpr std::uint32_t pack(int x, int y) { return static_cast<std::uint32_t>(x) | static_cast<std::uint32_t>(y) << 16; }
constexpr int unpackX(std::uint32_t q) { return static_cast<int>(q & 0xffffu); }
constexpr int unpackY(std::uint32_t q) { return static_cast<int>(q >> 16); }

// First-in-first-out queue of packed positions in a ring whose capacity doubles
// when full: it holds only the growing front, which is usually far smaller than
// the region, and it is reused from region to region.
class PositionQueue {
public:
    PositionQueue() : ring_(std::make_unique_for_overwrite<std::uint32_t[]>(initialCapacity)), mask_(initialCapacity - 1) {}

    bool empty() const { return head_ == tail_; }
    void push(std::uint32_t q)
    {
        if (tail_ - head_ > mask_)
            grow();
        ring_[tail_++ & mask_] = q;
    }
    std::uint32_t pop() { return ring_[head_++ & mask_]; }

private:
    static constexpr std::size_t initialCapacity = 4096;

    void grow()
    {
        const std::size_t capacity = (mask_ + 1) * 2;
        auto bigger = std::make_unique_for_overwrite<std::uint32_t[]>(capacity);
        const std::size_t n = tail_ - head_;
        for (std::size_t k = 0; k < n; ++k)
            bigger[k] = ring_[(head_ + k) & mask_];
        ring_ = std::move(bigger);
        mask_ = capacity - 1;
        head_ = 0;
        tail_ = n;
    }

    std::unique_ptr<std::uint32_t[]> ring_;
    std::size_t mask_;
    std::size_t head_ = 0; // running counters; positions are taken modulo the capacity
    std::size_t tail_ = 0;
};

// Marks of the pixels that already belong to a region, one bit per pixel, stored
// column by column: the seed scan runs down the columns, and reading the labels
// plane in that order would touch a new cache line (and page) at every step.
class ColumnMarks {
public:
    ColumnMarks(int width, int height)
        : height_(height), wordsPerColumn_((static_cast<std::size_t>(height) + 63) / 64),
          words_(static_cast<std::size_t>(width) * wordsPerColumn_, 0)
    {
    }

    bool test(int x, int y) const { return (word(x, y) >> (y & 63)) & 1u; }
    void set(int x, int y) { word(x, y) |= std::uint64_t{1} << (y & 63); }

    // First unmarked row of column x at or after row `from`, or height if none.
    int firstFree(int x, int from) const
    {
        const std::uint64_t* column = words_.data() + static_cast<std::size_t>(x) * wordsPerColumn_;
        std::size_t k = static_cast<std::size_t>(from) >> 6;
        if (k >= wordsPerColumn_)
            return height_;
        std::uint64_t free = ~column[k] & (~std::uint64_t{0} << (from & 63));
        while (free == 0) {
            if (++k == wordsPerColumn_)
                return height_;
            free = ~column[k];
        }
        return std::min(static_cast<int>(k * 64) + std::countr_zero(free), height_);
    }

private:
    std::uint64_t& word(int x, int y)
    {
        return words_[static_cast<std::size_t>(x) * wordsPerColumn_ + (static_cast<std::size_t>(y) >> 6)];
    }
    const std::uint64_t& word(int x, int y) const
    {
        return words_[static_cast<std::size_t>(x) * wordsPerColumn_ + (static_cast<std::size_t>(y) >> 6)];
    }

    int height_;
    std::size_t wordsPerColumn_;
    std::vector<std::uint64_t> words_;
};

// Grows every region, writing the labels; `region.finish()` is called once per
// region, in label order, when it is complete.
//
// Growing from the seed breadth-first, pixel by pixel, or filling row runs as
// here labels exactly the same pixels: the similarity test depends only on the
// seed and the pixel, so a region is always the 4-connected set of pixels that
// are similar to the seed and unlabelled when it starts, whatever order it is
// visited in. Runs walk the planes along rows, which keeps the reads close
// together; the queue holds the first pixel of each run still to be filled.
//
// Region supplies: start(seedIndex), similar(index), add(index), finish().
template <typename Region>
void growRegions(int width, int height, std::uint32_t* labels, Region& region, const ivra::Progress& progress)
{
    if (width <= 0 || height <= 0)
        return;
    const std::size_t stride = static_cast<std::size_t>(width);
    std::fill_n(labels, stride * static_cast<std::size_t>(height), 0u);
    ColumnMarks marks(width, height);
    PositionQueue queue;
    std::uint32_t regionCount = 0;

    for (int x = 0; x < width; ++x) {
        progress.update(x, width);
        for (int y = marks.firstFree(x, 0); y < height; y = marks.firstFree(x, y + 1)) {
            const std::uint32_t label = ++regionCount;
            region.start(static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x));
            queue.push(pack(x, y)); // the seed is similar to itself
            while (!queue.empty()) {
                const std::uint32_t q = queue.pop();
                const int py = unpackY(q);
                const std::size_t rowStart = static_cast<std::size_t>(py) * stride;
                std::uint32_t* row = labels + rowStart;
                int left = unpackX(q);
                if (row[left] != 0)
                    continue; // filled by another run since it was queued
                int right = left;
                while (left > 0 && row[left - 1] == 0 && region.similar(rowStart + left - 1))
                    --left;
                while (right + 1 < width && row[right + 1] == 0 && region.similar(rowStart + right + 1))
                    ++right;
                for (int i = left; i <= right; ++i) {
                    row[i] = label;
                    marks.set(i, py);
                    region.add(rowStart + static_cast<std::size_t>(i));
                }
                // Queue the start of every run of free, similar pixels above and below.
                auto scanRow = [&](int ny) {
                    const std::size_t start = static_cast<std::size_t>(ny) * stride;
                    const std::uint32_t* other = labels + start;
                    bool inRun = false;
                    for (int i = left; i <= right; ++i) {
                        const bool joins = other[i] == 0 && region.similar(start + static_cast<std::size_t>(i));
                        if (joins && !inRun)
                            queue.push(pack(i, ny));
                        inRun = joins;
                    }
                };
                if (py > 0)
                    scanRow(py - 1);
                if (py + 1 < height)
                    scanRow(py + 1);
            }
            region.finish();
        }
    }
    progress.update(width, width);
}

// Mean colour of each region, indexed by label (index 0 unused).
using MeanTable = std::vector<std::array<std::int32_t, 3>>;

// Paints every pixel in the mean colour of its label, in one pass over the planes.
void paintMeans(const std::uint32_t* labels, const MeanTable& means, ImageRGB& result)
{
    std::int32_t *r = result.red(), *g = result.green(), *b = result.blue();
    for (std::size_t i = 0, n = result.pixelCount(); i < n; ++i) {
        const auto& m = means[labels[i]];
        r[i] = m[0];
        g[i] = m[1];
        b[i] = m[2];
    }
}

// Where the growing reads pixel values. When every plane value is a byte (any
// loaded picture) the three-byte source pixels hold exactly the same values in a
// quarter of the memory, which matters for the scattered reads of the growing;
// otherwise the planes are read as they are.
struct PlaneColors {
    static constexpr bool bytes = false;
    const std::int32_t *r, *g, *b;
    std::array<std::int32_t, 3> at(std::size_t i) const { return {r[i], g[i], b[i]}; }
};
struct ByteColors {
    static constexpr bool bytes = true;
    const RGB24* p;
    std::array<std::int32_t, 3> at(std::size_t i) const { return {p[i].r, p[i].g, p[i].b}; }
};
struct PlaneGrays {
    const std::int32_t* v;
    std::int32_t at(std::size_t i) const { return v[i]; }
};
struct ByteGrays {
    const RGB24* p;
    std::int32_t at(std::size_t i) const { return p[i].r; }
};

// Colour variant: squared Euclidean RGB distance to the seed <= span².
template <typename Colors>
class ColorRegion {
public:
    ColorRegion(Colors colors, int span, MeanTable& means) : colors_(colors), span2_(span * span), means_(means) {}

    void start(std::size_t seed)
    {
        seed_ = colors_.at(seed);
        sumR_ = sumG_ = sumB_ = 0;
        count_ = 0;
    }

    bool similar(std::size_t i) const
    {
        const auto c = colors_.at(i);
        return distance(c[0], seed_[0]) + distance(c[1], seed_[1]) + distance(c[2], seed_[2]) <= span2_;
    }

    void add(std::size_t i)
    {
        const auto c = colors_.at(i);
        sumR_ += c[0];
        sumG_ += c[1];
        sumB_ += c[2];
        ++count_;
    }

    void finish()
    {
        means_.push_back({static_cast<std::int32_t>(sumR_ / count_), static_cast<std::int32_t>(sumG_ / count_),
                          static_cast<std::int32_t>(sumB_ / count_)});
    }

private:
    // Squared difference of one channel. Between plane values far outside 0..255
    // a difference of 256 or more already exceeds the largest span² (255²) on its
    // own, so it is capped there: the outcome of the test is unchanged and the
    // sum cannot overflow.
    static int distance(std::int32_t value, std::int32_t seed)
    {
        if constexpr (Colors::bytes) {
            const int d = value - seed;
            return d * d;
        } else {
            const std::int64_t d = static_cast<std::int64_t>(value) - seed;
            const int a = static_cast<int>(std::min<std::int64_t>(d < 0 ? -d : d, 256));
            return a * a;
        }
    }

    Colors colors_;
    int span2_;
    MeanTable& means_;
    std::array<std::int32_t, 3> seed_{};
    // 64-bit: a region of more than about eight million pixels overflows 32-bit sums.
    std::int64_t sumR_ = 0, sumG_ = 0, sumB_ = 0;
    std::int64_t count_ = 0;
};

// Gray variant: |gray - seed gray| <= span; the mean gray goes into all three planes.
template <typename Grays>
class GrayRegion {
public:
    GrayRegion(Grays grays, int span, MeanTable& means) : grays_(grays), span_(span), means_(means) {}

    void start(std::size_t seed)
    {
        seed_ = grays_.at(seed);
        sum_ = 0;
        count_ = 0;
    }

    bool similar(std::size_t i) const
    {
        const std::int64_t d = static_cast<std::int64_t>(grays_.at(i)) - seed_;
        return (d < 0 ? -d : d) <= span_;
    }

    void add(std::size_t i)
    {
        sum_ += grays_.at(i);
        ++count_;
    }

    void finish()
    {
        const auto mean = static_cast<std::int32_t>(sum_ / count_);
        means_.push_back({mean, mean, mean});
    }

private:
    Grays grays_;
    std::int64_t span_;
    MeanTable& means_;
    std::int32_t seed_ = 0;
    std::int64_t sum_ = 0; // 64-bit, as for colour
    std::int64_t count_ = 0;
};

template <typename Region>
void growAndPaint(Region region, const MeanTable& means, ImageSegmented& result, const ivra::Progress& progress)
{
    growRegions(result.width(), result.height(), result.labels.data(), region, progress);
    paintMeans(result.labels.data(), means, result);
}

} // namespace

std::unique_ptr<ImageSegmented> OPRegionGrowing::execute(const ImageRGB& source, int span,
                                                         const ivra::Progress& progress) const
{
    checkSpan(span);
    auto result = std::make_unique<ImageSegmented>(source.width(), source.height());

    // The source as it was: the low byte of each plane. A segmented source gives
    // its planes (its result picture), not its own source pixels.
    const std::int32_t *r = source.red(), *g = source.green(), *b = source.blue();
    RGB24* pixels = result->sourcePixels.data();
    std::uint32_t outside = 0; // bits above the low byte, of all values together
    for (std::size_t i = 0, n = result->sourcePixels.size(); i < n; ++i) {
        pixels[i] = {static_cast<std::uint8_t>(r[i]), static_cast<std::uint8_t>(g[i]), static_cast<std::uint8_t>(b[i])};
        outside |= static_cast<std::uint32_t>(r[i] | g[i] | b[i]);
    }

    MeanTable means(1);
    if ((outside & ~0xffu) == 0)
        growAndPaint(ColorRegion(ByteColors{pixels}, span, means), means, *result, progress);
    else
        growAndPaint(ColorRegion(PlaneColors{r, g, b}, span, means), means, *result, progress);
    return result;
}

std::unique_ptr<ImageSegmented> OPRegionGrowing::execute(const ImageGray& source, int span,
                                                         const ivra::Progress& progress) const
{
    checkSpan(span);
    auto result = std::make_unique<ImageSegmented>(source.width(), source.height());

    // The source pixels come from the colour transform's gray-to-RGB copy, so the
    // viewer shows the gray picture as that operator would.
    const std::int32_t* v = source.data();
    {
        const auto rgb = OPColorTransform().Gray2RGB(source);
        const std::int32_t *r = rgb->red(), *g = rgb->green(), *b = rgb->blue();
        RGB24* pixels = result->sourcePixels.data();
        for (std::size_t i = 0, n = result->sourcePixels.size(); i < n; ++i)
            pixels[i] = {static_cast<std::uint8_t>(r[i]), static_cast<std::uint8_t>(g[i]),
                         static_cast<std::uint8_t>(b[i])};
    }
    std::uint32_t outside = 0; // bits above the low byte, of all values together
    for (std::size_t i = 0, n = source.pixelCount(); i < n; ++i)
        outside |= static_cast<std::uint32_t>(v[i]);

    ivra::MessageSink::instance().message("hier");
    MeanTable means(1);
    if ((outside & ~0xffu) == 0)
        growAndPaint(GrayRegion(ByteGrays{result->sourcePixels.data()}, span, means), means, *result, progress);
    else
        growAndPaint(GrayRegion(PlaneGrays{v}, span, means), means, *result, progress);
    return result;
}

std::unique_ptr<ImageSegmented> OPRegionGrowing::execute(const Image& source, const RegionGrowingParams& params,
                                                         const ivra::Progress& progress) const
{
    if (source.type() == TypeImageRGB)
        return execute(static_cast<const ImageRGB&>(source), params.span, progress);
    if (source.type() == TypeImageGray)
        return execute(static_cast<const ImageGray&>(source), params.span, progress);
    throw UnacceptedInput("Region growing", source.type());
}

std::string OPRegionGrowing::resultName(int, const RegionGrowingParams&)
{
    return "Region Growing";
}

} // namespace ivra
