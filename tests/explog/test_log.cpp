// Logarithms against MPFR for both float kinds across the argument range, the
// exact and domain cases, and the precision state they leave.
#include <gtest/gtest.h>

#include <random>

#include "explog/explog.h"
#include "funcs_oracle.h"

namespace {

int logOracle(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t rnd) { return mpfr_log(r, x, rnd); }
int log2Oracle(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t rnd) { return mpfr_log2(r, x, rnd); }
int log10Oracle(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t rnd) { return mpfr_log10(r, x, rnd); }

// 1 + s * 2^-k with a random low part, at the working precision.
TqNum nearOne(std::mt19937_64 &rng, int32_t kind, int k, int s) {
    FoMpfr x;
    mpfr_set_ui_2exp(x, static_cast<unsigned long>(rng() % 1000 + 1), -k - 10, MPFR_RNDN);
    if (s < 0) mpfr_neg(x, x, MPFR_RNDN);
    mpfr_add_ui(x, x, 1, MPFR_RNDN);
    return fo_FromMpfr(x, kind);
}

}  // namespace

// The random differential of every logarithm is the accuracy test's; here
// magnitudes beyond its range, arguments next to 1 down to far below the
// precision and next to the reduction steps, and the precision state after.
TEST(Log, FarMagnitudesAndNearOne) {
    std::mt19937_64 rng(99);
    for (int32_t digits : {38, 1000}) {
        fo_SetDigits(digits);
        FoPrecSnapshot snap;
        for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
            for (double mag : {-5000.0, 20000.0}) {
                const TqNum x = fo_Random(rng, kind, mag);
                fo_CheckUnary(n_Log, logOracle, x, 2.0, "ln " + std::to_string(mag));
                fo_CheckUnary(n_Log2, log2Oracle, x, 2.0, "log2");
                fo_CheckUnary(n_Log10, log10Oracle, x, 2.0, "log10");
            }
            for (int k : {3, 5, 12, 40, 8 * gTq_Prec_Bytes_Internal / 2})
                for (int s : {-1, 1})
                    fo_CheckUnary(n_Log, logOracle, nearOne(rng, kind, k, s), 2.0, "ln near 1, k=" + std::to_string(k));
        }
        snap.expectSame();
    }
    fo_SetDigits(38);
}

TEST(Log, ReductionBoundaries) {
    // Magnitudes just below and above 0.96875 and 1.0625 and powers of two.
    fo_SetDigits(100);
    for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
        for (double v : {0.96875, 1.0625, 0.5, 2.0, 256.0, 1.0 / 256}) {
            for (int d : {-1, 0, 1}) {
                FoMpfr x;
                mpfr_set_d(x, v, MPFR_RNDN);
                FoMpfr eps;
                mpfr_set_si_2exp(eps, d, -200, MPFR_RNDN);
                mpfr_add(x, x, eps, MPFR_RNDN);
                fo_CheckUnary(n_Log, logOracle, fo_FromMpfr(x, kind), 2.0, "ln boundary " + std::to_string(v));
            }
        }
    }
    fo_SetDigits(38);
}

TEST(Log, TenThousandDigits) {
    std::mt19937_64 rng(3);
    fo_SetDigits(10000);
    fo_CheckUnary(n_Log, logOracle, fo_Random(rng, TarqBinFloat, 5.0), 2.0, "ln 10000 digits");
    fo_SetDigits(38);
}

