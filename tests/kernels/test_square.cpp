// Squaring: the dispatch, the column kernel and the Karatsuba squaring
// against GMP on random and adversarial operands, with the thresholds at,
// around and far below their defaults, for both limb paths; the untrimmed
// lengths of the string kernels.
#include <gtest/gtest.h>

#include "kernel_harness.h"
#include "kernels/addsub.h"
#include "kernels/mul.h"

namespace {

class Square : public LimbPathTest {};

TqStr oracleSqr(const TqStr &A) { return gmp2(mpz_mul, A, A); }

// Every squaring entry against GMP for one operand.
void checkSquare(const TqStr &A) {
    const TqStr expect = oracleSqr(A);
    TqStr r;
    h_Square(A, r);
    ASSERT_EQ(r, expect) << "h_Square, n " << A.size();
    int32_t t = 1;
    h_Square_Comba(A, t, r);
    ASSERT_EQ(r, expect) << "h_Square_Comba, n " << A.size();
    h_Square_Karatsuba(A, t, r);
    ASSERT_EQ(r, expect) << "h_Square_Karatsuba, n " << A.size();
}

TEST_P(Square, ListedEdgeCases) {
    gTq_Threshold_Mul_Karatsuba2Way = 300;  // as calibrated, whichever test runs first
    gTq_Threshold_Square_Comba = 48;
    gTq_Threshold_Square_Karatsuba = 500;
    TqStr r;
    int32_t t = 0;
    h_Square_Comba(W({0x12345678}), t, r);
    EXPECT_EQ(r, W({0x1DF4D840, 0x014B66DC}));
    for (int32_t comba : {0, 4, 8}) {
        gTq_Threshold_Square_Comba = comba;
        gTq_Threshold_Square_Karatsuba = 4;
        checkSquare(W({0xFFFFFFFF}));
        h_Square(W({0xFFFFFFFF}), r);
        EXPECT_EQ(r, W({1, 0xFFFFFFFE}));
        h_Square(W({0}), r);
        EXPECT_EQ(r, W({0}));
        h_Square(W({0, 0, 0}), r);
        EXPECT_EQ(r, W({0}));
        // An empty operand counts as zero and its trimmed square is one zero word.
        h_Square(TqStr(), r);
        EXPECT_EQ(r, W({0}));
    }
    for (int32_t kara : {0, 500}) {
        gTq_Threshold_Square_Karatsuba = kara;
        int32_t one = 1;
        h_Square_Karatsuba(TqStr(), one, r);
        EXPECT_EQ(r, W({0}));
        h_Square_Comba(TqStr(), one, r);
        EXPECT_EQ(r, W({0}));
        int32_t zero = 0;
        h_Mul(TqStr(), W({5}), one, r);
        EXPECT_EQ(r, W({0}));
        h_Mul(TqStr(), TqStr(), zero, r);
        EXPECT_EQ(r, TqStr());
    }
}

TEST_P(Square, UntrimmedLengths) {
    std::mt19937_64 rng(21);
    gTq_Threshold_Square_Comba = 16;
    gTq_Threshold_Square_Karatsuba = 40;
    TqStr r;
    int32_t t = 0;
    const TqStr odd = tq_RandomMag(rng, 13, MagPattern::HighZeros);
    h_Square_Comba(odd, t, r);
    EXPECT_EQ(r.size(), 104u);
    // An odd word count above the Karatsuba threshold is extended by a word.
    h_Square_Karatsuba(odd, t, r);
    EXPECT_EQ(r.size(), 112u);
    h_Trim(r);
    EXPECT_EQ(r, oracleSqr(odd));
    const TqStr even = tq_RandomMag(rng, 12);
    h_Square_Karatsuba(even, t, r);
    EXPECT_EQ(r.size(), 96u);
    const TqStr atThreshold = tq_RandomMag(rng, 9, MagPattern::HighZeros);  // 36 bytes: base case
    h_Square_Karatsuba(atThreshold, t, r);
    EXPECT_EQ(r.size(), 72u);
    h_Trim(r);
    EXPECT_EQ(r, oracleSqr(atThreshold));
    // At the column threshold the dispatch takes the column kernel, the
    // recursion's base case the schoolbook rows; both give the same square.
    gTq_Threshold_Square_Karatsuba = 4;
    checkSquare(tq_RandomMag(rng, 4));
}

TEST_P(Square, RandomAndAdversarialOperandsAcrossThresholds) {
    std::mt19937_64 rng(4000 + GetParam());
    const std::pair<int32_t, int32_t> settings[] = {{0, 4}, {8, 12}, {12, 12}, {16, 40}, {48, 500}, {400, 100}};
    for (auto [comba, kara] : settings) {
        gTq_Threshold_Square_Comba = comba;
        gTq_Threshold_Square_Karatsuba = kara;
        std::vector<int32_t> sizes = {1, 2, 3, 4, 5};
        for (int32_t tw : {comba / 4, kara / 4, kara / 2, kara})
            for (int32_t d : {-1, 0, 1}) sizes.push_back(tw + d);
        tq_ForOperands(rng, sizes, checkSquare);
        tq_ForRandomOperands(rng, 60, 500, checkSquare);
    }
}

TQ_ON_LIMB_PATHS(Square);

}  // namespace
