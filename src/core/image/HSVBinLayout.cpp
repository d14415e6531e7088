#include "HSVBinLayout.h"

#include <stdexcept>

namespace ivra {

HSVBinLayout::HSVBinLayout(int sectors_, int rings_, int grays_, int minSaturation_)
    : sectors(sectors_), rings(rings_), grays(grays_), minSaturation(minSaturation_), binCount(0), ringWidth(0),
      ringHalf(0), sectorWidth(0), grayWidth(0), grayHalf(0)
{
    // Both ring widths in use (256 - m and, in the drawing, 255 - m, over rings)
    // must be at least 1; a sector count that does not divide 360 would let a
    // hue fall past the last sector.
    if (minSaturation < 0 || minSaturation > 254)
        throw std::invalid_argument("HSV bin layout: minimum saturation outside 0..254");
    if (sectors < 1 || sectors > 360 || 360 % sectors != 0)
        throw std::invalid_argument("HSV bin layout: the sector count must divide 360");
    if (rings < 1 || rings > 255 - minSaturation)
        throw std::invalid_argument("HSV bin layout: ring count out of range");
    if (grays < 1 || grays > 256)
        throw std::invalid_argument("HSV bin layout: gray bin count outside 1..256");
    if (sectors * rings + grays > maxBins)
        throw std::invalid_argument("HSV bin layout: too many bins");

    binCount = sectors * rings + grays;
    ringWidth = (256 - minSaturation) / rings;
    ringHalf = ringWidth / 2;
    sectorWidth = 360 / sectors;
    grayWidth = 256 / grays;
    grayHalf = grayWidth / 2;

    buildCandidates();
    buildMemberships();
}

void HSVBinLayout::buildCandidates()
{
    const auto noBin = static_cast<std::uint16_t>(binCount);
    const auto bin = [&](int index, int limit) {
        return index >= 0 && index < limit ? static_cast<std::uint16_t>(index) : noBin;
    };

    grayPairs_.resize(levelCount);
    for (int v = 0; v < levelCount; ++v) {
        if (v < grayHalf)
            grayPairs_[v] = {0, noBin};
        else if (v >= 256 - grayHalf)
            grayPairs_[v] = {static_cast<std::uint16_t>(grays - 1), noBin};
        else // when grays does not divide 256 the upper member can pass the last gray bin
            grayPairs_[v] = {bin((v - grayHalf) / grayWidth, grays), bin((v + grayHalf) / grayWidth, grays)};
    }

    candidates_.resize(static_cast<std::size_t>(hueCount) * levelCount);
    for (int h = -1; h < 360; ++h) {
        for (int s = 0; s < levelCount; ++s) {
            Candidates& c = candidates_[static_cast<std::size_t>(h + 1) * levelCount + static_cast<std::size_t>(s)];
            if (h == -1) {
                c = {{noBin, noBin, noBin, noBin}, true};
                continue;
            }
            const int sector = h / sectorWidth;
            const int next = (sector + 1) % sectors;
            if (s < minSaturation + ringHalf) {
                c = {{noBin, noBin, static_cast<std::uint16_t>(grays + sector), static_cast<std::uint16_t>(grays + next)},
                     true};
                continue;
            }
            const int ring = (s - minSaturation - 1) / ringWidth;
            if (ring >= rings) { // only with ring widths that leave saturations past the last ring
                c = {{noBin, noBin, noBin, noBin}, false};
                continue;
            }
            const int nextRing = (ring + 1) % rings;
            c = {{static_cast<std::uint16_t>(grays + ring * sectors + sector),
                  static_cast<std::uint16_t>(grays + ring * sectors + next),
                  static_cast<std::uint16_t>(grays + nextRing * sectors + sector),
                  static_cast<std::uint16_t>(grays + nextRing * sectors + next)},
                 false};
        }
    }
}

double HSVBinLayout::grayValueMembership(int k, int value) const
{
    if (grays == 1)
        return 1.0;
    const int g = grayWidth;
    const int h = grayHalf;
    const double v = value;
    if (k == 0) {
        if (value < h)
            return 1.0;
        if (value < h + g)
            return 1.0 - (v - h) / g;
        return 0.0;
    }
    if (k == grays - 1) {
        const int start = 256 - h - g;
        if (value < start)
            return 0.0;
        if (value < 256 - h)
            return (v - start) / g;
        return 1.0;
    }
    const int peak = k * g;
    if (value < peak - h)
        return 0.0;
    if (value < peak + h)
        return (v - peak + h) / g;
    if (value < peak + h + g)
        return 1.0 - (v - peak - h) / g;
    return 0.0;
}

double HSVBinLayout::graySaturationMembership(int saturation) const
{
    const int m = minSaturation;
    const double s = saturation;
    if (saturation < m)
        return 1.0 - (0.5 / m) * s;
    if (saturation < m + ringHalf)
        return 0.5 - (s - m) / ringWidth;
    return 0.0;
}

double HSVBinLayout::ringSaturationMembership(int ring, int saturation) const
{
    const int m = minSaturation;
    const int w = ringWidth;
    const int h = ringHalf;
    const double s = saturation;
    if (ring == 0) {
        if (saturation < m)
            return 0.5 * s / m;
        if (saturation < m + h)
            return 0.5 + (s - m) / w;
        if (rings == 1)
            return 1.0;
        if (saturation < m + h + w)
            return 1.0 - (s - m - h) / w;
        return 0.0;
    }
    // Rings past the first rise over one ring width from the peak of the ring
    // before; the last ring then stays at 1, a middle ring falls off again.
    const int start = m + h + (ring - 1) * w;
    if (ring == rings - 1) {
        if (saturation < start)
            return 0.0;
        if (saturation < 255 - h)
            return (s - start) / w;
        return 1.0;
    }
    if (saturation < start)
        return 0.0;
    if (saturation < start + w)
        return (s - start) / w;
    if (saturation < start + 2 * w)
        return 1.0 - (s - start - w) / w;
    return 0.0;
}

double HSVBinLayout::sectorHueMembership(int sector, int hue)
{
    // A triangle of half-width 60 degrees around 60 * sector, on the circle.
    const double h = hue;
    if (hue < 0)
        return 0.0;
    if (sector == 0) {
        if (hue <= 60)
            return 1.0 - h / 60;
        if (hue >= 300)
            return 1.0 - (360 - h) / 60;
        return 0.0;
    }
    const int centre = 60 * sector;
    if (hue >= centre - 60 && hue <= centre)
        return (h - (centre - 60)) / 60;
    if (hue >= centre && hue <= centre + 60)
        return 1.0 - (h - centre) / 60;
    return 0.0;
}

void HSVBinLayout::buildMemberships()
{
    const std::size_t tableBins = static_cast<std::size_t>(binCount) + 1; // the last row is "no bin"
    hueMu_.assign(tableBins * hueCount, 0.0);
    satMu_.assign(tableBins * levelCount, 0.0);
    valMu_.assign(tableBins * levelCount, 0.0);

    for (int k = 0; k < grays; ++k) {
        for (int h = -1; h < 360; ++h)
            hueMu_[static_cast<std::size_t>(k) * hueCount + static_cast<std::size_t>(h + 1)] = 1.0;
        for (int i = 0; i < levelCount; ++i) {
            satMu_[static_cast<std::size_t>(k) * levelCount + static_cast<std::size_t>(i)] = graySaturationMembership(i);
            valMu_[static_cast<std::size_t>(k) * levelCount + static_cast<std::size_t>(i)] = grayValueMembership(k, i);
        }
    }
    for (int r = 0; r < rings; ++r) {
        for (int s = 0; s < sectors; ++s) {
            const std::size_t b = static_cast<std::size_t>(grays + r * sectors + s);
            for (int h = -1; h < 360; ++h)
                hueMu_[b * hueCount + static_cast<std::size_t>(h + 1)] = sectorHueMembership(s, h);
            for (int i = 0; i < levelCount; ++i) {
                satMu_[b * levelCount + static_cast<std::size_t>(i)] = ringSaturationMembership(r, i);
                valMu_[b * levelCount + static_cast<std::size_t>(i)] = 1.0;
            }
        }
    }
}

} // namespace ivra
