#pragma once

#include "SmallDivision.h"
#include "PackedColor.h"

#include <array>
#include <cstdint>

namespace ivra::csc {

namespace detail {
constexpr std::array<std::uint32_t, 256> packTolerances(const std::int32_t* hue, const std::int32_t* sat,
                                                        const std::int32_t* val)
{
    std::array<std::uint32_t, 256> packed{};
    for (int i = 0; i < 256; ++i)
        packed[i] = static_cast<std::uint32_t>(hue[i]) | static_cast<std::uint32_t>(sat[i]) << 9 |
                    static_cast<std::uint32_t>(val[i]) << 17;
    return packed;
}
} // namespace detail

// HSV colour similarity through fixed tolerance tables, with running hue, saturation
// and value sums. Colours are HSVPixel words (hue 0..359, never undefined here); a
// colour is chromatic when its saturation is not 0. Hue means wrap around 0: when
// any member lies at 300 degrees or above, members at 60 or below count 360 higher.
struct SimilarityHSV {
    std::int32_t count = 0;
    std::int32_t chromaticCount = 0;
    std::int32_t wrapSum = 0;
    std::int32_t highHueCount = 0;
    std::int32_t meanMode = 0;
    std::int32_t hueSum = 0, satSum = 0, valSum = 0;
    std::uint16_t meanHue = 0;
    std::uint8_t meanSat = 0;
    std::uint8_t meanVal = 0;

    // Tolerance tables, 16 x 16, indexed row (smaller saturation >> 4), column
    // (larger value >> 4). Set 0 compares pixels, set 1 elements.
    // Degrees; 360 admits any hue.
    static constexpr std::int32_t hueTolerance0[256] = {
        360, 360, 360, 360, 360, 360, 360, 360, 360, 360, 360, 360, 360, 360, 360, 360,
        360, 360, 360, 360, 360, 360, 360, 360, 360, 360, 360, 360, 360, 360, 360, 360,
        360, 360, 360,  95,  95,  90,  90,  90,  90,  90,  90,  90,  90,  90,  90,  90,
         30,  30,  30,  30,  15,  13,  12,  12,  12,  12,  12,  12,  12,  12,  12,  12,
         25,  25,  25,  15,  13,  13,  12,  12,  11,  11,  10,  10,  10,  10,  10,  10,
         20,  20,  20,  15,  13,  13,  12,  12,  11,  11,  10,  10,  10,  10,  10,  10,
         20,  20,  20,  13,  12,  12,  11,  11,  10,  10,  10,  10,  10,  10,  10,  10,
         20,  20,  20,  13,  12,  12,  11,  11,  10,  10,  10,  10,  10,  10,  10,  10,
         20,  20,  20,  12,  11,  11,  10,  10,  10,  10,  10,  10,  10,  10,  10,  10,
         18,  18,  18,  12,  11,  11,  10,  10,  10,  10,  10,  10,  10,  10,  10,  10,
         18,  18,  18,  12,  11,  11,  10,  10,  10,  10,  10,  10,  10,  10,  10,  10,
         16,  16,  16,  12,  11,  11,  10,  10,  10,  10,  10,  10,  10,  10,  10,  10,
         16,  16,  16,  12,  11,  11,  10,  10,  10,  10,  10,  10,  10,  10,  10,  10,
         16,  16,  16,  12,  11,  11,  10,  10,  10,  10,  10,  10,  10,  10,  10,  10,
         16,  16,  16,  12,  11,  11,  10,  10,  10,  10,  10,  10,  10,  10,  10,  10,
         16,  16,  16,  12,  11,  11,  10,  10,  10,  10,  10,  10,  10,  10,  10,  10,
    };

