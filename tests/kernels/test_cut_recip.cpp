// The decimal cut by a large power of ten through a cached reciprocal, against
// GMP: the quotient by 10^d and the rounding (up only when the remainder
// exceeds half of 10^d) on random magnitudes, exact multiples, exact halves
// and their neighbours, for many cut lengths and dividend lengths (so that
// one cached reciprocal serves several lengths), with both limb widths.
#include <gmp.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "kernels/cut_pow10.h"
#include "kernels/cut_recip.h"
#include "base/tq_state.h"
#include "tarq.h"
#include "mag_gmp.h"

namespace {

// Builds a dividend for 10^d: random, or q 10^d plus a chosen remainder
// (0, 1, 10^d / 2 - 1, 10^d / 2, 10^d / 2 + 1, 10^d - 1).
void makeDividend(mpz_t m, const mpz_t p, int words, int shape, gmp_randstate_t rs) {
    if (shape % 2 == 0) {
        mpz_urandomb(m, rs, 32 * words);
    } else {
        mpz_rrandomb(m, rs, 32 * words);
    }
    if (shape < 2) return;
    Mpz q, r;
    mpz_tdiv_q(q, m, p);
    mpz_mul(m, q, p);
    switch (shape % 6) {
        case 0: break;
        case 1: mpz_set_ui(r, 1); break;
        case 2: mpz_tdiv_q_2exp(r, p, 1); mpz_sub_ui(r, r, 1); break;
        case 3: mpz_tdiv_q_2exp(r, p, 1); break;
        case 4: mpz_tdiv_q_2exp(r, p, 1); mpz_add_ui(r, r, 1); break;
        default: mpz_sub_ui(r, p, 1); break;
    }
    mpz_add(m, m, r);
}

}  // namespace

TEST(CutByPow10Recip, QuotientAndRoundingMatchGmp) {
    const int32_t saved = gTq_Kernel_Limb64;
    gmp_randstate_t rs;
    gmp_randinit_mt(rs);
    gmp_randseed_ui(rs, 4242);
    Mpz m, p, q, r, got;
    int taken = 0, randomTaken = 0, randomCases = 0, nearDeclined = 0, nearCases = 0;
    for (int it = 0; it < 3000; ++it) {
        gTq_Kernel_Limb64 = it % 2;
        const int d = 80 + static_cast<int>(gmp_urandomm_ui(rs, 700));
        mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(d));
        const int dWords = static_cast<int>((mpz_sizeinbase(p, 2) + 31) / 32);
        const int words = dWords + 6 + static_cast<int>(gmp_urandomm_ui(rs, 60));
        const int pick = static_cast<int>(gmp_urandomm_ui(rs, 4));
        const int shape = pick < 2 ? pick : 2 + static_cast<int>(gmp_urandomm_ui(rs, 12));
        makeDividend(m, p, words, shape, rs);
        // The kernel gives the floor and the rounding step apart.
        const int wantUp = tqg_DivRoundHalfDown(q, m, p);
        mpz_sub_ui(q, q, static_cast<unsigned long>(wantUp));
        TqStr M = tqg_MagFromMpz(m), D = tqg_MagFromMpz(p), Q = tq_Word(7);
        int32_t up = 9;
        // Remainders within 1 of 0, D / 2 or D put M / D within 1 / D of an
        // integer or a half, far inside the undecided bands.
        const bool near = shape >= 2;
        nearCases += near;
        randomCases += !near;
        if (!tq_CutByPow10Recip(M, D, Q, up)) {
            nearDeclined += near;
            EXPECT_EQ(up, 9) << "left alone when declined";
            continue;
        }
        ++taken;
        randomTaken += !near;
        tqg_MagToMpz(got, Q);
        ASSERT_EQ(mpz_cmp(got, q), 0) << "iteration " << it << " d " << d;
        ASSERT_EQ(up, wantUp) << "iteration " << it << " d " << d;
        const int32_t n = tq_NWords(Q);
        ASSERT_TRUE(n == 1 || tq_W(Q)[n - 1] != 0) << "trimmed";
    }
    gTq_Kernel_Limb64 = saved;
    // Random dividends seldom fall in the undecided bands (a long run of equal
    // bits from mpz_rrandomb may); the shaped ones always do.
    EXPECT_GT(randomTaken, randomCases * 9 / 10);
    EXPECT_EQ(nearDeclined, nearCases);
    EXPECT_EQ(taken, randomTaken);
    gmp_randclear(rs);
}

