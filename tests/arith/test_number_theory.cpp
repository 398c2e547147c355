// Number theory exports against GMP: gcd, lcm, modular inverse and the
// extended Euclidean algorithm on random big integers of many sizes and both
// signs, plus the fixed cases and the refusals.
#include <gtest/gtest.h>

#include <vector>

#include "tq_oracle.h"

namespace {

class NumberTheory : public ::testing::Test {
protected:
    void SetUp() override {
        TQ_SETPRECISION(1, 38);
        TQ_GETGLOBALERROR();
        for (int i = 0; i < 5; ++i) h[i] = TQ_ALLOCVAR(TarqBigInt);
        mpz_inits(a, b, want, got, t, nullptr);
        gmp_randinit_mt(rs);
        gmp_randseed_ui(rs, 20261207);
    }
    void TearDown() override {
        for (int i = 0; i < 5; ++i) TQ_UNALLOCVAR(h[i]);
        mpz_clears(a, b, want, got, t, nullptr);
        gmp_randclear(rs);
    }
    void put(int i, long v) {
        mpz_set_si(t, v);
        tqg_Put(h[i], tqg_BigInt(t));
    }
    void putZ(int i, const mpz_t v) { tqg_Put(h[i], tqg_BigInt(v)); }
    long get(int i) {
        tqg_ToMpz(t, tqg_Get(h[i]));
        return mpz_get_si(t);
    }
    void getMpz(int i, mpz_t r) { tqg_ToMpz(r, tqg_Get(h[i])); }
    // A random operand of 0..words words: runs of ones and zeros (adversarial
    // for carries) or uniform bits, either sign, sometimes zero or small.
    void randomOperand(mpz_t r, int words) {
        const unsigned long pick = gmp_urandomm_ui(rs, 8);
        if (pick == 0) {
            mpz_set_ui(r, gmp_urandomm_ui(rs, 4));
        } else if (pick == 1) {
            mpz_rrandomb(r, rs, static_cast<mp_bitcnt_t>(32 * words));
        } else {
            mpz_urandomb(r, rs, static_cast<mp_bitcnt_t>(32 * words));
        }
        if (gmp_urandomm_ui(rs, 2)) mpz_neg(r, r);
    }
    // The magnitudes of the results are trimmed and canonical.
    void expectTrimmed(int i) {
        const TqStr &m = tqg_Get(h[i]).MantN;
        ASSERT_GE(m.size(), 4u);
        ASSERT_EQ(m.size() % 4, 0u);
        if (m.size() > 4) {
            EXPECT_NE(tq_W(m)[m.size() / 4 - 1], 0u);
        }
        if (m.size() == 4 && tq_W(m)[0] == 0) {
            EXPECT_EQ(tqg_Get(h[i]).V.Sign, 1);
        }
        EXPECT_EQ(tqg_Get(h[i]).V.InUse, 1);
        EXPECT_EQ(tqg_Get(h[i]).V.NumType, TarqBigInt);
    }

