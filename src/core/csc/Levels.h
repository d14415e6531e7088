#pragma once

#include "LinkingContext.h"

#include <cstdint>

// The phases of the linking engine, one file each, for V = SpaceRGB or SpaceHSV.
namespace ivra::csc::detail {

struct SpaceRGB;
struct SpaceHSV;

// Level 0 (LevelZero.cpp): the elements of every level-0 island from the pixels,
// row-major with `stride` pixels per row.
template <class V>
void buildLevelZero(LinkingContext<V>& c, const std::uint8_t* pixels, int stride);

// Level 1 (LevelOne.cpp): level-0 elements that hold the pixel their islands share link.
template <class V>
void linkLevelOne(LinkingContext<V>& c);

// A level >= 2 (UpperLevels.cpp): elements that share a child link; dissimilar pairs
// are recorded in c.conflicts for ConflictResolution.h.
template <class V>
void linkUpperLevel(LinkingContext<V>& c, int level);

extern template void buildLevelZero(LinkingContext<SpaceRGB>&, const std::uint8_t*, int);
extern template void buildLevelZero(LinkingContext<SpaceHSV>&, const std::uint8_t*, int);
extern template void linkLevelOne(LinkingContext<SpaceRGB>&);
extern template void linkLevelOne(LinkingContext<SpaceHSV>&);
extern template void linkUpperLevel(LinkingContext<SpaceRGB>&, int);
extern template void linkUpperLevel(LinkingContext<SpaceHSV>&, int);

} // namespace ivra::csc::detail
