#include "OPColorHistogram.h"

#include "ops/OPHistogram.h"
#include "ops/OPSplit.h"
#include "util/MessageSink.h"
#include "util/ParallelRows.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace ivra {

namespace {

void checkAxis(int n, const char* what)
{
    if (n < 1 || n > 256)
        throw std::invalid_argument(std::string("RGB histogram: ") + what + " bin count must lie in 1..256");
}

void checkRGBBins(long long bins)
{
    if (bins > OPColorHistogram::maxRGBBins)
        throw std::invalid_argument("RGB histogram: more than " + std::to_string(OPColorHistogram::maxRGBBins) +
                                    " bins");
}

// One axis of the fuzzy RGB histogram for a channel value x: the bins of the
// lower and upper neighbouring centres (already replaced at the ends of the
// axis) and the distances to them, taken before the replacement.
struct FuzzyAxis {
    long long lower;    // c0 / w
    long long upper;    // c1 / w
    long long toLower;  // d0 = x - c0
    long long toUpper;  // d1 = c1 - x
};

FuzzyAxis fuzzyAxis(long long x, int w)
{
    const long long half = w / 2;
    long long c0 = ((x + half + 1) / w) * w - half - 1;
    long long c1 = c0 + w;
    const long long d0 = x - c0;
    const long long d1 = c1 - x;
    if (c0 < 0)
        c0 = c1;
    if (c1 > 255)
        c1 = c0;
    return {c0 / w, c1 / w, d0, d1};
}

} // namespace

std::array<std::unique_ptr<HistogramGray>, 3> OPColorHistogram::channels(const ImageColor& src, int bins,
                                                                          const ivra::Progress& progress)
{
    // The gray-level histogram of each channel image; the channel image lives
    // only as long as its count.
    std::array<std::unique_ptr<HistogramGray>, 3> result;
    for (int c = 0; c < 3; ++c) {
        const ivra::Progress part([&progress, c](double f) {
            progress.update(c + f, 3);
            return true;
        });
        const auto channel = OPSplit::channel(src, c);
        result[static_cast<std::size_t>(c)] = OPHistogram::execute(*channel, bins, progress ? part : ivra::Progress{});
    }
    return result;
}

void OPColorHistogram::setRGBColors(HistogramRGB& histogram, int nR, int nG, int nB)
{
    const int wR = 256 / nR, wG = 256 / nG, wB = 256 / nB;
    HistogramRGB::Color* colors = histogram.colors();
    for (int k = 0; k < nB; ++k)
        for (int j = 0; j < nG; ++j)
            for (int i = 0; i < nR; ++i)
                colors[(k * nG + j) * nR + i] = {i * wR + wR / 2 - 1, j * wG + wG / 2 - 1, k * wB + wB / 2 - 1};
}

std::unique_ptr<HistogramRGB> OPColorHistogram::staticRGB(const ImageRGB& src, int nR, int nG, int nB,
                                                          const ivra::Progress& progress)
{
    checkAxis(nR, "red");
    checkAxis(nG, "green");
    checkAxis(nB, "blue");
    checkRGBBins(static_cast<long long>(nR) * nG * nB);
    const int bins = nR * nG * nB;
    auto histogram = std::make_unique<HistogramRGB>(bins);
    setRGBColors(*histogram, nR, nG, nB);
    const int wR = 256 / nR, wG = 256 / nG, wB = 256 / nB;

    // Per-channel parts of the bin index for values 0..255.
    std::array<std::uint32_t, 256> partR{}, partG{}, partB{};
    for (int v = 0; v < 256; ++v) {
        partR[v] = static_cast<std::uint32_t>(v / wR);
        partG[v] = static_cast<std::uint32_t>((v / wG) * nR);
        partB[v] = static_cast<std::uint32_t>((v / wB) * nG * nR);
    }

    // Counting in integers keeps counts exact past 2^24, where a float count
    // would stop growing. Four interleaved tallies keep runs of equal bins from
    // waiting on each other.
    // Each thread has its own tallies.
    constexpr int lanes = 4;
    const int threads = std::max(1, threadCount());
    const std::size_t tallySize = static_cast<std::size_t>(bins) * lanes;
    std::vector<std::uint32_t> tallies(tallySize * static_cast<std::size_t>(threads), 0);
    const std::uint32_t binLimit = static_cast<std::uint32_t>(bins);
    const std::size_t width = static_cast<std::size_t>(src.width());
    const int height = src.height();

    const auto countRows = [&](int y0, int y1) {
        std::uint32_t* tally = tallies.data() + tallySize * static_cast<std::size_t>(omp_get_thread_num());
        for (int y = y0; y < y1; ++y) {
            const std::size_t start = static_cast<std::size_t>(y) * width;
            const std::int32_t* R = src.red() + start;
            const std::int32_t* G = src.green() + start;
            const std::int32_t* B = src.blue() + start;
            for (std::size_t x = 0; x < width; ++x) {
                const std::int32_t r = R[x], g = G[x], b = B[x];
                if (static_cast<std::uint32_t>(r | g | b) < 256u) {
                    const std::uint32_t index = partB[static_cast<std::size_t>(b)] +
                                                partG[static_cast<std::size_t>(g)] + partR[static_cast<std::size_t>(r)];
                    if (index < binLimit)
                        ++tally[static_cast<std::size_t>(index) * lanes + (x % lanes)];
                    continue;
                }
                const long long index = ((b / wB) * static_cast<long long>(nG) + g / wG) * nR + r / wR;
                if (index >= 0 && index < bins)
                    ++tally[static_cast<std::size_t>(index) * lanes];
            }
        }
    };
    parallelRows(0, height, 1, countRows, [&](int done) { progress.update(done, height); });
    for (int t = 1; t < threads; ++t)
        for (std::size_t i = 0; i < tallySize; ++i)
            tallies[i] += tallies[tallySize * static_cast<std::size_t>(t) + i];
    const std::vector<std::uint32_t>& tally = tallies;

    float* counts = histogram->counts();
    for (int i = 0; i < bins; ++i) {
        std::uint64_t sum = 0;
        for (int l = 0; l < lanes; ++l)
            sum += tally[static_cast<std::size_t>(i) * lanes + static_cast<std::size_t>(l)];
        counts[i] = static_cast<float>(sum);
    }
    return histogram;
}

