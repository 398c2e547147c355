// The threaded Karatsuba multiplication against GMP: random and adversarial
// operands, balanced and unbalanced lengths, low thresholds that force deep
// recursion, with 0, 1 and several workers and with thread creation failing.
// The running count must come back to 0 and operands stay unchanged.
#include <gtest/gtest.h>

#include <random>

#include "kernel_harness.h"
#include "kernels/mul.h"
#include "kernels/mul_threaded.h"

namespace {

// Initialises the library, then saves the thread settings; sub-products of
// every size may go to workers while it lives, so that small operands
// exercise the threads too.
class MulThreadedCases : public ::testing::Test {
    struct Init {
        Init() { tq_EnsureInit(); }
    } init;

  protected:
    KernelSettingsGuard kernels;
    SetGlobal threadMin{gTq_Threshold_Mul_ThreadMin, 0}, maxThreads{gTq_MaxThreads, gTq_MaxThreads},
        t5{gTq_Threshold_Mul_Karatsuba2Way_V5, gTq_Threshold_Mul_Karatsuba2Way_V5},
        fail{gTq_Debug_FailThreadStart, gTq_Debug_FailThreadStart};
};
struct MulThreaded : MulThreadedCases, ::testing::WithParamInterface<int32_t> {};

// Checks V5 against GMP; returns the workers started.
int32_t checkProduct(const TqStr &A, const TqStr &B, int32_t trim = 1) {
    const TqStr keepA = A, keepB = B;
    TqStr r;
    gTq_Debug_TotalThreadsCreated = 0;
    int32_t t = trim;
    h_Mul_Karatsuba2Way_V5(A, B, t, r);
    EXPECT_EQ(A, keepA);
    EXPECT_EQ(B, keepB);
    Mpz a(A), b(B), want, got(r);
    mpz_mul(want, a, b);
    EXPECT_EQ(mpz_cmp(want, got), 0) << "lengths " << A.size() << " x " << B.size();
    if (trim) {
        EXPECT_TRUE(tq_IsTrimmed(r));
    } else if (A.size() > size_t(gTq_Threshold_Mul_Karatsuba2Way_V5) ||
               B.size() > size_t(gTq_Threshold_Mul_Karatsuba2Way_V5)) {
        EXPECT_EQ(r.size(), A.size() + B.size());
    }
    EXPECT_EQ(gTq_RunningThreads.load(), 0);
    return gTq_Debug_TotalThreadsCreated.load();
}

}  // namespace

