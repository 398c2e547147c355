// Side-by-side timing of a TARQ kernel and its GMP counterpart: both run in
// the same benchmark on the same operands, and the ratio TARQ / GMP of the
// mean times per call is reported as the counter "ratio".
#pragma once
#include <benchmark/benchmark.h>

#include <chrono>

// Runs tarq() and gmp() alternately in batches and sets the counters
// tarq_ns, gmp_ns and ratio.
template <class F, class G> void tq_BenchPair(benchmark::State &state, F tarq, G gmp) {
    using clock = std::chrono::steady_clock;
    double tq = 0, gm = 0;
    int64_t calls = 0;
    for (auto _ : state) {
        auto t0 = clock::now();
        tarq();
        auto t1 = clock::now();
        gmp();
        auto t2 = clock::now();
        tq += std::chrono::duration<double, std::nano>(t1 - t0).count();
        gm += std::chrono::duration<double, std::nano>(t2 - t1).count();
        ++calls;
    }
    state.counters["tarq_ns"] = tq / static_cast<double>(calls);
    state.counters["gmp_ns"] = gm / static_cast<double>(calls);
    state.counters["ratio"] = tq / gm;
}
