// h_Gcd against GMP: random operands with planted common factors, both
// argument orders, zero operands, unbalanced lengths, the all-quotients-one
// chain of Fibonacci numbers, and both limb widths.
#include <gtest/gtest.h>

#include "kernel_harness.h"
#include "kernels/divmod.h"

namespace {

void expectGcd(const TqStr &A, const TqStr &B) {
    TqStr r1, r2;
    h_Gcd(A, B, r1);
    h_Gcd(B, A, r2);
    Mpz a(A), b(B), g;
    mpz_gcd(g, a, b);
    ASSERT_EQ(r1, magOf(g)) << "A=" << hexOf(A) << " B=" << hexOf(B);
    ASSERT_EQ(r2, r1) << "argument order changes the gcd";
}

TEST(Gcd, EdgeCases) {
    // zeros, both orders, operands with high zero words
    expectGcd(tq_Word(0), tq_Word(12));
    expectGcd(tq_Word(0), tq_Word(0));
    expectGcd(tq_Word(12), tq_Word(18));
    expectGcd(tq_Word(12) + TqStr(8, '\0'), tq_Word(18) + TqStr(4, '\0'));
}

class GcdRandom : public LimbPathTest {};

TEST_P(GcdRandom, WithCommonFactors) {
    {
        std::mt19937_64 g(8008 + GetParam());
        for (int32_t n : {1, 2, 3, 5, 9, 17, 40}) {
            for (int rep = 0; rep < 4; ++rep) {
                TqStr c = randMag(g, 1 + static_cast<int32_t>(g() % n));
                Mpz a(randMag(g, n)), b(randMag(g, n + static_cast<int32_t>(g() % 3))), cc(c);
                expectGcd(magOf(a), magOf(b));
                mpz_mul(a, a, cc);
                mpz_mul(b, b, cc);
                expectGcd(magOf(a), magOf(b));
            }
        }
        // Consecutive Fibonacci numbers: the longest chain of remainders.
        Mpz f1, f2;
        mpz_fib2_ui(f1, f2, 1500);
        expectGcd(magOf(f1), magOf(f2));
        // Unbalanced lengths, all-ones words, long operands with a planted factor.
        for (int32_t n : {1, 2, 3, 4}) expectGcd(randMag(g, 120), randMag(g, n));
        expectGcd(fillMag(50, 0xFFFFFFFFu), fillMag(20, 0xFFFFFFFFu));
        expectGcd(fillMag(50, 0xFFFFFFFFu), fillMag(49, 0xFFFFFFFFu));
        {
            Mpz a(randMag(g, 1500)), b(randMag(g, 1490)), c(randMag(g, 300));
            mpz_mul(a, a, c);
            mpz_mul(b, b, c);
            expectGcd(magOf(a), magOf(b));
        }
        // Consecutive values and a multiple of the other operand.
        {
            Mpz a(randMag(g, 40)), b;
            mpz_add_ui(b, a, 1);
            expectGcd(magOf(a), magOf(b));
            mpz_mul_ui(b, a, 12345);
            expectGcd(magOf(a), magOf(b));
        }
        // Equal operands and a power of two against an odd number.
        TqStr x = randMag(g, 30);
        expectGcd(x, x);
        Mpz p;
        mpz_setbit(p, 1000);
        expectGcd(magOf(p), fillMag(10, 0xFFFFFFFFu));
    }
}

TQ_ON_LIMB_PATHS(GcdRandom);

}  // namespace
