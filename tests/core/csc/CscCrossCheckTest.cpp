// The engine against the plain second formulation, value for value: result planes,
// labels and the number of region roots, on many small pictures.
#include "CscIndependent.h"

#include "colour/ColourConversion.h"
#include "csc/CSCRegionOutput.h"
#include "csc/OPCSC.h"
#include "csc/ipcCSC.h"
#include "csc/ipcCodeelement.h"
#include "csc/ipcConflictResolution.h"
#include "csc/ipcSimilarityHSV.h"
#include "image/ImageRGB.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace ivra;

namespace {

struct Picture {
    std::string name;
    int width;
    int height;
    std::vector<RGB24> pixels;
};

std::unique_ptr<ImageRGB> toImage(const Picture& p)
{
    auto image = std::make_unique<ImageRGB>(p.width, p.height);
    for (std::size_t i = 0; i < p.pixels.size(); ++i) {
        image->red()[i] = p.pixels[i].r;
        image->green()[i] = p.pixels[i].g;
        image->blue()[i] = p.pixels[i].b;
    }
    return image;
}

// Number of roots the engine numbers, read through its region output.
int engineRegions(const Picture& p, cscref::Variant variant, int threshold)
{
    const std::size_t n = p.pixels.size();
    std::vector<std::uint8_t> bytes(3 * n);
    for (std::size_t i = 0; i < n; ++i) {
        bytes[3 * i] = p.pixels[i].r;
        bytes[3 * i + 1] = p.pixels[i].g;
        bytes[3 * i + 2] = p.pixels[i].b;
    }
    std::vector<std::uint32_t> labels(n);
    if (variant == cscref::Variant::Rgb) {
        ipcCSCRGB csc;
        csc.resize(p.width, p.height);
        csc.similarity.squaredThreshold = threshold * threshold;
        csc.run(p.width, p.height, bytes.data(), 0, 0, p.width, p.height);
        return static_cast<int>(paintRegions(*csc.store(), 0, 0, p.width, p.height, labels.data()).size()) - 1;
    }
    std::vector<HSVPixel> hsv(n);
    imageRgbToHsv(p.width, p.height, bytes.data(), hsv.data());
    ipcCSCHSV csc;
    csc.resize(p.width, p.height);
    csc.run(p.width, p.height, hsv.data(), 0, 0, p.width, p.height);
    return static_cast<int>(paintRegions(*csc.store(), 0, 0, p.width, p.height, labels.data()).size()) - 1;
}

// Rare roads taken over all comparisons, so a test can show the pictures reach them.
cscref::Outcome::Paths travelled;

void addPaths(const cscref::Outcome::Paths& p)
{
    travelled.conflicts += p.conflicts;
    travelled.detached += p.detached;
    travelled.carriedDown += p.carriedDown;
    travelled.orphaned += p.orphaned;
    travelled.overpainted += p.overpainted;
    travelled.hsvSeam += p.hsvSeam;
}

// Empty when both agree; otherwise a description of the first differences.
// Runs that ended in a full store, and runs compared with a reduced store.
int overruns = 0;
int completedSmallStores = 0;
int skippedLinkPool = 0;

std::string compare(const Picture& p, cscref::Variant variant, int threshold, double elementsPerIsland = 4.0)
{
    const cscref::Outcome expected = cscref::segment(p.width, p.height, p.pixels, variant, threshold, elementsPerIsland);
    addPaths(expected.paths);
    const auto image = toImage(p);
    const OPCSC::Result actual =
        OPCSC().execute(*image, variant == cscref::Variant::Rgb ? OPCSC::Space::RGB : OPCSC::Space::HSV, threshold, {},
                        elementsPerIsland);

    std::ostringstream out;
    const std::string what = p.name + " " + std::to_string(p.width) + "x" + std::to_string(p.height) +
                             (variant == cscref::Variant::Rgb ? " RGB T=" + std::to_string(threshold) : " HSV") +
                             (elementsPerIsland != 4.0 ? " store " + std::to_string(elementsPerIsland) : "");
    if (expected.linkPoolExceeded) {
        skippedLinkPool += 1;
        return {};
    }
    if (expected.overrun || !actual.complete) {
        overruns += 1;
        if (expected.overrun != !actual.complete)
            out << what << ": overrun expected " << expected.overrun << ", engine complete " << actual.complete << "\n";
        return out.str();
    }
    if (elementsPerIsland != 4.0)
        completedSmallStores += 1;
    const ImageSegmented& seg = *actual.image;
    int shown = 0;
    int wrongLabels = 0, wrongColours = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * p.width + x;
            const int er = expected.rgb[3 * i], eg = expected.rgb[3 * i + 1], eb = expected.rgb[3 * i + 2];
            const bool colourOk = seg.red()[i] == er && seg.green()[i] == eg && seg.blue()[i] == eb;
            const bool labelOk = seg.labels[i] == expected.labels[i];
            wrongColours += colourOk ? 0 : 1;
            wrongLabels += labelOk ? 0 : 1;
            if ((!colourOk || !labelOk) && shown < 4) {
                ++shown;
                out << what << " pixel (" << x << "," << y << "): expected label " << expected.labels[i] << " colour ("
                    << er << "," << eg << "," << eb << "), engine label " << seg.labels[i] << " colour ("
                    << seg.red()[i] << "," << seg.green()[i] << "," << seg.blue()[i] << ")\n";
            }
        }
    if (wrongColours || wrongLabels)
        out << what << ": " << wrongColours << " colours and " << wrongLabels << " labels differ\n";
    const int regions = engineRegions(p, variant, threshold);
    if (regions != expected.regions)
        out << what << ": expected " << expected.regions << " regions, engine " << regions << "\n";
    return out.str();
}

