#pragma once

#include "image/Array2D.h"
#include "image/RGB24.h"

#include <cstdint>

namespace ivra {

// The colour borders are painted in unless the user picks another.
inline constexpr RGB24 defaultBorderColor{255, 255, 0};

// A pixel lies on a border when at least one of its 4-neighbours inside the
// picture carries a different label; the picture's own edge is no border.
// Returns 1 for border pixels, 0 for the others.
Array2D<std::uint8_t> borderMask(const Array2D<std::uint32_t>& labels);

// The source picture with every border pixel painted in `color`. Labels and source
// have the same size (std::invalid_argument otherwise).
Array2D<RGB24> paintBorders(const Array2D<std::uint32_t>& labels, const Array2D<RGB24>& source, RGB24 color);
// The same into `out`, whose memory is reused when it already has the size: on a
// large picture, touching fresh memory can cost more than the painting itself.
void paintBorders(const Array2D<std::uint32_t>& labels, const Array2D<RGB24>& source, RGB24 color,
                  Array2D<RGB24>& out);

} // namespace ivra
