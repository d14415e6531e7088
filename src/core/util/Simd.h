#pragma once

// The one gate for vector instructions. Code that uses them includes this header
// instead of the compiler's intrinsic headers and tests the macros below; every
// vectorised loop keeps a plain loop beside it that computes the same values. In the
// default build the plain loops take only what the vectors leave over (row ends,
// picture edges); a scalar-only build (CMake option IVRA_SIMD=OFF, which defines
// IVRA_SCALAR_ONLY) compiles no intrinsics at all and runs the plain loops everywhere,
// so that the tests can check them on whole pictures.

// IVRA_SIMD_SSE2: 1 where the SSE2 paths are compiled.
#if defined(__SSE2__) && !defined(IVRA_SCALAR_ONLY)
#define IVRA_SIMD_SSE2 1
#include <emmintrin.h>
#else
#define IVRA_SIMD_SSE2 0
#endif

// IVRA_SIMD_AVX_STATE: 1 where the upper halves of the wide x86 registers can be
// cleared (util/VectorState.h); the instruction is picked at run time.
#if !defined(IVRA_SCALAR_ONLY) && (defined(__x86_64__) || defined(__i386__)) && \
    (defined(__GNUC__) || defined(__clang__))
#define IVRA_SIMD_AVX_STATE 1
#include <immintrin.h>
#else
#define IVRA_SIMD_AVX_STATE 0
#endif