    int32_t h[5];
    mpz_t a, b, want, got, t;
    gmp_randstate_t rs;
};

// Sizes from one word to a few hundred, many small and few large.
const int kSizes[] = {1, 1, 2, 2, 3, 4, 5, 7, 8, 9, 16, 17, 31, 64, 100, 257};

TEST_F(NumberTheory, FixedCases) {
    put(0, 12), put(1, -18);
    EXPECT_EQ(TQ_GCD(h[0], h[1], h[2]), 0);
    EXPECT_EQ(get(2), 6);
    put(0, 0), put(1, 5);
    EXPECT_EQ(TQ_GCD(h[0], h[1], h[2]), 0);
    EXPECT_EQ(get(2), 5);
    put(0, 0), put(1, 0);
    EXPECT_EQ(TQ_GCD(h[0], h[1], h[2]), 0);
    EXPECT_EQ(get(2), 0);

    put(0, 4), put(1, 6);
    EXPECT_EQ(TQ_LCM(h[0], h[1], h[2]), 0);
    EXPECT_EQ(get(2), 12);
    put(0, -4);
    EXPECT_EQ(TQ_LCM(h[0], h[1], h[2]), 0);
    EXPECT_EQ(get(2), 12);
    put(0, 0), put(1, 5);
    EXPECT_EQ(TQ_LCM(h[0], h[1], h[2]), 0);
    EXPECT_EQ(get(2), 0);

    put(0, 3), put(1, 11);
    EXPECT_EQ(TQ_MODINV(h[0], h[1], h[2]), 0);
    EXPECT_EQ(get(2), 4);
    put(0, 10), put(1, 17);
    EXPECT_EQ(TQ_MODINV(h[0], h[1], h[2]), 0);
    EXPECT_EQ(get(2), 12);
    put(0, 6), put(1, 9);
    EXPECT_EQ(TQ_MODINV(h[0], h[1], h[2]), tq_Err_NoInverse);
    EXPECT_EQ(TQ_GETGLOBALERROR() & tq_Err_NoInverse, static_cast<uint32_t>(tq_Err_NoInverse));

    put(0, 240), put(1, 46);
    EXPECT_EQ(TQ_EXTEUCLIDALGO(h[0], h[1], h[2], h[3], h[4]), 0);
    EXPECT_EQ(get(2), -9);
    EXPECT_EQ(get(3), 47);
    EXPECT_EQ(get(4), 2);
    put(0, 5), put(1, 0);
    EXPECT_EQ(TQ_EXTEUCLIDALGO(h[0], h[1], h[2], h[3], h[4]), 0);
    EXPECT_EQ(get(2), 1);
    EXPECT_EQ(get(3), 0);
    EXPECT_EQ(get(4), 5);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0u);
}

TEST_F(NumberTheory, lcm_of_two_zeros_is_zero_without_dividing) {
    put(0, 0), put(1, 0), put(2, 77);
    EXPECT_EQ(TQ_LCM(h[0], h[1], h[2]), 0);
    EXPECT_EQ(get(2), 0);
    expectTrimmed(2);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0u);
}

TEST_F(NumberTheory, modinv_modulo_zero_reports_no_inverse) {
    for (long v : {0L, 1L, -1L, 7L}) {
        put(0, v), put(1, 0), put(2, 99);
        EXPECT_EQ(TQ_MODINV(h[0], h[1], h[2]), tq_Err_NoInverse);
        EXPECT_EQ(get(2), 0);
        EXPECT_EQ(TQ_GETGLOBALERROR(), static_cast<uint32_t>(tq_Err_NoInverse));
    }
}

// A negative operand can make the truncating recurrence end on the gcd -1;
// the inverse exists all the same and is found.
TEST_F(NumberTheory, modinv_of_negative_operand_ending_on_gcd_minus_one) {
    put(0, -1), put(1, 5);
    EXPECT_EQ(TQ_MODINV(h[0], h[1], h[2]), 0);
    EXPECT_EQ(get(2), 4);
    put(0, -3), put(1, 7);  // -3 * 2 = -6 = 1 mod 7
    EXPECT_EQ(TQ_MODINV(h[0], h[1], h[2]), 0);
    EXPECT_EQ(get(2), 2);
}