namespace {

// Trilinear shares of one pixel among the eight cells around it, for a cube of
// n cells per axis. Values 0..255 take their axis from a table, in int arithmetic
// (products stay below 2^24); anything else goes through the formulas in 64 bits
// and a 128-bit product.
class FuzzyCubeShares {
public:
    FuzzyCubeShares(int n, float* counts)
        : n_(n), bins_(n * n * n), w_(256 / n), counts_(counts), cubeF_(static_cast<float>(w_ * w_ * w_)),
          powerOfTwo_(((w_ * w_ * w_) & (w_ * w_ * w_ - 1)) == 0), reciprocal_(1.0f / cubeF_)
    {
        for (int v = 0; v < 256; ++v) {
            const FuzzyAxis a = fuzzyAxis(v, w_);
            axis_[v] = {{static_cast<int>(a.lower), static_cast<int>(a.upper)},
                        {static_cast<int>(a.toUpper), static_cast<int>(a.toLower)}};
        }
    }

    void addPixel(std::int32_t r, std::int32_t g, std::int32_t b)
    {
        if (static_cast<std::uint32_t>(r | g | b) < 256u)
            shareFast(axis_[static_cast<std::size_t>(r)], axis_[static_cast<std::size_t>(g)],
                      axis_[static_cast<std::size_t>(b)]);
        else
            shareSlow(fuzzyAxis(r, w_), fuzzyAxis(g, w_), fuzzyAxis(b, w_));
    }

private:
    struct Axis {
        int bin[2];      // lower, upper
        int distance[2]; // weight factor of the lower and the upper corner: d1, d0
    };

    void add(long long index, float product)
    {
        // Dividing by a power of two and multiplying by its exact reciprocal give
        // the same float; the division is kept for the other cube sizes.
        if (index >= 0 && index < bins_)
            counts_[index] += powerOfTwo_ ? product * reciprocal_ : product / cubeF_;
    }

    // Corner order: red lower/upper outermost, blue innermost. A lower corner
    // takes the distance to the upper centre, and the other way round.
    void shareFast(const Axis& r, const Axis& g, const Axis& b)
    {
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j)
                for (int k = 0; k < 2; ++k)
                    add((static_cast<long long>(b.bin[k]) * n_ + g.bin[j]) * n_ + r.bin[i],
                        static_cast<float>(r.distance[i] * g.distance[j] * b.distance[k]));
    }

    void shareSlow(const FuzzyAxis& r, const FuzzyAxis& g, const FuzzyAxis& b)
    {
        const long long rb[2] = {r.lower, r.upper}, gb[2] = {g.lower, g.upper}, bb[2] = {b.lower, b.upper};
        const long long rd[2] = {r.toUpper, r.toLower}, gd[2] = {g.toUpper, g.toLower}, bd[2] = {b.toUpper, b.toLower};
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j)
                for (int k = 0; k < 2; ++k)
                    add((bb[k] * n_ + gb[j]) * n_ + rb[i],
                        static_cast<float>(static_cast<__int128>(rd[i]) * gd[j] * bd[k]));
    }

    const int n_;
    const int bins_;
    const int w_;
    float* const counts_;
    const float cubeF_; // at most 2^24: exact as a float
    const bool powerOfTwo_;
    const float reciprocal_;
    std::array<Axis, 256> axis_{};
};

} // namespace

