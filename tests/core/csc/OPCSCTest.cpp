// The operator around the engine: what it refuses, the overrun result, cancelling, and
// the memory it lends the engine. Its values are checked in CscAgreementTest.cpp.
#include "CSCTestPictures.h"
#include "CscIndependent.h"

#include "core/CapturedMessages.h"
#include "csc/OPCSC.h"
#include "csc/RegionPainter.h"
#include "csc/Segmenter.h"
#include "util/Threads.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace ivra;

namespace {

using csc_test::toImage;


TEST(OPCSC, OverrunGivesABlackUnlabelledResultAndReportsItThroughTheSink)
{
    const auto px = csc_test::patchyPicture(30, 30, 3, 4, 6);
    const auto image = toImage(px, 30, 30);
    for (const auto space : {OPCSC::Space::RGB, OPCSC::Space::HSV}) {
        CapturedMessages messages;
        const auto result = OPCSC().execute(*image, space, 25, {}, 0.3);
        EXPECT_FALSE(result.complete);
        EXPECT_EQ(result.message, "Codeelement overrun...");
        EXPECT_EQ(messages.lines, std::vector<std::string>{"Codeelement overrun..."});
        ASSERT_TRUE(result.image);
        for (int i = 0; i < 900; ++i)
            ASSERT_TRUE(result.image->labels[i] == 0 && result.image->pixel(i % 30, i / 30) == ImageColor::Triple{}) << i;
        EXPECT_EQ(result.image->sourcePixels[31], px[31]);
    }
}

TEST(OPCSC, RefusesBadParametersAndOversizedPictures)
{
    const auto image = toImage(std::vector<RGB24>(16, {1, 2, 3}), 4, 4);
    EXPECT_THROW(OPCSC().execute(*image, OPCSC::Space::RGB, -1), std::invalid_argument);
    EXPECT_THROW(OPCSC().execute(*image, OPCSC::Space::RGB, 256), std::invalid_argument);
    EXPECT_FALSE(OPCSC::fits(16385, 1)); // covered square 32768: the store would not fit
    EXPECT_TRUE(OPCSC::fits(16384, 16384));
    EXPECT_THROW(OPCSC().execute(ImageRGB(16385, 1), OPCSC::Space::HSV, 25), std::length_error);
}

TEST(OPCSC, EmptyPictureAndCancel)
{
    const auto none = OPCSC().execute(ImageRGB(0, 0), OPCSC::Space::RGB, 25);
    EXPECT_TRUE(none.complete);
    EXPECT_EQ(none.image->width(), 0);
    const ivra::Progress cancel([](double) { return false; });
    EXPECT_THROW(OPCSC().execute(*toImage(std::vector<RGB24>(4096, {5, 5, 5}), 64, 64), OPCSC::Space::RGB, 25, cancel),
                 ivra::Cancelled);
}

// The store may start in memory lent by the caller and move out when it outgrows it,
// the pair plane may lie in a lent buffer: where they lie must not change a value.
TEST(OPCSC, LentMemoryChangesNothingWhereverThePoolEnds)
{
    using namespace ivra::csc;
    const int w = 120, h = 90;
    const auto px = csc_test::patchyPicture(w, h, 7, 12, 4);
    const auto* rgb = reinterpret_cast<const std::uint8_t*>(px.data());
    std::vector<HSVPixel> hsvPixels(static_cast<std::size_t>(w) * h);
    imageRgbToHsv(w, h, rgb, hsvPixels.data());
    const auto paint = [&](bool hsv, std::size_t lentBytes, std::size_t scratchBytes) {
        std::vector<std::uint64_t> block(lentBytes / 8), scratch(scratchBytes / 8 + 1, ~0ull);
        SegmenterRGB rgbRun;
        SegmenterHSV hsvRun;
        Segmenter& csc = hsv ? static_cast<Segmenter&>(hsvRun) : rgbRun;
        csc.resize(w, h);
        rgbRun.similarity.squaredThreshold = 25 * 25;
        csc.store()->lend(block.empty() ? nullptr : block.data(), block.size() * 8);
        csc.engine()->lendScratch(scratchBytes ? scratch.data() : nullptr, scratchBytes);
        hsv ? hsvRun.run(w, h, hsvPixels.data(), 0, 0, w, h) : rgbRun.run(w, h, rgb, 0, 0, w, h);
        std::vector<std::uint32_t> labels(static_cast<std::size_t>(w) * h);
        auto colors = paintRegions(*csc.store(), 0, 0, w, h, labels.data());
        colors.insert(colors.end(), labels.begin(), labels.end());
        return std::make_pair(colors, csc.store()->usedElements());
    };
    const std::size_t table = (static_cast<std::size_t>(IslandHierarchy(w, h).islandCount()) + 1) * 4;
    const std::size_t plane = static_cast<std::size_t>(w + 3) * (h + 3);
    for (const bool hsv : {false, true}) {
        const auto own = paint(hsv, 0, 0);
        ASSERT_GT(own.second, 3000); // so that the small blocks below overflow
        for (const std::size_t lent : {table / 2, table + 256 + 2000 * 20, table + 256 + 3000 * 20,
                                       table + 256 + static_cast<std::size_t>(own.second) * 40})
            EXPECT_EQ(paint(hsv, lent, plane), own) << (hsv ? "HSV " : "RGB ") << lent;
        EXPECT_EQ(paint(hsv, 0, plane - 1), own); // a scratch buffer too small is not used
    }
}

TEST(OPCSC, ThreadsGiveTheSameStoreWhateverRoomTheirPiecesFind)
{
    // Pieces of a level linked on several threads go straight into the pool while it
    // has room (then the pool moves), into room lent once level 0 is built (a piece
    // that outgrows it sends the level round again), or into arrays of their own.
    using namespace ivra::csc;
    const int w = 800, h = 600;
    const auto px = csc_test::patchyPicture(w, h, 11, 12, 4);
    const auto* rgb = reinterpret_cast<const std::uint8_t*>(px.data());
    std::vector<HSVPixel> hsvPixels(static_cast<std::size_t>(w) * h);
    imageRgbToHsv(w, h, rgb, hsvPixels.data());
    const std::size_t table = (static_cast<std::size_t>(IslandHierarchy(w, h).islandCount()) + 1) * 4;
    const auto run = [&](bool hsv, int threads, std::int64_t poolElements, std::size_t laterBytes) {
        const ThreadLimit limit(threads);
        std::vector<std::uint64_t> block(poolElements ? (table + 256 + poolElements * 20) / 8 : 0);
        std::vector<std::uint64_t> later(laterBytes / 8);
        SegmenterRGB rgbRun;
        SegmenterHSV hsvRun;
        Segmenter& csc = hsv ? static_cast<Segmenter&>(hsvRun) : rgbRun;
        csc.resize(w, h);
        rgbRun.similarity.squaredThreshold = 25 * 25;
        csc.store()->lend(block.empty() ? nullptr : block.data(), block.size() * 8);
        csc.engine()->lendLaterScratch(later.empty() ? nullptr : later.data(), later.size() * 8);
        hsv ? hsvRun.run(w, h, hsvPixels.data(), 0, 0, w, h) : rgbRun.run(w, h, rgb, 0, 0, w, h);
        std::vector<std::uint32_t> labels(static_cast<std::size_t>(w) * h);
        auto colors = paintRegions(*csc.store(), 0, 0, w, h, labels.data());
        colors.insert(colors.end(), labels.begin(), labels.end());
        const IslandHierarchy& islands = csc.store()->hierarchy();
        return std::make_tuple(colors, csc.store()->usedElements(), csc.store()->firstOf(islands.indexOffset(1)));
    };
    for (const bool hsv : {false, true}) {
        const auto one = run(hsv, 1, 0, 0);
        const std::int64_t levelZero = std::get<2>(one), levelOne = std::get<1>(one) - levelZero;
        ASSERT_GT(levelOne, 30000) << "so that the pools below are short";
        // No pool; one too small for the first piece; one that holds the first piece
        // but has to move for the rest; one for all.
        const std::int64_t pools[] = {0, levelZero + 17000, levelZero + levelOne * 2 / 3, std::get<1>(one) + 100};
        const std::size_t laters[] = {0, 4 * ((std::size_t{66} << 10) + 4096), std::size_t{4} * w * h};
        for (const int threads : {2, 3})
            for (const std::int64_t pool : pools)
                for (const std::size_t later : laters)
                    EXPECT_TRUE(run(hsv, threads, pool, later) == one)
                        << (hsv ? "HSV " : "RGB ") << threads << " threads, pool " << pool << ", lent " << later;
    }
}

} // namespace
