#pragma once

#include "SmallDivision.h"
#include "PackedColor.h"

#include <cstdint>

namespace ivra::csc {

// RGB colour similarity: Euclidean distance below a threshold, with running sums.
// At level 0 (meanMode 0) a candidate pixel is compared with the pixel it was reached
// from; above (meanMode != 0) a candidate element is compared with the running mean
// of the element being grown. Every member counts once.
struct SimilarityRGB {
    std::int32_t count = 0;
    std::int32_t sumR = 0, sumG = 0, sumB = 0;
    std::int32_t meanR = 0, meanG = 0, meanB = 0;
    std::int32_t meanMode = 0;
    std::int32_t squaredThreshold = 400;

    void start(std::uint32_t seed, int mode)
    {
        count = 1;
        sumR = meanR = redOf(seed);
        sumG = meanG = greenOf(seed);
        sumB = meanB = blueOf(seed);
        meanMode = mode;
    }

    // Squared distance test, strictly below the threshold.
    static bool near(int r1, int g1, int b1, std::uint32_t c, std::int32_t squaredThreshold)
    {
        const int dr = r1 - redOf(c), dg = g1 - greenOf(c), db = b1 - blueOf(c);
        return dr * dr + dg * dg + db * db < squaredThreshold;
    }

    // Tests the candidate against the reference (meanMode 0) or the running mean, and
    // adds it when similar.
    bool accept(std::uint32_t reference, std::uint32_t candidate)
    {
        const bool similar = meanMode != 0
                                 ? near(meanR, meanG, meanB, candidate, squaredThreshold)
                                 : near(redOf(reference), greenOf(reference), blueOf(reference), candidate,
                                        squaredThreshold);
        if (similar) {
            ++count;
            sumR += redOf(candidate);
            sumG += greenOf(candidate);
            sumB += blueOf(candidate);
            if (meanMode != 0) {
                meanR = divideSum(sumR, count);
                meanG = divideSum(sumG, count);
                meanB = divideSum(sumB, count);
            }
        }
        return similar;
    }

    std::uint32_t finalColor() const
    {
        if (meanMode != 0)
            return packRGB(meanR, meanG, meanB);
        return packRGB(divideSum(sumR, count), divideSum(sumG, count), divideSum(sumB, count));
    }

    // Squared distance of two packed colours.
    static int squaredDistance(std::uint32_t a, std::uint32_t b)
    {
        const int dr = redOf(a) - redOf(b), dg = greenOf(a) - greenOf(b), db = blueOf(a) - blueOf(b);
        return dr * dr + dg * dg + db * db;
    }
};

} // namespace ivra::csc
