// The fixed-point series loop (funcs/series.h) against MPFR: every series of
// the table, T from tiny to 1/2, short and long fixed points, by the plain
// loop and by rectangular splitting, each sum within its stated bound of
// 4 K + 2 units.
#include <gtest/gtest.h>

#include <random>

#include "funcs/series.h"
#include "tq_gmp.h"

namespace {

struct Case {
    const char *name;
    TqSeries series;
    // The exact sum for T = x^2 (or T = x for the exponentials).
    void (*exact)(mpfr_t s, const mpfr_t T);
};

void expOf(mpfr_t s, const mpfr_t T) { mpfr_exp(s, T, MPFR_RNDN); }
void expNegOf(mpfr_t s, const mpfr_t T) {
    mpfr_neg(s, T, MPFR_RNDN);
    mpfr_exp(s, s, MPFR_RNDN);
}
// f(x) / x for x = sqrt T (x itself when T is 0 is never asked).
template <int (*F)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t)> void overX(mpfr_t s, const mpfr_t T) {
    mpfr_t x;
    mpfr_init2(x, mpfr_get_prec(s));
    mpfr_sqrt(x, T, MPFR_RNDN);
    F(s, x, MPFR_RNDN);
    mpfr_div(s, s, x, MPFR_RNDN);
    mpfr_clear(x);
}
void cosOf(mpfr_t s, const mpfr_t T) {
    mpfr_sqrt(s, T, MPFR_RNDN);
    mpfr_cos(s, s, MPFR_RNDN);
}

const Case kCases[] = {
    {"exp", tq_Series_Exp, expOf},
    {"exp_neg", tq_Series_ExpNeg, expNegOf},
    {"sin_over_x", tq_Series_SinOverX, overX<mpfr_sin>},
    {"cos", tq_Series_Cos, cosOf},
    {"atan_over_x", tq_Series_AtanOverX, overX<mpfr_atan>},
    {"atanh_over_x", tq_Series_AtanhOverX, overX<mpfr_atanh>},
};

TEST(Series, WithinBoundPlainAndRectangular) {
    std::mt19937_64 rng(77);
    const int32_t saved = gTq_Series_RectWords;
    for (const Case &c : kCases) {
        for (int32_t W : {1, 3, 30, 120}) {
            for (double log2T : {-1.0, -1.5, -7.0, -40.0, -32.0 * W + 3}) {
                if (W > 30 && log2T > -7) continue;  // thousands of terms: slow, and no new path
                for (int32_t rect : {1 << 30, 2}) {
                    gTq_Series_RectWords = rect;
                    // T: random words below 2^log2T.
                    TqStr T(4 * static_cast<size_t>(W), '\0');
                    for (int32_t i = 0; i < W; ++i) tq_W(T)[i] = static_cast<uint32_t>(rng());
                    const long bits = static_cast<long>(32 * W + log2T);
                    if (bits <= 0) continue;
                    mpz_t z;
                    mpz_init(z);
                    tqg_MagToMpz(z, T);
                    mpz_fdiv_r_2exp(z, z, static_cast<unsigned long>(bits));
                    mpz_setbit(z, static_cast<unsigned long>(bits - 1));
                    T = tqg_MagFromMpz(z);
                    T.resize(4 * static_cast<size_t>(W), '\0');
                    TqStr S;
                    int32_t K = 0;
                    tq_SeriesSum(c.series, T, W, S, &K);
                    ASSERT_EQ(tq_NWords(S), W + 1);
                    mpfr_t t, want, got;
                    mpfr_inits2(32 * W + 128, t, want, got, static_cast<mpfr_ptr>(nullptr));
                    mpfr_set_z_2exp(t, z, -32 * W, MPFR_RNDN);
                    c.exact(want, t);
                    tqg_MagToMpz(z, S);
                    mpfr_set_z_2exp(got, z, -32 * W, MPFR_RNDN);
                    mpfr_sub(got, got, want, MPFR_RNDN);
                    mpfr_mul_2si(got, got, 32 * W, MPFR_RNDN);
                    EXPECT_LT(std::abs(mpfr_get_d(got, MPFR_RNDN)), 4.0 * K + 2)
                        << c.name << " W " << W << " log2 T " << log2T << (rect == 2 ? " rectangular" : " plain");
                    mpfr_clears(t, want, got, static_cast<mpfr_ptr>(nullptr));
                    mpz_clear(z);
                }
            }
        }
    }
    gTq_Series_RectWords = saved;
}

}  // namespace
