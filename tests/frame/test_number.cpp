// The cut to the working precision (the decimal cut against GMP on short and
// long magnitudes, both limb widths) and low-word stripping. Canonical zeros,
// trimmed magnitudes, reduced fractions and untouched exact kinds are checked
// on every result of the arithmetic tests (tests/arith).
#include <gmp.h>
#include <gtest/gtest.h>

#include <vector>

#include "numbers/number.h"
#include "base/tq_state.h"
#include "tarq.h"
#include "mag_gmp.h"

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

// The decimal cut against GMP: the magnitude divided by 10^d (d the rise of
// the exponent, which ends on a multiple of 4), rounded to nearest with an
// exact half rounded down; a negative d only moves the exponent down. About
// P + 4 bytes are kept. Every fourth magnitude is reshaped to lie at, or one
// beside, an exact half or multiple of the cut it gets. Both limb widths; cuts
// counts how often each length below 1000 was met.
static void checkDecimalCut(int32_t precBytes, int bytesLo, int bytesSpan, int iterations, unsigned long seed,
                     std::vector<int> &cuts) {
    Prec prec(precBytes, 3);
    const int32_t saved = gTq_Kernel_Limb64;
    gmp_randstate_t rs;
    gmp_randinit_mt(rs);
    gmp_randseed_ui(rs, seed);
    Mpz m, p, q, got;
    cuts.assign(1000, 0);
    for (int it = 0; it < iterations; ++it) {
        gTq_Kernel_Limb64 = it % 2;
        const unsigned long bits = 8UL * (bytesLo + gmp_urandomm_ui(rs, bytesSpan));
        if (it % 3 == 0) {
            mpz_rrandomb(m, rs, bits);
        } else if (it % 3 == 1) {
            mpz_urandomb(m, rs, bits);
        } else {  // all ones but a few low bits
            mpz_set_ui(m, 0);
            mpz_setbit(m, bits);
            mpz_sub_ui(m, m, 1 + gmp_urandomm_ui(rs, 1000000));
        }
        const int32_t expo = static_cast<int32_t>(gmp_urandomm_ui(rs, 41)) - 20;
        TarqVar v{1, 1, expo, TarqDecFloat, 0};
        TqStr mant = tqg_MagFromMpz(m);
        if (it % 4 == 3) {  // q 10^d plus 0, 1, half - 1, half, half + 1 or 10^d - 1
            TarqVar probe = v;
            n_ReducePrecision(probe, mant);
            if (const int32_t d = probe.Expo - expo; d > 0) {
                mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(d));
                mpz_tdiv_q(q, m, p);
                mpz_mul(m, q, p);
                const unsigned long pick = gmp_urandomm_ui(rs, 6);
                mpz_tdiv_q_2exp(q, p, 1);
                if (pick == 0) mpz_set_ui(q, 0);
                if (pick == 1) mpz_set_ui(q, 1);
                if (pick == 2) mpz_sub_ui(q, q, 1);
                if (pick == 4) mpz_add_ui(q, q, 1);
                if (pick == 5) mpz_sub_ui(q, p, 1);
                mpz_add(m, m, q);
            }
            mant = tqg_MagFromMpz(m);
        }
        n_ReducePrecision(v, mant);
        const int32_t d = v.Expo - expo;
        if (d >= 0 && d < static_cast<int32_t>(cuts.size())) ++cuts[d];
        mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(d < 0 ? -d : d));
        if (d < 0)
            mpz_mul(q, m, p);
        else
            tqg_DivRoundHalfDown(q, m, p);
        tqg_MagToMpz(got, mant);
        ASSERT_EQ(mpz_cmp(got, q), 0) << "iteration " << it << " cut " << d;
        ASSERT_EQ(v.Expo % 4, 0) << "iteration " << it;
        ASSERT_TRUE(tq_IsTrimmed(mant)) << "iteration " << it;
        ASSERT_LE(tq_Len(mant), precBytes + 8) << "iteration " << it;
    }
    gTq_Kernel_Limb64 = saved;
    gmp_randclear(rs);
}

// Short magnitudes: one division, or passes of one-limb divisions, for every
// cut length up to 76 digits.
TEST(ReducePrecision, DecimalCutOfShortMagnitudesMatchesGmp) {
    std::vector<int> cuts;
    checkDecimalCut(16, 20, 33, 12000, 77, cuts);
    for (int d = 6; d <= 76; ++d) EXPECT_GT(cuts[d], 0) << "cut length " << d << " not reached";
}

// Cuts of hundreds of digits (a cached reciprocal of the large power of ten).
TEST(ReducePrecision, DecimalCutByLargePowersOfTenMatchesGmp) {
    std::vector<int> cuts;
    checkDecimalCut(64, 108, 160, 1500, 99, cuts);
    int big = 0;
    for (size_t d = 80; d < cuts.size(); ++d) big += cuts[d];
    EXPECT_GT(big, 1000);
}

// Long magnitudes (about a hundred limbs) at a precision within the default
// powers-of-ten table.
TEST(ReducePrecision, DecimalCutOfLongMagnitudesMatchesGmp) {
    std::vector<int> cuts;
    checkDecimalCut(700, 704, 9, 1200, 31, cuts);
    for (int d = 4; d <= 16; d += 4) EXPECT_GT(cuts[d], 0) << "cut length " << d << " not reached";
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
