// h_Pow against GMP: small and multi-word bases and exponents, zero and one,
// and exponents with high zero words.
#include <gtest/gtest.h>

#include "kernel_harness.h"
#include "kernels/pow.h"

namespace {

TEST(Pow, EdgeCases) {
    TqStr r;
    for (TqStr b : {tq_Word(0), tq_Word(1), tq_Word(7), fillMag(4, 0xFFFFFFFFu)}) {
        h_Pow(b, tq_Word(0), r);
        EXPECT_EQ(r, tq_Word(1));
        h_Pow(b, TqStr(8, '\0'), r);
        EXPECT_EQ(r, tq_Word(1));
        h_Pow(b, tq_Word(1), r);
        Mpz bb(b);
        EXPECT_EQ(r, magOf(bb));
    }
    h_Pow(tq_Word(0), tq_Word(5), r);
    EXPECT_EQ(r, tq_Word(0));
    h_Pow(tq_Word(2), tq_Word(64), r);
    TqStr expect(12, '\0');
    tq_W(expect)[2] = 1;
    EXPECT_EQ(r, expect);
    EXPECT_EQ(h_TopBit(tq_Word(0)), -1);
    EXPECT_EQ(h_TopBit(TqStr(8, '\0') + tq_Word(1)), 64);
}

TEST(Pow, RandomAgainstGmp) {
    std::mt19937_64 g(9009);
    for (int32_t nb : {1, 2, 5, 20}) {
        for (unsigned long e : {2ul, 3ul, 10ul, 31ul, 64ul, 100ul, 257ul}) {
            TqStr b = randMag(g, nb), r;
            h_Pow(b, tq_Word(static_cast<uint32_t>(e)) + TqStr(4, '\0'), r);
            Mpz bb(b), p;
            mpz_pow_ui(p, bb, e);
            ASSERT_EQ(r, magOf(p)) << "nb=" << nb << " e=" << e;
        }
    }
    TqStr r;
    h_Pow(tq_Word(10), tq_Word(20000), r);
    Mpz p;
    mpz_ui_pow_ui(p, 10, 20000);
    EXPECT_EQ(r, magOf(p));
}

}  // namespace
