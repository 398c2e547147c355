// h_Mant2Dec against mpz_get_str (base 10) on the same random magnitude, at
// 1,000, 10,000 and 100,000 decimal digits (the target size). The power cache
// is warmed by one conversion before timing, as in any long-running process.
#include <random>
#include <string>

#include "bench_ratio.h"
#include "kernels/mant2dec.h"
#include "mag_gmp.h"

static void BM_Mant2Dec(benchmark::State &state) {
    const int32_t digits = static_cast<int32_t>(state.range(0));
    LimbWidth width(static_cast<int32_t>(state.range(1)));
    const int32_t n = static_cast<int32_t>(digits / 9.63295986) + 1;
    std::mt19937_64 g(43);
    const TqStr M = randMag(g, n);
    Mpz m(M);
    std::string buf(mpz_sizeinbase(m, 10) + 2, '\0');
    TqStr S;
    tq_BenchInit();
    h_Mant2Dec(M, S);
    tq_BenchPair(
        state, [&] { h_Mant2Dec(M, S); }, [&] { mpz_get_str(buf.data(), 10, m); });
    if (S != std::string(buf.c_str())) state.SkipWithError("digits differ from GMP");
}
BENCHMARK(BM_Mant2Dec)
    ->ArgNames({"digits", "limb64"})
    ->Args({1000, 1})
    ->Args({10000, 1})
    ->Args({100000, 1})
    ->Args({100000, 0})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
