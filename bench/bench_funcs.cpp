// The elementary functions against MPFR, side by side in one run: square root,
// exponential, logarithm, general power and pi from a cold cache, on binary
// floats at 38, 1,000 and 10,000 digits, with MPFR at the same number of bits.
// One multiplication at each size is timed too, as the yardstick for where
// the time of the functions goes. Counters: tarq_ns, mpfr_ns and their ratio.
#include <benchmark/benchmark.h>
#include <gmp.h>
#include <mpfr.h>

#include <chrono>
#include <random>

#include "arith/arith.h"
#include "funcs/constants.h"
#include "funcs/funcs.h"
#include "explog/explog.h"
#include "funcs/const_cache.h"
#include "base/tq_state.h"
#include "tarq.h"

namespace {

template <class F, class G>
void benchPair(benchmark::State &state, F tarq, G mpfr) {
    using clock = std::chrono::steady_clock;
    double tq = 0, mp = 0;
    int64_t calls = 0;
    for (auto _ : state) {
        auto t0 = clock::now();
        tarq();
        auto t1 = clock::now();
        mpfr();
        auto t2 = clock::now();
        tq += std::chrono::duration<double, std::nano>(t1 - t0).count();
        mp += std::chrono::duration<double, std::nano>(t2 - t1).count();
        ++calls;
    }
    state.counters["tarq_ns"] = tq / static_cast<double>(calls);
    state.counters["mpfr_ns"] = mp / static_cast<double>(calls);
    state.counters["ratio"] = tq / mp;
}

// A binary float of about the working precision with value in [1, 2) times
// 2^shift, and the same value in an MPFR variable.
struct Operand {
    TqNum v;
    mpfr_t m;
    Operand(std::mt19937_64 &rng, int32_t shiftWords) {
        const int32_t P = gTq_Prec_Bytes_Internal;
        v.V = TarqVar{1, 1, -(P - 4) + 4 * shiftWords, TarqBinFloat, 0};
        v.MantN.assign(static_cast<size_t>(P), '\0');
        for (int32_t i = 0; i < P / 4; ++i) tq_W(v.MantN)[i] = static_cast<uint32_t>(rng());
        tq_W(v.MantN)[P / 4 - 1] = 1 + static_cast<uint32_t>(rng() % 3);
        v.DenN = tq_Word(1);
        mpz_t z;
        mpz_init(z);
        mpz_import(z, static_cast<size_t>(P / 4), -1, 4, -1, 0, v.MantN.data());
        mpfr_init2(m, 8 * P);
        mpfr_set_z_2exp(m, z, 8L * v.V.Expo, MPFR_RNDN);
        mpz_clear(z);
    }
    ~Operand() { mpfr_clear(m); }
};

struct PrecisionFromArg {
    explicit PrecisionFromArg(benchmark::State &state) { TQ_SETPRECISION(1, static_cast<int32_t>(state.range(0))); }
};

struct Fixture {
    PrecisionFromArg prec;
    std::mt19937_64 rng{1234};
    Operand x, y;
    mpfr_t r;
    TqNum out;
    explicit Fixture(benchmark::State &state) : prec(state), x(rng, 0), y(rng, 0) {
        mpfr_init2(r, 8 * gTq_Prec_Bytes_Internal);
        out = x.v;
        // Warm the constants the functions use, for both libraries.
        TqNum c = x.v;
        for (int32_t code : {1, 2, 3, 4, 5}) n_GetConst(code, c);
        mpfr_const_log2(r, MPFR_RNDN);
        mpfr_const_pi(r, MPFR_RNDN);
    }
    ~Fixture() { mpfr_clear(r); }
};

void BM_Mul(benchmark::State &state) {
    Fixture f(state);
    benchPair(
        state, [&] { n_Mul(f.x.v, f.y.v, f.out); }, [&] { mpfr_mul(f.r, f.x.m, f.y.m, MPFR_RNDN); });
}

void BM_Sqrt(benchmark::State &state) {
    Fixture f(state);
    benchPair(
        state, [&] { n_Sqrt(f.x.v, f.out); }, [&] { mpfr_sqrt(f.r, f.x.m, MPFR_RNDN); });
}

void BM_Exp(benchmark::State &state) {
    Fixture f(state);
    benchPair(
        state, [&] { n_Exp(f.x.v, f.out); }, [&] { mpfr_exp(f.r, f.x.m, MPFR_RNDN); });
}

void BM_Log(benchmark::State &state) {
    Fixture f(state);
    benchPair(
        state, [&] { n_Log(f.x.v, f.out); }, [&] { mpfr_log(f.r, f.x.m, MPFR_RNDN); });
}

void BM_Pow(benchmark::State &state) {
    Fixture f(state);
    benchPair(
        state, [&] { n_Pow(f.x.v, f.y.v, f.out); }, [&] { mpfr_pow(f.r, f.x.m, f.y.m, MPFR_RNDN); });
}

// pi with every cached constant dropped first, in both libraries.
void BM_PiCold(benchmark::State &state) {
    Fixture f(state);
    benchPair(
        state,
        [&] {
            tq_ConstCache_Clear();
            n_GetConst(8, f.out);
        },
        [&] {
            mpfr_free_cache();
            mpfr_const_pi(f.r, MPFR_RNDN);
        });
}

}  // namespace

BENCHMARK(BM_Mul)->ArgName("digits")->Arg(38)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sqrt)->ArgName("digits")->Arg(38)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Exp)->ArgName("digits")->Arg(38)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Log)->ArgName("digits")->Arg(38)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Pow)->ArgName("digits")->Arg(38)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PiCold)->ArgName("digits")->Arg(38)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
