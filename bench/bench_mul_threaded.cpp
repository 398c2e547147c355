// ThreadedKaratsuba/*: h_Mul_Karatsuba2Way_V5 (workers bounded by the number
// of processors - 1) against the single-threaded h_Mul_Karatsuba2Way and
// against GMP's mpz_mul on the same random operands of 100,000 decimal digits;
// counters speedup = single / threaded and ratio = threaded / GMP.
#include <benchmark/benchmark.h>
#include <gmp.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

#include "base/tq_state.h"
#include "kernels/calibrate.h"
#include "kernels/mul.h"
#include "kernels/mul_threaded.h"
#include "tarq.h"

namespace {

using Clock = std::chrono::steady_clock;

double threadCpuSeconds() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

double cpuSeconds() {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

TqStr randomMag(std::mt19937_64 &rng, int32_t bytes) {
    TqStr s(static_cast<size_t>(bytes), '\0');
    for (int32_t i = 0; i < bytes / 4; ++i) tq_W(s)[i] = static_cast<uint32_t>(rng());
    tq_W(s)[bytes / 4 - 1] |= 0x80000000u;
    return s;
}

// 100,000 decimal digits are 41,524 bytes (332,193 bits, rounded up to words).
constexpr int32_t kBytes100k = 41524;

void BM_ThreadedKaratsuba_100kDigits(benchmark::State &state) {
    TQ_GETPRECISION(1);  // initialise: thresholds of this machine
    const unsigned cores = std::thread::hardware_concurrency();
    gTq_MaxThreads = cores > 1 ? static_cast<int32_t>(cores) - 1 : 0;
    if (gTq_Threshold_Mul_Karatsuba2Way_V5 == 0) {
        int32_t quiet = 1;
        gTq_Threshold_Mul_Karatsuba2Way_V5 = h_Calibrate_Mul_Karatsuba2Way_V5(quiet);
    }
    std::mt19937_64 rng(100000);
    const TqStr A = randomMag(rng, kBytes100k), B = randomMag(rng, kBytes100k);
    mpz_t a, b, r;
    mpz_inits(a, b, r, nullptr);
    mpz_import(a, A.size() / 4, -1, 4, 0, 0, A.data());
    mpz_import(b, B.size() / 4, -1, 4, 0, 0, B.data());
    double single = 0, threaded = 0, gmp = 0, cpuAll = 0, cpuMain = 0, cpuSingle = 0;
    int64_t n = 0;
    TqStr r4, r5;
    for (auto _ : state) {
        int32_t trim = 1;
        const double s0 = threadCpuSeconds();
        auto t0 = Clock::now();
        h_Mul_Karatsuba2Way(A, B, trim, r4);
        auto t1 = Clock::now();
        cpuSingle += threadCpuSeconds() - s0;
        trim = 1;
        const double p0 = cpuSeconds(), m0 = threadCpuSeconds();
        h_Mul_Karatsuba2Way_V5(A, B, trim, r5);
        auto t2 = Clock::now();
        cpuAll += cpuSeconds() - p0;
        cpuMain += threadCpuSeconds() - m0;
        mpz_mul(r, a, b);
        auto t3 = Clock::now();
        single += std::chrono::duration<double>(t1 - t0).count();
        threaded += std::chrono::duration<double>(t2 - t1).count();
        gmp += std::chrono::duration<double>(t3 - t2).count();
        ++n;
        if (r4 != r5) state.SkipWithError("products differ");
    }
    state.counters["single_ms"] = 1000 * single / n;
    state.counters["threaded_ms"] = 1000 * threaded / n;
    state.counters["gmp_ms"] = 1000 * gmp / n;
    state.counters["speedup"] = single / threaded;
    state.counters["ratio"] = threaded / gmp;
    state.counters["workers"] = gTq_MaxThreads;
    // Processor time of the single-threaded product and of the threaded one
    // (all threads, and the calling thread alone). On an otherwise idle
    // machine the threaded wall time approaches max(main, all / (workers + 1));
    // projected_speedup = single / that bound, a figure that does not depend
    // on how busy the machine is.
    state.counters["cpu_single_ms"] = 1000 * cpuSingle / n;
    state.counters["cpu_all_ms"] = 1000 * cpuAll / n;
    state.counters["cpu_main_ms"] = 1000 * cpuMain / n;
    const double bound = std::max(cpuMain, cpuAll / (gTq_MaxThreads + 1));
    state.counters["projected_speedup"] = bound > 0 ? cpuSingle / bound : 0;
    state.counters["T5"] = gTq_Threshold_Mul_Karatsuba2Way_V5;
    mpz_clears(a, b, r, nullptr);
}
BENCHMARK(BM_ThreadedKaratsuba_100kDigits)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
