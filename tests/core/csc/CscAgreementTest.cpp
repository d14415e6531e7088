// The engine against the plain formulation (CscIndependent.h), value for value: the
// result planes, the labels and where a small store overruns. In a scalar-only build
// (IVRA_SIMD=OFF) the same comparisons check the plain paths on whole pictures.
#include "CSCTestPictures.h"
#include "CscIndependent.h"

#include "core/CapturedMessages.h"
#include "csc/ConflictResolution.h"
#include "csc/OPCSC.h"
#include "csc/SimilarityHSV.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace ivra;

namespace {

using cscref::Variant;

std::vector<std::uint32_t> labelsOf(const OPCSC::Result& r)
{
    return {r.image->labels.data(), r.image->labels.data() + r.image->labels.size()};
}
using csc_test::Picture;

// Runs that took the rarer roads, and runs that overran, over one test.
using Paths = cscref::Outcome::Paths;
constexpr int Paths::*kPaths[] = {&Paths::conflicts, &Paths::detached, &Paths::carriedDown, &Paths::overpainted,
                                  &Paths::hsvSeam};
struct Tally { Paths paths; int overruns = 0, completed = 0; };

// Empty when engine and formulation agree; otherwise what differs first.
std::string compare(const Picture& p, Variant variant, int threshold, double perIsland, Tally& tally)
{
    const cscref::Outcome expected = cscref::segment(p.w, p.h, p.px, variant, threshold, perIsland);
    if (expected.linkPoolExceeded)
        return {};
    CapturedMessages messages;
    const OPCSC::Result actual = OPCSC().execute(*csc_test::toImage(p.px, p.w, p.h),
                                                 variant == Variant::Rgb ? OPCSC::Space::RGB : OPCSC::Space::HSV,
                                                 threshold, {}, perIsland);
    const std::string what = p.name + " " + std::to_string(p.w) + "x" + std::to_string(p.h) + " T=" +
                             std::to_string(variant == Variant::Rgb ? threshold : -1) + " store " + std::to_string(perIsland) + ": ";
    if (expected.overrun != !actual.complete)
        return what + "overrun expected " + std::to_string(expected.overrun) + "\n";
    if (expected.overrun) {
        ++tally.overruns;
        return messages.lines == std::vector<std::string>{"Codeelement overrun..."} ? "" : what + "no message\n";
    }
    ++tally.completed;
    for (int Paths::*n : kPaths)
        tally.paths.*n += expected.paths.*n;
    const ImageSegmented& seg = *actual.image;
    for (std::size_t i = 0; i < p.px.size(); ++i)
        if (seg.labels[i] != expected.labels[i] || seg.red()[i] != expected.rgb[3 * i] ||
            seg.green()[i] != expected.rgb[3 * i + 1] || seg.blue()[i] != expected.rgb[3 * i + 2])
            return what + "pixel " + std::to_string(i) + " label " + std::to_string(seg.labels[i]) + ", expected " +
                   std::to_string(expected.labels[i]) + "\n";
    return {};
}

// Every kind of picture, odd and even sizes, strips, each threshold; the pictures must
// also reach the rarer roads (conflicts, carrying decisions down, pixels painted
// twice, hue means across the seam), or agreement would prove little.
TEST(CscAgreement, PicturesOfEveryKindAndSizeAgreeValueForValue)
{
    const int sizes[][2] = {{1, 1}, {1, 2}, {2, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 4}, {4, 5}, {7, 3}, {8, 8}, {9, 9},
        {13, 7}, {16, 16}, {17, 17}, {31, 9}, {33, 33}, {40, 1}, {1, 40}, {25, 39}, {40, 40}, {23, 34}, {38, 11}};
    Tally tally;
    std::string failures;
    for (const auto& [w, h] : sizes)
        for (const Picture& p : csc_test::pictureKinds(w, h, 1)) {
            for (const int t : {0, 1, 10, 25, 60, 255})
                failures += compare(p, Variant::Rgb, t, 4.0, tally);
            failures += compare(p, Variant::Hsv, 0, 4.0, tally);
        }
    for (const auto& [w, h, seed] : {std::array{97, 61, 1}, std::array{64, 48, 2}, std::array{150, 200, 3}})
        for (const int noise : {4, 12, 40}) {
            const Picture p{"patchy", w, h, csc_test::patchyPicture(w, h, seed * noise, noise, 5 + seed)};
            failures += compare(p, Variant::Rgb, 25, 4.0, tally) + compare(p, Variant::Hsv, 0, 4.0, tally);
        }
    EXPECT_EQ(failures, "");
    for (int Paths::*n : kPaths)
        EXPECT_GT(tally.paths.*n, 0);
}

// A store too small must give up at the same point: allocation, not only keeping,
// fills it, so the early ends of the seed loops decide where. Tiny pictures try every
// capacity up to the one that suffices, larger ones those around it.
TEST(CscAgreement, StoresOfEveryCapacityOverrunAtTheSamePoint)
{
    Tally tally;
    std::string failures;
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{2, 3}, std::pair{4, 4}, std::pair{6, 5}, std::pair{8, 7},
                               std::pair{9, 11}, std::pair{12, 12}, std::pair{26, 22}})
        for (const Picture& p : csc_test::pictureKinds(w, h, 3))
            for (const auto& [variantOf, threshold] : {std::pair{Variant::Rgb, 10}, std::pair{Variant::Rgb, 255},
                                                      std::pair{Variant::Hsv, 0}}) {
                const Variant variant = variantOf; // lambdas cannot capture a structured binding before clang 16
                const int t = threshold;
                const cscref::Outcome full = cscref::segment(w, h, p.px, variant, t);
                const auto tryCapacity = [&](int c) {
                    failures += c >= 1 ? compare(p, variant, t, (c + 0.5) / full.islandCount, tally) : "";
                };
                for (int c = w * h <= 100 ? 1 : full.usedElements - 2; c <= full.usedElements + 1; ++c)
                    tryCapacity(c);
                for (const double f : {0.3, 0.6, 1.0, 1.5})
                    tryCapacity(static_cast<int>(full.islandCount * f));
            }
    EXPECT_EQ(failures, "");
    EXPECT_GT(tally.overruns, 100);
    EXPECT_GT(tally.completed, 100);
}

