// The cut to the working precision, canonical zero, low-word stripping and
// fraction reduction.
#include <gmp.h>
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "numbers/number.h"
#include "base/tq_state.h"
#include "tarq.h"
#include "tq_gmp.h"

namespace {
TqStr words(std::initializer_list<uint32_t> w) { return tq_MagFromWords(w); }
using Prec = TqTestPrecision;
}  // namespace

// A binary float keeps 8P bits counted from its leading one bit, rounded to
// nearest on the first dropped bit, with whole words dropped below them.
TEST(ReducePrecision, BinaryFloatKeepsEightPBitsFromTheLeadingOne) {
    Prec p(8, 3);  // 64 bits
    struct Case {
        std::initializer_list<uint32_t> in;
        int32_t expoIn;
        std::initializer_list<uint32_t> out;
        int32_t expoOut;
        const char *what;
    } cases[] = {
        {{0x80000000u, 0x11111111u, 0x92222222u}, 8, {0x11111112u, 0x92222222u}, 12, "first dropped bit set: up"},
        {{0x7FFFFFFFu, 0x11111111u, 0x92222222u}, 0, {0x11111111u, 0x92222222u}, 4, "first dropped bit clear: down"},
        {{0x00000001u, 0xFFFFFFFFu, 0x00000001u}, 0, {0x00000002u, 0xFFFFFFFFu, 0x00000001u}, 0,
         "65 bits from a low leading one: one bit dropped inside the word, rounded up"},
        {{0xA0000000u, 0x11111111u, 0x22222222u}, 0, {0xC0000000u, 0x11111111u, 0x22222222u}, 0,
         "94 bits: 30 dropped inside the lowest word, rounded up"},
        {{0xFF000000u, 0xFFFFFFFFu, 0xFFFFFFFFu}, 0, {0, 0, 1}, 4, "the rounding carry lengthens the magnitude"},
        {{5, 6}, 0, {5, 6}, 0, "nothing to cut"},
    };
    for (const Case &c : cases) {
        TarqVar v{1, 1, c.expoIn, TarqBinFloat, 0};
        TqStr m = words(c.in);
        n_ReducePrecision(v, m);
        EXPECT_EQ(m, words(c.out)) << c.what;
        EXPECT_EQ(v.Expo, c.expoOut) << c.what;
    }
}

TEST(ReducePrecision, OtherKindsAreUntouched) {
    Prec p(4, 3);
    for (int32_t kind : {TarqBigInt, TarqFraction, TarqText}) {
        TarqVar v{1, 1, 0, kind, 0};
        TqStr m = words({1, 2, 3, 4});
        n_ReducePrecision(v, m);
        EXPECT_EQ(m, words({1, 2, 3, 4}));
    }
}

TEST(ReducePrecision, DecimalFloatKeepsAboutPPlus4BytesRoundedHalfUp) {
    Prec p(16, 3);
    std::mt19937 rng(1234);
    mpz_t a, b, pw, diff, half;
    mpz_inits(a, b, pw, diff, half, nullptr);
    for (int iter = 0; iter < 300; ++iter) {
        const int nw = 6 + static_cast<int>(rng() % 40);
        TqStr m;
        for (int i = 0; i < nw; ++i) m += tq_Word(rng());
        if (tq_W(m)[nw - 1] == 0) tq_W(m)[nw - 1] = 1;
        TarqVar v{1, 1, static_cast<int32_t>(rng() % 41) - 20, TarqDecFloat, 0};
        const int32_t e0 = v.Expo;
        tqg_MagToMpz(a, m);
        n_ReducePrecision(v, m);
        ASSERT_EQ(v.Expo % 4, 0);
        ASSERT_GE(v.Expo, e0 - 3);
        // a * 10^e0 against m * 10^Expo: scale both to 10^min.
        tqg_MagToMpz(b, m);
        const int32_t lo = e0 < v.Expo ? e0 : v.Expo;
        mpz_ui_pow_ui(pw, 10, static_cast<unsigned long>(e0 - lo));
        mpz_mul(a, a, pw);
        mpz_ui_pow_ui(pw, 10, static_cast<unsigned long>(v.Expo - lo));
        mpz_mul(b, b, pw);
        mpz_sub(diff, a, b);
        mpz_abs(diff, diff);
        mpz_mul_2exp(diff, diff, 1);
        ASSERT_LE(mpz_cmp(diff, pw), 0) << "error above half a unit of the last kept digit";
        EXPECT_LE(tq_Len(m), 16 + 4 + 4);
    }
    mpz_clears(a, b, pw, diff, half, nullptr);
}