// -- pictures ---------------------------------------------------------------

std::uint8_t byte(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

Picture make(const std::string& name, int w, int h, auto colourAt)
{
    Picture p{name, w, h, {}};
    p.pixels.reserve(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.pixels.push_back(colourAt(x, y));
    return p;
}

std::vector<Picture> pictures(int w, int h, unsigned seed)
{
    std::mt19937 rng(seed * 7919u + static_cast<unsigned>(w * 131 + h));
    std::uniform_int_distribution<int> any(0, 255);
    std::vector<Picture> out;
    out.push_back(make("random", w, h, [&](int, int) { return RGB24{byte(any(rng)), byte(any(rng)), byte(any(rng))}; }));
    {
        std::uniform_int_distribution<int> pick(0, 2);
        const RGB24 palette[3] = {{200, 30, 40}, {20, 180, 60}, {30, 40, 220}};
        out.push_back(make("three-colours", w, h, [&](int, int) { return palette[pick(rng)]; }));
    }
    {
        std::uniform_int_distribution<int> level(0, 1);
        out.push_back(make("two-levels", w, h, [&](int, int) {
            return RGB24{byte(level(rng) * 255), byte(level(rng) * 255), byte(level(rng) * 255)};
        }));
    }
    out.push_back(make("gradient", w, h, [&](int x, int y) {
        return RGB24{byte(x * 255 / std::max(1, w - 1)), byte(y * 255 / std::max(1, h - 1)), byte((x + y) * 3)};
    }));
    out.push_back(make("gentle-gradient", w, h, [&](int x, int y) { return RGB24{byte(40 + 3 * x), byte(90 + 2 * y), 120}; }));
    out.push_back(make("hue-ramp", w, h, [&](int x, int y) {
        double r, g, b;
        hsvToRgb(std::fmod((x * 23 + y * 11) * 1.0, 360.0), 0.3 + 0.7 * ((x + y) % 5) / 4.0, 0.25 + 0.75 * (y % 4) / 3.0,
                 r, g, b);
        return RGB24{byte(static_cast<int>(r * 255)), byte(static_cast<int>(g * 255)), byte(static_cast<int>(b * 255))};
    }));
    {
        std::normal_distribution<double> noise(0.0, 9.0);
        out.push_back(make("noisy-blocks", w, h, [&](int x, int y) {
            const int base = ((x / 5) + (y / 4)) % 3;
            const int c[3][3] = {{180, 60, 50}, {70, 160, 90}, {128, 128, 128}};
            return RGB24{byte(c[base][0] + static_cast<int>(noise(rng))), byte(c[base][1] + static_cast<int>(noise(rng))),
                         byte(c[base][2] + static_cast<int>(noise(rng)))};
        }));
    }
    {
        // Near red, across the 0/360 hue seam, and near-gray dark pixels.
        std::uniform_int_distribution<int> jitter(-20, 20);
        out.push_back(make("red-seam", w, h, [&](int x, int y) {
            if ((x * 3 + y) % 7 == 0)
                return RGB24{byte(20 + jitter(rng) / 4), byte(20 + jitter(rng) / 4), byte(22 + jitter(rng) / 4)};
            return RGB24{byte(220 + jitter(rng)), byte(30 + jitter(rng)), byte(30 + jitter(rng))};
        }));
    }
    {
        // Gray patches beside coloured ones, with a little noise: achromatic elements
        // meet chromatic ones in the HSV overlap decisions.
        std::uniform_int_distribution<int> jitter(-6, 6);
        std::uniform_int_distribution<int> patch(0, 5);
        std::vector<int> kinds(64);
        for (auto& k : kinds)
            k = patch(rng);
        out.push_back(make("grays-and-colours", w, h, [&](int x, int y) {
            const int k = kinds[static_cast<std::size_t>((x / 3 + 5 * (y / 3)) % 64)];
            const int j = jitter(rng);
            switch (k) {
            case 0: return RGB24{byte(30 + j), byte(30 + j), byte(30 + j)};
            case 1: return RGB24{byte(140 + j), byte(140 + j), byte(140 + j)};
            case 2: return RGB24{byte(4 + j / 2), byte(4 + j / 2), byte(4 + j / 2)};
            case 3: return RGB24{byte(150 + j), byte(90 + j), byte(80)};
            case 4: return RGB24{byte(60), byte(70 + j), byte(120 + j)};
            default: return RGB24{byte(200 + j), byte(200 + j), byte(190 + j)};
            }
        }));
    }
    out.push_back(make("uniform", w, h, [&](int, int) { return RGB24{77, 140, 201}; }));
    return out;
}

const int kSizes[][2] = {{1, 1},  {1, 2},  {2, 1},  {2, 2},   {3, 3},   {4, 4},   {5, 4},  {4, 5},
                         {5, 5},  {7, 3},  {8, 8},  {9, 9},   {13, 7},  {16, 16}, {17, 17}, {31, 9},
                         {33, 33}, {40, 1}, {1, 40}, {25, 39}, {40, 40}};
const int kThresholds[] = {0, 1, 10, 25, 60, 255};

void checkAll(const std::vector<Picture>& all, std::vector<std::string>& failures)
{
    for (const Picture& p : all) {
        for (int t : kThresholds) {
            const std::string d = compare(p, cscref::Variant::Rgb, t);
            if (!d.empty())
                failures.push_back(d);
        }
        const std::string d = compare(p, cscref::Variant::Hsv, 0);
        if (!d.empty())
            failures.push_back(d);
    }
}

std::string summary(const std::vector<std::string>& failures)
{
    std::string s = std::to_string(failures.size()) + " disagreements\n";
    for (std::size_t i = 0; i < failures.size() && i < 12; ++i)
        s += failures[i];
    return s;
}

// The pictures must also reach the rarer roads (conflicts, carrying decisions down,
// pixels painted twice, hue means across the seam), or agreement would prove little.
TEST(CscCrossCheck, SmallPicturesOfEveryKindAgreeValueForValue)
{
    travelled = {};
    std::vector<std::string> failures;
    for (const auto& [w, h] : kSizes)
        checkAll(pictures(w, h, 1), failures);
    EXPECT_TRUE(failures.empty()) << summary(failures);
    std::printf("conflicts %d detached %d carried %d orphaned %d overpainted %d seam %d\n", travelled.conflicts,
                travelled.detached, travelled.carriedDown, travelled.orphaned, travelled.overpainted, travelled.hsvSeam);
    EXPECT_GT(travelled.conflicts, 0);
    EXPECT_GT(travelled.detached, 0);
    EXPECT_GT(travelled.carriedDown, 0);
    EXPECT_GT(travelled.overpainted, 0);
    EXPECT_GT(travelled.hsvSeam, 0);
}

// With a reduced store the run must give up at the same point: allocation, not only
// keeping, fills it, so the early ends of the seed loops decide where.
TEST(CscCrossCheck, SmallStoresOverrunAtTheSamePoint)
{
    overruns = completedSmallStores = skippedLinkPool = 0;
    std::vector<std::string> failures;
    // Every overrun writes its message to standard error; keep the test output readable.
    std::ostringstream swallowed;
    std::streambuf* const cerrBuffer = std::cerr.rdbuf(swallowed.rdbuf());
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{2, 3}, std::pair{4, 4}, std::pair{5, 5}, std::pair{8, 7},
                               std::pair{12, 12}, std::pair{17, 9}, std::pair{26, 22}})
        for (const Picture& p : pictures(w, h, 3))
            for (const double factor : {0.3, 0.6, 1.0, 1.5, 2.5})
                for (const int t : {10, 60, 255}) {
                    const std::string d = compare(p, cscref::Variant::Rgb, t, factor);
                    if (!d.empty())
                        failures.push_back(d);
                    if (t == 60) {
                        const std::string dh = compare(p, cscref::Variant::Hsv, 0, factor);
                        if (!dh.empty())
                            failures.push_back(dh);
                    }
                }
    std::cerr.rdbuf(cerrBuffer);
    std::printf("overruns %d, completed with a small store %d, not compared %d\n", overruns, completedSmallStores,
                skippedLinkPool);
    EXPECT_GT(overruns, 0);
    EXPECT_GT(completedSmallStores, 0);
    EXPECT_TRUE(failures.empty()) << summary(failures);
}

