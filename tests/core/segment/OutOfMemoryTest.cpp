// Segmenters that run out of memory say so in words, in a child process whose
// address space is limited.
#include "io/ChildProcess.h"

#include "image/ImageRGB.h"
#include "segment/OPRecursiveHistogramSplitting.h"
#include "segment/OPSplitAndMerge.h"
#include "util/Threads.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ivra;

TEST(OutOfMemory, SegmentersReportItInWords)
{
    IVRA_SKIP_WITHOUT_MEMORY_LIMITS();
    ImageRGB image(4000, 3000); // larger than any heap the earlier tests leave free
    for (int p = 0; p < 3; ++p)
        std::fill_n(image.plane(p), image.pixelCount(), 60 * p);
    const Image& source = image; // the operators' one entry point, as the front ends call it
    const std::pair<std::function<void()>, const char*> rows[] = {
        {[&] { OPSplitAndMerge().execute(source, SplitAndMergeParams{}, Progress()); }, "split-and-merge"},
        {[&] { OPRecursiveHistogramSplitting().execute(source, RhsParams{}, Progress()); },
         "recursive histogram splitting"},
    };
    for (const auto& [call, name] : rows) {
        const std::function<void()>& run = call; // lambdas cannot capture a structured binding before clang 16
        // The OpenMP runtime's threads do not survive fork(): the child runs on one thread.
        const std::string outcome = inChild([&] {
            const ThreadLimit one(1);
            return run(), std::string("ran");
        }, 8 << 20);
        EXPECT_EQ(outcome, std::string("threw: Not enough memory for ") + name + " on a 4000 x 3000 picture");
    }
}
