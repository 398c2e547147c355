// The relative-precision conversions between the float kinds (n_BinToDec,
// n_DecToBin_Approx) against exact rationals (GMP): binary to decimal must
// give the value rounded to the digits the decimal cut keeps (nearest, an
// exact half down), decimal to binary the value rounded to the working
// precision's bits (nearest, a half up). Outside a window of 2^-30 units
// around a rounding boundary the result is exact; inside it either neighbour
// passes, except the exact halves checked on their own. The conversion
// export's route from binary to decimal rounds exactly on the same values.
// Random mantissas and exponents, boundary values, and the ends of the
// exponent range (against MPFR with its widest exponents).
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cstdlib>
#include <cstring>

#include "conv_oracle.h"
#include "kernels/limbs.h"
#include "numbers/number.h"
#include "tq_gmp.h"

namespace {

// p = base^k, k of either sign.
void powq(mpq_t p, unsigned base, long k) {
    mpq_set_ui(p, 1, 1);
    mpz_ui_pow_ui(k >= 0 ? mpq_numref(p) : mpq_denref(p), base, static_cast<unsigned long>(std::labs(k)));
}

// floor(log_base |q|) for q != 0, base 2 or 10.
long floorLog(const mpq_t q, unsigned base) {
    Mpq a, p;
    mpq_abs(a, q);
    long e = static_cast<long>(mpz_sizeinbase(mpq_numref(a.v), base)) -
             static_cast<long>(mpz_sizeinbase(mpq_denref(a.v), base));
    for (powq(p, base, e); mpq_cmp(a, p) < 0; powq(p, base, --e)) {
    }
    for (powq(p, base, e + 1); mpq_cmp(a, p) >= 0; powq(p, base, ++e + 1)) {
    }
    return e;
}

// got against q rounded to a multiple of base^unitExp, a half going up or
// down; inside the boundary window either neighbour passes.
void expectRounded(const TqNum &got, const mpq_t q, unsigned base, long unitExp, bool halfUp, const std::string &what) {
    ASSERT_EQ(got.V.Special, 0) << what;
    Mpq u, t, g;
    Mpz n;
    powq(u, base, unitExp);
    mpq_div(t, q, u);
    mpq_abs(t, t);
    mpz_fdiv_q(n, mpq_numref(t.v), mpq_denref(t.v));
    mpq_set_z(g, n);
    mpq_sub(t, t, g);  // the fraction
    const double off = mpq_get_d(t) - 0.5;
    tqg_ToMpq(g, got);
    mpq_div(g, g, u);
    mpq_abs(g, g);
    if (std::fabs(off) >= 0x1p-30 || mpq_cmp_ui(t, 1, 2) == 0) {
        if (off > 0 || (halfUp && mpq_cmp_ui(t, 1, 2) == 0)) mpz_add_ui(n, n, 1);
        EXPECT_TRUE(mpz_cmp(mpq_numref(g.v), n) == 0 && mpz_cmp_ui(mpq_denref(g.v), 1) == 0) << what;
    } else {
        mpq_set_z(t, n);
        mpq_sub(t, g, t);
        EXPECT_TRUE(mpq_cmp_ui(t, 0, 1) == 0 || mpq_cmp_ui(t, 1, 1) == 0) << what;
    }
    EXPECT_EQ(mpq_sgn(q) < 0, got.V.Sign < 0) << what;
}

void checkBinToDec(const TqNum &t, int32_t tenExpo, const std::string &what) {
    TqNum d = tqg_Zero(TarqDecFloat);
    ASSERT_EQ(n_BinToDec(t, d, tenExpo), 0) << what;
    EXPECT_EQ(d.V.Expo % 4, 0) << what;
    const std::string digits = tqg_Str(Mpz(d.MantN));
    const long K = static_cast<long>(n_DecCutDigits()), nd = static_cast<long>(digits.size());
    // A rounding that carried into a new digit may leave the power of ten
    // one digit longer.
    const bool pow10 = digits.find_first_not_of('0', 1) == std::string::npos && digits[0] == '1';
    EXPECT_TRUE(nd >= K && (nd <= K + 3 || (nd == K + 4 && pow10))) << what << ": " << nd << " digits kept";
    Mpq q, p;
    tqg_ToMpq(q, t);
    powq(p, 10, tenExpo);
    mpq_mul(q, q, p);
    // The unit the decimal cut keeps for the value q.
    expectRounded(d, q, 10, 4 * static_cast<long>(std::floor((floorLog(q, 10) - K + 1) / 4.0)), false, what);
}

void checkDecToBin(const TqNum &x, const std::string &what) {
    const TqNum b = n_DecToBin_Approx(x);
    EXPECT_EQ(b.V.NumType, TarqBinFloat);
    EXPECT_EQ(b.V.Expo % 4, 0) << what;
    Mpq q;
    tqg_ToMpq(q, x);
    expectRounded(b, q, 2, floorLog(q, 2) + 1 - 8L * gTq_Prec_Bytes_Internal, true, what);
}

// The conversion export's route (n_Convert_TarqVar2TarqVar) rounds a binary
// float once and exactly, however close to a half: to the digits its cut
// keeps (K to K + 3, the exponent a multiple of 4), to nearest, a half down.
void checkConvertToDec(const TqNum &x, const std::string &what) {
    TqNum r = tqg_Zero(TarqDecFloat);
    ASSERT_EQ(n_Convert_TarqVar2TarqVar(x, r, 0, 0), 0) << what;
    Mpq q;
    tqg_ToMpq(q, x);
    Mpz num, den, want, got(r.MantN), p10;
    mpz_abs(num, mpq_numref(q.v));
    mpz_set(den, mpq_denref(q.v));
    const int32_t E = r.V.Expo;
    mpz_ui_pow_ui(p10, 10, static_cast<unsigned long>(std::labs(E)));
    mpz_mul(E < 0 ? num : den, E < 0 ? num : den, p10);
    tqg_DivRoundHalfDown(want, num, den);
    EXPECT_EQ(mpz_cmp(got, want), 0) << what;
    EXPECT_TRUE(E % 4 == 0 && r.V.Sign == x.V.Sign) << what;
    const int64_t K = n_DecCutDigits(), nd = static_cast<int64_t>(mpz_sizeinbase(got, 10));
    EXPECT_LE(nd, K + 4) << what;
    EXPECT_TRUE(nd >= K - 1 || mpz_divisible_p(num, den)) << what;  // fewer only when nothing was dropped
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
                const TqNum t = randomFloat(rng, TarqBinFloat, words, 4 * e);
                checkBinToDec(t, i % 5 == 0 ? e : 0, "to decimal, " + what);
                checkConvertToDec(t, "converted, " + what);
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
            Mpz n, m;
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
                Mpz md;
                delta > 0 ? mpz_add_ui(md, m, 256) : mpz_sub_ui(md, m, delta < 0 ? 256 : 0);
                const std::string what = std::to_string(digits) + " digits, case " + std::to_string(i) + ", half " + std::to_string(delta);
                checkBinToDec(tqg_BinFloat(md, -4), 0, what);
                checkConvertToDec(tqg_BinFloat(md, -4), what);
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
        }
        // 2^-j, whose last digit 5 may fall just below the cut (a true half),
        // and 2^-j + 2^-L, a hair above such a half far below any guard digits.
        const long j0 = static_cast<long>(static_cast<double>(K) / 0.69897) - 8;
        for (long j = j0; j < j0 + 16; ++j)
            for (const long hair : {0L, 3 * j + 140}) {
                Mpz m;
                const long bits = (j + hair + 31) / 32 * 32;
                mpz_setbit(m, static_cast<mp_bitcnt_t>(bits - j));
                if (hair) mpz_setbit(m, static_cast<mp_bitcnt_t>(bits - j - hair));
                checkConvertToDec(tqg_BinFloat(m, static_cast<int32_t>(-bits / 8)), "2^-" + std::to_string(j) + " + 2^-" + std::to_string(j + hair));
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
        Mpz m;
        tqg_ToMpz(m, v);
        mpfr_set_z(r, m, MPFR_RNDN);
        if (v.V.NumType == TarqBinFloat) {
            mpfr_mul_2si(r, r, 8L * v.V.Expo, MPFR_RNDN);
        } else {
            mpfr_set_si(p, v.V.Expo, MPFR_RNDN);
            mpfr_exp10(p, p, MPFR_RNDN);
            mpfr_mul(r, r, p, MPFR_RNDN);
        }
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
