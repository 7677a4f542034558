// fill_block on x86-64: the block loop of fill built a second time for
// AVX2, with twice the lanes per instruction of the baseline's SSE2, and
// taken where the processor running it has AVX2.
#include "randfile/generator.h"

namespace qv {
namespace {

// flatten: fill and all it calls are compiled into this body, for AVX2.
__attribute__((target("avx2"), flatten)) void fill_avx2(Generator& g, unsigned char* out,
                                                         std::size_t n)
{
    fill(g, out, n);
}

}  // namespace

void fill_block(Generator& g, unsigned char* out, std::size_t n)
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2)
        fill_avx2(g, out, n);
    else
        fill(g, out, n);
}

}  // namespace qv
