#include "segment/OPRecursiveHistogramSplitting.h"

#include "image/CBitImage32.h"
#include "segment/HistogramClustering.h"
#include "segment/RHSFeatures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <vector>

using namespace ivra;

namespace {

using ivra::rhs::featureBins;
using ivra::rhs::featureCount;
using ivra::rhs::HistogramClusters;

struct Colour {
    int r, g, b;
};

std::unique_ptr<ImageRGB> picture(int width, int height, const std::vector<Colour>& pixels)
{
    auto image = std::make_unique<ImageRGB>(width, height);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        image->red()[i] = pixels[i].r;
        image->green()[i] = pixels[i].g;
        image->blue()[i] = pixels[i].b;
    }
    return image;
}

std::unique_ptr<ImageRGB> uniform(int width, int height, Colour c)
{
    return picture(width, height, std::vector<Colour>(static_cast<std::size_t>(width) * height, c));
}

RHSParameters params(int gtWindow, int minSplitPeak, int minRegionSize)
{
    RHSParameters p;
    p.gtWindow = gtWindow;
    p.minSplitPeak = minSplitPeak;
    p.minRegionSize = minRegionSize;
    return p;
}

std::unique_ptr<ImageSegmented> run(const ImageRGB& image, const RHSParameters& p)
{
    return OPRecursiveHistogramSplitting().execute(image, p);
}

std::uint32_t labelAt(const ImageSegmented& s, int x, int y)
{
    return s.labels.at(x, y);
}

// Splitting the plain way: bit masks on bounding rectangles, histograms counted
// bit by bit, flood fills on a full-size scratch image, a stack of masks.
struct Mask {
    int x0, y0, x1, y1;
    std::unique_ptr<CBitImage32> bits;
};

struct Plain {
    std::vector<std::uint32_t> labels;
    std::vector<Colour> painted;
};

void plainComponents(CBitImage32& m, const Mask& rect, int width, int height, std::vector<std::unique_ptr<Mask>>& out)
{
    CBitImage32 scratch(width, height);
    for (int row = 0; row < m.height(); ++row) {
        for (int col = 0; col < m.width(); ++col) {
            if (!m.get(col, row))
                continue;
            scratch.fill(0);
            std::vector<std::pair<int, int>> points{{col, row}};
            int minC = m.width(), minR = m.height(), maxC = 0, maxR = 0;
            while (!points.empty()) {
                auto [px, py] = points.back();
                points.pop_back();
                scratch.set(px, py, 1);
                m.set(px, py, 0);
                minC = std::min(minC, px);
                maxC = std::max(maxC, px);
                minR = std::min(minR, py);
                maxR = std::max(maxR, py);
                if (px - 1 >= 0 && m.get(px - 1, py))
                    points.push_back({px - 1, py});
                if (px + 1 < m.width() && m.get(px + 1, py))
                    points.push_back({px + 1, py});
                if (py - 1 >= 0 && m.get(px, py - 1))
                    points.push_back({px, py - 1});
                if (py + 1 < m.height() && m.get(px, py + 1))
                    points.push_back({px, py + 1});
            }
            auto piece = std::make_unique<Mask>();
            piece->x0 = rect.x0 + minC;
            piece->y0 = rect.y0 + minR;
            piece->x1 = rect.x0 + maxC;
            piece->y1 = rect.y0 + maxR;
            piece->bits = std::make_unique<CBitImage32>(maxC - minC + 1, maxR - minR + 1);
            for (int r = minR; r <= maxR; ++r)
                for (int c = minC; c <= maxC; ++c)
                    piece->bits->set(c - minC, r - minR, scratch.get(c, r));
            out.push_back(std::move(piece));
        }
    }
}