TEST_F(NumberTheory, RefusesOtherKinds) {
    const int32_t d = TQ_ALLOCVAR(TarqDecFloat), f = TQ_ALLOCVAR(TarqFraction);
    put(0, 12), put(1, 18), put(2, 5);
    EXPECT_EQ(TQ_GCD(d, d, d), tq_Err_Type);
    EXPECT_EQ(TQ_GCD(h[0], d, h[2]), tq_Err_Type);
    EXPECT_EQ(TQ_LCM(h[0], h[1], f), tq_Err_Type);
    EXPECT_EQ(TQ_MODINV(f, f, f), tq_Err_Type);
    EXPECT_EQ(TQ_EXTEUCLIDALGO(h[0], h[1], h[2], d, h[3]), tq_Err_Type);
    EXPECT_EQ(TQ_EXTEUCLIDALGO(d, d, d, d, d), tq_Err_Type);
    EXPECT_EQ(get(2), 5);  // left unchanged
    EXPECT_EQ(TQ_GETGLOBALERROR(), static_cast<uint32_t>(tq_Err_Type));
    EXPECT_EQ(TQ_GCD(h[0], h[1], 999999), tq_Err_Handle);
    EXPECT_EQ(TQ_EXTEUCLIDALGO(h[0], h[1], h[2], h[3], -1), tq_Err_Handle);
    TQ_GETGLOBALERROR();
    TQ_UNALLOCVAR(d);
    TQ_UNALLOCVAR(f);
}

TEST_F(NumberTheory, SpecialOperandIsInvalid) {
    put(0, 12), put(1, 18);
    TQ_GETCONST(31, h[0]);  // plus infinity
    EXPECT_EQ(TQ_GCD(h[0], h[1], h[2]) & tq_Err_Invalid, tq_Err_Invalid);
    EXPECT_EQ(TQ_MODINV(h[1], h[0], h[2]) & tq_Err_Invalid, tq_Err_Invalid);
    EXPECT_EQ(TQ_EXTEUCLIDALGO(h[0], h[1], h[2], h[3], h[4]) & tq_Err_Invalid, tq_Err_Invalid);
    TQ_GETGLOBALERROR();
}

TEST_F(NumberTheory, GcdLcmAgainstGmp) {
    for (int words : kSizes) {
        for (int rep = 0; rep < 12; ++rep) {
            randomOperand(a, words);
            randomOperand(b, 1 + static_cast<int>(gmp_urandomm_ui(rs, static_cast<unsigned long>(words) + 1)));
            putZ(0, a), putZ(1, b);
            ASSERT_EQ(TQ_GCD(h[0], h[1], h[2]), 0);
            mpz_gcd(want, a, b);
            getMpz(2, got);
            ASSERT_EQ(mpz_cmp(want, got), 0) << words;
            expectTrimmed(2);
            ASSERT_EQ(TQ_LCM(h[0], h[1], h[2]), 0);
            mpz_lcm(want, a, b);
            getMpz(2, got);
            ASSERT_EQ(mpz_cmp(want, got), 0) << words;
            expectTrimmed(2);
        }
    }
    // Operands with a large common factor.
    for (int words : {2, 9, 40}) {
        mpz_urandomb(t, rs, static_cast<mp_bitcnt_t>(32 * words));
        mpz_urandomb(a, rs, 64);
        mpz_urandomb(b, rs, 100);
        mpz_mul(a, a, t), mpz_mul(b, b, t);
        putZ(0, a), putZ(1, b);
        ASSERT_EQ(TQ_GCD(h[0], h[1], h[2]), 0);
        mpz_gcd(want, a, b);
        getMpz(2, got);
        ASSERT_EQ(mpz_cmp(want, got), 0);
    }
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0u);
}

TEST_F(NumberTheory, ModInvAgainstGmp) {
    int invertible = 0, notInvertible = 0;
    for (int words : kSizes) {
        for (int rep = 0; rep < 10; ++rep) {
            randomOperand(a, words);
            mpz_t m;
            mpz_init(m);
            do {
                mpz_urandomb(m, rs, static_cast<mp_bitcnt_t>(32 * (1 + gmp_urandomm_ui(rs, words))));
            } while (mpz_cmp_ui(m, 1) <= 0);
            if (rep % 3 == 0) mpz_setbit(m, 0);  // odd moduli: more inverses
            putZ(0, a), putZ(1, m);
            const int32_t st = TQ_MODINV(h[0], h[1], h[2]);
            getMpz(2, got);
            if (mpz_invert(want, a, m)) {
                ++invertible;
                ASSERT_EQ(st, 0);
                ASSERT_EQ(mpz_cmp(want, got), 0) << words;
                // A negative modulus gives an inverse as well (not lifted into range).
                mpz_neg(t, m);
                putZ(1, t);
                ASSERT_EQ(TQ_MODINV(h[0], h[1], h[2]), 0);
                getMpz(2, got);
                mpz_mul(got, got, a);
                mpz_sub_ui(got, got, 1);
                ASSERT_TRUE(mpz_divisible_p(got, m));
            } else {
                ++notInvertible;
                ASSERT_EQ(st, tq_Err_NoInverse);
            }
            expectTrimmed(2);
            mpz_clear(m);
        }
    }
    EXPECT_GT(invertible, 50);
    EXPECT_GT(notInvertible, 10);
    TQ_GETGLOBALERROR();
}

