// Conversions between kinds: the listed edge cases, exactness of the exact
// routes and accuracy of the float routes on random values against GMP.
#include <gtest/gtest.h>

#include "conv_oracle.h"
#include "kernels/limbs.h"
#include "numbers/number.h"

namespace {

struct ConvertDT : ::testing::Test {
    void SetUp() override { tq_EnsureInit(); }
};

TqNum conv(const TqNum &src, int32_t kind, int32_t *status = nullptr, int32_t fmt = 0, int32_t digits = 0) {
    TqNum dst = tqg_Zero(kind);
    int32_t st = n_Convert_TarqVar2TarqVar(src, dst, fmt, digits);
    if (status) *status = st;
    return dst;
}

// Values across kinds as reduced rationals (big integers truncate), and the
// fields a value does not show.
TEST_F(ConvertDT, EdgeCases) {
    TqTestPrecision prec(38);
    const int32_t D = TarqDecFloat, B = TarqBinFloat, I = TarqBigInt, F = TarqFraction;
    struct Case {
        const char *text;
        int32_t from, to;
        const char *want;
    } cases[] = {
        {"1.5", D, B, "3/2"},        {"-2.7", D, I, "-2"},    {"-7/2", F, I, "-3"},
        {"-7/2", F, D, "-7/2"},      {"-7/2", F, B, "-7/2"},  {"-&h1.8*h-3", B, F, "-3/8192"},
        {"123", I, F, "123"},        {"-123", I, D, "-123"}, {"4294967296", B, D, "4294967296"},
    };
    for (const Case &c : cases) {
        const TqNum r = conv(tq_P(c.text, c.from), c.to);
        EXPECT_EQ(tq_ValueStr(r), c.want) << c.text << " to " << c.to;
        EXPECT_EQ(r.V.NumType, c.to) << c.text;
    }
    EXPECT_EQ(conv(tq_P("1.5", D), B).V.Expo % 4, 0);
    const TqNum t = conv(tq_P("4294967296", B), D);
    EXPECT_TRUE(t.MantN == tq_MagFromDec("4294967296") && t.V.Expo == 0);
    TqNum v = conv(tq_P("-&h0.C", B), I);
    EXPECT_TRUE(tq_IsZero(v.MantN) && v.V.Sign == -1);
    v = conv(tq_P("0.25", D), F);
    EXPECT_TRUE(v.MantN == tq_Word(1) && v.DenN == tq_Word(4));
    TQ_SETOPTION(6, 0);
    v = conv(tq_P("0.25", D), F);
    TQ_SETOPTION(6, 1);
    EXPECT_TRUE(v.MantN == tq_Word(25) && v.DenN == tq_Word(100));
}

TEST_F(ConvertDT, TextBothWays) {
    TqNum d = tq_P("-12.5", TarqDecFloat);
    TqNum t = conv(d, TarqText, nullptr, tq_Format_Scientific, 0);
    EXPECT_EQ(t.MantN, "-1.25*d+1");
    EXPECT_EQ(t.V.NumType, TarqText);
    int32_t st = -1;
    TqNum back = conv(t, TarqBigInt, &st);
    EXPECT_EQ(st, 0);
    EXPECT_EQ(tq_ValueStr(back), "-12");
    TqNum bad = tq_P("12x", TarqText);
    conv(bad, TarqDecFloat, &st);
    EXPECT_EQ(st, 1);
}

TEST_F(ConvertDT, SpecialValuesAndSameKind) {
    TqNum inf = tq_P("*+inf", TarqDecFloat);
    gTq_ErrorWord = 0;
    int32_t st = 0;
    TqNum same = conv(inf, TarqDecFloat, &st);
    EXPECT_EQ(st, 0);
    EXPECT_EQ(same.V.Special, tq_Special_PosInf);
    EXPECT_EQ(gTq_ErrorWord.load(), 0u);
    TqNum other = conv(inf, TarqBigInt, &st);
    EXPECT_EQ(st, 8);
    EXPECT_EQ(other.V.Special, tq_Special_PosInf);
    EXPECT_EQ(other.V.NumType, TarqBigInt);
    EXPECT_EQ(gTq_ErrorWord.load() & 8u, 8u);
    conv(tq_P("*NaN", TarqBigInt), TarqText, &st);
    EXPECT_EQ(st, 1);
    // A zero denominator gives an infinity (or NaN for 0/0) as a float.
    TqNum z = conv(tq_P("-5/0", TarqFraction), TarqBinFloat, &st);
    EXPECT_EQ(st, 8);
    EXPECT_EQ(z.V.Special, tq_Special_NegInf);
    conv(tq_P("0/0", TarqFraction), TarqDecFloat, &st);
    EXPECT_EQ(st, 1);
    conv(tq_P("5/0", TarqFraction), TarqBigInt, &st);
    EXPECT_EQ(st, 1);
}

// The powers-of-ten table is exact only to its precision; exact kinds must not
// inherit its cut.
TEST_F(ConvertDT, ExactPowersBeyondTheTable) {
    Mpz want, got;
    mpz_ui_pow_ui(want, 10, 30000);
    mpz_mul_ui(want, want, 7);
    for (TqNum v : {tq_P("7*d30000", TarqBigInt), conv(tq_P("7*d30000", TarqDecFloat), TarqBigInt),
                    conv(tq_P("7*d30000", TarqDecFloat), TarqFraction)}) {
        tqg_MagToMpz(got, v.MantN);
        EXPECT_EQ(mpz_cmp(want, got), 0);
    }
    TqNum f = conv(tq_P("7*d-30000", TarqDecFloat), TarqFraction);
    tqg_MagToMpz(got, f.DenN);
    mpz_ui_pow_ui(want, 10, 30000);
    EXPECT_EQ(mpz_cmp(want, got), 0);
    EXPECT_EQ(n_Compare(tq_P("7*d30000", TarqDecFloat), tq_P("70*d29999", TarqDecFloat)), 0);
    EXPECT_EQ(n_Compare(tq_P("7*d30000", TarqDecFloat), tq_P("69999999999999999999999*d29978", TarqDecFloat)), 1);
}

// Results that cannot be held fail with tq_Err_ExpRange instead of building
// gigabytes or wrapping a 32-bit exponent.
TEST_F(ConvertDT, OutOfRangeExponents) {
    gTq_ErrorWord = 0;
    int32_t st = 0;
    conv(tq_P("1*d2000000000", TarqDecFloat), TarqBigInt, &st);
    EXPECT_EQ(st, 256);
    conv(tq_P("1*d-2000000000", TarqDecFloat), TarqFraction, &st);
    EXPECT_EQ(st, 256);
    TqNum huge = tq_P("&h1*h7ffffff0", TarqBinFloat);
    ASSERT_EQ(huge.V.Expo, 0x3ffffff8);
    conv(huge, TarqBigInt, &st);
    EXPECT_EQ(st, 256);
    EXPECT_EQ(conv(huge, TarqDecFloat, &st).V.Special, tq_Special_PosInf);  // too large: +inf
    EXPECT_EQ(st, 264);
    TqStr text;
    EXPECT_EQ(n_Convert_TarqVar2String(huge, tq_Format_Scientific, 10, text), 264);
    EXPECT_EQ(tq_Fmt(huge, tq_Format_Hex | tq_Format_Scientific), " &h1.0*h+7FFFFFF0");
    EXPECT_EQ(gTq_ErrorWord.load(), 264u);
    EXPECT_EQ(tq_Parse("1*d3000000000", TarqBigInt, huge), 1);  // the exponent itself is too long
    EXPECT_EQ(tq_Parse("1*d2000000000", TarqBigInt, huge), 1);  // the integer would be too long
}

// |got - want| <= |want| * 2^-bits
bool close(const mpq_t want, const mpq_t got, long bits) {
    Mpq diff, lim;
    mpq_sub(diff, want, got);
    mpq_abs(diff, diff);
    mpq_abs(lim, want);
    mpq_div_2exp(lim, lim, static_cast<mp_bitcnt_t>(bits));
    bool ok = mpq_cmp(diff, lim) <= 0;
    return ok;
}

// Random values of each kind converted to every other kind: exact routes are
// exact, truncating routes truncate, float routes keep the working precision.
TEST_F(ConvertDT, RandomValuesAgainstGmp) {
    std::mt19937_64 rng(11);
    Mpq src, got;
    Mpz tr;
    for (int digits : {38, 100, 300}) {
        TqTestPrecision prec(digits);
        // The cut keeps P bytes of the top word on, of which up to 3 may be zero.
        const long bits = 8L * (gTq_Prec_Bytes_Internal - 4) - 1;
        for (int iter = 0; iter < 150; ++iter) {
            const int32_t from = 1 + iter % 4;
            std::string text = rng() % 2 ? "-" : "";
            if (from == TarqFraction) {
                text += tq_RandomDigits(rng, 10, 1 + rng() % 60) + "/" + tq_RandomDigits(rng, 10, 1 + rng() % 60);
            } else if (from == TarqBinFloat) {
                text += "&h" + tq_RandomDigits(rng, 16, 1 + rng() % 40) + "*h" + std::to_string(static_cast<int>(rng() % 80) - 40);
            } else {
                text += tq_RandomDigits(rng, 10, 1 + rng() % 60) + "*d" + std::to_string(static_cast<int>(rng() % 200) - 100);
            }
            TqNum v;
            ASSERT_EQ(tq_Parse(text, from, v), 0) << text;
            tqg_ToMpq(src, v);
            for (int32_t to = 1; to <= 4; ++to) {
                int32_t st = -1;
                TqNum r = conv(v, to, &st);
                ASSERT_EQ(st, 0);
                ASSERT_EQ(r.V.NumType, to);
                tqg_ToMpq(got, r);
                if (to == TarqBigInt) {
                    mpz_tdiv_q(tr, mpq_numref(src), mpq_denref(src));
                    EXPECT_EQ(mpz_cmp(tr, mpq_numref(got)), 0) << text << " -> bigint";
                } else if (to == TarqFraction || to == from) {
                    EXPECT_TRUE(mpq_equal(src, got)) << text << " -> " << to;
                } else {
                    EXPECT_TRUE(close(src, got, bits)) << text << " -> " << to << " got " << tq_Fmt(r, tq_Format_Scientific);
                }
            }
        }
    }
}

// Decimal text of 28 digits through a binary float of the 38-digit working
// precision (at least 13 significant bytes) and back keeps the text.
TEST_F(ConvertDT, DecimalTextThroughBinaryFloatRoundTrip) {
    TqTestPrecision prec(38);
    std::mt19937_64 rng(3);
    for (int iter = 0; iter < 200; ++iter) {
        std::string frac = tq_RandomDigits(rng, 10, 27);
        if (frac.back() == '0') frac.back() = '7';
        std::string text(1, ' ');
        text += static_cast<char>('1' + rng() % 9);
        text += '.';
        text += frac;
        const unsigned x = 1 + rng() % 300;
        text += iter % 2 ? "*d-" : "*d+";
        text += std::to_string(x);
        TqNum b;
        ASSERT_EQ(tq_Parse(text, TarqBinFloat, b), 0);
        EXPECT_EQ(tq_Fmt(b, tq_Format_Scientific, 28), text);
    }
}

}  // namespace
