// TQ_CONVERTUNITS: radians, degrees and grads against MPFR at three
// precisions, unknown codes, special inputs and refused kinds.
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

INSTANTIATE_TEST_SUITE_P(Kinds, Units, ::testing::Values(TarqDecFloat, TarqBinFloat),
                         [](const auto &info) { return std::string(info.param == TarqDecFloat ? "dec" : "bin"); });

// Refusals: an unknown code gives NaN, a special input reports through the
// status, mixed kinds leave the result alone, kinds without pi fail.
TEST(UnitsStatus, RefusalsAndSpecials) {
    TQ_SETPRECISION(1, 38);
    TQ_GETGLOBALERROR();
    struct Case {
        int32_t code, kindX, constX, kindR, status, special;
    } cases[] = {
        {0, TarqDecFloat, 14, TarqDecFloat, tq_Err_Invalid, tq_Special_NaN},
        {5, TarqBinFloat, 14, TarqBinFloat, tq_Err_Invalid, tq_Special_NaN},
        {-1, TarqDecFloat, 14, TarqDecFloat, tq_Err_Invalid, tq_Special_NaN},
        {1, TarqBinFloat, 31, TarqBinFloat, tq_Err_Special, tq_Special_PosInf},
        {1, TarqDecFloat, 31, TarqDecFloat, tq_Err_Special, tq_Special_PosInf},
        {1, TarqDecFloat, 20, TarqBinFloat, tq_Err_Type, 0},
        {2, TarqBigInt, 20, TarqBigInt, tq_Err_Type, 0},
        {2, TarqFraction, 20, TarqFraction, tq_Err_Type, 0},
        {2, TarqText, 0, TarqText, tq_Err_Type, 0},
    };
    for (const Case &c : cases) {
        const int32_t x = TQ_ALLOCVAR(c.kindX), r = TQ_ALLOCVAR(c.kindR);
        if (c.constX) TQ_GETCONST(c.constX, x);
        if (c.kindR != TarqText) TQ_GETCONST(20, r);
        const TqNum before = tqg_Get(r);
        EXPECT_EQ(TQ_CONVERTUNITS(c.code, x, r), c.status) << c.code << " kind " << c.kindX;
        EXPECT_EQ(TQ_GETGLOBALERROR(), static_cast<uint32_t>(c.status)) << c.code << " kind " << c.kindX;
        if (c.special) EXPECT_EQ(tqg_Get(r).V.Special, c.special) << c.code << " kind " << c.kindX;
        else EXPECT_EQ(tqg_Get(r).MantN, before.MantN) << c.code << " kind " << c.kindX;
        TQ_UNALLOCVAR(x);
        TQ_UNALLOCVAR(r);
    }
}

}  // namespace
