// The production engine (bit planes, component table, walk-ordered store, reverse
// painting) against the direct formulation in CSCReference.cpp, value for value.
#include "CSCReference.h"
#include "CSCTestPictures.h"

#include "csc/OPCSC.h"

#include <gtest/gtest.h>

#include <string>

using namespace ivra;

namespace {

void expectSameAsReference(const std::vector<RGB24>& px, int w, int h, bool hsv, int threshold,
                           double elementsPerIsland = 4.0)
{
    const auto image = csc_test::toImage(px, w, h);
    const auto space = hsv ? OPCSC::Space::HSV : OPCSC::Space::RGB;
    testing::internal::CaptureStderr();
    const OPCSC::Result result = OPCSC().execute(*image, space, threshold, {}, elementsPerIsland);
    testing::internal::GetCapturedStderr();
    const csc_reference::Outcome expected = csc_reference::run(px, w, h, hsv, threshold, elementsPerIsland);

    const std::string what = std::to_string(w) + "x" + std::to_string(h) + (hsv ? " HSV" : " RGB T=") +
                             std::to_string(threshold) + " capacity " + std::to_string(elementsPerIsland);
    ASSERT_EQ(result.complete, !expected.overrun) << what;
    const ImageSegmented& seg = *result.image;
    int labelMismatches = 0, colourMismatches = 0;
    for (int i = 0; i < w * h; ++i) {
        labelMismatches += seg.labels[i] != expected.labels[i];
        colourMismatches += seg.red()[i] != expected.colours[i].r || seg.green()[i] != expected.colours[i].g ||
                            seg.blue()[i] != expected.colours[i].b;
    }
    EXPECT_EQ(labelMismatches, 0) << what;
    EXPECT_EQ(colourMismatches, 0) << what;
}

struct Case {
    int w, h;
};

TEST(CSCReferenceComparison, RgbOnRandomPictures)
{
    const Case sizes[] = {{1, 1}, {2, 3}, {4, 4}, {5, 4}, {4, 5}, {7, 9}, {16, 16}, {33, 17}, {17, 40}, {64, 48}, {97, 61}};
    std::uint32_t seed = 1;
    for (const Case c : sizes)
        for (const int threshold : {0, 8, 25, 60, 255})
            for (const int noise : {2, 12, 40})
                expectSameAsReference(csc_test::patchyPicture(c.w, c.h, seed++, noise, 5), c.w, c.h, false, threshold);
}

TEST(CSCReferenceComparison, HsvOnRandomPictures)
{
    const Case sizes[] = {{1, 1}, {3, 2}, {4, 4}, {5, 4}, {9, 7}, {16, 16}, {40, 17}, {64, 48}, {97, 61}};
    std::uint32_t seed = 1000;
    for (const Case c : sizes)
        for (const int noise : {2, 6, 12, 40})
            for (const int patch : {3, 8})
                expectSameAsReference(csc_test::patchyPicture(c.w, c.h, seed++, noise, patch), c.w, c.h, true, 0);
}

TEST(CSCReferenceComparison, LargerPicturesWithManyLevels)
{
    expectSameAsReference(csc_test::patchyPicture(300, 200, 77, 10, 9), 300, 200, false, 25);
    expectSameAsReference(csc_test::patchyPicture(200, 300, 78, 6, 11), 200, 300, true, 0);
    expectSameAsReference(csc_test::patchyPicture(257, 129, 79, 20, 4), 257, 129, false, 40);
}

TEST(CSCReferenceComparison, OverrunHappensAtTheSamePoint)
{
    // A store far below the standard capacity fills up part way; both formulations
    // must agree on whether it does.
    std::uint32_t seed = 5000;
    for (const double capacity : {0.3, 0.8, 1.0, 1.4, 2.0})
        for (const int threshold : {10, 25, 80}) {
            expectSameAsReference(csc_test::patchyPicture(40, 30, seed++, 8, 6), 40, 30, false, threshold, capacity);
            expectSameAsReference(csc_test::patchyPicture(30, 40, seed++, 8, 6), 30, 40, true, 0, capacity);
        }
}

TEST(CSCReferenceComparison, OverrunAtTheEdgeOfTheCapacity)
{
    // Capacities just below, at and above the number of elements a run keeps: an
    // allocation attempted for a seed that is then dropped counts too.
    std::uint32_t seed = 9000;
    const Case sizes[] = {{2, 2}, {3, 4}, {4, 4}, {6, 5}, {12, 9}};
    for (const Case c : sizes)
        for (const bool hsv : {false, true})
            for (int i = 0; i < 6; ++i) {
                const auto px = csc_test::patchyPicture(c.w, c.h, seed++, 10 + 10 * i, 2);
                const auto full = csc_reference::run(px, c.w, c.h, hsv, 30);
                ASSERT_FALSE(full.overrun);
                for (long long e = full.usedElements - 2; e <= full.usedElements + 1; ++e) {
                    if (e < 1)
                        continue;
                    const double capacity = (static_cast<double>(e) + 0.5) / full.islandCount;
                    expectSameAsReference(px, c.w, c.h, hsv, 30, capacity);
                }
            }
}

} // namespace
