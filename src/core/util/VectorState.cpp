#include "VectorState.h"

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

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