std::unique_ptr<HistogramRGB> OPColorHistogram::fuzzyRGB(const ImageRGB& src, int n, const ivra::Progress& progress)
{
    checkAxis(n, "cube");
    checkRGBBins(static_cast<long long>(n) * n * n);
    auto histogram = std::make_unique<HistogramRGB>(n * n * n);
    setRGBColors(*histogram, n, n, n);
    FuzzyCubeShares shares(n, histogram->counts());

    const std::size_t width = static_cast<std::size_t>(src.width());
    const int height = src.height();
    for (int y = 0; y < height; ++y) {
        const std::size_t start = static_cast<std::size_t>(y) * width;
        const std::int32_t* R = src.red() + start;
        const std::int32_t* G = src.green() + start;
        const std::int32_t* B = src.blue() + start;
        for (std::size_t x = 0; x < width; ++x)
            shares.addPixel(R[x], G[x], B[x]);
        progress.update(y + 1, height);
    }
    return histogram;
}

std::unique_ptr<HistogramHSV> OPColorHistogram::fuzzyHSV(const ImageHSV& src, int sectors, int rings, int grays,
                                                         const ivra::Progress& progress)
{
    auto layout = std::make_shared<const HSVBinLayout>(sectors, rings, grays, minSaturation);
    auto histogram = std::make_unique<HistogramHSV>(std::move(layout));
    const std::size_t width = static_cast<std::size_t>(src.width());
    const int height = src.height();
    for (int y = 0; y < height; ++y) {
        const std::size_t start = static_cast<std::size_t>(y) * width;
        histogram->addPixels(src.hue() + start, src.saturation() + start, src.value() + start, width);
        progress.update(y + 1, height);
    }
    return histogram;
}

std::unique_ptr<HistogramHSV> OPColorHistogram::staticHSV(const ImageHSV& src, int sectors, int rings, int grays,
                                                          const ivra::Progress& progress)
{
    return fuzzyHSV(src, sectors, rings, grays, progress);
}

void OPColorHistogram::dynamic()
{
    ivra::MessageSink::instance().message("Dynamic Histogram not yet implemented !");
}

std::vector<std::unique_ptr<DataObject>> OPColorHistogram::execute(const Image& src, const ColorHistogramParams& p,
                                                                   const ivra::Progress& progress)
{
    using Kind = ColorHistogramParams::Kind;
    const int type = src.type();
    if (type != TypeImageRGB && type != TypeImageHSV)
        throw UnacceptedInput("Color histogram", type);
    std::vector<std::unique_ptr<DataObject>> results;
    if (p.kind == Kind::Channel) {
        for (auto& h : channels(static_cast<const ImageColor&>(src), p.bins, progress))
            results.push_back(std::move(h));
    } else if (type == TypeImageRGB) {
        const auto& image = static_cast<const ImageRGB&>(src);
        if (p.kind == Kind::Fuzzy)
            results.push_back(fuzzyRGB(image, p.cube, progress));
        else
            results.push_back(staticRGB(image, p.cube, p.cube, p.cube, progress));
    } else {
        const auto& image = static_cast<const ImageHSV&>(src);
        if (p.kind == Kind::Fuzzy)
            results.push_back(fuzzyHSV(image, 6, 2, p.grays, progress));
        else
            results.push_back(staticHSV(image, 6, 2, p.grays, progress));
    }
    return results;
}

std::vector<std::string> OPColorHistogram::resultNames(int inputType, const ColorHistogramParams& p)
{
    using Kind = ColorHistogramParams::Kind;
    const bool rgb = inputType == TypeImageRGB;
    if (p.kind == Kind::Channel) {
        const std::string bins = std::to_string(p.bins);
        if (rgb)
            return {"Histogram Red " + bins, "Histogram Green " + bins, "Histogram Blue " + bins};
        return {"Histogram Hue " + bins, "Histogram Saturation " + bins, "Histogram Value " + bins};
    }
    const std::string kind = p.kind == Kind::Fuzzy ? "Fuzzy " : "Static ";
    if (rgb) {
        const std::string n = std::to_string(p.cube);
        return {kind + "RGB-Histogram " + n + "x" + n + "x" + n};
    }
    return {kind + "HSV-Histogram 6x2+" + std::to_string(p.grays)};
}

} // namespace ivra