Plain plainSplitting(const ImageRGB& image, const RHSParameters& p)
{
    const int w = image.width();
    const int h = image.height();
    std::vector<std::array<int, featureCount>> features;
    for (int i = 0; i < w * h; ++i)
        features.push_back(ivra::rhs::pixelFeatures(static_cast<std::uint8_t>(image.red()[i]),
                                                    static_cast<std::uint8_t>(image.green()[i]),
                                                    static_cast<std::uint8_t>(image.blue()[i])));
    Plain out{std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h), std::vector<Colour>(w * h)};
    std::uint32_t labelCounter = 0;
    std::vector<std::unique_ptr<Mask>> stack;
    auto first = std::make_unique<Mask>(Mask{0, 0, w - 1, h - 1, std::make_unique<CBitImage32>(w, h)});
    first->bits->fill(1);
    stack.push_back(std::move(first));
    while (!stack.empty()) {
        std::unique_ptr<Mask> m = std::move(stack.back());
        stack.pop_back();
        std::vector<std::vector<int>> hist(featureCount);
        for (int k = 0; k < featureCount; ++k)
            hist[k].assign(featureBins[k], 0);
        int count = 0;
        for (int y = m->y0; y <= m->y1; ++y)
            for (int x = m->x0; x <= m->x1; ++x)
                if (m->bits->get(x - m->x0, y - m->y0)) {
                    ++count;
                    for (int k = 0; k < featureCount; ++k)
                        ++hist[k][features[y * w + x][k]];
                }
        long long bestSize = -1;
        int bestFeature = -1;
        HistogramClusters c;
        for (int k = 0; k < featureCount; ++k) {
            c.cluster(hist[k].data(), featureBins[k], p.gtWindow, k == 3);
            if (c.count() >= 2) {
                long long biggest = -1;
                for (int q = 0; q < c.count(); ++q)
                    biggest = std::max(biggest, static_cast<long long>(c.mass(q)));
                if (biggest > bestSize) {
                    bestSize = biggest;
                    bestFeature = k;
                }
            }
        }
        if (bestFeature == -1 || bestSize <= p.minSplitPeak || count <= p.minRegionSize) {
            const std::uint32_t label = ++labelCounter;
            long long sum[3] = {0, 0, 0};
            for (int y = m->y0; y <= m->y1; ++y)
                for (int x = m->x0; x <= m->x1; ++x)
                    if (m->bits->get(x - m->x0, y - m->y0)) {
                        sum[0] += image.red()[y * w + x] & 0xff;
                        sum[1] += image.green()[y * w + x] & 0xff;
                        sum[2] += image.blue()[y * w + x] & 0xff;
                        out.labels[y * w + x] = label;
                    }
            const Colour mean{static_cast<int>(sum[0] / count), static_cast<int>(sum[1] / count),
                              static_cast<int>(sum[2] / count)};
            for (int y = m->y0; y <= m->y1; ++y)
                for (int x = m->x0; x <= m->x1; ++x)
                    if (m->bits->get(x - m->x0, y - m->y0))
                        out.painted[y * w + x] = mean;
            continue;
        }
        c.cluster(hist[bestFeature].data(), featureBins[bestFeature], p.gtWindow, bestFeature == 3);
        int largest = 0;
        for (int q = 1; q < c.count(); ++q)
            if (c.mass(q) > c.mass(largest))
                largest = q;
        const int peak = c.peak(largest);
        const int mw = m->x1 - m->x0 + 1;
        const int mh = m->y1 - m->y0 + 1;
        CBitImage32 a(mw, mh);
        CBitImage32 b(mw, mh);
        for (int row = 0; row < mh; ++row)
            for (int col = 0; col < mw; ++col)
                if (m->bits->get(col, row)) {
                    const int value = features[(m->y0 + row) * w + m->x0 + col][bestFeature];
                    (c.root(value) == peak ? a : b).set(col, row, 1);
                }
        std::vector<std::unique_ptr<Mask>> pieces;
        plainComponents(a, *m, w, h, pieces);
        plainComponents(b, *m, w, h, pieces);
        for (auto& piece : pieces)
            stack.push_back(std::move(piece));
    }
    return out;
}