TEST(ReducePrecision, DecimalExactHalfIsNotRoundedUp) {
    Prec p(4, 3);
    // A 16-byte magnitude: S - (P + 4) = 8 bytes, k = round(19.27) = 19 digits,
    // E' = 16, so 10^16 is divided out.
    mpz_t q, m, unit, half;
    mpz_inits(q, m, unit, half, nullptr);
    mpz_set_str(q, "266000000000000000001", 10);
    mpz_ui_pow_ui(unit, 10, 16);
    mpz_tdiv_q_ui(half, unit, 2);
    for (int extra = 0; extra <= 1; ++extra) {
        mpz_mul(m, q, unit);
        mpz_add(m, m, half);
        mpz_add_ui(m, m, static_cast<unsigned long>(extra));
        TqStr mag = tqg_MagFromMpz(m);
        ASSERT_EQ(tq_Len(mag), 16);
        TarqVar v{1, 1, 0, TarqDecFloat, 0};
        n_ReducePrecision(v, mag);
        EXPECT_EQ(v.Expo, 16);
        mpz_t got;
        mpz_init(got);
        tqg_MagToMpz(got, mag);
        mpz_sub(got, got, q);
        EXPECT_EQ(mpz_get_si(got), extra) << (extra ? "above half rounds up" : "an exact half is kept");
        mpz_clear(got);
    }
    mpz_clears(q, m, unit, half, nullptr);
}

TEST(ReducePrecision, DecimalExponentBecomesAMultipleOfFour) {
    Prec p(16, 3);
    TarqVar v{1, -1, -3, TarqDecFloat, 0};
    TqStr m = words({7, 0, 0, 0, 0, 0});  // 24 bytes, but only one significant
    n_ReducePrecision(v, m);
    EXPECT_EQ(v.Expo, -4);
    EXPECT_EQ(m, tq_Word(70));
    EXPECT_EQ(v.Sign, -1);
}

TEST(NormaliseZero, StripsHighWordsOrMakesCanonicalZero) {
    TarqVar v{1, -1, 12, TarqDecFloat, 0};
    TqStr m = words({0, 0, 0});
    EXPECT_EQ(n_NormaliseZero(v, m), 1);
    EXPECT_EQ(m, tq_Word(0));
    EXPECT_EQ(v.Expo, 0);
    EXPECT_EQ(v.Sign, 1);
    TarqVar w{1, -1, 12, TarqDecFloat, 0};
    TqStr n = words({0, 5, 0, 0});
    EXPECT_EQ(n_NormaliseZero(w, n), 0);
    EXPECT_EQ(n, words({0, 5}));
    EXPECT_EQ(w.Sign, -1);
    EXPECT_EQ(w.Expo, 12);
}

TEST(StripLowZeroWords, RaisesTheExponent) {
    TarqVar v{1, 1, -8, TarqBinFloat, 0};
    TqStr m = words({0, 0, 9, 0});
    n_Mant_StripLowZeroWords(v, m);
    EXPECT_EQ(m, words({9, 0}));
    EXPECT_EQ(v.Expo, 0);
    TqStr z = words({0, 0});
    n_Mant_StripLowZeroWords(v, z);
    EXPECT_EQ(z, tq_Word(0));
    EXPECT_EQ(v.Expo, 0);
    TqStr keep = words({1, 0});
    v.Expo = 4;
    n_Mant_StripLowZeroWords(v, keep);
    EXPECT_EQ(keep, words({1, 0}));
    EXPECT_EQ(v.Expo, 4);
}

TEST(ReduceFraction, DividesByTheGcdWhileReductionIsOn) {
    TQ_GETPRECISION(1);
    std::mt19937 rng(99);
    mpz_t a, b, g, x, y;
    mpz_inits(a, b, g, x, y, nullptr);
    for (int iter = 0; iter < 100; ++iter) {
        TqStr na, nb, ng;
        for (int i = 0, n = 1 + static_cast<int>(rng() % 6); i < n; ++i) na += tq_Word(rng());
        for (int i = 0, n = 1 + static_cast<int>(rng() % 6); i < n; ++i) nb += tq_Word(rng());
        for (int i = 0, n = 1 + static_cast<int>(rng() % 3); i < n; ++i) ng += tq_Word(rng() | 1);
        tqg_MagToMpz(a, na);
        tqg_MagToMpz(b, nb);
        tqg_MagToMpz(g, ng);
        mpz_mul(a, a, g);
        mpz_mul(b, b, g);
        TqStr num = tqg_MagFromMpz(a), den = tqg_MagFromMpz(b);
        n_ReduceFraction(num, den);
        mpz_gcd(g, a, b);
        mpz_divexact(a, a, g);
        mpz_divexact(b, b, g);
        tqg_MagToMpz(x, num);
        tqg_MagToMpz(y, den);
        ASSERT_EQ(mpz_cmp(x, a), 0);
        ASSERT_EQ(mpz_cmp(y, b), 0);
    }
    TqStr num = tq_Word(6), den = tq_Word(4);
    TQ_SETOPTION(6, 0);
    n_ReduceFraction(num, den);
    EXPECT_EQ(num, tq_Word(6));
    TQ_SETOPTION(6, 1);
    n_ReduceFraction(num, den);
    EXPECT_EQ(num, tq_Word(3));
    EXPECT_EQ(den, tq_Word(2));
    TqStr zero = tq_Word(0), one = tq_Word(5);
    n_ReduceFraction(zero, one);
    EXPECT_EQ(zero, tq_Word(0));
    EXPECT_EQ(one, tq_Word(1)) << "0/5 reduces to 0/1";
    mpz_clears(a, b, g, x, y, nullptr);
}
