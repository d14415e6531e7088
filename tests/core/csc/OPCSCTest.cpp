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

// One engine run on a patchy picture with the memory a caller may lend: a block for the
// store's pool, the level-0 scratch and the room free once level 0 is built (none where
// 0 bytes). Gives the painted colours and labels, the elements used and where level 1's
// begin.
class LentRun {
public:
    LentRun(int w, int h, std::uint32_t seed) : w(w), h(h), px_(csc_test::patchyPicture(w, h, seed, 12, 4))
    {
        hsvPixels_.resize(static_cast<std::size_t>(w) * h);
        imageRgbToHsv(w, h, rgb(), hsvPixels_.data());
    }

    std::tuple<std::vector<std::uint32_t>, std::int64_t, std::int64_t> operator()(bool hsv, std::size_t poolBytes,
                                                                                std::size_t scratchBytes,
                                                                                std::size_t laterBytes) const
    {
        using namespace ivra::csc;
        std::vector<std::uint64_t> block(poolBytes / 8), scratch(scratchBytes / 8 + 1, ~0ull), later(laterBytes / 8);
        SegmenterRGB rgbRun;
        SegmenterHSV hsvRun;
        Segmenter& csc = hsv ? static_cast<Segmenter&>(hsvRun) : rgbRun;
        csc.resize(w, h);
        rgbRun.similarity.squaredThreshold = 25 * 25;
        csc.store()->lend(block.empty() ? nullptr : block.data(), block.size() * 8);
        csc.engine()->lendScratch(scratchBytes ? scratch.data() : nullptr, scratchBytes);
        csc.engine()->lendLaterScratch(later.empty() ? nullptr : later.data(), later.size() * 8);
        hsv ? hsvRun.run(w, h, hsvPixels_.data(), 0, 0, w, h) : rgbRun.run(w, h, rgb(), 0, 0, w, h);
        std::vector<std::uint32_t> labels(static_cast<std::size_t>(w) * h);
        auto colors = paintRegions(*csc.store(), 0, 0, w, h, labels.data());
        colors.insert(colors.end(), labels.begin(), labels.end());
        const IslandHierarchy& islands = csc.store()->hierarchy();
        return {colors, csc.store()->usedElements(), csc.store()->firstOf(islands.indexOffset(1))};
    }

    // Bytes of a pool block for `elements` elements after the island table.
    std::size_t poolBytes(std::int64_t elements) const
    {
        return (static_cast<std::size_t>(csc::IslandHierarchy(w, h).islandCount()) + 1) * 4 + 256 +
               static_cast<std::size_t>(elements) * 20;
    }

    const int w, h;

private:
    const std::uint8_t* rgb() const { return reinterpret_cast<const std::uint8_t*>(px_.data()); }
    std::vector<RGB24> px_;
    std::vector<HSVPixel> hsvPixels_;
};

// The store may start in memory lent by the caller and move out when it outgrows it,
// the pair plane may lie in a lent buffer: where they lie must not change a value.
TEST(OPCSC, LentMemoryChangesNothingWhereverThePoolEnds)
{
    const LentRun run(120, 90, 7);
    const std::size_t plane = static_cast<std::size_t>(run.w + 3) * (run.h + 3);
    for (const bool hsv : {false, true}) {
        const auto own = run(hsv, 0, 0, 0);
        const std::int64_t used = std::get<1>(own);
        ASSERT_GT(used, 3000); // so that the small blocks below overflow
        for (const std::size_t lent :
             {run.poolBytes(0) / 2, run.poolBytes(2000), run.poolBytes(3000), run.poolBytes(2 * used)})
            EXPECT_EQ(run(hsv, lent, plane, 0), own) << (hsv ? "HSV " : "RGB ") << lent;
        EXPECT_EQ(run(hsv, 0, plane - 1, 0), own); // a scratch buffer too small is not used
    }
}

// Pieces of a level linked on several threads go straight into the pool while it has
// room (then the pool moves), into room lent once level 0 is built (a piece that
// outgrows it sends the level round again), or into arrays of their own.
TEST(OPCSC, ThreadsGiveTheSameStoreWhateverRoomTheirPiecesFind)
{
    const LentRun run(800, 600, 11);
    for (const bool hsv : {false, true}) {
        const auto one = [&] {
            const ThreadLimit limit(1);
            return run(hsv, 0, 0, 0);
        }();
        const std::int64_t levelZero = std::get<2>(one), levelOne = std::get<1>(one) - levelZero;
        ASSERT_GT(levelOne, 30000) << "so that the pools below are short";
        // No pool; one too small for the first piece; one that holds the first piece
        // but has to move for the rest; one for all.
        const std::size_t pools[] = {0, run.poolBytes(levelZero + 17000), run.poolBytes(levelZero + levelOne * 2 / 3),
                                     run.poolBytes(std::get<1>(one) + 100)};
        const std::size_t laters[] = {0, 4 * ((std::size_t{66} << 10) + 4096), std::size_t{4} * run.w * run.h};
        for (const int threads : {2, 3}) {
            const ThreadLimit limit(threads);
            for (const std::size_t pool : pools)
                for (const std::size_t later : laters)
                    EXPECT_TRUE(run(hsv, pool, 0, later) == one)
                        << (hsv ? "HSV " : "RGB ") << threads << " threads, pool " << pool << ", lent " << later;
        }
    }
}

} // namespace
