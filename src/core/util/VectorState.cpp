#include "VectorState.h"

#include "util/Simd.h"

#if IVRA_SIMD_AVX_STATE

namespace ivra {

namespace {
__attribute__((target("avx"))) void zeroUpper()
{
    _mm256_zeroupper();
}
} // namespace

void clearUpperVectorState()
{
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx)
        zeroUpper();
}

} // namespace ivra

#else

namespace ivra {
void clearUpperVectorState() {}
} // namespace ivra

#endif
