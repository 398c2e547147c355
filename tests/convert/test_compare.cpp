// Comparisons and predicates: the listed cases, and random values of every
// kind (close values, equal values in different forms, far exponents)
// compared against GMP rationals.
#include <gtest/gtest.h>

#include "conv_oracle.h"

namespace {

struct Compare : ::testing::Test {
    void SetUp() override { tq_EnsureInit(); }
};

// Specials, zeros of both signs, mixed kinds and texts (ordinary values are
// the random pairs' business).
TEST_F(Compare, ListedCases) {
    for (int32_t kind = 1; kind <= 4; ++kind) {
        TqNum pinf = tq_P("*+inf", kind), ninf = tq_P("*-inf", kind), x = tq_P("-12", kind);
        EXPECT_EQ(n_Compare(pinf, x), 1);
        EXPECT_EQ(n_Compare(x, pinf), -1);
        EXPECT_EQ(n_Compare(ninf, x), -1);
        EXPECT_EQ(n_Compare(x, ninf), 1);
        EXPECT_EQ(n_Compare(pinf, pinf), 0);
        EXPECT_EQ(n_Compare(ninf, pinf), -1);
        gTq_ErrorWord = 0;
        EXPECT_EQ(n_Compare(tq_P("*NaN", kind), x), -2);
        EXPECT_EQ(n_IsEqual(x, tq_P("*NaN", kind)), 0);
        EXPECT_EQ(gTq_ErrorWord.load(), 1u);
        EXPECT_EQ(n_Compare(tq_P("-0", kind), tq_P("0", kind)), 0);
    }
    gTq_ErrorWord = 0;
    EXPECT_EQ(n_Compare(tq_P("3", TarqDecFloat), tq_P("3", TarqBigInt)), 2);
    EXPECT_EQ(n_IsEqual(tq_P("3", TarqDecFloat), tq_P("3", TarqBigInt)), 2);
    EXPECT_EQ(gTq_ErrorWord.load(), 2u);
    EXPECT_EQ(n_Compare(tq_P("abc", TarqText), tq_P("abd", TarqText)), -1);
    EXPECT_EQ(n_Compare(tq_P("ab", TarqText), tq_P("abc", TarqText)), -1);
    EXPECT_EQ(n_Compare(tq_P("\xff", TarqText), tq_P("a", TarqText)), 1);  // unsigned bytes
    EXPECT_EQ(n_Compare(tq_P("abc", TarqText), tq_P("abc", TarqText)), 0);
}

TEST_F(Compare, IsZero) {
    EXPECT_EQ(n_IsZero(tq_P("", TarqText)), 1);
    EXPECT_EQ(n_IsZero(tq_P("0", TarqText)), 0);
    for (int32_t kind = 1; kind <= 4; ++kind) {
        EXPECT_EQ(n_IsZero(tq_P("-0", kind)), 1);
        EXPECT_EQ(n_IsZero(tq_P("0.001", kind)), kind == TarqBigInt ? 1 : 0);
        EXPECT_EQ(n_IsZero(tq_P("*+inf", kind)), 0);
        gTq_ErrorWord = 0;
        EXPECT_EQ(n_IsZero(tq_P("*NaN", kind)), 0);
        EXPECT_EQ(gTq_ErrorWord.load(), 1u);
    }
    TqNum padded = tqg_Zero(TarqBigInt);
    padded.MantN = tq_Word(0) + tq_Word(0);
    EXPECT_EQ(n_IsZero(padded), 1);
}

int32_t inRange(const std::string &text, int32_t kind, int32_t code) {
    TqStr out;
    return n_IsInRange(tq_P(text, kind), code, out);
}

TEST_F(Compare, RangeBoundaries) {
    const int32_t L = tq_Type_Long, W = tq_Type_Dword, Dbl = tq_Type_Double, X = tq_Type_Ext;
    // The 32-bit limits in the kinds with a fraction part (the fraction's text
    // second).
    struct Limit {
        const char *text, *fracText;
        int32_t code, in;
    } limits[] = {
        {"2147483647.9", "21474836479/10", L, 1}, {"2147483648", "2147483648", L, 0},
        {"-2147483648", "-2147483648", L, 1},     {"-2147483648.5", "-4294967297/2", L, 1},
        {"-2147483649", "-2147483649", L, 0},     {"-0.5", "-1/2", W, 0},
        {"4294967295", "4294967295", W, 1},       {"4294967296", "4294967296", W, 0},
        {"0", "0", W, 1},
    };
    for (int32_t kind : {TarqDecFloat, TarqBinFloat, TarqFraction})
        for (const Limit &c : limits)
            EXPECT_EQ(inRange(kind == TarqFraction ? c.fracText : c.text, kind, c.code), c.in) << c.text << " kind " << kind;
    struct Case {
        const char *text;
        int32_t kind, code, in;
        uint32_t err;
    } cases[] = {
        {"1*d307", TarqDecFloat, Dbl, 1, 0}, {"1*d308", TarqDecFloat, Dbl, 0, 0},
        {"9.99999999999999999*d307", TarqDecFloat, Dbl, 1, 0},
        {"9.999999999999999999*d307", TarqDecFloat, Dbl, 0, 0},  // rounds up to 1*d308
        {"1*d-306", TarqDecFloat, Dbl, 1, 0}, {"1*d-307", TarqDecFloat, Dbl, 0, 0}, {"1*d307", TarqBinFloat, Dbl, 1, 0},
        {"1*d308", TarqBinFloat, Dbl, 0, 0},  {"1*d308", TarqBigInt, Dbl, 0, 0},    {"1*d307", TarqBigInt, Dbl, 1, 0},
        {"1*d4931", TarqDecFloat, X, 1, 0},   {"1*d4932", TarqDecFloat, X, 0, 0},   {"-1*d-4931", TarqDecFloat, X, 1, 0},
        {"1*d-4932", TarqDecFloat, X, 0, 0},  {"0", TarqDecFloat, Dbl, 1, 0},       {"1/3", TarqFraction, Dbl, 1, 0},
        {"1*d9999999", TarqDecFloat, L, 0, 0}, {"5", TarqText, L, 0, 2},            {"5", TarqBigInt, 5, 0, 2},
        {"*NaN", TarqBigInt, L, 0, 1},        {"*+inf", TarqBigInt, X, 0, 0},
    };
    for (const Case &c : cases) {
        gTq_ErrorWord = 0;
        EXPECT_EQ(inRange(c.text, c.kind, c.code), c.in) << c.text << " kind " << c.kind << " code " << c.code;
        EXPECT_EQ(gTq_ErrorWord.load(), c.err) << c.text;
    }
}

// Random pairs, often equal or nearly equal in value but written differently.
TEST_F(Compare, RandomPairsAgainstGmp) {
    std::mt19937_64 rng(77);
    Mpq qa, qb;
    for (int iter = 0; iter < 2000; ++iter) {
        const int32_t kind = 1 + iter % 4;
        auto text = [&](const std::string &digits, int shift) {
            if (kind == TarqFraction) return digits + "/" + std::to_string(1 + rng() % 5);
            if (kind == TarqBinFloat) return "&h" + digits + "*h" + std::to_string(shift);
            return digits + "*d" + std::to_string(shift);
        };
        const int radix = kind == TarqBinFloat ? 16 : 10;
        std::string da = tq_RandomDigits(rng, radix, 1 + rng() % 30);
        std::string db = da;
        int sa = static_cast<int>(rng() % 40) - 20, sb = sa;
        switch (rng() % 4) {
            case 0: db = tq_RandomDigits(rng, radix, 1 + rng() % 30); sb = static_cast<int>(rng() % 40) - 20; break;
            case 1: db += "00"; sb -= 2; break;                            // same value, other form
            case 2: db.back() = db.back() == '1' ? '2' : '1'; break;      // last digit differs
            default: sb += static_cast<int>(rng() % 3) - 1; break;       // nearby exponent
        }
        std::string ta = rng() % 2 ? "-" : "", tb = rng() % 2 ? "-" : "";
        ta += text(da, sa);
        tb += text(db, sb);
        TqNum a = tq_P(ta, kind), b = tq_P(tb, kind);
        tqg_ToMpq(qa, a);
        tqg_ToMpq(qb, b);
        int want = mpq_cmp(qa, qb);
        want = want < 0 ? -1 : want > 0 ? 1 : 0;
        EXPECT_EQ(n_Compare(a, b), want) << ta << " vs " << tb;
        EXPECT_EQ(n_Compare(b, a), -want);
        EXPECT_EQ(n_IsEqual(a, b), want == 0 ? 1 : 0);
    }
}

}  // namespace
