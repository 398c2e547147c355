// h_DivMod against mpz_tdiv_qr: a 2n-digit dividend by an n-digit divisor,
// for n = 1,000 decimal digits (the target size) and larger sizes where the
// divide-and-conquer division runs; on both limb widths.
#include <random>

#include "bench_ratio.h"
#include "kernels/divmod.h"
#include "mag_gmp.h"

static void BM_DivMod(benchmark::State &state) {
    const int32_t digits = static_cast<int32_t>(state.range(0));
    LimbWidth width(static_cast<int32_t>(state.range(1)));
    const int32_t ny = static_cast<int32_t>(digits / 9.63295986) + 1;  // words of n digits
    std::mt19937_64 g(42);
    const TqStr X = randMag(g, 2 * ny), Y = randMag(g, ny);
    Mpz x(X), y(Y), q, r;
    TqStr Q, R;
    tq_BenchPair(
        state, [&] { h_DivMod(X, Y, 1, Q, R); }, [&] { mpz_tdiv_qr(q, r, x, y); });
}
BENCHMARK(BM_DivMod)
    ->ArgNames({"digits", "limb64"})
    ->Args({40, 1})
    ->Args({200, 1})
    ->Args({1000, 1})
    ->Args({1000, 0})
    ->Args({10000, 1})
    ->Args({100000, 1})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
