// The relative-precision conversions between the float kinds (n_BinToDec,
// n_DecToBin_Approx) against exact rationals (GMP): binary to decimal must
// give the value rounded to the digits the decimal cut keeps (nearest, an
// exact half down), decimal to binary the value rounded to the working
// precision's bits (nearest, a half up). Outside a window of 2^-30 units
// around a rounding boundary the result is exact; inside it either neighbour
// passes, except the exact halves checked on their own. Random mantissas and
// exponents, boundary values, and the ends of the exponent range (against
// MPFR with its widest exponents).
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cstdlib>
#include <cstring>

#include "conv_oracle.h"
#include "kernels/limbs.h"
#include "numbers/number.h"
#include "tq_gmp.h"

namespace {

// floor(log_base |q|) for q != 0, base 2 or 10.
long floorLog(const mpq_t q, unsigned base) {
    mpq_t a, p;
    mpq_inits(a, p, nullptr);
    mpq_abs(a, q);
    long e = static_cast<long>(mpz_sizeinbase(mpq_numref(a), base)) -
             static_cast<long>(mpz_sizeinbase(mpq_denref(a), base));
    auto power = [&](long k) {  // p = base^k
        mpq_set_ui(p, 1, 1);
        mpz_ui_pow_ui(k >= 0 ? mpq_numref(p) : mpq_denref(p), base, static_cast<unsigned long>(k >= 0 ? k : -k));
    };
    for (power(e); mpq_cmp(a, p) < 0; power(--e)) {
    }
    for (power(e + 1); mpq_cmp(a, p) >= 0; power(++e + 1)) {
    }
    mpq_clears(a, p, nullptr);
    return e;
}

// got against q rounded to a multiple of base^unitExp, a half going up or
// down; inside the boundary window either neighbour passes.
void expectRounded(const TqNum &got, const mpq_t q, unsigned base, long unitExp, bool halfUp, const std::string &what) {
    ASSERT_EQ(got.V.Special, 0) << what;
    mpq_t u, t, g;
    mpz_t n;
    mpq_inits(u, t, g, nullptr);
    mpz_init(n);
    mpq_set_ui(u, 1, 1);
    mpz_ui_pow_ui(unitExp >= 0 ? mpq_numref(u) : mpq_denref(u), base, static_cast<unsigned long>(std::labs(unitExp)));
    mpq_div(t, q, u);
    mpq_abs(t, t);
    mpz_fdiv_q(n, mpq_numref(t), mpq_denref(t));
    mpq_set_z(g, n);
    mpq_sub(t, t, g);  // the fraction
    const double off = mpq_get_d(t) - 0.5;
    tqg_ToMpq(g, got);
    mpq_div(g, g, u);
    mpq_abs(g, g);
    if (std::fabs(off) >= 0x1p-30 || mpq_cmp_ui(t, 1, 2) == 0) {
        if (off > 0 || (halfUp && mpq_cmp_ui(t, 1, 2) == 0)) mpz_add_ui(n, n, 1);
        EXPECT_TRUE(mpz_cmp(mpq_numref(g), n) == 0 && mpz_cmp_ui(mpq_denref(g), 1) == 0) << what;
    } else {
        mpq_set_z(t, n);
        mpq_sub(t, g, t);
        EXPECT_TRUE(mpq_cmp_ui(t, 0, 1) == 0 || mpq_cmp_ui(t, 1, 1) == 0) << what;
    }
    EXPECT_EQ(mpq_sgn(q) < 0, got.V.Sign < 0) << what;
    mpq_clears(u, t, g, nullptr);
    mpz_clear(n);
}

// The exponent of the unit the decimal cut keeps for the value q.
long decimalUnit(const mpq_t q) {
    const long K = static_cast<long>(n_DecCutDigits());
    const long lead = floorLog(q, 10);
    return 4 * static_cast<long>(std::floor((lead - K + 1) / 4.0));
}

void checkBinToDec(const TqNum &t, int32_t tenExpo, const std::string &what) {
    TqNum d = tqg_Zero(TarqDecFloat);
    ASSERT_EQ(n_BinToDec(t, d, tenExpo), 0) << what;
    EXPECT_EQ(d.V.Expo % 4, 0) << what;
    mpz_t m;
    mpz_init(m);
    tqg_MagToMpz(m, d.MantN);
    char *digits = mpz_get_str(nullptr, 10, m);
    const long K = static_cast<long>(n_DecCutDigits()), nd = static_cast<long>(std::strlen(digits));
    // A rounding that carried into a new digit may leave the power of ten
    // one digit longer.
    const bool pow10 = digits[0] == '1' && std::strspn(digits + 1, "0") == static_cast<size_t>(nd - 1);
    EXPECT_TRUE(nd >= K && (nd <= K + 3 || (nd == K + 4 && pow10))) << what << ": " << nd << " digits kept";
    free(digits);
    mpz_clear(m);
    mpq_t q, p;
    mpq_inits(q, p, nullptr);
    tqg_ToMpq(q, t);
    mpq_set_ui(p, 1, 1);
    mpz_ui_pow_ui(tenExpo >= 0 ? mpq_numref(p) : mpq_denref(p), 10, static_cast<unsigned long>(std::abs(tenExpo)));
    mpq_mul(q, q, p);
    expectRounded(d, q, 10, decimalUnit(q), false, what);
    mpq_clears(q, p, nullptr);
}

void checkDecToBin(const TqNum &x, const std::string &what) {
    const TqNum b = n_DecToBin_Approx(x);
    EXPECT_EQ(b.V.NumType, TarqBinFloat);
    EXPECT_EQ(b.V.Expo % 4, 0) << what;
    mpq_t q;
    mpq_init(q);
    tqg_ToMpq(q, x);
    expectRounded(b, q, 2, floorLog(q, 2) + 1 - 8L * gTq_Prec_Bytes_Internal, true, what);
    mpq_clear(q);
}

TqNum randomFloat(std::mt19937_64 &rng, int32_t kind, int32_t words, int32_t expo) {
    TqNum v = tqg_Zero(kind);
    v.MantN.assign(4 * static_cast<size_t>(words), '\0');
    for (int32_t i = 0; i < words; ++i) tq_W(v.MantN)[i] = static_cast<uint32_t>(rng());
    tq_W(v.MantN)[words - 1] |= 1u << (rng() % 32);
    v.V.Sign = rng() % 2 ? -1 : 1;
    v.V.Expo = expo;
    return v;
}

const int32_t kDigits[] = {20, 38, 100, 1000};

TEST(FloatRound, RandomBothWays) {
    std::mt19937_64 rng(20261207);
    for (int32_t digits : kDigits) {
        TqTestPrecision prec(digits);
        const int32_t P = gTq_Prec_Bytes_Internal / 4;
        // Exponent spans (words or digits): near the point, far, very far.
        for (int32_t span : {12, 400, 3000}) {
            for (int i = 0; i < (digits >= 1000 ? 6 : 40); ++i) {
                const int32_t words = 1 + static_cast<int32_t>(rng() % static_cast<uint64_t>(P + 4));
                const int32_t e = static_cast<int32_t>(rng() % (2 * static_cast<uint64_t>(span) + 1)) - span;
                const std::string what = std::to_string(digits) + " digits, " + std::to_string(words) + " words, e " + std::to_string(e);
                checkBinToDec(randomFloat(rng, TarqBinFloat, words, 4 * e), i % 5 == 0 ? e : 0, "to decimal, " + what);
                checkDecToBin(randomFloat(rng, TarqDecFloat, words, e), "to binary, " + what);
            }
        }
    }
}

// Binary values at, just above and just below a decimal rounding boundary
// N + 1/2 (N with the K digits the cut keeps), and decimal integers at a
// binary one; the exact halves go down and up as the cuts do.
TEST(FloatRound, Boundaries) {
    std::mt19937_64 rng(7);
    for (int32_t digits : kDigits) {
        TqTestPrecision prec(digits);
        const long K = static_cast<long>(n_DecCutDigits());
        for (int i = 0; i < 10; ++i) {
            mpz_t n, m;
            mpz_inits(n, m, nullptr);
            // N random, or all nines of K and K + 3 digits (rounding up
            // carries into a new digit).
            mpz_ui_pow_ui(n, 10, static_cast<unsigned long>(i < 8 ? K - 1 : i == 8 ? K : K + 3));
            if (i < 8) {
                mpz_mul_ui(n, n, 1 + rng() % 9);
                mpz_add_ui(n, n, rng());
            } else {
                mpz_sub_ui(n, n, 1);
            }
            // (2N + 1) 2^31 / 2^32 = N + 1/2, then 2^8 units of 2^-32 off it.
            mpz_mul_2exp(m, n, 1);
            mpz_add_ui(m, m, 1);
            mpz_mul_2exp(m, m, 31);
            for (int delta : {0, 1, -1}) {
                mpz_t md;
                mpz_init(md);
                if (delta > 0) mpz_add_ui(md, m, 256);
                else if (delta < 0) mpz_sub_ui(md, m, 256);
                else mpz_set(md, m);
                const TqNum t = tqg_BinFloat(md, -4);
                checkBinToDec(t, 0, std::to_string(digits) + " digits, case " + std::to_string(i) + ", half " + std::to_string(delta));
                mpz_clear(md);
            }
            // A decimal integer at a binary half: (2a + 1) 2^(bits - 8P - 1) with
            // a of 8P - 1 bits.
            const long P8 = 8L * gTq_Prec_Bytes_Internal;
            mpz_set_ui(m, 1);
            mpz_mul_2exp(m, m, static_cast<unsigned long>(P8 - 1));
            mpz_add_ui(m, m, rng() | 1);
            mpz_mul_2exp(m, m, 5);
            mpz_add_ui(m, m, 16);  // the bit below the kept ones: an exact half
            checkDecToBin(tqg_DecFloat(m, 0), std::to_string(digits) + " digits, binary half");
            mpz_clears(n, m, nullptr);
        }
    }
}

// Values at the ends of the decimal exponent range: both conversions within
// a unit of the kept digits (MPFR with its widest exponent range), and a
// result beyond the range an infinity or zero with the range error.
TEST(FloatRound, ExponentRangeEnds) {
    TqTestPrecision prec(38);
    const mpfr_exp_t emin = mpfr_get_emin(), emax = mpfr_get_emax();
    mpfr_set_emin(mpfr_get_emin_min());
    mpfr_set_emax(mpfr_get_emax_max());
    const long K = static_cast<long>(n_DecCutDigits());
    mpfr_t x, y, p;
    mpfr_inits2(400, x, y, p, nullptr);
    auto wide = [&](mpfr_t r, const TqNum &v) {  // the value of a float of any exponent
        mpz_t m;
        mpz_init(m);
        tqg_ToMpz(m, v);
        mpfr_set_z(r, m, MPFR_RNDN);
        if (v.V.NumType == TarqBinFloat) {
            mpfr_mul_2si(r, r, 8L * v.V.Expo, MPFR_RNDN);
        } else {
            mpfr_set_si(p, v.V.Expo, MPFR_RNDN);
            mpfr_exp10(p, p, MPFR_RNDN);
            mpfr_mul(r, r, p, MPFR_RNDN);
        }
        mpz_clear(m);
    };
    auto relErr = [&](const TqNum &a, const TqNum &b) {
        wide(x, a);
        wide(y, b);
        mpfr_div(x, x, y, MPFR_RNDN);
        mpfr_sub_ui(x, x, 1, MPFR_RNDN);
        return std::fabs(mpfr_get_d(x, MPFR_RNDN));
    };
    std::mt19937_64 rng(3);
    for (int32_t e : {INT32_MAX - 60, INT32_MAX / 2, INT32_MIN / 2, INT32_MIN + 60}) {
        const TqNum d = randomFloat(rng, TarqDecFloat, 5, e);
        const TqNum b = n_DecToBin_Approx(d);
        EXPECT_LE(relErr(b, d), std::ldexp(1.0, 1 - 8 * gTq_Prec_Bytes_Internal)) << e;
        TqNum back = tqg_Zero(TarqDecFloat);
        ASSERT_EQ(n_BinToDec(b, back, 0), 0) << e;
        EXPECT_LE(relErr(back, b), std::pow(10.0, 1 - K)) << e;
    }
    TqNum big = tqg_Zero(TarqDecFloat), small = tqg_Zero(TarqDecFloat);
    big.MantN = tq_Word(7);
    big.V.Expo = INT32_MAX - 20;
    EXPECT_EQ(n_BinToDec(n_DecToBin_Approx(big), small, 100) & tq_Err_ExpRange, tq_Err_ExpRange);
    EXPECT_EQ(small.V.Special, tq_Special_PosInf);
    big.V.Expo = INT32_MIN + 20;
    EXPECT_EQ(n_BinToDec(n_DecToBin_Approx(big), small, -100) & tq_Err_ExpRange, tq_Err_ExpRange);
    EXPECT_TRUE(tq_IsZero(small.MantN));
    TQ_GETGLOBALERROR();
    mpfr_clears(x, y, p, nullptr);
    mpfr_set_emin(emin);
    mpfr_set_emax(emax);
}

}  // namespace
