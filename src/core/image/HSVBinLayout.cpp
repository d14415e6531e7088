#include "HSVBinLayout.h"

#include <stdexcept>

namespace {
// Checked before the bin count is formed, so absurd arguments cannot overflow it.
int checkedBinCount(int sectors, int rings, int grays, int minSaturation)
{
    if (sectors < 1 || sectors > 360 || rings < 1 || rings > 255 || grays < 1 || grays > 256 || minSaturation < 0 ||
        minSaturation > 255)
        throw std::invalid_argument("HSV bin layout out of range");
    return sectors * rings + grays;
}
} // namespace

HSVBinLayout::HSVBinLayout(int sectors_, int rings_, int grays_, int minSaturation_)
    : sectors(sectors_), rings(rings_), grays(grays_), minSaturation(minSaturation_),
      binCount(checkedBinCount(sectors_, rings_, grays_, minSaturation_))
{
}
