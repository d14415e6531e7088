#pragma once

// Layout of an HSV histogram: hue sectors x saturation rings plus gray bins.
// Bin numbering: gray bins first, then ring r, sector s at grays + r * sectors + s.
struct HSVBinLayout {
    int sectors;
    int rings;
    int grays;
    int minSaturation;
    int binCount; // sectors * rings + grays

    // Throws std::invalid_argument unless sectors, rings and grays are positive
    // and minSaturation lies in 0..255.
    HSVBinLayout(int sectors, int rings, int grays, int minSaturation);
};
