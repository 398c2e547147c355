// Where the 38-digit cost of TQ_ADD, TQ_MUL and TQ_DIV goes: the export frame
// alone (lock, handle checks, copies of the inputs, output slot), the
// internal operation on ready copies, and the copies themselves. The exports
// against MPFR are timed by bench_float.
#include <benchmark/benchmark.h>
#include <gmp.h>

#include "arith/arith.h"
#include "frame/frame.h"
#include "tarq.h"
#include "tq_gmp.h"

namespace {

// Two operands of about one in magnitude that fill the working precision:
// random full-length mantissas (the decimal ones as long as a cut decimal
// result, P + 4 bytes).
struct Operands {
    int32_t ha, hb, hc;
    Operands(int32_t kind, int32_t digits, unsigned long seed) {
        TQ_SETPRECISION(1, digits);
        const int32_t P = gTq_Prec_Bytes_Internal;
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
        mpz_clear(m);
        gmp_randclear(rs);
    }
    ~Operands() {
        TQ_UNALLOCVAR(ha);
        TQ_UNALLOCVAR(hb);
        TQ_UNALLOCVAR(hc);
    }
};

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
