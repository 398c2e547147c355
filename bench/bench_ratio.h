// Side-by-side timing of a TARQ kernel and its GMP counterpart: both run in
// the same benchmark on the same operands, alternately, and the ratio
// TARQ / GMP of the mean times per call is reported as the counter "ratio".
// Each side is timed by the thread's CPU clock, so that other processes on a
// busy machine do not bias the ratio.
#pragma once
#include <benchmark/benchmark.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>

#include "base/tq_state.h"

// Initialises the library once (the multiplication thresholds come from the
// start-up), then applies threshold overrides from the environment for
// exploring crossovers: TARQ_BENCH_T_DIV_DC and TARQ_BENCH_T_M2D_BASE (words).
inline void tq_BenchInit() {
    static bool done = false;
    if (done) return;
    done = true;
    tq_EnsureInit();
    if (const char *e = std::getenv("TARQ_BENCH_T_DIV_DC")) gTq_Threshold_Div_DC = std::atoi(e);
    if (const char *e = std::getenv("TARQ_BENCH_T_M2D_BASE")) gTq_Threshold_Mant2Dec_Base = std::atoi(e);
    std::printf("thresholds: mul Karatsuba %d bytes, division D&C %d words, decimal base %d words\n",
                gTq_Threshold_Mul_Karatsuba2Way, gTq_Threshold_Div_DC, gTq_Threshold_Mant2Dec_Base);
}

inline double tq_ThreadNs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

// Runs tarq() and gmp() alternately in batches and sets the counters
// tarq_ns, gmp_ns (mean CPU time per call) and ratio. A batch repeats a call
// often enough (about 50 us) that the clock reads do not weigh on small sizes.
template <class F, class G> void tq_BenchPair(benchmark::State &state, F tarq, G gmp) {
    tq_BenchInit();
    double t0 = tq_ThreadNs();
    tarq();
    gmp();
    const double once = tq_ThreadNs() - t0;
    const int64_t batch = once > 50000.0 ? 1 : static_cast<int64_t>(50000.0 / (once + 1.0)) + 1;
    double tq = 0, gm = 0;
    int64_t calls = 0;
    for (auto _ : state) {
        t0 = tq_ThreadNs();
        for (int64_t i = 0; i < batch; ++i) tarq();
        const double t1 = tq_ThreadNs();
        for (int64_t i = 0; i < batch; ++i) gmp();
        const double t2 = tq_ThreadNs();
        tq += t1 - t0;
        gm += t2 - t1;
        calls += batch;
    }
    state.counters["tarq_ns"] = tq / static_cast<double>(calls);
    state.counters["gmp_ns"] = gm / static_cast<double>(calls);
    state.counters["ratio"] = tq / gm;
}