    // Saturation units.
    static constexpr std::int32_t satTolerance0[256] = {
         24,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,   8,   8,   8,   8,
         24,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,   8,   8,   8,   8,
         64,  56,  56,  56,  40,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,
         72,  72,  72,  56,  40,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,
         72,  72,  72,  56,  40,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,
         72,  72,  72,  56,  40,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,
         72,  72,  72,  56,  40,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,
         72,  72,  72,  56,  40,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,
         72,  72,  72,  72,  56,  56,  56,  56,  56,  56,  56,  56,  56,  56,  40,  40,
         72,  72,  72,  72,  56,  56,  56,  56,  56,  56,  56,  56,  56,  56,  40,  40,
         72,  72,  72,  72,  56,  56,  56,  56,  56,  56,  56,  56,  56,  56,  40,  40,
         72,  72,  72,  72,  56,  56,  56,  56,  56,  56,  56,  56,  56,  56,  40,  40,
         72,  72,  72,  72,  56,  56,  56,  56,  56,  56,  56,  56,  56,  56,  40,  40,
         72,  72,  72,  72,  56,  56,  56,  56,  56,  56,  56,  56,  56,  56,  40,  40,
         72,  72,  72,  72,  56,  56,  56,  56,  56,  56,  56,  56,  56,  56,  40,  40,
         72,  72,  72,  72,  56,  56,  56,  56,  56,  56,  56,  56,  56,  56,  40,  40,
    };

    // Value units.
    static constexpr std::int32_t valTolerance0[256] = {
          8,   8,   8,   8,   8,   8,   8,  10,  10,  10,  10,  10,  10,  10,  10,  10,
          8,   8,   8,   8,   8,   8,   8,  10,  10,  10,  10,  10,  10,  10,  10,  10,
          8,   8,   8,   8,   8,   8,   8,   8,   8,   8,   8,   8,   8,   8,   8,   8,
          8,   8,   8,   8,   8,   8,   8,   8,   8,   8,   8,   8,   8,   8,   8,   8,
          8,   8,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,
          8,   8,  24,  40,  40,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,  24,
          8,   8,  24,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,
          8,   8,  24,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,
          8,   8,  24,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,
          8,   8,  24,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,
          8,   8,  24,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,
          8,   8,  24,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,
          8,   8,  24,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,
          8,   8,  24,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,
          8,   8,  24,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,
          8,   8,  24,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,  40,
    };

    // Degrees: elements use the pixels' hue tolerances.
    static constexpr const auto& hueTolerance1 = hueTolerance0;

    // Saturation units, on saturations rounded down to multiples of 16.
    static constexpr std::int32_t satTolerance1[256] = {
         32,  32,  32,  32,  32,  32,  32,  32,  32,  32,  32,  32,  16,  16,  16,  16,
         32,  32,  32,  32,  32,  32,  32,  32,  32,  32,  16,  16,  16,  16,  16,  16,
         64,  64,  64,  64,  48,  32,  32,  32,  32,  32,  32,  32,  32,  32,  32,  32,
         80,  80,  80,  64,  48,  32,  32,  32,  32,  32,  32,  32,  32,  32,  32,  32,
         80,  80,  80,  64,  48,  32,  32,  32,  32,  32,  32,  32,  32,  32,  32,  32,
         80,  80,  80,  64,  48,  32,  32,  32,  32,  32,  32,  32,  32,  32,  32,  32,
         80,  80,  80,  64,  48,  32,  32,  32,  32,  32,  32,  32,  32,  32,  32,  32,
         80,  80,  80,  64,  48,  32,  32,  32,  32,  32,  32,  32,  32,  32,  32,  32,
         80,  80,  80,  80,  64,  64,  64,  64,  64,  64,  64,  64,  64,  64,  48,  48,
         80,  80,  80,  80,  64,  64,  64,  64,  64,  64,  64,  64,  64,  64,  48,  48,
         80,  80,  80,  80,  64,  64,  64,  64,  64,  64,  64,  64,  64,  64,  48,  48,
         80,  80,  80,  80,  64,  64,  64,  64,  64,  64,  64,  64,  64,  64,  48,  48,
         80,  80,  80,  80,  64,  64,  64,  64,  64,  64,  64,  64,  64,  64,  48,  48,
         80,  80,  80,  80,  64,  64,  64,  64,  64,  64,  64,  64,  64,  64,  48,  48,
         80,  80,  80,  80,  64,  64,  64,  64,  64,  64,  64,  64,  64,  64,  48,  48,
         80,  80,  80,  80,  64,  64,  64,  64,  64,  64,  64,  64,  64,  64,  48,  48,
    };

    // Units of 16 value steps.
    static constexpr std::int32_t valTolerance1[256] = {
          2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   3,   3,   3,   3,   3,
          2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,
          2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,
          2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,
          2,   2,   2,   3,   3,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,
          2,   2,   2,   3,   3,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,   2,
          2,   2,   2,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,
          2,   2,   2,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,
          2,   2,   2,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,
          2,   2,   2,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,
          2,   2,   2,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,
          2,   2,   2,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,
          2,   2,   2,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,
          2,   2,   2,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,
          2,   2,   2,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,
          2,   2,   2,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,   3,
    };