// Capacity by capacity, the smallest store that lets a run finish must be the same.
// On the smallest pyramids the last island linked is the top one, so the early end of
// its seed loop (fewer than two untaken elements left) is what decides.
TEST(CscCrossCheck, SmallestSufficientStoreIsTheSame)
{
    std::ostringstream swallowed;
    std::streambuf* const cerrBuffer = std::cerr.rdbuf(swallowed.rdbuf());
    std::vector<std::string> failures;
    int sizesChecked = 0;
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{2, 2}, std::pair{3, 2}, std::pair{4, 4}, std::pair{4, 3},
                               std::pair{6, 5}})
        for (const Picture& p : pictures(w, h, 4))
            for (const int t : {25, 255}) {
                const int islands = cscref::Pyramid(w, h).islandCount();
                for (int capacity = 1; capacity <= 4 * islands; ++capacity) {
                    const double factor = (capacity + 0.5) / islands;
                    overruns = 0;
                    const std::string d = compare(p, t == 255 ? cscref::Variant::Hsv : cscref::Variant::Rgb, t, factor);
                    if (!d.empty())
                        failures.push_back(d);
                    if (overruns == 0) {   // both finished: larger stores change nothing
                        ++sizesChecked;
                        break;
                    }
                }
            }
    std::cerr.rdbuf(cerrBuffer);
    EXPECT_GT(sizesChecked, 0);
    EXPECT_TRUE(failures.empty()) << summary(failures);
}

