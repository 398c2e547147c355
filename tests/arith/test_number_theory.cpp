// Number theory exports against GMP: gcd, lcm, modular inverse and the
// extended Euclidean algorithm on random big integers of many sizes and both
// signs, plus the fixed cases and the refusals.
#include <vector>

#include "arith_harness.h"
#include "mag_gmp.h"

namespace {

class NumberTheory : public ::testing::Test {
protected:
    void SetUp() override {
        TQ_SETPRECISION(1, 38);
        TQ_GETGLOBALERROR();
        for (int i = 0; i < 5; ++i) h[i] = TQ_ALLOCVAR(TarqBigInt);
    }
    void TearDown() override {
        for (int i = 0; i < 5; ++i) TQ_UNALLOCVAR(h[i]);
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
    // The results are big integers with trimmed magnitudes and a canonical zero.
    void expectTrimmed(int i) {
        const TqNum &v = tqg_Get(h[i]);
        EXPECT_TRUE(tq_IsTrimmed(v.MantN));
        EXPECT_TRUE(v.MantN != tq_Word(0) || v.V.Sign == 1);
        EXPECT_EQ(v.V.InUse, 1);
        EXPECT_EQ(v.V.NumType, TarqBigInt);
    }

    int32_t h[5];
    Mpz a, b, want, got, t;
    TqRng g{20261207};
};

// Sizes from one word to a few hundred, many small and few large.
const int kSizes[] = {1, 1, 2, 2, 3, 4, 5, 7, 8, 9, 16, 17, 31, 64, 100, 257};

// Fixed cases: the operation, a and b, the status and the results (for the
// extended algorithm x, y and the gcd). The handle list says which of the
// five handles are operands and results, so that one handle may be both.
TEST_F(NumberTheory, FixedCases) {
    enum Op { Gcd, Lcm, Inv, Ext };
    struct Case {
        Op op;
        long a, b;
        int32_t status;
        std::vector<long> want;
        std::vector<int> at = {0, 1, 2, 3, 4};  // a, b, results
    } cases[] = {
        {Gcd, 12, -18, 0, {6}}, {Gcd, 0, 5, 0, {5}}, {Gcd, 0, 0, 0, {0}}, {Lcm, 4, 6, 0, {12}}, {Lcm, -4, 6, 0, {12}},
        {Lcm, 0, 5, 0, {0}},
        {Lcm, 0, 0, 0, {0}},  // two zeros: zero without dividing
        {Inv, 3, 11, 0, {4}}, {Inv, 10, 17, 0, {12}}, {Inv, 6, 9, tq_Err_NoInverse, {}},
        // modulo zero: no inverse, the result zero
        {Inv, 0, 0, tq_Err_NoInverse, {0}}, {Inv, 1, 0, tq_Err_NoInverse, {0}}, {Inv, -1, 0, tq_Err_NoInverse, {0}},
        {Inv, 7, 0, tq_Err_NoInverse, {0}},
        // a negative operand can make the truncating recurrence end on the gcd
        // -1; the inverse exists all the same (-3 * 2 = 1 mod 7)
        {Inv, -1, 5, 0, {4}}, {Inv, -3, 7, 0, {2}},
        {Ext, 240, 46, 0, {-9, 47, 2}}, {Ext, 5, 0, 0, {1, 0, 5}},
        // one handle as operand and result at once: the operands are copies
        {Gcd, 84, 36, 0, {12}, {0, 1, 0}}, {Inv, 7, 40, 0, {23}, {0, 1, 1}},
        {Ext, 240, 46, 0, {-9, 47, 2}, {0, 1, 0, 1, 4}},
    };
    for (const Case &c : cases) {
        put(c.at[2], 77), put(c.at[0], c.a), put(c.at[1], c.b);
        TQ_GETGLOBALERROR();
        const std::vector<int> &i = c.at;
        const int32_t st = c.op == Gcd   ? TQ_GCD(h[i[0]], h[i[1]], h[i[2]])
                           : c.op == Lcm ? TQ_LCM(h[i[0]], h[i[1]], h[i[2]])
                           : c.op == Inv ? TQ_MODINV(h[i[0]], h[i[1]], h[i[2]])
                                         : TQ_EXTEUCLIDALGO(h[i[0]], h[i[1]], h[i[2]], h[i[3]], h[i[4]]);
        EXPECT_EQ(st, c.status) << "op " << c.op << " of " << c.a << ", " << c.b;
        EXPECT_EQ(TQ_GETGLOBALERROR(), static_cast<uint32_t>(c.status));
        for (size_t k = 0; k < c.want.size(); ++k) {
            EXPECT_EQ(get(i[2 + k]), c.want[k]) << "op " << c.op << " of " << c.a << ", " << c.b << " result " << k;
            expectTrimmed(i[2 + k]);
        }
    }
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

// gcd, lcm, the modular inverse and the extended algorithm of one random
// pair (the modulus of the inverse made positive, every third one odd);
// operands with a large common factor.
TEST_F(NumberTheory, RandomAgainstGmp) {
    int invertible = 0, notInvertible = 0;
    for (int words : kSizes) {
        for (int rep = 0; rep < 12; ++rep) {
            tqt_RandMpz(g, a, words);
            tqt_RandMpz(g, b, 1 + static_cast<int>(g.ui(static_cast<unsigned long>(words) + 1)));
            if (rep < 3) {  // a large common factor
                mpz_urandomb(t, g.st, static_cast<mp_bitcnt_t>(32 * words));
                mpz_mul(a, a, t), mpz_mul(b, b, t);
            }
            putZ(0, a), putZ(1, b);
            ASSERT_EQ(TQ_GCD(h[0], h[1], h[2]), 0);
            mpz_gcd(want, a, b);
            getMpz(2, got);
            ASSERT_EQ(mpz_cmp(want, got), 0) << words;
            ASSERT_EQ(TQ_LCM(h[0], h[1], h[3]), 0);
            mpz_lcm(want, a, b);
            getMpz(3, got);
            ASSERT_EQ(mpz_cmp(want, got), 0) << words;
            for (int i = 2; i < 4; ++i) expectTrimmed(i);

            ASSERT_EQ(TQ_EXTEUCLIDALGO(h[0], h[1], h[2], h[3], h[4]), 0);
            Mpz x, y, g, s;
            getMpz(2, x), getMpz(3, y), getMpz(4, g);
            // a x + b y = g, |g| = gcd(a, b)
            mpz_mul(s, a, x);
            mpz_addmul(s, b, y);
            ASSERT_EQ(mpz_cmp(s, g), 0) << words;
            mpz_gcd(want, a, b);
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
            // For positive coprime operands the cofactors are GMP's.
            if (mpz_sgn(a) > 0 && mpz_sgn(b) > 0 && mpz_cmp(a, b) > 0 && mpz_cmp_ui(want, 1) == 0) {
                Mpz gx, gy;
                mpz_gcdext(want, gx, gy, a, b);
                EXPECT_EQ(mpz_cmp(gx, x), 0);
                EXPECT_EQ(mpz_cmp(gy, y), 0);
            }
            for (int i = 2; i < 5; ++i) expectTrimmed(i);

            // The inverse modulo |b| (or 2 for |b| <= 1); a negative modulus
            // gives an inverse as well (not lifted into range).
            mpz_abs(t, b);
            if (rep % 3 == 0) mpz_setbit(t, 0);
            if (mpz_cmp_ui(t, 1) <= 0) mpz_set_ui(t, 2);
            putZ(1, t);
            const int32_t st = TQ_MODINV(h[0], h[1], h[2]);
            getMpz(2, got);
            if (mpz_invert(want, a, t)) {
                ++invertible;
                ASSERT_EQ(st, 0);
                ASSERT_EQ(mpz_cmp(want, got), 0) << words;
                mpz_neg(t, t);
                putZ(1, t);
                ASSERT_EQ(TQ_MODINV(h[0], h[1], h[2]), 0);
                getMpz(2, got);
                mpz_mul(got, got, a);
                mpz_sub_ui(got, got, 1);
                ASSERT_TRUE(mpz_divisible_p(got, t));
            } else {
                ++notInvertible;
                ASSERT_EQ(st, tq_Err_NoInverse);
            }
            expectTrimmed(2);
        }
    }
    EXPECT_GT(invertible, 50);
    EXPECT_GT(notInvertible, 10);
    TQ_GETGLOBALERROR();
}

}  // namespace
