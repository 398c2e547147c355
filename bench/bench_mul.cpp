// Multiplication and squaring: h_Mul and h_Square against GMP's mpn_mul and
// mpn_sqr on the same random operands, at 1,000 to 1,000,000 decimal digits
// and unbalanced 10,000 x 3,500, 10,000 x 40,000 and 100,000 x 1,000,000
// digits. Each iteration times a batch of TARQ calls and a batch of GMP calls
// back to back; the counters give the time of one call of each (ns, fastest
// batch) and their ratio TARQ / GMP.
#include <benchmark/benchmark.h>
#include <gmp.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "base/tq_state.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"

namespace {

// Words of a magnitude holding `digits` decimal digits.
int32_t wordsForDigits(int32_t digits) {
    return static_cast<int32_t>(std::ceil(digits * std::log2(10.0) / 32.0));
}

TqStr randomMag(int32_t words, uint64_t seed) {
    std::mt19937_64 rng(seed);
    TqStr s(static_cast<size_t>(words) * 4, '\0');
    for (int32_t i = 0; i < words; ++i) tq_W(s)[i] = static_cast<uint32_t>(rng());
    tq_W(s)[words - 1] |= 1u;  // full length
    return s;
}

// Limbs of GMP holding the same value as a magnitude string.
std::vector<mp_limb_t> toLimbs(const TqStr &s) {
    std::vector<mp_limb_t> l((s.size() + sizeof(mp_limb_t) - 1) / sizeof(mp_limb_t), 0);
    std::memcpy(l.data(), s.data(), s.size());
    while (l.size() > 1 && l.back() == 0) l.pop_back();
    return l;
}

double nowNs() {
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Runs both sides in alternating batches of `batch` calls. The machine is
// shared, so besides the mean per-call times the counters give the fastest
// batch of each side; the ratio is taken from those fastest batches, which
// are the least disturbed by other processes.
template <class Tarq, class Gmp>
void sideBySide(benchmark::State &state, int batch, Tarq tarq, Gmp gmp) {
    double tq = 0, gm = 0, tqMin = 1e300, gmMin = 1e300;
    int64_t calls = 0;
    for (auto _ : state) {
        double t0 = nowNs();
        for (int i = 0; i < batch; ++i) tarq();
        double t1 = nowNs();
        for (int i = 0; i < batch; ++i) gmp();
        double t2 = nowNs();
        tq += t1 - t0;
        gm += t2 - t1;
        tqMin = std::min(tqMin, (t1 - t0) / batch);
        gmMin = std::min(gmMin, (t2 - t1) / batch);
        calls += batch;
    }
    state.counters["tarq_ns"] = tqMin;
    state.counters["gmp_ns"] = gmMin;
    state.counters["ratio"] = tqMin / gmMin;
    state.counters["ratio_mean"] = tq / gm;
}

void initOnce() {
    static bool done = false;
    if (done) return;
    done = true;
    tq_EnsureInit();
    // Thresholds may be overridden for exploring crossovers (bytes).
    if (const char *e = std::getenv("TARQ_BENCH_T_MUL")) gTq_Threshold_Mul_Karatsuba2Way = std::atoi(e);
    if (const char *e = std::getenv("TARQ_BENCH_T_SQR_COMBA")) gTq_Threshold_Square_Comba = std::atoi(e);
    if (const char *e = std::getenv("TARQ_BENCH_T_SQR_KARATSUBA")) gTq_Threshold_Square_Karatsuba = std::atoi(e);
    // A huge value switches an algorithm off (the products before Toom-3 and
    // the transform are the Karatsuba ones).
    if (const char *e = std::getenv("TARQ_BENCH_T_TOOM3")) gTq_Threshold_Mul_Toom3 = std::atoi(e);
    if (const char *e = std::getenv("TARQ_BENCH_T_NTT")) gTq_Threshold_Mul_Ntt = std::atoi(e);
    if (const char *e = std::getenv("TARQ_BENCH_T_SQR_TOOM3")) gTq_Threshold_Square_Toom3 = std::atoi(e);
    if (const char *e = std::getenv("TARQ_BENCH_T_SQR_NTT")) gTq_Threshold_Square_Ntt = std::atoi(e);
    // The loops may be restricted to the portable 64-bit (1) or 32-bit (0) forms.
    if (const char *e = std::getenv("TARQ_BENCH_LIMB_PATH")) {
        const int path = std::atoi(e);
        if (path < 2) gTq_Kernel_Adx = 0;
        if (path < 1) gTq_Kernel_Limb64 = 0;
    }
    std::printf("thresholds (bytes): mul Karatsuba %d, Toom-3 %d, transform %d; square Comba %d, Karatsuba %d, "
                "Toom-3 %d, transform %d; limb64 %d, asm %d\n",
                gTq_Threshold_Mul_Karatsuba2Way, gTq_Threshold_Mul_Toom3, gTq_Threshold_Mul_Ntt,
                gTq_Threshold_Square_Comba, gTq_Threshold_Square_Karatsuba, gTq_Threshold_Square_Toom3,
                gTq_Threshold_Square_Ntt, gTq_Kernel_Limb64, gTq_Kernel_Adx);
}

void BM_Mul(benchmark::State &state) {
    initOnce();
    const int32_t da = static_cast<int32_t>(state.range(0)), db = static_cast<int32_t>(state.range(1));
    const TqStr A = randomMag(wordsForDigits(da), 1), B = randomMag(wordsForDigits(db), 2);
    const auto la = toLimbs(A), lb = toLimbs(B);  // mpn_mul wants the longer first
    const auto &gl = la.size() >= lb.size() ? la : lb, &gs = la.size() >= lb.size() ? lb : la;
    std::vector<mp_limb_t> gr(gl.size() + gs.size());
    TqStr R;
    const int batch = da >= 10000 ? 1 : 16;
    sideBySide(
        state, batch,
        [&] {
            int32_t trim = 1;
            h_Mul(A, B, trim, R);
            benchmark::DoNotOptimize(R.data());
        },
        [&] {
            mpn_mul(gr.data(), gl.data(), static_cast<mp_size_t>(gl.size()), gs.data(),
                    static_cast<mp_size_t>(gs.size()));
            benchmark::DoNotOptimize(gr.data());
        });
    // The two products must agree, or the comparison is meaningless.
    {
        TqStr g(gr.size() * sizeof(mp_limb_t), '\0');
        std::memcpy(g.data(), gr.data(), g.size());
        g.resize(R.size(), '\0');
        if (g != R) state.SkipWithError("TARQ and GMP products differ");
    }
}

void BM_Square(benchmark::State &state) {
    initOnce();
    const int32_t d = static_cast<int32_t>(state.range(0));
    const TqStr A = randomMag(wordsForDigits(d), 3);
    const auto la = toLimbs(A);
    std::vector<mp_limb_t> gr(2 * la.size());
    TqStr R;
    const int batch = d >= 10000 ? 1 : 16;
    sideBySide(
        state, batch,
        [&] {
            h_Square(A, R);
            benchmark::DoNotOptimize(R.data());
        },
        [&] {
            mpn_sqr(gr.data(), la.data(), static_cast<mp_size_t>(la.size()));
            benchmark::DoNotOptimize(gr.data());
        });
    TqStr g(gr.size() * sizeof(mp_limb_t), '\0');
    std::memcpy(g.data(), gr.data(), g.size());
    g.resize(R.size(), '\0');
    if (g != R) state.SkipWithError("TARQ and GMP squares differ");
}

}  // namespace

BENCHMARK(BM_Mul)->ArgNames({"digitsA", "digitsB"})->Args({1000, 1000})->Args({10000, 10000})->Args({10000, 40000})
    // 1,040 x 363 words (the decimal square root's scaling product at 10,000
    // digits), then 363, 300, 600, 1,000 and 1,500 words balanced: the pieces
    // of that product and the sizes around the Toom-3 crossover.
    ->Args({10018, 3497})->Args({3497, 3497})->Args({2890, 2890})->Args({5780, 5780})->Args({9633, 9633})
    ->Args({14450, 14450})
    ->Args({100000, 100000})->Args({100000, 1000000})->Args({1000000, 1000000});
BENCHMARK(BM_Square)->ArgNames({"digits"})->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000);

BENCHMARK_MAIN();