// Returns the number of regions.
std::uint32_t expectSameAsPlain(const ImageRGB& image, const RHSParameters& p)
{
    const auto result = run(image, p);
    const Plain expected = plainSplitting(image, p);
    const int w = image.width();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * w + x;
            EXPECT_EQ(result->labels.at(x, y), expected.labels[i]) << "pixel " << x << "," << y;
            EXPECT_EQ(result->red()[i], expected.painted[i].r);
            EXPECT_EQ(result->green()[i], expected.painted[i].g);
            EXPECT_EQ(result->blue()[i], expected.painted[i].b);
            if (::testing::Test::HasFailure())
                return 0;
        }
    }
    return *std::max_element(expected.labels.begin(), expected.labels.end());
}

// A picture of a few colour patches with noise: many splits, blobs of every shape.
std::unique_ptr<ImageRGB> patchwork(std::mt19937& random, int width, int height)
{
    // Reds on both sides of hue 0 so hue clusters wrap, plus unrelated colours.
    const std::vector<Colour> palette = {{250, 10, 14}, {250, 12, 4}, {240, 0, 0},  {30, 200, 40},
                                         {20, 30, 220}, {128, 128, 128}, {0, 0, 0}, {255, 255, 255}};
    std::vector<Colour> pixels(static_cast<std::size_t>(width) * height);
    const int cell = 1 + static_cast<int>(random() % 6);
    std::vector<int> cellColour(static_cast<std::size_t>((width / cell + 1) * (height / cell + 1)));
    for (int& c : cellColour)
        c = static_cast<int>(random() % palette.size());
    const int noise = static_cast<int>(random() % 20);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Colour c = palette[cellColour[(y / cell) * (width / cell + 1) + x / cell]];
            auto jitter = [&](int v) {
                return std::clamp(v + (noise ? static_cast<int>(random() % (2 * noise + 1)) - noise : 0), 0, 255);
            };
            pixels[static_cast<std::size_t>(y) * width + x] = {jitter(c.r), jitter(c.g), jitter(c.b)};
        }
    }
    return picture(width, height, pixels);
}

TEST(OPRecursiveHistogramSplitting, MatchesPlainSplittingOnRandomPictures)
{
    std::mt19937 random(11);
    int deep = 0;
    for (int trial = 0; trial < 40; ++trial) {
        const bool large = trial % 10 == 0;
        const int width = 1 + static_cast<int>(random() % (large ? 150 : 40));
        const int height = 1 + static_cast<int>(random() % (large ? 100 : 30));
        const auto image = patchwork(random, width, height);
        const int windows[] = {0, 1, 3, 10, 200, 65536};
        const RHSParameters p = params(windows[random() % std::size(windows)], static_cast<int>(random() % 8),
                                       static_cast<int>(random() % 12));
        SCOPED_TRACE(::testing::Message() << width << "x" << height << " gt " << p.gtWindow << " peak "
                                          << p.minSplitPeak << " region " << p.minRegionSize);
        if (expectSameAsPlain(*image, p) >= 10)
            ++deep;
        if (HasFailure())
            return;
    }
    EXPECT_GE(deep, 20); // most pictures were split many times
}

TEST(OPRecursiveHistogramSplitting, UniformPictureIsOneRegion)
{
    for (const RHSParameters& p : {RHSParameters{}, params(0, 0, 0)}) {
        const auto result = run(*uniform(23, 17, {12, 200, 77}), p);
        for (int y = 0; y < 17; ++y) {
            for (int x = 0; x < 23; ++x) {
                ASSERT_EQ(labelAt(*result, x, y), 1u);
                ASSERT_EQ(result->pixel(x, y), (ImageColor::Triple{12, 200, 77}));
            }
        }
    }
}

TEST(OPRecursiveHistogramSplitting, KeepsSourceAndPaintsTheMeanColour)
{
    // Never split (the largest cluster has 4 pixels): one region in the integer mean.
    const auto image = picture(2, 2, {{10, 20, 30}, {10, 20, 30}, {10, 20, 30}, {13, 25, 36}});
    const auto result = run(*image, params(3, 4, 0));
    EXPECT_TRUE(result->isSegmented());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(result->labels[i], 1u);
        EXPECT_EQ(result->red()[i], 10);   // 43 / 4
        EXPECT_EQ(result->green()[i], 21); // 85 / 4
        EXPECT_EQ(result->blue()[i], 31);  // 126 / 4
    }
    EXPECT_EQ(result->sourcePixels[3], (RGB24{13, 25, 36}));
}