TEST(CutByPow10Recip, SmallSizesAreDeclined) {
    Mpz m, p;
    mpz_ui_pow_ui(p, 10, 40);  // 5 words
    mpz_ui_pow_ui(m, 7, 300);
    TqStr Q;
    int32_t up = 0;
    EXPECT_FALSE(tq_CutByPow10Recip(tqg_MagFromMpz(m), tqg_MagFromMpz(p), Q, up));
    mpz_ui_pow_ui(p, 10, 400);
    mpz_mul_ui(m, p, 12345);  // quotient of one word
    EXPECT_FALSE(tq_CutByPow10Recip(tqg_MagFromMpz(m), tqg_MagFromMpz(p), Q, up));
}

// The digit count from the small table: exact at every power of ten below
// its top and its neighbours, declined above it, for magnitudes of any length
// (a million-word magnitude once overflowed the estimate).
TEST(DecimalDigitsSmall, PowersNeighboursAndLongMagnitudes) {
    Mpz v;
    for (unsigned k = 1; k < 170; ++k)
        for (long delta : {-1L, 0L, 1L}) {
            mpz_ui_pow_ui(v, 10, k);
            if (delta < 0) mpz_sub_ui(v, v, 1); else mpz_add_ui(v, v, static_cast<unsigned long>(delta));
            const TqStr m = tqg_MagFromMpz(v);
            char *text = mpz_get_str(nullptr, 10, v);
            const int32_t digits = static_cast<int32_t>(std::strlen(text));
            free(text);
            const int32_t got = tq_DecimalDigitsSmall(tq_W(m), tq_NWords(m));
            EXPECT_TRUE(got == digits || (got == -1 && digits >= tq_Pow10Small_Count - 1)) << k << " " << delta;
        }
    for (int32_t words : {40, 5000, 1 << 20}) {
        std::vector<uint32_t> w(static_cast<size_t>(words), 0xFFFFFFFFu);
        EXPECT_EQ(tq_DecimalDigitsSmall(w.data(), words), -1) << words;
    }
}

// The cut of a short magnitude (one to 36 words: the one-division reach and
// beyond, on both limb widths) by every power of ten it takes, against GMP,
// on random magnitudes, exact multiples, exact halves with their neighbours,
// and quotients of all one bits just above a half (the carry grows a word).
TEST(DivPow10RoundN, ShortMagnitudesMatchGmp) {
    const int32_t saved = gTq_Kernel_Limb64;
    gmp_randstate_t rs;
    gmp_randinit_mt(rs);
    gmp_randseed_ui(rs, 7);
    Mpz m, p, q, r, got;
    int done[2] = {};
    for (int it = 0; it < 24000; ++it) {
        gTq_Kernel_Limb64 = it % 2;
        const int d = 1 + static_cast<int>(gmp_urandomm_ui(rs, 220));
        const int words = 1 + static_cast<int>(gmp_urandomm_ui(rs, 36));
        mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(d));
        const int shape = static_cast<int>(gmp_urandomm_ui(rs, 16));
        if (shape < 14) {
            makeDividend(m, p, words, shape, rs);
        } else {
            mpz_set_ui(q, 0);
            mpz_setbit(q, static_cast<mp_bitcnt_t>(32 * (1 + gmp_urandomm_ui(rs, 6))));
            mpz_sub_ui(q, q, 1);
            mpz_tdiv_q_2exp(r, p, 1);
            mpz_add_ui(r, r, shape - 13);  // a half and one or two above
            mpz_mul(m, q, p);
            mpz_add(m, m, r);
        }
        if (mpz_sizeinbase(m, 2) <= 1) mpz_set_ui(m, 1);
        tqg_DivRoundHalfDown(q, m, p);
        const TqStr mag = tqg_MagFromMpz(m);
        alignas(8) uint32_t w[64] = {};
        int32_t n = tq_NWords(mag);
        std::memcpy(w, tq_W(mag), static_cast<size_t>(n) * 4);
        if (!tq_DivPow10RoundN(w, n, d)) continue;
        ++done[it % 2];
        ASSERT_TRUE(n == 1 || w[n - 1] != 0) << "trimmed";
        tqg_MagToMpz(got, TqStr(reinterpret_cast<const char *>(w), static_cast<size_t>(n) * 4));
        ASSERT_EQ(mpz_cmp(got, q), 0) << "iteration " << it << " d " << d << " words " << words;
    }
    gTq_Kernel_Limb64 = saved;
    // 64-bit limbs take d up to 220 on up to 32 words, and up to 76 on
    // longer ones; 32-bit limbs d up to 220 on up to 16 words, 36 on longer.
    EXPECT_GT(done[1], 10500);
    EXPECT_GT(done[0], 5000);
    gmp_randclear(rs);
}
