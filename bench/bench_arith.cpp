// TQ_ADD, TQ_MUL and TQ_DIV on decimal and binary floats at 38, 1,000 and
// 10,000 digits, timed side by side with mpfr_add, mpfr_mul and mpfr_div at
// the same precision in bits (8 x the working precision in bytes) on the same
// values. Each benchmark reports tarq_ns, mpfr_ns and ratio = tarq / mpfr.
//
// A second group splits the 38-digit cost of TQ_ADD and TQ_MUL: the export
// frame alone (lock, handle checks, copies of the inputs, output slot), the
// internal operation on ready copies, and the copies themselves.
#include <benchmark/benchmark.h>
#include <gmp.h>
#include <mpfr.h>

#include <time.h>

#include "arith/arith.h"
#include "frame/frame.h"
#include "tarq.h"
#include "tq_gmp.h"

namespace {

// CPU time of the calling thread in ns: on a shared machine it leaves out the
// time the thread waits for a core, which wall time would charge to
// whichever side happened to be preempted.
double threadNs() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return 1e9 * static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec);
}

// Times `batch` calls of tarq() and of ref() per iteration, alternating, and
// reports the mean thread CPU time per call of each and their ratio.
template <class F, class G> void benchPair(benchmark::State &state, int batch, F tarq, G ref) {
    double tq = 0, rf = 0;
    int64_t calls = 0;
    for (auto _ : state) {
        const double t0 = threadNs();
        for (int i = 0; i < batch; ++i) tarq();
        const double t1 = threadNs();
        for (int i = 0; i < batch; ++i) ref();
        const double t2 = threadNs();
        tq += t1 - t0;
        rf += t2 - t1;
        calls += batch;
    }
    state.counters["tarq_ns"] = tq / static_cast<double>(calls);
    state.counters["mpfr_ns"] = rf / static_cast<double>(calls);
    state.counters["ratio"] = tq / rf;
}

// Two operands of about one in magnitude that fill the working precision:
// random full-length mantissas (the decimal ones as long as a cut decimal
// result, P + 4 bytes).
struct Operands {
    int32_t ha, hb, hc;
    mpfr_t a, b, c;
    Operands(int32_t kind, int32_t digits, unsigned long seed) {
        TQ_SETPRECISION(1, digits);
        const int32_t P = gTq_Prec_Bytes_Internal;
        const mpfr_prec_t bits = 8 * static_cast<mpfr_prec_t>(P);
        mpfr_inits2(bits, a, b, c, static_cast<mpfr_ptr>(nullptr));
        gmp_randstate_t rs;
        gmp_randinit_mt(rs);
        gmp_randseed_ui(rs, seed);
        mpz_t m;
        mpz_init(m);
        TqNum v[2];
        for (int i = 0; i < 2; ++i) {
            if (kind == TarqBinFloat) {
                mpz_urandomb(m, rs, 8 * P);
                mpz_setbit(m, 8 * P - 1);
                v[i] = tqg_BinFloat(m, -P);
            } else {
                const int32_t mbytes = P + 4;
                mpz_urandomb(m, rs, 8 * mbytes);
                mpz_setbit(m, 8 * mbytes - 1);
                const int32_t e = -4 * static_cast<int32_t>(mpz_sizeinbase(m, 10) / 4);
                v[i] = tqg_DecFloat(m, e);
            }
        }
        ha = tqg_New(v[0]);
        hb = tqg_New(v[1]);
        hc = TQ_ALLOCVAR(kind);
        tqg_ToMpfr(a, v[0]);
        tqg_ToMpfr(b, v[1]);
        mpz_clear(m);
        gmp_randclear(rs);
    }
    ~Operands() {
        TQ_UNALLOCVAR(ha);
        TQ_UNALLOCVAR(hb);
        TQ_UNALLOCVAR(hc);
        mpfr_clears(a, b, c, static_cast<mpfr_ptr>(nullptr));
    }
};

