// Exponentials and logarithms against MPFR where the accuracy test's random
// families do not reach: next to the reduction steps, magnitudes beyond
// 1e+-300, 10,000 digits, e itself; n_PowMant; and the precision state after.
// (Special, zero and out-of-domain arguments are rows of tests/trig's
// outcome table.)
#include <gtest/gtest.h>

#include <random>

#include "explog/explog.h"
#include "funcs_oracle.h"

namespace {

// (v + d 2^-shift) in the kind, v given by MPFR.
TqNum moved(int32_t kind, FoMpfr &v, int d, int shift) {
    FoMpfr e;
    mpfr_set_si_2exp(e, d, -shift, MPFR_RNDN);
    mpfr_add(v, v, e, MPFR_RNDN);
    return fo_FromMpfr(v, kind);
}

}  // namespace

// e^x next to k/2 ln 256 and k/2 ln 10 (where the reduction's multiple
// changes), ln x next to 0.96875, 1.0625 and powers of two.
TEST(ExpLog, ReductionBoundaries) {
    fo_SetDigits(100);
    FoPrecSnapshot snap;
    for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
        for (long k : {1L, -1L, 3L, 7L, -201L})
            for (int d : {-1, 1}) {
                FoMpfr x;
                mpfr_log_ui(x, kind == TarqBinFloat ? 256 : 10, MPFR_RNDN);
                mpfr_mul_si(x, x, k, MPFR_RNDN);
                mpfr_div_2ui(x, x, 1, MPFR_RNDN);
                fo_CheckUnary(n_Exp, mpfr_exp, moved(kind, x, d, 300), 2.0, "e^x near k/2 ln radix");
            }
        for (double v : {0.96875, 1.0625, 0.5, 2.0, 256.0, 1.0 / 256})
            for (int d : {-1, 0, 1}) {
                FoMpfr x;
                mpfr_set_d(x, v, MPFR_RNDN);
                fo_CheckUnary(n_Log, mpfr_log, moved(kind, x, d, 200), 2.0, "ln boundary " + std::to_string(v));
            }
    }
    snap.expectSame();
    fo_SetDigits(38);
}

// Magnitudes 2^-5000 and 2^20000, and arguments next to 1 down to half the
// precision, in all three bases.
TEST(ExpLog, FarMagnitudesAndNearOne) {
    std::mt19937_64 rng(99);
    for (int32_t digits : {38, 1000}) {
        fo_SetDigits(digits);
        FoPrecSnapshot snap;
        for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
            for (double mag : {-5000.0, 20000.0}) {
                const TqNum x = fo_Random(rng, kind, mag);
                fo_CheckUnary(n_Log, mpfr_log, x, 2.0, "ln " + std::to_string(mag));
                fo_CheckUnary(n_Log2, mpfr_log2, x, 2.0, "log2");
                fo_CheckUnary(n_Log10, mpfr_log10, x, 2.0, "log10");
            }
            for (int k : {3, 5, 12, 40, 8 * gTq_Prec_Bytes_Internal / 2})
                for (int s : {-1, 1}) {
                    FoMpfr x;
                    mpfr_set_ui(x, 1, MPFR_RNDN);
                    const TqNum v = moved(kind, x, s * static_cast<int>(rng() % 1000 + 1), k + 10);
                    fo_CheckUnary(n_Log, mpfr_log, v, 2.0, "ln near 1, k=" + std::to_string(k));
                }
        }
        snap.expectSame();
    }
    fo_SetDigits(38);
}

// e = e^1 by its own series at every length; e^x and ln x at 10,000 digits.
TEST(ExpLog, EAndTenThousandDigits) {
    std::mt19937_64 rng(8);
    for (int32_t digits : {20, 38, 1000, 10000}) {
        fo_SetDigits(digits);
        for (int32_t kind : {TarqDecFloat, TarqBinFloat}) fo_CheckUnary(n_Exp, mpfr_exp, tq_IntNumForTest(kind, 1), 1.0, "e");
    }
    fo_CheckUnary(n_Exp, mpfr_exp, fo_Random(rng, TarqBinFloat, 2.0, -1), 2.0, "exp 10000 digits");
    fo_CheckUnary(n_Log, mpfr_log, fo_Random(rng, TarqBinFloat, 5.0), 2.0, "ln 10000 digits");
    fo_SetDigits(38);
}

TEST(ExpLog, PowMant) {
    fo_SetDigits(100);
    std::mt19937_64 rng(31);
    for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
        // x^n for a multi-word exponent of value 1000 and for 0.
        TqNum r = tqg_Zero(kind);
        const TqNum x = fo_Random(rng, kind, 0.01);
        ASSERT_EQ(n_PowMant(x, tq_Word(1000), r), 0);
        FoMpfr xm, want;
        tqg_ToMpfr(xm, x);
        mpfr_pow_ui(want, xm, 1000, MPFR_RNDN);
        // About 15 rounded products, each error carried up to 1000-fold: a
        // relative error below 2000 times the working precision.
        FoMpfr rel, lim;
        tqg_ToMpfr(rel, r);
        mpfr_sub(rel, rel, want, MPFR_RNDN);
        mpfr_div(rel, rel, want, MPFR_RNDN);
        mpfr_abs(rel, rel, MPFR_RNDN);
        if (kind == TarqBinFloat)
            mpfr_set_ui_2exp(lim, 2000, 32 - 8L * gTq_Prec_Bytes_Internal, MPFR_RNDN);
        else
            mpfr_set_d(lim, 2000 * std::pow(10.0, -gTq_Prec_Digits_Internal), MPFR_RNDN);
        EXPECT_LE(mpfr_cmp(rel, lim), 0) << "kind " << kind;
        ASSERT_EQ(n_PowMant(tqg_Special(kind, 3), tq_Word(0) + tq_Word(0), r), 0);
        EXPECT_EQ(r.V.Special, 0);
        EXPECT_EQ(n_PowMant(x, TqStr(), r), tq_Err_Type);
        EXPECT_EQ(n_PowMant(x, TqStr(3, '\0'), r), tq_Err_Type);
        EXPECT_EQ(n_PowMant(tqg_Special(kind, 2), tq_Word(3), r), 0);
        EXPECT_EQ(r.V.Special, tq_Special_NegInf);
        EXPECT_EQ(n_PowMant(tqg_Special(kind, 2), tq_Word(4), r), 0);
        EXPECT_EQ(r.V.Special, tq_Special_PosInf);
        // A power beyond the exponent range is the infinity with
        // tq_Err_ExpRange (it was once an infinity with status 0).
        TqNum huge = tq_IntNumForTest(kind, 3);
        huge.V.Expo = 1 << 28;
        EXPECT_NE(n_PowMant(huge, tq_Word(16), r) & tq_Err_ExpRange, 0) << "kind " << kind;
        EXPECT_EQ(r.V.Special, tq_Special_PosInf);
        TQ_GETGLOBALERROR();
    }
    // Big integers are exact.
    TqNum r = tqg_Zero(TarqBigInt);
    ASSERT_EQ(n_PowMant(tq_IntNumForTest(TarqBigInt, 3), tq_Word(40), r), 0);
    Mpz z, w;
    tqg_ToMpz(z, r);
    mpz_ui_pow_ui(w, 3, 40);
    EXPECT_EQ(mpz_cmp(z, w), 0);
    fo_SetDigits(38);
}