TEST_P(MulThreaded, RandomAndAdversarialOperands) {
    gTq_MaxThreads = GetParam();
    std::mt19937_64 rng(4242 + GetParam());
    for (int32_t t5 : {16, 48, 200}) {
        gTq_Threshold_Mul_Karatsuba2Way_V5 = t5;
        for (int p = 0; p < static_cast<int>(MagPattern::kCount); ++p) {
            for (int rep = 0; rep < 3; ++rep) {
                const int32_t na = 1 + static_cast<int32_t>(rng() % 300);
                const int32_t nb = 1 + static_cast<int32_t>(rng() % 300);
                checkProduct(tq_RandomMag(rng, na, MagPattern(p)), tq_RandomMag(rng, nb, MagPattern(p)));
                checkProduct(tq_RandomMag(rng, na, MagPattern(p)), tq_RandomMag(rng, na, MagPattern::Random), 0);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Workers, MulThreaded, ::testing::Values(0, 1, 3));

TEST_F(MulThreadedCases, ShapesThatTakeEveryBranch) {
    gTq_MaxThreads = 2;
    gTq_Threshold_Mul_Karatsuba2Way_V5 = 16;
    std::mt19937_64 rng(7);
    // One word against a long operand: only the long one is split, every level.
    checkProduct(tq_RandomMag(rng, 1), tq_RandomMag(rng, 500));
    checkProduct(tq_RandomMag(rng, 700), tq_MagFromWords({0xFFFFFFFFu}));
    // Equal halves (the difference products vanish).
    TqStr half = tq_RandomMag(rng, 64);
    checkProduct(half + half, half + half);
    checkProduct(half + half, tq_RandomMag(rng, 20));
    // A zero operand, zero halves, zero high words in a half.
    checkProduct(TqStr(400, '\0'), tq_RandomMag(rng, 100));
    checkProduct(TqStr(200, '\0') + tq_RandomMag(rng, 50), tq_RandomMag(rng, 100) + TqStr(200, '\0'));
    checkProduct(tq_RandomMag(rng, 30) + TqStr(300, '\0') + tq_MagFromWords({1}), tq_RandomMag(rng, 90));
    // Lengths around the threshold and the split point.
    for (int32_t na : {3, 4, 5, 7, 8, 9, 15, 16, 17})
        for (int32_t nb : {1, 4, 5, 8, 9, 16, 17, 33}) checkProduct(tq_RandomMag(rng, na), tq_RandomMag(rng, nb));
    // Maximal carries.
    checkProduct(tq_RandomMag(rng, 257, MagPattern::AllOnes), tq_RandomMag(rng, 255, MagPattern::AllOnes));
    checkProduct(tq_RandomMag(rng, 400, MagPattern::AllOnes), tq_RandomMag(rng, 33, MagPattern::AllOnes));
}

TEST_F(MulThreadedCases, WorkersAreUsedAndBounded) {
    gTq_Threshold_Mul_Karatsuba2Way_V5 = 64;
    std::mt19937_64 rng(11);
    const TqStr a = tq_RandomMag(rng, 3000), b = tq_RandomMag(rng, 2500);
    gTq_MaxThreads = 0;
    EXPECT_EQ(checkProduct(a, b), 0);
    gTq_MaxThreads = 1;
    EXPECT_GE(checkProduct(a, b), 1);
    gTq_MaxThreads = 3;
    EXPECT_GE(checkProduct(a, b), 2);
    // Sub-products below the floor stay on the calling thread.
    gTq_Threshold_Mul_ThreadMin = 1 << 20;
    EXPECT_EQ(checkProduct(a, b), 0);
}

// Creation failures fall back to the calling thread and give the count back.
TEST_F(MulThreadedCases, ThreadsThatCannotStart) {
    gTq_Threshold_Mul_Karatsuba2Way_V5 = 32;
    gTq_MaxThreads = 3;
    gTq_Debug_FailThreadStart = 1;
    std::mt19937_64 rng(12);
    EXPECT_EQ(checkProduct(tq_RandomMag(rng, 900), tq_RandomMag(rng, 700)), 0);
    EXPECT_EQ(checkProduct(tq_RandomMag(rng, 900), tq_RandomMag(rng, 7)), 0);
}

// A large product across the typical sizes of the benchmark, both limb paths.
TEST_F(MulThreadedCases, LargeOperandsBothLimbPaths) {
    gTq_MaxThreads = 1;
    gTq_Threshold_Mul_Karatsuba2Way_V5 = 256;
    std::mt19937_64 rng(13);
    for (int32_t limb : tq_LimbPaths()) {
        gTq_Kernel_Limb64 = limb;
        checkProduct(tq_RandomMag(rng, 6000), tq_RandomMag(rng, 4100));
        checkProduct(tq_RandomMag(rng, 5000, MagPattern::BitRuns), tq_RandomMag(rng, 5000, MagPattern::TopBitOnes));
    }
}

// Below the threshold the schoolbook kernel runs and the product is trimmed
// whatever the flag says; a threshold under one word still terminates.
TEST_F(MulThreadedCases, SmallOperandsAndTinyThreshold) {
    gTq_MaxThreads = 1;
    gTq_Threshold_Mul_Karatsuba2Way_V5 = 64;
    TqStr r;
    int32_t trim = 0;
    h_Mul_Karatsuba2Way_V5(tq_MagFromWords({5, 0, 0}), tq_MagFromWords({7, 0}), trim, r);
    EXPECT_EQ(r, tq_MagFromWords({35}));
    gTq_Threshold_Mul_Karatsuba2Way_V5 = 0;  // falls back to a usable threshold
    std::mt19937_64 rng(14);
    checkProduct(tq_RandomMag(rng, 100), tq_RandomMag(rng, 90));
    // One-word base case: every split down to single words, odd and even.
    gTq_Threshold_Mul_Karatsuba2Way_V5 = 4;
    for (int32_t na = 1; na <= 24; ++na)
        for (int32_t nb : {1, 2, 3, 5, 8, 13, 24}) checkProduct(tq_RandomMag(rng, na), tq_RandomMag(rng, nb));
}
