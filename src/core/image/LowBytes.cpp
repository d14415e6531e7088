#include "LowBytes.h"

#include <bit>
#include <cstring>

void copyLowBytes(const ImageColor& source, RGB24* out)
{
    const std::int32_t* r = source.plane(0);
    const std::int32_t* g = source.plane(1);
    const std::int32_t* b = source.plane(2);
    const std::size_t count = source.pixelCount();
    const auto u = [](std::int32_t v) { return static_cast<std::uint32_t>(v) & 0xFFu; };
    // Four pixels (12 bytes) as three whole words: fewer, wider stores.
    auto* bytes = reinterpret_cast<std::uint8_t*>(out);
    std::size_t i = 0;
    for (; std::endian::native == std::endian::little && i + 4 <= count; i += 4, bytes += 12) {
        const std::uint32_t words[3] = {u(r[i]) | u(g[i]) << 8 | u(b[i]) << 16 | u(r[i + 1]) << 24,
                                        u(g[i + 1]) | u(b[i + 1]) << 8 | u(r[i + 2]) << 16 | u(g[i + 2]) << 24,
                                        u(b[i + 2]) | u(r[i + 3]) << 8 | u(g[i + 3]) << 16 | u(b[i + 3]) << 24};
        std::memcpy(bytes, words, sizeof words); // in memory: R, G, B, R, ... (little endian)
    }
    for (; i < count; ++i)
        out[i] = {static_cast<std::uint8_t>(r[i]), static_cast<std::uint8_t>(g[i]), static_cast<std::uint8_t>(b[i])};
}
