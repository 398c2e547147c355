// TQ_CONVERTUNITS: radians, degrees and grads against MPFR, the round trips
// of the four codes, unknown codes and refused kinds.
#include <gtest/gtest.h>

#include "tq_oracle.h"

namespace {

class Units : public ::testing::TestWithParam<int32_t> {
protected:
    void SetUp() override {
        kind = GetParam();
        TQ_SETPRECISION(1, 38);
        TQ_GETGLOBALERROR();
        x = TQ_ALLOCVAR(kind);
        r = TQ_ALLOCVAR(kind);
    }
    void TearDown() override {
        TQ_UNALLOCVAR(x);
        TQ_UNALLOCVAR(r);
        TQ_SETPRECISION(1, 38);
    }
    // The exact conversion of the value held in `from` by `code`.
    void exact(mpfr_t e, const TqNum &from, int32_t code) {
        mpfr_t pi;
        mpfr_init2(pi, mpfr_get_prec(e));
        mpfr_const_pi(pi, MPFR_RNDN);
        tqg_ToMpfr(e, from);
        const unsigned long angle = code <= 2 ? 180 : 200;
        if (code % 2) {
            mpfr_mul_ui(e, e, angle, MPFR_RNDN);
            mpfr_div(e, e, pi, MPFR_RNDN);
        } else {
            mpfr_mul(e, e, pi, MPFR_RNDN);
            mpfr_div_ui(e, e, angle, MPFR_RNDN);
        }
        mpfr_clear(pi);
    }
    int32_t kind, x, r;
};

TEST_P(Units, AgainstMpfr) {
    gmp_randstate_t rs;
    gmp_randinit_mt(rs);
    gmp_randseed_ui(rs, 4242);
    for (int digits : {38, 100, 1000}) {
        TQ_SETPRECISION(1, digits);
        mpfr_t v, e;
        mpfr_inits2(oracle_Prec(), v, e, static_cast<mpfr_ptr>(nullptr));
        for (int i = 0; i < 16; ++i) {
            mpfr_urandomb(v, rs);
            mpfr_mul_2si(v, v, static_cast<long>(gmp_urandomm_ui(rs, 40)) - 20, MPFR_RNDN);
            if (i % 2) mpfr_neg(v, v, MPFR_RNDN);
            const TqNum in = oracle_FromMpfr(v, kind);
            for (int32_t code = 1; code <= 4; ++code) {
                tqg_Put(x, in);
                ASSERT_EQ(TQ_CONVERTUNITS(code, x, r), 0);
                exact(e, in, code);
                EXPECT_LE(ulp_Error(tqg_Get(r), e), 2.0) << "code " << code << " digits " << digits;
                EXPECT_EQ(tqg_Get(x).MantN, in.MantN);  // x unchanged
            }
        }
        mpfr_clears(v, e, static_cast<mpfr_ptr>(nullptr));
    }
    gmp_randclear(rs);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0u);
}

TEST_P(Units, RoundTrips) {
    mpfr_t want;
    mpfr_init2(want, oracle_Prec());
    // 180 degrees is pi; back to degrees gives 180 to within the last digit.
    TQ_GETCONST(25, x);
    ASSERT_EQ(TQ_CONVERTUNITS(2, x, r), 0);
    mpfr_const_pi(want, MPFR_RNDN);
    EXPECT_LE(ulp_Error(tqg_Get(r), want), 2.0);
    ASSERT_EQ(TQ_CONVERTUNITS(1, r, r), 0);
    mpfr_set_ui(want, 180, MPFR_RNDN);
    EXPECT_LE(ulp_Error(tqg_Get(r), want), 2.0);
    // pi radians are 200 grads, and 200 grads are pi.
    TQ_GETCONST(8, x);
    ASSERT_EQ(TQ_CONVERTUNITS(3, x, r), 0);
    mpfr_set_ui(want, 200, MPFR_RNDN);
    EXPECT_LE(ulp_Error(tqg_Get(r), want), 2.0);
    TQ_GETCONST(26, x);
    ASSERT_EQ(TQ_CONVERTUNITS(4, x, r), 0);
    mpfr_const_pi(want, MPFR_RNDN);
    EXPECT_LE(ulp_Error(tqg_Get(r), want), 2.0);
    mpfr_clear(want);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0u);
}

TEST_P(Units, UnknownCodeGivesNaN) {
    TQ_GETCONST(14, x);
    for (int32_t code : {0, 5, -1}) {
        TQ_GETCONST(14, r);
        EXPECT_EQ(TQ_CONVERTUNITS(code, x, r), tq_Err_Invalid);
        EXPECT_EQ(tqg_Get(r).V.Special, tq_Special_NaN);
        EXPECT_EQ(TQ_GETGLOBALERROR(), static_cast<uint32_t>(tq_Err_Invalid));
    }
}

TEST_P(Units, SpecialInputReportsThroughTheStatus) {
    TQ_GETCONST(31, x);
    EXPECT_EQ(TQ_CONVERTUNITS(1, x, r) & tq_Err_Special, tq_Err_Special);
    EXPECT_EQ(tqg_Get(r).V.Special, tq_Special_PosInf);
    TQ_GETGLOBALERROR();
}

INSTANTIATE_TEST_SUITE_P(Kinds, Units, ::testing::Values(TarqDecFloat, TarqBinFloat),
                         [](const auto &info) { return std::string(info.param == TarqDecFloat ? "dec" : "bin"); });

TEST(UnitsKinds, MismatchLeavesResultUnchanged) {
    TQ_SETPRECISION(1, 38);
    TQ_GETGLOBALERROR();
    const int32_t d = TQ_ALLOCVAR(TarqDecFloat), b = TQ_ALLOCVAR(TarqBinFloat);
    TQ_GETCONST(20, b);
    EXPECT_EQ(TQ_CONVERTUNITS(1, d, b), tq_Err_Type);
    EXPECT_EQ(tqg_Get(b).MantN, tq_Word(10));
    EXPECT_EQ(TQ_GETGLOBALERROR(), static_cast<uint32_t>(tq_Err_Type));
    TQ_UNALLOCVAR(d);
    TQ_UNALLOCVAR(b);
}

// Kinds without pi fail in the constant loader, and the status says so.
TEST(UnitsKinds, no_pi_for_integers_is_reported_as_failure) {
    TQ_SETPRECISION(1, 38);
    TQ_GETGLOBALERROR();
    for (int32_t kind : {TarqBigInt, TarqFraction, TarqText}) {
        const int32_t a = TQ_ALLOCVAR(kind), c = TQ_ALLOCVAR(kind);
        EXPECT_EQ(TQ_CONVERTUNITS(2, a, c), tq_Err_Type);
        EXPECT_EQ(TQ_GETGLOBALERROR(), static_cast<uint32_t>(tq_Err_Type));
        TQ_UNALLOCVAR(a);
        TQ_UNALLOCVAR(c);
    }
}

}  // namespace
