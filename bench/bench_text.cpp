// Text in and out, timed side by side with GMP / MPFR on the same values:
// reading decimal digits into a big integer (n_Convert_String2TarqVar against
// mpz_set_str), writing a big integer as decimal text (n_Convert_TarqVar2String
// against mpz_get_str), and a 38-digit binary float written as text and read
// back (against mpfr_get_str and mpfr_set_str at the same 128 bits), and a
// binary float of the working precision converted to a decimal float (the
// work of TQ_CONVERTDT, against mpfr_get_str of as many digits as the decimal
// float keeps; the digits must agree). Each benchmark reports tarq_ns, gmp_ns
// and ratio = tarq / gmp.
// The texts are valid: the statuses inside the timed loops are dropped,
// marked (void).
#include <benchmark/benchmark.h>
#include <gmp.h>
#include <mpfr.h>

#include <random>
#include <string>

#include "bench_ratio.h"
#include "convert/convert.h"
#include "frame/store.h"
#include "numbers/precision.h"
#include "tarq.h"

namespace {

std::string randomDigits(size_t n, unsigned seed) {
    std::mt19937_64 rng(seed);
    std::string s;
    s.reserve(n);
    s += static_cast<char>('1' + rng() % 9);
    while (s.size() < n) s += static_cast<char>('0' + rng() % 10);
    return s;
}

TqNum bigIntZero() {
    TqNum v;
    v.V = TarqVar{1, 1, 0, TarqBigInt, 0};
    v.MantN = tq_Word(0);
    v.DenN = tq_Word(1);
    return v;
}

void BM_ReadDecimalBigInt(benchmark::State &state) {
    const std::string text = randomDigits(static_cast<size_t>(state.range(0)), 1);
    mpz_t z;
    mpz_init(z);
    TqNum v = bigIntZero();
    tq_BenchPair(
        state,
        [&] {
            (void)n_Convert_String2TarqVar(text, v.V, v.MantN, v.DenN, TarqBigInt);
            benchmark::DoNotOptimize(v.MantN.data());
        },
        [&] {
            mpz_set_str(z, text.c_str(), 10);
            benchmark::DoNotOptimize(z);
        });
    mpz_clear(z);
}

void BM_WriteDecimalBigInt(benchmark::State &state) {
    const std::string text = randomDigits(static_cast<size_t>(state.range(0)), 2);
    mpz_t z;
    mpz_init_set_str(z, text.c_str(), 10);
    tq_BenchInit();
    TqNum v = bigIntZero();
    (void)n_Convert_String2TarqVar(text, v.V, v.MantN, v.DenN, TarqBigInt);
    std::string buf(text.size() + 2, '\0');
    TqStr out;
    tq_BenchPair(
        state,
        [&] {
            (void)n_Convert_TarqVar2String(v, tq_Format_Dec, 0, out);
            benchmark::DoNotOptimize(out.data());
        },
        [&] {
            mpz_get_str(buf.data(), 10, z);
            benchmark::DoNotOptimize(buf.data());
        });
    if (out.substr(1) != text) state.SkipWithError("round trip differs");
    mpz_clear(z);
}

// A 38-digit binary float to its 38-digit scientific text and back.
void BM_BinFloat38TextRoundTrip(benchmark::State &state) {
    tq_BenchInit();
    TQ_SETPRECISION(1, 38);
    const std::string text = "1." + randomDigits(37, 3) + "*d-17";
    TqNum v;
    v.V = TarqVar{1, 1, 0, TarqBinFloat, 0};
    v.DenN = tq_Word(1);
    (void)n_Convert_String2TarqVar(text, v.V, v.MantN, v.DenN, TarqBinFloat);
    mpfr_t x;
    mpfr_init2(x, 8 * gTq_Prec_Bytes_Internal);
    mpfr_set_str(x, ("1." + text.substr(2, 37) + "e-17").c_str(), 10, MPFR_RNDN);
    char buf[64];
    mpfr_exp_t ex;
    TqStr out;
    TqNum back = v;
    tq_BenchPair(
        state,
        [&] {
            (void)n_Convert_TarqVar2String(v, tq_Format_Dec | tq_Format_Scientific, 38, out);
            (void)n_Convert_String2TarqVar(out, back.V, back.MantN, back.DenN, TarqBinFloat);
            benchmark::DoNotOptimize(back.MantN.data());
        },
        [&] {
            mpfr_get_str(buf, &ex, 10, 38, x, MPFR_RNDN);
            mpfr_set_str(x, buf, 10, MPFR_RNDN);
            benchmark::DoNotOptimize(buf);
        });
    mpfr_clear(x);
}

// A binary float near 0.74 with every bit of the working precision set by
// a quotient, converted to a decimal float.
void BM_BinFloatToDecFloat(benchmark::State &state) {
    tq_BenchInit();
    TQ_SETPRECISION(1, static_cast<int32_t>(state.range(0)));
    const int32_t h = TQ_ALLOCVAR(TarqBinFloat), t = TQ_ALLOCVAR(TarqBinFloat);
    TQ_PUTLONG(1, h);
    TQ_PUTLONG(7, t);
    TQ_DIV(h, t, h);
    TQ_PUTDOUBLE(0.6, t);
    TQ_ADD(h, t, h);
    TqNum v;
    {
        TqLockGuard g;
        v = gTq_Store[h];
    }
    TQ_UNALLOCVAR(h);
    TQ_UNALLOCVAR(t);
    TqNum d = v;
    d.V.NumType = TarqDecFloat;
    (void)n_Convert_TarqBinFloat2TarqDecFloat(v, d);
    // The decimal digits kept, and MPFR's as many digits of the same value.
    mpz_t m;
    mpz_init(m);
    mpz_import(m, d.MantN.size() / 4, -1, 4, 0, 0, d.MantN.data());
    char *ds = mpz_get_str(nullptr, 10, m);
    const std::string want(ds);
    free(ds);
    mpz_clear(m);
    mpfr_t x;
    mpfr_init2(x, 8 * static_cast<mpfr_prec_t>(v.MantN.size()));
    mpz_t mm;
    mpz_init(mm);
    mpz_import(mm, v.MantN.size() / 4, -1, 4, 0, 0, v.MantN.data());
    mpfr_set_z_2exp(x, mm, 8L * v.V.Expo, MPFR_RNDN);
    mpz_clear(mm);
    std::string buf(want.size() + 8, '\0');
    mpfr_exp_t ex = 0;
    tq_BenchPair(
        state,
        [&] {
            (void)n_Convert_TarqBinFloat2TarqDecFloat(v, d);
            benchmark::DoNotOptimize(d.MantN.data());
        },
        [&] {
            mpfr_get_str(buf.data(), &ex, 10, want.size(), x, MPFR_RNDN);
            benchmark::DoNotOptimize(buf.data());
        });
    if (std::string(buf.c_str()) != want || ex - static_cast<mpfr_exp_t>(want.size()) != d.V.Expo)
        state.SkipWithError("digits differ from MPFR's");
    mpfr_clear(x);
}

}  // namespace

BENCHMARK(BM_ReadDecimalBigInt)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteDecimalBigInt)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BinFloat38TextRoundTrip)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BinFloatToDecFloat)->Arg(38)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