TEST(CscCrossCheck, RandomSizesAndSeedsAgree)
{
    std::mt19937 rng(20261206);
    std::uniform_int_distribution<int> side(1, 40);
    std::vector<std::string> failures;
    for (int round = 0; round < 8; ++round) {
        const int w = side(rng), h = side(rng);
        checkAll(pictures(w, h, 100 + static_cast<unsigned>(round)), failures);
    }
    EXPECT_TRUE(failures.empty()) << summary(failures);
}

// Compares an engine result with the formulation run on the given bytes.
std::string compareResult(const ImageSegmented& seg, const Picture& p, cscref::Variant variant, int threshold)
{
    const cscref::Outcome expected = cscref::segment(p.width, p.height, p.pixels, variant, threshold);
    for (std::size_t i = 0; i < p.pixels.size(); ++i)
        if (seg.labels[i] != expected.labels[i] || seg.red()[i] != expected.rgb[3 * i] ||
            seg.green()[i] != expected.rgb[3 * i + 1] || seg.blue()[i] != expected.rgb[3 * i + 2])
            return p.name + ": first difference at pixel " + std::to_string(i);
    return {};
}

// The source planes enter through their low byte, whatever else they hold.
TEST(CscCrossCheckInput, PlaneValuesEnterThroughTheirLowByte)
{
    for (const Picture& p : pictures(19, 14, 5)) {
        auto image = toImage(p);
        for (std::size_t i = 0; i < p.pixels.size(); ++i) {
            image->red()[i] += (i % 3 == 0) ? 256 : 0;
            image->green()[i] -= (i % 4 == 1) ? 512 : 0;
            image->blue()[i] += (i % 5 == 2) ? 1024 : 0;
        }
        EXPECT_EQ(compareResult(*OPCSC().execute(*image, OPCSC::Space::RGB, 25).image, p, cscref::Variant::Rgb, 25), "");
        EXPECT_EQ(compareResult(*OPCSC().execute(*image, OPCSC::Space::HSV).image, p, cscref::Variant::Hsv, 0), "");
    }
}

// A result segmented again is read through its planes (its painted picture).
TEST(CscCrossCheckInput, SegmentingAResultAgainReadsItsPicture)
{
    for (const Picture& p : pictures(23, 17, 6)) {
        const auto first = OPCSC().execute(*toImage(p), OPCSC::Space::RGB, 60);
        Picture painted{p.name + " again", p.width, p.height, {}};
        for (std::size_t i = 0; i < p.pixels.size(); ++i)
            painted.pixels.push_back(RGB24{static_cast<std::uint8_t>(first.image->red()[i]),
                                           static_cast<std::uint8_t>(first.image->green()[i]),
                                           static_cast<std::uint8_t>(first.image->blue()[i])});
        EXPECT_EQ(compareResult(*OPCSC().execute(*first.image, OPCSC::Space::RGB, 10).image, painted,
                                cscref::Variant::Rgb, 10),
                  "");
        EXPECT_EQ(compareResult(*OPCSC().execute(*first.image, OPCSC::Space::HSV).image, painted, cscref::Variant::Hsv, 0),
                  "");
    }
}