int batchFor(int32_t digits) { return digits <= 100 ? 256 : digits <= 2000 ? 16 : 2; }

enum Op { kAdd, kMul, kDiv };

void BM_Float(benchmark::State &state, int32_t kind, Op op) {
    const int32_t digits = static_cast<int32_t>(state.range(0));
    Operands o(kind, digits, 17 + digits);
    const int batch = batchFor(digits);
    switch (op) {
        case kAdd:
            benchPair(
                state, batch, [&] { TQ_ADD(o.ha, o.hb, o.hc); },
                [&] { mpfr_add(o.c, o.a, o.b, MPFR_RNDN); });
            break;
        case kMul:
            benchPair(
                state, batch, [&] { TQ_MUL(o.ha, o.hb, o.hc); },
                [&] { mpfr_mul(o.c, o.a, o.b, MPFR_RNDN); });
            break;
        case kDiv:
            benchPair(
                state, batch, [&] { TQ_DIV(o.ha, o.hb, o.hc); },
                [&] { mpfr_div(o.c, o.a, o.b, MPFR_RNDN); });
            break;
    }
    if (TQ_GETGLOBALERROR() != 0) state.SkipWithError("TARQ reported an error");
}

void BM_BinAdd(benchmark::State &s) { BM_Float(s, TarqBinFloat, kAdd); }
void BM_BinMul(benchmark::State &s) { BM_Float(s, TarqBinFloat, kMul); }
void BM_BinDiv(benchmark::State &s) { BM_Float(s, TarqBinFloat, kDiv); }
void BM_DecAdd(benchmark::State &s) { BM_Float(s, TarqDecFloat, kAdd); }
void BM_DecMul(benchmark::State &s) { BM_Float(s, TarqDecFloat, kMul); }
void BM_DecDiv(benchmark::State &s) { BM_Float(s, TarqDecFloat, kDiv); }

#define TQ_SIZES ->Arg(38)->Arg(1000)->Arg(10000)
BENCHMARK(BM_BinAdd) TQ_SIZES;
BENCHMARK(BM_BinMul) TQ_SIZES;
BENCHMARK(BM_BinDiv) TQ_SIZES;
BENCHMARK(BM_DecAdd) TQ_SIZES;
BENCHMARK(BM_DecMul) TQ_SIZES;
BENCHMARK(BM_DecDiv) TQ_SIZES;

// Where 38 digits go (binary floats).
int32_t noOp(TqNum, TqNum, TqNum &) { return 0; }

void BM_Cost38_FrameOnly(benchmark::State &state) {
    Operands o(TarqBinFloat, 38, 5);
    for (auto _ : state) benchmark::DoNotOptimize(tq_Frame2(noOp, o.ha, o.hb, o.hc));
}
void BM_Cost38_CopyInputs(benchmark::State &state) {
    Operands o(TarqBinFloat, 38, 5);
    for (auto _ : state) {
        TqNum a = gTq_Store[o.ha], b = gTq_Store[o.hb];
        benchmark::DoNotOptimize(a.MantN.data());
        benchmark::DoNotOptimize(b.MantN.data());
    }
}
template <int32_t (*OP)(TqNum, TqNum, TqNum &)> void BM_Cost38_Internal(benchmark::State &state) {
    Operands o(TarqBinFloat, 38, 5);
    TqNum r = gTq_Store[o.hc];
    for (auto _ : state) benchmark::DoNotOptimize(OP(gTq_Store[o.ha], gTq_Store[o.hb], r));
}
BENCHMARK(BM_Cost38_FrameOnly);
BENCHMARK(BM_Cost38_CopyInputs);
BENCHMARK_TEMPLATE(BM_Cost38_Internal, n_Add);
BENCHMARK_TEMPLATE(BM_Cost38_Internal, n_Mul);
BENCHMARK_TEMPLATE(BM_Cost38_Internal, n_Div);

}  // namespace

BENCHMARK_MAIN();
