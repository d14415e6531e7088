#pragma once

#include "util/Simd.h"

#include <cstddef>
#include <cstdint>

// The conversions' inner loops with 256-bit vectors, for processors that have AVX2,
// picked at run time: the module is built for the baseline instruction set, so these
// are compiled with a function attribute and called only after asking the processor.
// They move and test the same values as the plain loops beside their callers, which
// finish what they leave over.
#if IVRA_SIMD_AVX_STATE
#define IVRA_PYTHON_AVX2 1
#else
#define IVRA_PYTHON_AVX2 0
#endif

namespace ivra::python::avx2 {

#if IVRA_PYTHON_AVX2
// Whether the processor runs AVX2 (asked once) and they are allowed.
bool available();
// Allows them (the default) or makes the callers take their other loops, which the
// tests check on processors with AVX2 as well.
void allow(bool allowed);

// Packed RGB bytes of one row into three int32 planes, eight pixels a round; never
// reads past the row. Returns the pixels done.
int splitBytes(const char* row, int width, std::int32_t* out0, std::int32_t* out1, std::int32_t* out2);

// Planes' elements begin..end - 1 into packed RGB bytes at out + 3 * begin, eight
// pixels a round; writes nothing outside out[3 * begin, 3 * end), so threads may
// share `out`. ORs every value it reads into `all`. Returns where it stopped.
std::size_t packBytes(const std::int32_t* in0, const std::int32_t* in1, const std::int32_t* in2, std::size_t begin,
                      std::size_t end, std::uint8_t* out, std::uint32_t& all);

// One channel's row of `width` elements lying next to each other into its plane.
// int32 elements (at any address) are tested with unsigned(v - base) > span;
// returns whether one failed.
bool copyRun(const char* in, int width, std::int32_t* out, std::uint32_t base, std::uint32_t span);
void copyRun(const std::uint8_t* in, int width, std::int32_t* out);
#else
constexpr bool available() { return false; }
inline void allow(bool) {}
#endif

} // namespace ivra::python::avx2