TEST_F(NumberTheory, ExtEuclidAgainstGmp) {
    for (int words : kSizes) {
        for (int rep = 0; rep < 10; ++rep) {
            randomOperand(a, words);
            randomOperand(b, 1 + static_cast<int>(gmp_urandomm_ui(rs, static_cast<unsigned long>(words) + 1)));
            putZ(0, a), putZ(1, b);
            ASSERT_EQ(TQ_EXTEUCLIDALGO(h[0], h[1], h[2], h[3], h[4]), 0);
            mpz_t x, y, g, s;
            mpz_inits(x, y, g, s, nullptr);
            getMpz(2, x), getMpz(3, y), getMpz(4, g);
            // a x + b y = g, |g| = gcd(a, b)
            mpz_mul(s, a, x);
            mpz_addmul(s, b, y);
            ASSERT_EQ(mpz_cmp(s, g), 0) << words;
            mpz_gcdext(want, nullptr, nullptr, a, b);
            mpz_abs(t, g);
            ASSERT_EQ(mpz_cmp(t, want), 0) << words;
            // Euclid's cofactors stay small: |x| <= |b| / gcd and |y| <= |a| / gcd.
            if (mpz_sgn(want) != 0 && mpz_sgn(a) != 0 && mpz_sgn(b) != 0) {
                mpz_tdiv_q(s, b, want), mpz_abs(s, s);
                mpz_abs(t, x);
                ASSERT_LE(mpz_cmp(t, s), 0);
                mpz_tdiv_q(s, a, want), mpz_abs(s, s);
                mpz_abs(t, y);
                ASSERT_LE(mpz_cmp(t, s), 0);
            }
            // For positive operands the cofactors are GMP's.
            if (mpz_sgn(a) > 0 && mpz_sgn(b) > 0 && mpz_cmp(a, b) > 0 && mpz_cmp_ui(want, 1) == 0) {
                mpz_t gx, gy;
                mpz_inits(gx, gy, nullptr);
                mpz_gcdext(want, gx, gy, a, b);
                EXPECT_EQ(mpz_cmp(gx, x), 0);
                EXPECT_EQ(mpz_cmp(gy, y), 0);
                mpz_clears(gx, gy, nullptr);
            }
            for (int i = 2; i < 5; ++i) expectTrimmed(i);
            mpz_clears(x, y, g, s, nullptr);
        }
    }
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0u);
}

// One handle as operand and result at once: the operands are copies.
TEST_F(NumberTheory, ResultMayBeAnOperand) {
    put(0, 84), put(1, 36);
    EXPECT_EQ(TQ_GCD(h[0], h[1], h[0]), 0);
    EXPECT_EQ(get(0), 12);
    put(0, 7), put(1, 40);
    EXPECT_EQ(TQ_MODINV(h[0], h[1], h[1]), 0);
    EXPECT_EQ(get(1), 23);
    put(0, 240), put(1, 46);
    EXPECT_EQ(TQ_EXTEUCLIDALGO(h[0], h[1], h[0], h[1], h[4]), 0);
    EXPECT_EQ(get(0), -9);
    EXPECT_EQ(get(1), 47);
    EXPECT_EQ(get(4), 2);
}

}  // namespace