TEST(Log, ExactAndDomainCases) {
    fo_SetDigits(38);
    for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
        TqNum r = tqg_Zero(kind);
        for (auto fn : {n_Log, n_Log2, n_Log10}) {
            ASSERT_EQ(fn(tq_IntNumForTest(kind, 1), r), 0);
            EXPECT_TRUE(r.V.Special == 0 && tq_W(r.MantN)[0] == 0 && r.MantN.size() == 4);
        }
        TQ_GETGLOBALERROR();
        EXPECT_EQ(n_Log(tq_IntNumForTest(kind, 0), r), tq_Err_Invalid);
        EXPECT_EQ(r.V.Special, tq_Special_NegInf);
        EXPECT_EQ(TQ_GETGLOBALERROR(), tq_Err_Invalid | tq_Err_Special);
        EXPECT_EQ(n_Log(tq_IntNumForTest(kind, -1), r), tq_Err_Invalid);
        EXPECT_EQ(r.V.Special, tq_Special_NaN);
        EXPECT_EQ(TQ_GETGLOBALERROR(), tq_Err_Invalid | tq_Err_Special);
        EXPECT_EQ(n_Log(tqg_Special(kind, 1), r), tq_Err_Special);
        EXPECT_EQ(r.V.Special, tq_Special_PosInf);
        EXPECT_EQ(n_Log(tqg_Special(kind, 2), r), tq_Err_Special);
        EXPECT_EQ(r.V.Special, tq_Special_NaN);
        EXPECT_EQ(n_Log(tqg_Special(kind, 3), r), tq_Err_Special);
        EXPECT_EQ(TQ_GETGLOBALERROR(), tq_Err_Invalid | tq_Err_Special);
    }
    TqNum r = tqg_Zero(TarqBigInt);
    EXPECT_EQ(n_Log(tq_IntNumForTest(TarqBigInt, 5), r), tq_Err_Type);
    TqNum d = tqg_Zero(TarqDecFloat);
    EXPECT_EQ(n_Log(tq_IntNumForTest(TarqBinFloat, 5), d), tq_Err_Type);
    // log2 256 is 8 and log10 1000 is 3 at the working precision.
    TqNum b = tqg_Zero(TarqBinFloat);
    ASSERT_EQ(n_Log2(tq_IntNumForTest(TarqBinFloat, 256), b), 0);
    FoMpfr eight;
    mpfr_set_ui(eight, 8, MPFR_RNDN);
    EXPECT_LE(ulp_Error(b, eight), 0.5);
    ASSERT_EQ(n_Log10(tq_IntNumForTest(TarqDecFloat, 1000), d), 0);
    FoMpfr three;
    mpfr_set_ui(three, 3, MPFR_RNDN);
    EXPECT_LE(ulp_Error(d, three), 0.5);
}

TEST(Log, TaylorNearOne) {
    fo_SetDigits(100);
    std::mt19937_64 rng(4);
    for (int32_t kind : {TarqDecFloat, TarqBinFloat})
        for (int k : {5, 9, 30})
            fo_CheckUnary(n_Log_Taylor, logOracle, nearOne(rng, kind, k, 1), 2.0, "taylor");
    fo_SetDigits(38);
}

TEST(Log, Exports) {
    fo_SetDigits(38);
    const int32_t x = tqg_New(tq_IntNumForTest(TarqBinFloat, 10)), r = tqg_New(tqg_Zero(TarqBinFloat));
    FoMpfr want, ten;
    mpfr_set_ui(ten, 10, MPFR_RNDN);
    mpfr_log(want, ten, MPFR_RNDN);
    EXPECT_EQ(TQ_LOG(x, r), 0);
    EXPECT_LE(ulp_Error(tqg_Get(r), want), 2.0);
    mpfr_log2(want, ten, MPFR_RNDN);
    EXPECT_EQ(TQ_LOG2(x, r), 0);
    EXPECT_LE(ulp_Error(tqg_Get(r), want), 2.0);
    mpfr_set_ui(want, 1, MPFR_RNDN);
    EXPECT_EQ(TQ_LOG10(x, r), 0);
    EXPECT_LE(ulp_Error(tqg_Get(r), want), 0.5);
    EXPECT_EQ(TQ_LOG(x, 1 << 30), tq_Err_Handle);
    TQ_UNALLOCVAR(x);
    TQ_UNALLOCVAR(r);
}
