// Toom-3 and the number-theoretic transform, for products and squares: each
// kernel called directly and through the word dispatch with the thresholds
// set small, against GMP, on every operand pattern, at sizes around the
// three-way split and the transform's power-of-two lengths, balanced and
// unbalanced, with canary words after the result, on every limb path.
#include <gtest/gtest.h>

#include "kernel_harness.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"

namespace {

class MulBig : public LimbPathTest {};

typedef void (*MulFn)(uint32_t *, const uint32_t *, int32_t, const uint32_t *, int32_t);
typedef void (*SqrFn)(uint32_t *, const uint32_t *, int32_t);

const uint32_t *words(const TqStr &s) { return reinterpret_cast<const uint32_t *>(s.data()); }

void checkMul(MulFn f, const TqStr &A, const TqStr &B) {
    const int32_t na = tq_NWords(A), nb = tq_NWords(B);
    const TqStr r = tq_Canaried(na + nb, [&](uint32_t *p) { f(p, words(A), na, words(B), nb); });
    ASSERT_EQ(r, magOfLen(Mpz(gmp2(mpz_mul, A, B)), na + nb)) << "na " << na << " nb " << nb;
}

void checkSqr(SqrFn f, const TqStr &A) {
    const int32_t n = tq_NWords(A);
    const TqStr r = tq_Canaried(2 * n, [&](uint32_t *p) { f(p, words(A), n); });
    ASSERT_EQ(r, magOfLen(Mpz(gmp2(mpz_mul, A, A)), 2 * n)) << "n " << n;
}

// Small thresholds: the dispatch recurses through Karatsuba, Toom-3 and the
// transform within a few hundred words.
void smallThresholds() {
    gTq_Threshold_Mul_Karatsuba2Way = gTq_Threshold_Square_Karatsuba = 16;
    gTq_Threshold_Mul_Toom3 = gTq_Threshold_Square_Toom3 = 40;
    gTq_Threshold_Mul_Ntt = gTq_Threshold_Square_Ntt = 800;
}

TEST_P(MulBig, Toom3AroundTheSplit) {
    std::mt19937_64 rng(100 + GetParam());
    smallThresholds();
    gTq_Threshold_Mul_Ntt = gTq_Threshold_Square_Ntt = 1 << 30;
    // n = 3k, 3k - 1, 3k - 2 (the top part one or two words short), and an
    // operand just long enough for the shorter one's top part to be non-empty.
    tq_ForOperandPairs(rng, {5, 6, 7, 8, 9, 10, 11, 31, 32, 33, 64}, [](const TqStr &A, const TqStr &B) {
        if (A.size() >= 20 && B.size() >= 20) checkMul(tq_MulToom3, A, B);
        checkMul(tq_MulWords, A, B);
    });
    tq_ForOperands(rng, {5, 6, 7, 9, 10, 11, 12, 13, 14, 40, 41, 42, 121}, [](const TqStr &A) {
        checkSqr(tq_SqrToom3, A);
        checkSqr(tq_SqrWords, A);
    });
    // Unbalanced: the shorter operand below, at and above two thirds of the
    // longer one (pieces or a three-way split).
    for (int32_t na : {30, 99, 300})
        for (int32_t nb : {5, na / 3, 2 * ((na + 2) / 3), 2 * ((na + 2) / 3) + 1, na - 1})
            for (auto p : {MagPattern::Random, MagPattern::AllOnes, MagPattern::BitRuns})
                checkMul(tq_MulToom3, tq_RandomMag(rng, na, p), tq_RandomMag(rng, nb, p));
}

TEST_P(MulBig, TransformLengthsAndLargestCoefficients) {
    std::mt19937_64 rng(200 + GetParam());
    // na + nb - 1 at, below and above powers of two; all-ones operands give
    // the largest coefficients the recombination has to carry.
    for (int32_t n : {1, 2, 3, 16, 17, 64, 65, 512, 513})
        for (int32_t d : {-1, 0, 1}) {
            if (n + d < 1) continue;
            for (auto p : {MagPattern::Random, MagPattern::AllOnes, MagPattern::TopBitOnes, MagPattern::Sparse}) {
                checkMul(tq_MulNtt, tq_RandomMag(rng, n, p), tq_RandomMag(rng, n + d, p));
                checkSqr(tq_SqrNtt, tq_RandomMag(rng, n, p));
            }
        }
    // Every transform length up to 2^16 words of product, just above each power of two.
    for (int32_t n = 1024; n <= 32768; n *= 2) checkMul(tq_MulNtt, tq_RandomMag(rng, n / 2 + 1), tq_RandomMag(rng, n / 2));
    checkMul(tq_MulNtt, tq_RandomMag(rng, 1, MagPattern::AllOnes), tq_RandomMag(rng, 3000, MagPattern::AllOnes));
    checkMul(tq_MulNtt, tq_RandomMag(rng, 333, MagPattern::BitRuns), tq_RandomMag(rng, 4097, MagPattern::LowZeros));
    tq_ForRandomPairs(rng, 30, 700, [](const TqStr &A, const TqStr &B) { checkMul(tq_MulNtt, A, B); });
}

TEST_P(MulBig, DispatchAcrossAllThresholds) {
    std::mt19937_64 rng(300 + GetParam());
    smallThresholds();
    // The shorter operand around each crossover, with longer partners.
    tq_ForOperandPairs(rng, {3, 4, 5, 9, 10, 11, 199, 200, 201, 900}, [](const TqStr &A, const TqStr &B) {
        checkMul(tq_MulWords, A, B);
    });
    tq_ForOperands(rng, {4, 5, 10, 199, 200, 201, 1500}, [](const TqStr &A) { checkSqr(tq_SqrWords, A); });
}

TEST_P(MulBig, LargeOperandsWithTheDefaultThresholds) {
    std::mt19937_64 rng(400 + GetParam());
    checkMul(tq_MulWords, tq_RandomMag(rng, 40000, MagPattern::AllOnes), tq_RandomMag(rng, 40000, MagPattern::AllOnes));
    checkMul(tq_MulWords, tq_RandomMag(rng, 70000), tq_RandomMag(rng, 9000, MagPattern::BitRuns));
    checkSqr(tq_SqrWords, tq_RandomMag(rng, 50001));
    checkMul(tq_MulWords, tq_RandomMag(rng, 20000), tq_RandomMag(rng, 20000));
    checkSqr(tq_SqrWords, tq_RandomMag(rng, 20000));
    checkMul(tq_MulWords, tq_RandomMag(rng, 4152), tq_RandomMag(rng, 16610));
    checkSqr(tq_SqrWords, tq_RandomMag(rng, 9999, MagPattern::AllOnes));
    checkMul(tq_MulToom3, tq_RandomMag(rng, 6000), tq_RandomMag(rng, 5000, MagPattern::OnesTopBit));
}

TEST(MulBigLimits, TransformFitsUpToItsLongestLength) {
    EXPECT_TRUE(tq_NttFits(1, 1));
    EXPECT_TRUE(tq_NttFits(1 << 23, (1 << 23) + 1));
    EXPECT_FALSE(tq_NttFits(1 << 23, (1 << 23) + 2));
    EXPECT_FALSE(tq_NttFits(0, 5));
}

// The 64-bit limb paths give the same words as the 32-bit path (checked
// directly, besides each agreeing with GMP): products and squares of the
// string kernels with low Karatsuba and column thresholds, and the word
// dispatch through Toom-3 and the transform.
TEST(LimbPaths, AllGiveIdenticalWords) {
    KernelSettingsGuard guard;
    std::mt19937_64 rng(15);
    gTq_Threshold_Mul_Karatsuba2Way = 12;
    gTq_Threshold_Square_Comba = 8;
    gTq_Threshold_Square_Karatsuba = 24;
    tq_ForRandomPairs(rng, 100, 90, [](const TqStr &A, const TqStr &B) {
        tq_ExpectSameOnAllPaths([&] {
            int32_t t = 0;
            TqStr r, sq;
            h_Mul(A, B, t, r);
            h_Square(A, sq);
            return r + sq;
        });
    });
    smallThresholds();
    tq_ForRandomPairs(rng, 20, 1200, [](const TqStr &A, const TqStr &B) {
        tq_ExpectSameOnAllPaths([&] {
            const int32_t na = tq_NWords(A), nb = tq_NWords(B);
            TqStr r(static_cast<size_t>(na + nb) * 4, '\0');
            tq_MulWords(tq_W(r), words(A), na, words(B), nb);
            return r;
        });
    });
}

TQ_ON_LIMB_PATHS(MulBig);

}  // namespace
