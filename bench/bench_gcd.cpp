// h_Gcd against mpz_gcd on random operands of equal length (decimal digits),
// as the fraction reduction meets them.
#include <random>

#include "bench_ratio.h"
#include "kernels/divmod.h"
#include "mag_gmp.h"

static void BM_Gcd(benchmark::State &state) {
    const int32_t digits = static_cast<int32_t>(state.range(0));
    const int32_t n = static_cast<int32_t>(digits / 9.63295986) + 1;
    std::mt19937_64 g(45);
    const TqStr A = randMag(g, n), B = randMag(g, n);
    Mpz a(A), b(B), r;
    TqStr R;
    tq_BenchPair(
        state, [&] { h_Gcd(A, B, R); }, [&] { mpz_gcd(r, a, b); });
    if (R != magOf(r)) state.SkipWithError("result differs from GMP");
}
BENCHMARK(BM_Gcd)->ArgNames({"digits"})->Arg(40)->Arg(300)->Arg(3000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