TEST(OPRecursiveHistogramSplitting, ReadsTheLowByteOfEachChannel)
{
    const auto image = uniform(3, 3, {256 + 7, 300, -1});
    const auto result = run(*image, RHSParameters{});
    EXPECT_EQ(result->sourcePixels[4], (RGB24{7, 44, 255}));
    EXPECT_EQ(result->pixel(1, 1), (ImageColor::Triple{7, 44, 255}));
}

TEST(OPRecursiveHistogramSplitting, EqualHalvesSplitAlongTheFirstFeatureAndFirstCluster)
{
    // Every feature that separates red from blue has two clusters of 10: feature R
    // wins the tie, and its first cluster (R = 0, the blue half) becomes the first
    // piece. The pieces are taken last-in first, so the red half is region 1.
    std::vector<Colour> pixels;
    for (int y = 0; y < 20; ++y)
        pixels.push_back(y < 10 ? Colour{255, 0, 0} : Colour{0, 0, 255});
    const auto result = run(*picture(1, 20, pixels), params(3, 0, 0));
    for (int y = 0; y < 20; ++y) {
        ASSERT_EQ(labelAt(*result, 0, y), y < 10 ? 1u : 2u) << y;
        ASSERT_EQ(result->pixel(0, y), (y < 10 ? ImageColor::Triple{255, 0, 0} : ImageColor::Triple{0, 0, 255}));
    }
}

TEST(OPRecursiveHistogramSplitting, DiagonalContactDoesNotConnect)
{
    // A checkerboard: each pixel touches its own colour only at corners.
    std::vector<Colour> pixels;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            pixels.push_back((x + y) % 2 ? Colour{0, 0, 0} : Colour{255, 255, 255});
    const auto result = run(*picture(5, 4, pixels), params(3, 0, 0));
    std::set<std::uint32_t> labels;
    for (std::size_t i = 0; i < 20; ++i)
        labels.insert(result->labels[i]);
    EXPECT_EQ(labels.size(), 20u);
    EXPECT_EQ(*labels.begin(), 1u);
    EXPECT_EQ(*labels.rbegin(), 20u);
}

TEST(OPRecursiveHistogramSplitting, SeparateBlobsBecomeSeparateRegions)
{
    // Two dark squares on a light ground, and one dark pixel joined to a square by an edge.
    std::vector<Colour> pixels(12 * 8, Colour{220, 220, 220});
    auto dark = [&](int x, int y) { pixels[static_cast<std::size_t>(y) * 12 + x] = {20, 20, 20}; };
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 4; ++x)
            dark(x, y);
    for (int y = 4; y < 7; ++y)
        for (int x = 7; x < 10; ++x)
            dark(x, y);
    dark(4, 2);
    const auto result = run(*picture(12, 8, pixels), params(3, 0, 0));
    std::set<std::uint32_t> labels(result->labels.data(), result->labels.data() + 96);
    EXPECT_EQ(labels.size(), 3u);
    EXPECT_EQ(labelAt(*result, 1, 1), labelAt(*result, 4, 2));
    EXPECT_NE(labelAt(*result, 1, 1), labelAt(*result, 7, 4));
    EXPECT_NE(labelAt(*result, 0, 0), labelAt(*result, 1, 1));
    EXPECT_EQ(labelAt(*result, 0, 0), labelAt(*result, 11, 7));
}

