#pragma once

#include <cstdint>

namespace ivra {

// One pixel as three bytes R, G, B.
struct RGB24 {
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;

    friend bool operator==(const RGB24&, const RGB24&) = default;
};
static_assert(sizeof(RGB24) == 3);

} // namespace ivra