// The planes enter through their low byte, whatever else they hold; a result
// segmented again is read through its planes (the painted picture).
TEST(CscAgreement, InputIsTheLowByteOfThePlanes)
{
    const std::vector<RGB24> px = csc_test::patchyPicture(23, 17, 6, 10, 4);
    auto image = csc_test::toImage(px, 23, 17);
    for (std::size_t i = 0; i < px.size(); ++i) {
        image->red()[i] += i % 3 == 0 ? 256 : 0;
        image->green()[i] -= i % 4 == 1 ? 512 : 0;
        image->blue()[i] += i % 5 == 2 ? 1024 : 0;
    }
    const auto first = OPCSC().execute(*image, OPCSC::Space::RGB, 60);
    const auto expected = cscref::segment(23, 17, px, Variant::Rgb, 60);
    EXPECT_EQ(labelsOf(first), expected.labels);
    std::vector<RGB24> painted(px.size());
    std::memcpy(painted.data(), expected.rgb.data(), expected.rgb.size()); // the painted picture
    for (const auto& [space, variant] : {std::pair{OPCSC::Space::RGB, Variant::Rgb}, std::pair{OPCSC::Space::HSV, Variant::Hsv}})
        EXPECT_EQ(labelsOf(OPCSC().execute(*first.image, space, 10)), cscref::segment(23, 17, painted, variant, 10).labels);
}

std::array<int, 3> randomHsv(std::mt19937& rng, bool nearBlackOrGrey)
{
    std::uniform_int_distribution<int> hue(0, 359), any(0, 255), low(0, 9);
    return nearBlackOrGrey ? std::array{hue(rng) % 4 == 0 ? 0 : hue(rng), low(rng), rng() % 2 ? low(rng) : any(rng)}
                           : std::array{hue(rng), any(rng), any(rng)};
}

std::uint32_t packed(const std::array<int, 3>& c) { return ivra::csc::packHSV(c[0], c[1], c[2]); }

// The rules one by one, near their limits: the HSV tests (whose tolerance tables the
// engine keeps packed) and the side an overlap goes to, ties included; the achromatic
// order of the HSV rule is almost never decisive in a whole run.
TEST(CscAgreement, SimilarityAndOverlapRulesAgreeOnManyColors)
{
    using namespace ivra::csc;
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> any(0, 255), near(-40, 40);
    for (int i = 0; i < 200000; ++i) {
        const auto a = randomHsv(rng, i % 3 == 0);
        auto b = randomHsv(rng, i % 5 == 0);
        if (i % 2) // near pairs: small differences, where the tables decide
            b = {(a[0] + near(rng) / 2 + 360) % 360, std::clamp(a[1] + near(rng), 0, 255), std::clamp(a[2] + near(rng), 0, 255)};
        ASSERT_EQ(SimilarityHSV::pixelSimilar(packed(a), packed(b)), cscref::pixelSimilar(a, b)) << i;
        ASSERT_EQ(SimilarityHSV::elementSimilar(packed(a), packed(b)), cscref::elementSimilar(a, b)) << i;
        const auto s2 = i % 7 == 0 ? b : randomHsv(rng, i % 4 == 0);
        ASSERT_EQ(closerHSV(packed(a), packed(b), packed(s2)), cscref::closerHsv(a, b, s2)) << i;
        const std::array<int, 3> g{any(rng), any(rng), any(rng)}, r1{any(rng), any(rng), any(rng)};
        std::array<int, 3> r2{any(rng), any(rng), any(rng)};
        const std::array<int, 3> mirror{2 * g[0] - r1[0], 2 * g[1] - r1[1], 2 * g[2] - r1[2]}; // equally far as side 1
        if (i % 3 == 0 && std::ranges::all_of(mirror, [](int v) { return v >= 0 && v <= 255; }))
            r2 = mirror;
        ASSERT_EQ(closerRGB(packRGB(g[0], g[1], g[2]), packRGB(r1[0], r1[1], r1[2]), packRGB(r2[0], r2[1], r2[2])),
                  cscref::closerRgb(g, r1, r2)) << i;
    }
}

} // namespace
