#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace ivra {

// Layout of an HSV histogram: hue sectors x saturation rings plus gray bins.
// Bin numbering: gray bins first, then ring r, sector s at grays + r * sectors + s.
//
// The layout also holds the lookup tables of the fuzzy HSV histogram, so that
// entering a pixel costs a few table reads: the candidate bins of every
// (hue, saturation) pair, the gray pair of every value, and the hue, saturation
// and value memberships of every bin at every integer argument. A table entry
// that names no bin holds binCount, whose memberships are all 0.
struct HSVBinLayout {
    int sectors;
    int rings;
    int grays;
    int minSaturation;
    int binCount; // sectors * rings + grays

    // Derived widths, all integer divisions.
    int ringWidth;   // (256 - minSaturation) / rings
    int ringHalf;    // ringWidth / 2
    int sectorWidth; // 360 / sectors
    int grayWidth;   // 256 / grays
    int grayHalf;    // grayWidth / 2

    static constexpr int hueCount = 361; // hues -1..359
    static constexpr int levelCount = 256;
    // Largest layout accepted: keeps the membership tables small.
    static constexpr int maxBins = 1024;

    // Candidate bins of one (hue, saturation) pair. When usesGrayPair is set,
    // slots 0 and 1 stand for the gray pair of the pixel's value and are
    // replaced by grayPair(value); the other slots are fixed bins.
    struct Candidates {
        std::array<std::uint16_t, 4> bins;
        bool usesGrayPair;
    };

    // Throws std::invalid_argument unless sectors divides 360, rings lies in
    // 1..255 - minSaturation, grays in 1..256, minSaturation in 0..254 and the
    // layout has at most maxBins bins.
    HSVBinLayout(int sectors, int rings, int grays, int minSaturation);

    // Hue -1..359, saturation and value 0..255; callers check the ranges.
    const Candidates& candidates(int hue, int saturation) const
    {
        return candidates_[static_cast<std::size_t>(hue + 1) * levelCount + static_cast<std::size_t>(saturation)];
    }
    const std::array<std::uint16_t, 2>& grayPair(int value) const { return grayPairs_[static_cast<std::size_t>(value)]; }

    // Memberships of bin 0..binCount (binCount = no bin).
    double hueMembership(int bin, int hue) const
    {
        return hueMu_[static_cast<std::size_t>(bin) * hueCount + static_cast<std::size_t>(hue + 1)];
    }
    double saturationMembership(int bin, int saturation) const
    {
        return satMu_[static_cast<std::size_t>(bin) * levelCount + static_cast<std::size_t>(saturation)];
    }
    double valueMembership(int bin, int value) const
    {
        return valMu_[static_cast<std::size_t>(bin) * levelCount + static_cast<std::size_t>(value)];
    }

    // Raw tables for the inner loop of the histogram.
    const double* hueTable() const { return hueMu_.data(); }
    const double* saturationTable() const { return satMu_.data(); }
    const double* valueTable() const { return valMu_.data(); }

private:
    void buildCandidates();
    void buildMemberships();
    double grayValueMembership(int k, int value) const;
    double graySaturationMembership(int saturation) const;
    double ringSaturationMembership(int ring, int saturation) const;
    static double sectorHueMembership(int sector, int hue);

    std::vector<Candidates> candidates_;                // hueCount x levelCount
    std::vector<std::array<std::uint16_t, 2>> grayPairs_; // levelCount
    std::vector<double> hueMu_;                         // (binCount + 1) x hueCount
    std::vector<double> satMu_;                         // (binCount + 1) x levelCount
    std::vector<double> valMu_;                         // (binCount + 1) x levelCount
};

} // namespace ivra