    // The three tolerances of one table entry in one word (hue in bits 0..8,
    // saturation 9..16, value 17..24), so that a test costs one look-up.
    static constexpr std::array<std::uint32_t, 256> tolerances0 =
        detail::packTolerances(hueTolerance0, satTolerance0, valTolerance0);
    static constexpr std::array<std::uint32_t, 256> tolerances1 =
        detail::packTolerances(hueTolerance1, satTolerance1, valTolerance1);

    static bool withinTolerance(std::uint32_t packed, int hueDiff, int satDiff, int valDiff)
    {
        return valDiff <= static_cast<int>(packed >> 17) && satDiff <= static_cast<int>(packed >> 9 & 0xFF) &&
               hueDiff <= static_cast<int>(packed & 0x1FF);
    }

    void start(std::uint32_t color, int mode)
    {
        const int h = hueOf(color), s = satOf(color), v = valOf(color);
        wrapSum = highHueCount = 0;
        if (s != 0) {
            hueSum = h;
            chromaticCount = 1;
            if (h <= 60)
                wrapSum = 360;
            else if (h >= 300)
                highHueCount = 1;
        } else {
            hueSum = 0;
            chromaticCount = 0;
        }
        satSum = s;
        valSum = v;
        count = 1;
        meanHue = static_cast<std::uint16_t>(h);
        meanSat = static_cast<std::uint8_t>(s);
        meanVal = static_cast<std::uint8_t>(v);
        meanMode = mode;
    }

    void add(std::uint32_t color)
    {
        const int h = hueOf(color), s = satOf(color);
        if (s != 0) {
            if (h <= 60)
                wrapSum += 360;
            else if (h >= 300)
                ++highHueCount;
            hueSum += h;
            ++chromaticCount;
        }
        satSum += s;
        valSum += valOf(color);
        ++count;
    }

    void means()
    {
        if (chromaticCount == 0) {
            meanHue = 0;
        } else {
            const int total = hueSum + (highHueCount > 0 ? wrapSum : 0);
            int hue = divideSum(total + chromaticCount / 2, chromaticCount);
            if (hue >= 360)
                hue -= 360;
            meanHue = static_cast<std::uint16_t>(hue);
        }
        meanSat = static_cast<std::uint8_t>(divideSum(satSum, count));
        meanVal = static_cast<std::uint8_t>(divideSum(valSum, count));
    }

    std::uint32_t meanColor() const { return packHSV(meanHue, meanSat, meanVal); }

    static int hueDistance(int h1, int h2)
    {
        int d = h1 > h2 ? h1 - h2 : h2 - h1;
        if (d > 180)
            d = 360 - d;
        return d;
    }

    // Level 0: two pixels.
    static bool pixelSimilar(std::uint32_t p, std::uint32_t q)
    {
        const int vp = valOf(p), vq = valOf(q), sp = satOf(p), sq = satOf(q);
        const int vMin = vp < vq ? vp : vq, vMax = vp < vq ? vq : vp;
        const int sMin = sp < sq ? sp : sq, sMax = sp < sq ? sq : sp;
        const int i = (sMin >> 4) * 16 + (vMax >> 4);
        return withinTolerance(tolerances0[i], hueDistance(hueOf(p), hueOf(q)), sMax - sMin, vMax - vMin);
    }

    // Levels >= 1: the running mean a against the candidate element b.
    static bool elementSimilar(std::uint32_t a, std::uint32_t b)
    {
        const int va = valOf(a) >> 4, vb = valOf(b) >> 4, sa = satOf(a) & 0xF0, sb = satOf(b) & 0xF0;
        const int vMin4 = va < vb ? va : vb, vMax4 = va < vb ? vb : va;
        const int sMin = sa < sb ? sa : sb, sMax = sa < sb ? sb : sa;
        const int i = sMin + vMax4;
        return withinTolerance(tolerances1[i], hueDistance(hueOf(a), hueOf(b)), sMax - sMin, vMax4 - vMin4);
    }

    // Running-mean test and update of the levels >= 1, as the linking phases use it.
    bool acceptElement(std::uint32_t candidate)
    {
        if (!elementSimilar(meanColor(), candidate))
            return false;
        add(candidate);
        means();
        return true;
    }
};

} // namespace ivra::csc