// -- the decision rules one by one ---------------------------------------------

TEST(CscCrossCheckRules, ToleranceTablesAgreeEntryForEntry)
{
    const std::int32_t* engine[6] = {ipcSimilarityHSV::hueTolerance0, ipcSimilarityHSV::satTolerance0,
                                     ipcSimilarityHSV::valTolerance0, ipcSimilarityHSV::hueTolerance1,
                                     ipcSimilarityHSV::satTolerance1, ipcSimilarityHSV::valTolerance1};
    for (int t = 0; t < 6; ++t)
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(engine[t][i], cscref::toleranceTable(t)[static_cast<std::size_t>(i)])
                << "table " << t << " row " << i / 16 << " column " << i % 16;
}

std::array<int, 3> randomHsv(std::mt19937& rng, bool nearBlackOrGray)
{
    std::uniform_int_distribution<int> hue(0, 359), any(0, 255), low(0, 9);
    if (nearBlackOrGray)
        return {hue(rng) % 4 == 0 ? 0 : hue(rng), low(rng), rng() % 2 ? low(rng) : any(rng)};
    return {hue(rng), any(rng), any(rng)};
}

std::uint32_t packed(const std::array<int, 3>& c) { return packHSV(c[0], c[1], c[2]); }

TEST(CscCrossCheckRules, HsvSimilarityTestsAgreeOnManyPairs)
{
    std::mt19937 rng(11);
    for (int i = 0; i < 200000; ++i) {
        const auto a = randomHsv(rng, i % 3 == 0);
        auto b = randomHsv(rng, i % 5 == 0);
        if (i % 2)   // near pairs: small differences, where the tables decide
            b = {(a[0] + static_cast<int>(rng() % 41) + 340) % 360, std::clamp(a[1] + static_cast<int>(rng() % 81) - 40, 0, 255),
                 std::clamp(a[2] + static_cast<int>(rng() % 81) - 40, 0, 255)};
        ASSERT_EQ(ipcSimilarityHSV::pixelSimilar(packed(a), packed(b)), cscref::pixelSimilar(a, b))
            << a[0] << "," << a[1] << "," << a[2] << " / " << b[0] << "," << b[1] << "," << b[2];
        ASSERT_EQ(ipcSimilarityHSV::elementSimilar(packed(a), packed(b)), cscref::elementSimilar(a, b))
            << a[0] << "," << a[1] << "," << a[2] << " / " << b[0] << "," << b[1] << "," << b[2];
    }
}

// The achromatic order of the HSV rule is almost never decisive in a whole run, so it
// is compared here directly, with elements close to the branch limits.
TEST(CscCrossCheckRules, OverlapSidesAreChosenAlike)
{
    std::mt19937 rng(12);
    std::uniform_int_distribution<int> any(0, 255);
    for (int i = 0; i < 200000; ++i) {
        const auto g = randomHsv(rng, i % 2 == 0);
        const auto s1 = randomHsv(rng, i % 3 == 0);
        const auto s2 = i % 7 == 0 ? s1 : randomHsv(rng, i % 4 == 0);
        ASSERT_EQ(closerHSV(packed(g), packed(s1), packed(s2)), cscref::closerHsv(g, s1, s2))
            << g[0] << "," << g[1] << "," << g[2] << " sides " << s1[0] << "," << s1[1] << "," << s1[2] << " / " << s2[0]
            << "," << s2[1] << "," << s2[2];
        const std::array<int, 3> rg{any(rng), any(rng), any(rng)}, r1{any(rng), any(rng), any(rng)};
        const std::array<int, 3> r2 = i % 5 == 0 ? std::array<int, 3>{2 * rg[0] - r1[0], 2 * rg[1] - r1[1], 2 * rg[2] - r1[2]}
                                                 : std::array<int, 3>{any(rng), any(rng), any(rng)};
        if (r2[0] < 0 || r2[0] > 255 || r2[1] < 0 || r2[1] > 255 || r2[2] < 0 || r2[2] > 255)
            continue;
        ASSERT_EQ(closerRGB(packRGB(rg[0], rg[1], rg[2]), packRGB(r1[0], r1[1], r1[2]), packRGB(r2[0], r2[1], r2[2])),
                  cscref::closerRgb(rg, r1, r2));
    }
}

} // namespace
