// h_Mant2Dec against mpz_get_str: small values around 10^9 and 10^18, random
// magnitudes of 1 to 20,000 words, values with long runs of zero digits, both
// limb widths and both sides of the direct-conversion threshold; the power
// cache's contents and growth.
#include <gtest/gtest.h>

#include "kernel_harness.h"
#include "kernels/mant2dec.h"

namespace {

std::string gmpDec(const TqStr &M) {
    Mpz z(M);
    std::string s(mpz_sizeinbase(z, 10) + 2, '\0');
    mpz_get_str(s.data(), 10, z);
    s.resize(std::strlen(s.c_str()));
    return s;
}

TqStr decMag(const char *dec) {
    Mpz z;
    mpz_set_str(z, dec, 10);
    return magOf(z);
}

void expectDec(const TqStr &M) {
    TqStr S;
    h_Mant2Dec(M, S);
    ASSERT_EQ(S, gmpDec(M)) << "words=" << tq_NWords(M);
}

TEST(Mant2Dec, EdgeCases) {
    // Zero (also empty and with zero words), both sides of 10^9 and 10^18,
    // the top word, high zero words.
    for (const TqStr &m : {tq_Word(0), TqStr(), TqStr(12, '\0'), tq_Word(999999999u), tq_Word(1000000000u),
                           tq_Word(0xFFFFFFFFu), decMag("1000000000000000000"), decMag("999999999999999999"),
                           tq_Word(42) + TqStr(40, '\0')})
        expectDec(m);
    // A byte string whose length is not a multiple of 4 is padded.
    TqStr S;
    h_Mant2Dec(TqStr("\x01\x02\x03", 3), S);
    EXPECT_EQ(S, "197121");
}

// Values with long runs of zero (and nine) digits exercise the zero-run path
// and the exact powers of the cache.
TEST(Mant2Dec, ZeroRunsAndPowers) {
    for (unsigned long e : {9ul, 17ul, 18ul, 19ul, 36ul, 144ul, 1152ul, 4608ul, 73728ul}) {
        Mpz p, x;
        mpz_ui_pow_ui(p, 10, e);
        expectDec(magOf(p));
        mpz_sub_ui(x, p, 1);
        expectDec(magOf(x));
        mpz_mul_ui(x, p, 7);
        mpz_add_ui(x, x, 3);
        expectDec(magOf(x));
        mpz_mul(x, p, p);
        mpz_add_ui(x, x, 5);
        expectDec(magOf(x));
    }
}

class Mant2DecRandom : public LimbPathTest {};

TEST_P(Mant2DecRandom, AgainstGmp) {
    std::mt19937_64 g(1212);
    for (int32_t n = 1; n <= 40; ++n) expectDec(randMag(g, n));
    for (int32_t n : {64, 100, 257, 600, 1500, 3000}) expectDec(randMag(g, n));
    {
        SetGlobal base(gTq_Threshold_Mant2Dec_Base, 0);
        for (int32_t n : {1, 2, 3, 5, 17, 70}) expectDec(randMag(g, n));
    }
    {
        SetGlobal base(gTq_Threshold_Mant2Dec_Base, 200);
        for (int32_t n : {150, 450}) expectDec(randMag(g, n));
    }
    {
        SetGlobal dc(gTq_Threshold_Div_DC, 8);
        expectDec(randMag(g, 900));
    }
}

TQ_ON_LIMB_PATHS(Mant2DecRandom);

// A value above 10^(9 x 2^13) grows the cache, and the larger table serves
// later conversions.
TEST(Mant2Dec, CacheGrowth) {
    TqStr S;
    h_Mant2Dec(tq_Word(5), S);
    const TqPowCache &c = h_Mant2Dec_Cache();
    ASSERT_GE(c.PowTableTop, 14);
    EXPECT_EQ(c.PowTable[0], tq_Word(1000000000u));
    EXPECT_EQ(c.PowTable[1], tq_Word(1000000000u));
    for (int32_t j = 2; j <= 14; ++j) {
        Mpz p;
        mpz_ui_pow_ui(p, 10, 9ul << (j - 1));
        ASSERT_EQ(c.PowTable[j], magOf(p)) << j;
        ASSERT_EQ(c.PowTableLen[j], tq_Len(c.PowTable[j]));
    }
    // Same byte length as the top power but below it.
    TqStr below = c.PowTable[14];
    tq_W(below)[tq_NWords(below) - 1] -= 1;
    expectDec(below);
    std::mt19937_64 g(1313);
    TqStr big = randMag(g, 20000);
    expectDec(big);
    EXPECT_GE(c.PowTableTop, 16);
    Mpz p;
    mpz_ui_pow_ui(p, 10, 9ul << 14);
    EXPECT_EQ(c.PowTable[15], magOf(p));
    const int32_t top = c.PowTableTop;
    expectDec(randMag(g, 19000));
    EXPECT_EQ(c.PowTableTop, top);
}

TEST(Mant2Dec, RecursiveEntry) {
    TqStr S = "x";
    int32_t level = 2;
    h_Mant2Dec_Rec(tq_Word(12345), level, S);
    EXPECT_EQ(S, std::string(31, '0') + "12345x");
    level = -1;
    S.clear();
    std::mt19937_64 g(1414);
    TqStr M = randMag(g, 100);
    h_Mant2Dec_Rec(M, level, S);
    EXPECT_EQ(S, gmpDec(M));
    EXPECT_GE(level, 1);
}

}  // namespace
