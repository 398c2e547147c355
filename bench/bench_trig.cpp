// Sine, cosine, tangent and arc tangent: TARQ's exports on decimal and binary
// floats against mpfr_sin, mpfr_cos, mpfr_tan and mpfr_atan at the same
// precision in bits and on the same argument, alternately in one run (counter
// "ratio" = TARQ time / MPFR time, thread CPU time). 1,000 digits is the
// target size; 100 digits is shown for scale. The _huge rows take an argument
// near 1e300, whose reduction needs pi/2 to 1,000 more bits.
#include <benchmark/benchmark.h>

#include "bench_ratio.h"
#include "tq_oracle.h"

namespace {

enum Fn { kSin, kCos, kTan, kAtan };
const double kArg[] = {0.7390851332151607, 0.7390851332151607, 0.7390851332151607, 0.5773502691896257};

void BM_Trig(benchmark::State &state, Fn f, int32_t kind, double scale = 1) {
    tq_BenchInit();
    TQ_SETPRECISION(1, static_cast<int32_t>(state.range(0)));
    const int32_t in = TQ_ALLOCVAR(kind), out = TQ_ALLOCVAR(kind);
    mpfr_t x, r;
    mpfr_inits2(8L * gTq_Prec_Bytes_Internal, r, static_cast<mpfr_ptr>(nullptr));
    mpfr_init2(x, 8L * gTq_Prec_Bytes_Internal + 4096);  // a decimal 1e300 exactly
    // An argument with every digit of the working precision in use: kArg plus
    // a thousandth of 1/7.
    {
        mpfr_t full;
        mpfr_init2(full, oracle_Prec());
        mpfr_set_ui(full, 1, MPFR_RNDN);
        mpfr_div_ui(full, full, 7000, MPFR_RNDN);
        mpfr_add_d(full, full, kArg[f], MPFR_RNDN);
        mpfr_mul_d(full, full, scale, MPFR_RNDN);
        tqg_Put(in, oracle_FromMpfr(full, kind));
        mpfr_clear(full);
    }
    tqg_ToMpfr(x, tqg_Get(in));
    auto tarq = [&] {
        const int32_t st = f == kSin   ? TQ_SIN(in, out)
                           : f == kCos ? TQ_COS(in, out)
                           : f == kTan ? TQ_TAN(in, out)
                                       : TQ_ATAN(in, out);
        benchmark::DoNotOptimize(st);
    };
    auto mpfr = [&] {
        if (f == kSin)
            mpfr_sin(r, x, MPFR_RNDN);
        else if (f == kCos)
            mpfr_cos(r, x, MPFR_RNDN);
        else if (f == kTan)
            mpfr_tan(r, x, MPFR_RNDN);
        else
            mpfr_atan(r, x, MPFR_RNDN);
        benchmark::DoNotOptimize(r);
    };
    tarq();  // pi and the other constants are computed outside the timing
    mpfr();
    tq_BenchPair(state, tarq, mpfr);
    mpfr_clears(x, r, static_cast<mpfr_ptr>(nullptr));
    TQ_UNALLOCVAR(in);
    TQ_UNALLOCVAR(out);
}

}  // namespace

BENCHMARK_CAPTURE(BM_Trig, sin_dec, kSin, TarqDecFloat)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Trig, sin_bin, kSin, TarqBinFloat)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Trig, cos_dec, kCos, TarqDecFloat)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Trig, cos_bin, kCos, TarqBinFloat)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Trig, tan_dec, kTan, TarqDecFloat)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Trig, tan_bin, kTan, TarqBinFloat)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Trig, sin_dec_huge, kSin, TarqDecFloat, 1e300)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Trig, sin_bin_huge, kSin, TarqBinFloat, 1e300)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Trig, atan_dec, kAtan, TarqDecFloat)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Trig, atan_bin, kAtan, TarqBinFloat)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
