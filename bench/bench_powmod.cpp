// h_PowMod against mpz_powm: odd 2048-bit modulus with a 2048-bit exponent
// (the target case), an even modulus of the same size (plain reduction), and
// a 1024-bit odd case; on both limb widths for the target.
#include <random>

#include "bench_ratio.h"
#include "kernels/pow.h"
#include "mag_gmp.h"

static void BM_PowMod(benchmark::State &state) {
    const int32_t bits = static_cast<int32_t>(state.range(0));
    LimbWidth width(static_cast<int32_t>(state.range(1)));
    const bool odd = state.range(2) != 0;
    std::mt19937_64 g(44);
    TqStr M = randMag(g, bits / 32), B = randMag(g, bits / 32), E = randMag(g, bits / 32);
    tq_W(M)[tq_NWords(M) - 1] |= 0x80000000u;
    tq_W(E)[tq_NWords(E) - 1] |= 0x80000000u;
    if (odd)
        tq_W(M)[0] |= 1;
    else
        tq_W(M)[0] &= ~1u;
    Mpz b(B), e(E), m(M), r;
    TqStr R;
    tq_BenchPair(
        state, [&] { h_PowMod(B, E, M, R); }, [&] { mpz_powm(r, b, e, m); });
    if (R != magOf(r)) state.SkipWithError("result differs from GMP");
}
BENCHMARK(BM_PowMod)
    ->ArgNames({"bits", "limb64", "odd"})
    ->Args({2048, 1, 1})
    ->Args({2048, 0, 1})
    ->Args({2048, 1, 0})
    ->Args({1024, 1, 1})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