TEST(OPRecursiveHistogramSplitting, WindowDecidesWhichGraysBelongTogether)
{
    // Stripes of grays 10, 11 and 12 (30, 20 and 10 pixels): neighbouring bins form
    // one cluster with a window of 1, three clusters with a window of 0.
    std::vector<Colour> pixels;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 6; ++x) {
            const int g = x < 3 ? 10 : (x < 5 ? 11 : 12);
            pixels.push_back({g, g, g});
        }
    const auto image = picture(6, 10, pixels);
    auto regions = [](const ImageSegmented& s) {
        return std::set<std::uint32_t>(s.labels.data(), s.labels.data() + s.labels.size()).size();
    };
    EXPECT_EQ(regions(*run(*image, params(1, 0, 0))), 1u);
    EXPECT_EQ(regions(*run(*image, params(0, 0, 0))), 3u);
}

TEST(OPRecursiveHistogramSplitting, ThresholdsStopSplitting)
{
    // Left 60 pixels red, right 40 blue: the largest cluster has 60 pixels.
    std::vector<Colour> pixels;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            pixels.push_back(x < 6 ? Colour{255, 0, 0} : Colour{0, 0, 255});
    const auto image = picture(10, 10, pixels);
    auto regionCount = [&](const RHSParameters& p) {
        const auto s = run(*image, p);
        return std::set<std::uint32_t>(s->labels.data(), s->labels.data() + 100).size();
    };
    EXPECT_EQ(regionCount(params(3, 0, 100)), 1u); // at most Min.Region pixels: never split
    EXPECT_EQ(regionCount(params(3, 0, 99)), 2u);
    EXPECT_EQ(regionCount(params(3, 60, 0)), 1u); // largest cluster at most Min.Peak
    EXPECT_EQ(regionCount(params(3, 59, 0)), 2u);
    EXPECT_EQ(regionCount(params(3, 100, 0)), 1u); // Min.Peak at the pixel count
}

TEST(OPRecursiveHistogramSplitting, RefusesParametersOutOfRange)
{
    const auto image = uniform(4, 4, {1, 2, 3});
    EXPECT_THROW(run(*image, params(-1, 0, 0)), std::invalid_argument);
    EXPECT_THROW(run(*image, params(65537, 0, 0)), std::invalid_argument);
    EXPECT_THROW(run(*image, params(3, -1, 0)), std::invalid_argument);
    EXPECT_THROW(run(*image, params(3, 0, 65537)), std::invalid_argument);
    EXPECT_NO_THROW(run(*image, params(65536, 65536, 65536)));
}

TEST(OPRecursiveHistogramSplitting, WidestPictureKeepsItsCoordinates)
{
    // 32767 columns: a single blue pixel at the far right is a region of its own.
    constexpr int width = 32767;
    auto image = uniform(width, 2, {255, 255, 0});
    image->setPixel(width + width - 1, 0, 0, 255);
    const auto result = run(*image, params(3, 0, 0));
    const std::uint32_t ground = labelAt(*result, 0, 0);
    EXPECT_EQ(labelAt(*result, width - 1, 0), ground);
    EXPECT_EQ(labelAt(*result, width - 2, 1), ground);
    EXPECT_NE(labelAt(*result, width - 1, 1), ground);
    EXPECT_EQ(result->pixel(width - 1, 1), (ImageColor::Triple{0, 0, 255}));
}

TEST(OPRecursiveHistogramSplitting, EmptyPictureGivesEmptyResult)
{
    const auto result = run(ImageRGB(0, 0), RHSParameters{});
    EXPECT_EQ(result->width(), 0);
    EXPECT_EQ(result->labels.size(), 0u);
}

TEST(OPRecursiveHistogramSplitting, ReportsProgressAndCanBeCancelled)
{
    std::mt19937 random(3);
    const auto image = patchwork(random, 40, 40);
    double last = -1.0;
    bool ordered = true;
    ivra::Progress watch([&](double fraction) {
        ordered = ordered && fraction >= last && fraction <= 1.0;
        last = fraction;
        return true;
    });
    OPRecursiveHistogramSplitting().execute(*image, params(3, 0, 0), watch);
    EXPECT_TRUE(ordered);
    EXPECT_GT(last, 0.5);

    ivra::Progress cancel([](double) { return false; });
    EXPECT_THROW(OPRecursiveHistogramSplitting().execute(*image, params(3, 0, 0), cancel), ivra::Cancelled);
}

} // namespace
