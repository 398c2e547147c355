// The decimal cut by powers of ten up to 76 digits (one division for short
// magnitudes, passes of one-limb divisions for long ones; the one-pass and
// multi-pass paths of n_ReducePrecision) against GMP: quotient by 10^d,
// rounded up only when the remainder exceeds half of 10^d, on random
// magnitudes that need every cut length 1..76 (several passes above 9 or 19
// digits, the general path beyond), with the 64-bit limb loops and the
// portable 32-bit ones.
#include <gmp.h>
#include <gtest/gtest.h>

#include "numbers/number.h"
#include "base/tq_state.h"
#include "tarq.h"
#include "tq_gmp.h"

TEST(ReducePrecision, DecimalCutBySmallPowersOfTenMatchesGmp) {
    TQ_SETPRECISION(3, 16);
    const int32_t saved = gTq_Kernel_Limb64;
    gmp_randstate_t rs;
    gmp_randinit_mt(rs);
    gmp_randseed_ui(rs, 77);
    mpz_t m, p, q, r, twice;
    mpz_inits(m, p, q, r, twice, nullptr);
    int cut[80] = {0};
    for (int it = 0; it < 12000; ++it) {
        gTq_Kernel_Limb64 = it % 2;
        // 20..52 significant bytes against P + 4 = 20: cuts of 0..77 digits.
        const int bytes = 20 + static_cast<int>(gmp_urandomm_ui(rs, 33));
        if (it % 3 == 0)
            mpz_rrandomb(m, rs, 8 * bytes);
        else
            mpz_urandomb(m, rs, 8 * bytes);
        if (it % 7 == 0) {  // exact halves and one above/below them
            mpz_ui_pow_ui(p, 10, 1 + gmp_urandomm_ui(rs, 76));
            mpz_tdiv_q_2exp(twice, p, 1);
            mpz_tdiv_q(m, m, p);
            mpz_mul(m, m, p);
            mpz_add(m, m, twice);
            mpz_add_ui(m, m, gmp_urandomm_ui(rs, 3));
            mpz_sub_ui(m, m, 1);
        }
        const int32_t expo = static_cast<int32_t>(gmp_urandomm_ui(rs, 41)) - 20;
        TarqVar v{1, 1, expo, TarqDecFloat, 0};
        TqStr mant = tqg_MagFromMpz(m);
        n_ReducePrecision(v, mant);
        const int32_t d = v.Expo - expo;
        if (d >= 0 && d < 80) ++cut[d];
        mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(d < 0 ? -d : d));
        if (d < 0) {  // no cut: the exponent only moved down to a multiple of 4
            mpz_mul(q, m, p);
        } else {
            tqg_DivRoundHalfDown(q, m, p);
        }
        mpz_t got;
        mpz_init(got);
        tqg_MagToMpz(got, mant);
        ASSERT_EQ(mpz_cmp(got, q), 0) << "iteration " << it << " cut " << d;
        const int32_t n = tq_NWords(mant);
        ASSERT_TRUE(n == 1 || tq_W(mant)[n - 1] != 0) << "trimmed";
        mpz_clear(got);
    }
    gTq_Kernel_Limb64 = saved;
    for (int d = 6; d <= 76; ++d) EXPECT_GT(cut[d], 0) << "cut length " << d << " not reached";
    mpz_clears(m, p, q, r, twice, nullptr);
    gmp_randclear(rs);
    TQ_SETPRECISION(1, 38);
}

// The same cut on long magnitudes (about a hundred limbs), with long runs of
// one bits, and with remainders of exactly half of 10^d and next to it.
TEST(ReducePrecision, DecimalCutBySmallPowersOfTenOnLongMagnitudesMatchesGmp) {
    TQ_SETPRECISION(3, 700);  // long, yet within the default powers-of-ten table
    const int32_t saved = gTq_Kernel_Limb64;
    gmp_randstate_t rs;
    gmp_randinit_mt(rs);
    gmp_randseed_ui(rs, 31);
    mpz_t m, p, q, r, twice, got;
    mpz_inits(m, p, q, r, twice, got, nullptr);
    int cut[20] = {0};
    for (int it = 0; it < 1200; ++it) {
        gTq_Kernel_Limb64 = it % 2;
        const int bytes = 704 + static_cast<int>(gmp_urandomm_ui(rs, 9));
        if (it % 3 == 0)
            mpz_rrandomb(m, rs, 8 * bytes);
        else if (it % 3 == 1)
            mpz_urandomb(m, rs, 8 * bytes);
        else {  // all ones but a few random words
            mpz_set_ui(m, 1);
            mpz_mul_2exp(m, m, 8 * bytes);
            mpz_sub_ui(m, m, 1 + gmp_urandomm_ui(rs, 1000000));
        }
        const int32_t expo = 4 * (static_cast<int32_t>(gmp_urandomm_ui(rs, 11)) - 5);
        TarqVar v{1, 1, expo, TarqDecFloat, 0};
        TqStr mant = tqg_MagFromMpz(m);
        if (it % 4 == 3) {  // shape the remainder for the cut this length gets
            TarqVar probe = v;
            TqStr pm = mant;
            n_ReducePrecision(probe, pm);
            const int32_t d = probe.Expo - expo;
            if (d > 0) {
                mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(d));
                mpz_tdiv_q(q, m, p);
                mpz_mul(m, q, p);
                mpz_tdiv_q_2exp(twice, p, 1);
                mpz_add(m, m, twice);
                mpz_add_ui(m, m, gmp_urandomm_ui(rs, 3));
                mpz_sub_ui(m, m, 1);
                mant = tqg_MagFromMpz(m);
            }
        }
        n_ReducePrecision(v, mant);
        const int32_t d = v.Expo - expo;
        ASSERT_GE(d, 0);
        if (d < 20) ++cut[d];
        mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(d));
        tqg_DivRoundHalfDown(q, m, p);
        tqg_MagToMpz(got, mant);
        ASSERT_EQ(mpz_cmp(got, q), 0) << "iteration " << it << " cut " << d;
    }
    gTq_Kernel_Limb64 = saved;
    for (int d = 4; d <= 16; d += 4) EXPECT_GT(cut[d], 0) << "cut length " << d << " not reached";
    mpz_clears(m, p, q, r, twice, got, nullptr);
    gmp_randclear(rs);
    TQ_SETPRECISION(1, 38);
}
