#pragma once

#include <array>
#include <cstdint>

namespace ivra {

// Truncating division of colour sums by member counts, as a multiplication by the
// rounded-up reciprocal: with m = ceil(2^32 / c) = (2^32 + d) / c, 0 <= d < c,
// s * m / 2^32 exceeds s / c by less than 1 / c as long as s * d < 2^32, so the
// quotient is exact for every s < 2^20 and 1 <= c <= 256. Larger counts divide.
namespace csc_detail {
constexpr std::array<std::uint64_t, 257> buildReciprocals()
{
    std::array<std::uint64_t, 257> r{};
    for (std::uint64_t c = 1; c <= 256; ++c)
        r[c] = ((std::uint64_t{1} << 32) + c - 1) / c;
    return r;
}
inline constexpr std::array<std::uint64_t, 257> reciprocals = buildReciprocals();
} // namespace csc_detail

// s / c for 0 <= s < 2^20 and c >= 1.
inline constexpr std::int32_t divideSum(std::int32_t s, std::int32_t c)
{
    if (c <= 256)
        return static_cast<std::int32_t>(static_cast<std::uint64_t>(s) * csc_detail::reciprocals[c] >> 32);
    return s / c;
}

} // namespace ivra
