// Exponentials against MPFR for both float kinds across the argument range,
// the reduction boundaries, the range errors and the special values.
#include <gtest/gtest.h>

#include <random>

#include "arith/arith.h"
#include "explog/explog.h"
#include "funcs_oracle.h"

namespace {

int expOracle(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t rnd) { return mpfr_exp(r, x, rnd); }

// k/2 * ln(base) moved by d units of 2^-shift.
TqNum halfStep(int32_t kind, unsigned base, long k, int d, int shift) {
    FoMpfr x;
    mpfr_set_ui(x, base, MPFR_RNDN);
    mpfr_log(x, x, MPFR_RNDN);
    mpfr_mul_si(x, x, k, MPFR_RNDN);
    mpfr_div_ui(x, x, 2, MPFR_RNDN);
    FoMpfr e;
    mpfr_set_si_2exp(e, d, -shift, MPFR_RNDN);
    mpfr_add(x, x, e, MPFR_RNDN);
    return fo_FromMpfr(x, kind);
}

}  // namespace

// The random differential of every exponential is the accuracy test's; here
// the arguments next to the reduction steps, and the precision state after.
TEST(Exp, ReductionBoundaries) {
    fo_SetDigits(100);
    FoPrecSnapshot snap;
    for (long k : {1L, -1L, 3L, 7L, -201L}) {
        for (int d : {-1, 1}) {
            fo_CheckUnary(n_Exp, expOracle, halfStep(TarqBinFloat, 256, k, d, 300), 2.0, "near k/2 ln 256");
            fo_CheckUnary(n_Exp, expOracle, halfStep(TarqDecFloat, 10, k, d, 300), 2.0, "near k/2 ln 10");
        }
    }
    snap.expectSame();
    fo_SetDigits(38);
}

TEST(Exp, TenThousandDigits) {
    std::mt19937_64 rng(8);
    fo_SetDigits(10000);
    fo_CheckUnary(n_Exp, expOracle, fo_Random(rng, TarqBinFloat, 2.0, -1), 2.0, "exp 10000 digits");
    fo_SetDigits(38);
}

// e^1 is e summed by its own series.
TEST(Exp, OneGivesE) {
    FoMpfr one;
    mpfr_set_ui(one, 1, MPFR_RNDN);
    for (int32_t digits : {20, 38, 1000, 10000}) {
        fo_SetDigits(digits);
        for (int32_t kind : {TarqDecFloat, TarqBinFloat}) fo_CheckUnary(n_Exp, expOracle, fo_FromMpfr(one, kind), 1.0, "e");
    }
    fo_SetDigits(38);
}

TEST(Exp, ExactSpecialAndRangeCases) {
    fo_SetDigits(38);
    for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
        TqNum r = tqg_Zero(kind);
        ASSERT_EQ(n_Exp(tq_IntNumForTest(kind, 0), r), 0);
        FoMpfr one;
        mpfr_set_ui(one, 1, MPFR_RNDN);
        EXPECT_EQ(ulp_Error(r, one), 0.0);
        TQ_GETGLOBALERROR();
        EXPECT_EQ(n_Exp(tqg_Special(kind, 2), r), 0);
        EXPECT_TRUE(r.V.Special == 0 && tq_W(r.MantN)[0] == 0);
        EXPECT_EQ(n_Exp(tqg_Special(kind, 1), r), tq_Err_Special);
        EXPECT_EQ(r.V.Special, 1);
        EXPECT_EQ(TQ_GETGLOBALERROR(), tq_Err_Special);
        EXPECT_EQ(n_Exp(tqg_Special(kind, 3), r), tq_Err_Special);
        EXPECT_EQ(r.V.Special, 3);
        EXPECT_EQ(TQ_GETGLOBALERROR(), tq_Err_Special | tq_Err_Invalid);
        // Multiples of the radix step beyond what any cut brings back into
        // the exponent range (the boundaries themselves are in the exponent
        // range test).
        for (double scale : {2147483700.5, 3.0e9, 4294967295.0, 5.0e9, 1e30}) {
            for (int sign : {-1, 1}) {
                FoMpfr x;
                mpfr_set_ui(x, kind == TarqBinFloat ? 256 : 10, MPFR_RNDN);
                mpfr_log(x, x, MPFR_RNDN);
                mpfr_mul_d(x, x, sign * scale, MPFR_RNDN);
                const int32_t want = tq_Err_ExpRange;
                // too large: +inf (bit 8 too); too small: zero
                EXPECT_EQ(n_Exp(fo_FromMpfr(x, kind), r), sign > 0 ? want | tq_Err_Special : want) << scale;
                EXPECT_EQ(r.V.Special, sign > 0 ? 1 : 0);
                EXPECT_EQ(TQ_GETGLOBALERROR() & tq_Err_ExpRange, tq_Err_ExpRange);
            }
        }
    }
    TqNum r = tqg_Zero(TarqBigInt);
    EXPECT_EQ(n_Exp(tq_IntNumForTest(TarqBigInt, 1), r), tq_Err_Type);
    r = tqg_Zero(TarqFraction);
    EXPECT_EQ(n_Exp(tq_IntNumForTest(TarqFraction, 1), r), tq_Err_Type);
    const int32_t h = tqg_New(tq_IntNumForTest(TarqBigInt, 1)), o = tqg_New(tqg_Zero(TarqBigInt));
    EXPECT_EQ(TQ_EXP(h, o), tq_Err_Type);
    EXPECT_EQ(TQ_GETGLOBALERROR() & tq_Err_Type, tq_Err_Type);
    TQ_UNALLOCVAR(h);
    TQ_UNALLOCVAR(o);
}

