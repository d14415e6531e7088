#include "BitImage32.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace ivra {

namespace {
std::int16_t checkedSide(int side)
{
    if (side < 0 || side > BitImage32::maxSide)
        throw std::length_error("bit image side " + std::to_string(side) + " is outside 0.." +
                                std::to_string(BitImage32::maxSide));
    return static_cast<std::int16_t>(side);
}
} // namespace

BitImage32::BitImage32(int width, int height)
    : width_(checkedSide(width)), height_(checkedSide(height)),
      wordsPerRow_(static_cast<std::int16_t>(width / 32 + (width % 32 ? 1 : 0))),
      data_(std::make_unique<std::uint32_t[]>(static_cast<std::size_t>(height) * wordsPerRow_))
{
}

void BitImage32::fill(int value)
{
    std::fill_n(data_.get(), static_cast<std::size_t>(height_) * wordsPerRow_, value ? ~0u : 0u);
}

} // namespace ivra