TEST(Exp, LargeArgumentsKeepTheirExponent) {
    // e^(3 ln 256 + y) is e^y with the exponent raised by 3 bytes, realigned.
    fo_SetDigits(38);
    TqNum y = tqg_Zero(TarqBinFloat), big = tqg_Zero(TarqBinFloat);
    FoMpfr x;
    mpfr_set_d(x, 0.375, MPFR_RNDN);
    const TqNum small = fo_FromMpfr(x, TarqBinFloat);
    ASSERT_EQ(n_Exp(small, y), 0);
    fo_CheckUnary(n_Exp, expOracle, halfStep(TarqBinFloat, 256, 6, 3, 2), 2.0, "3 ln 256 + 0.75");
    // Large magnitudes in both directions stay accurate.
    fo_CheckUnary(n_Exp, expOracle, tq_IntNumForTest(TarqBinFloat, 100000), 2.0, "e^100000");
    fo_CheckUnary(n_Exp, expOracle, tq_IntNumForTest(TarqBinFloat, -100000), 2.0, "e^-100000");
    fo_CheckUnary(n_Exp, expOracle, tq_IntNumForTest(TarqDecFloat, 100000), 2.0, "e^100000 dec");
    (void)big;
}

TEST(Exp, PowMant) {
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
        FoMpfr rel, got, lim;
        tqg_ToMpfr(got, r);
        mpfr_sub(rel, got, want, MPFR_RNDN);
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
        // powmant_overflow_reported: a power beyond the exponent range is the
        // infinity with tq_Err_ExpRange (it was once an infinity with status 0).
        TqNum huge = tq_IntNumForTest(kind, 3);
        huge.V.Expo = 1 << 28;
        EXPECT_NE(n_PowMant(huge, tq_Word(16), r) & tq_Err_ExpRange, 0) << "kind " << kind;
        EXPECT_EQ(r.V.Special, tq_Special_PosInf);
        TQ_GETGLOBALERROR();
    }
    // Big integers are exact.
    TqNum r = tqg_Zero(TarqBigInt);
    ASSERT_EQ(n_PowMant(tq_IntNumForTest(TarqBigInt, 3), tq_Word(40), r), 0);
    mpz_t z, w;
    mpz_inits(z, w, nullptr);
    tqg_ToMpz(z, r);
    mpz_ui_pow_ui(w, 3, 40);
    EXPECT_EQ(mpz_cmp(z, w), 0);
    mpz_clears(z, w, nullptr);
    fo_SetDigits(38);
}

TEST(Exp, LogOfExpRoundTrip) {
    // ln e^x is x up to what e^x can carry: a binary float of 1 or more keeps
    // 32 bits fewer below the point than one under 1, so the bound is taken
    // relative to e^x's own last kept byte.
    std::mt19937_64 rng(41);
    fo_SetDigits(100);
    for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
        for (double mag : {-5.0, 3.0, 9.0}) {
            for (int sign : {-1, 1}) {
                const TqNum x = fo_Random(rng, kind, mag, sign);
                TqNum e = tqg_Zero(kind), back = tqg_Zero(kind);
                ASSERT_EQ(n_Exp(x, e), 0);
                ASSERT_EQ(n_Log(e, back), 0);
                FoMpfr xm, em, lnE, diff, bound;
                tqg_ToMpfr(xm, x);
                tqg_ToMpfr(em, e);
                mpfr_log(lnE, em, MPFR_RNDN);
                EXPECT_LE(ulp_Error(back, lnE), 2.0);
                // |back - x| <= 2 units of e^x divided by e^x, plus 2 units of x.
                ulp_Unit(bound, em, kind);
                mpfr_div(bound, bound, em, MPFR_RNDN);
                mpfr_mul_ui(bound, bound, 2, MPFR_RNDN);
                FoMpfr ux;
                ulp_Unit(ux, xm, kind);
                mpfr_mul_ui(ux, ux, 2, MPFR_RNDN);
                mpfr_add(bound, bound, ux, MPFR_RNDN);
                tqg_ToMpfr(diff, back);
                mpfr_sub(diff, diff, xm, MPFR_RNDN);
                mpfr_abs(diff, diff, MPFR_RNDN);
                EXPECT_LE(mpfr_cmp(diff, bound), 0) << "kind " << kind << " mag " << mag << " sign " << sign;
            }
        }
    }
    fo_SetDigits(38);
}
