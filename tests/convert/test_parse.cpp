// Parsing: the readings of unusual texts, rejections, the special texts, the
// mended cases, and random texts in every radix checked against GMP.
#include <gtest/gtest.h>

#include "conv_oracle.h"
#include "kernels/limbs.h"

namespace {

struct Parse : ::testing::Test {
    void SetUp() override { tq_EnsureInit(); }
};

// Status of parsing text into kind, and the value as a reduced rational.
std::string val(const std::string &text, int32_t kind) {
    TqNum v;
    int32_t st = tq_Parse(text, kind, v);
    if (st) return "status " + std::to_string(st);
    return tq_ValueStr(v);
}

// Texts and what they read as in a kind: the reduced rational, or the status.
TEST_F(Parse, Readings) {
    const int32_t D = TarqDecFloat, B = TarqBinFloat, I = TarqBigInt, F = TarqFraction;
    struct Case {
        const char *text;
        int32_t kind;
        const char *want;
    } cases[] = {
        // decimal floats: inner signs and points are skipped, exponents round
        // half to even, only the first exponent counts, signs lead it
        {"1*D5", D, "100000"}, {"--5", D, "-5"}, {"1-2", D, "12"}, {"1d5", D, "15"}, {"1.2.3", D, "123/10"},
        {"+-5", D, "5"}, {"1*d2.5", D, "100"}, {"1*d3.5", D, "10000"}, {"1*d2.51", D, "1000"},
        {"1*d-2.5", D, "1/100"}, {"1*d", D, "1"}, {"*d7", D, "0"}, {"0.000", D, "0"}, {"7*d1*d5", D, "70"},
        {"1*d--3", D, "1/1000"}, {"1*d+-3", D, "1000"},
        // a sign after an exponent's first digit would join two numbers into
        // one exponent ("*d21000+81000" read as 2100081000): refused in every radix
        {"-1*d21000+81000", D, "status 1"}, {"1*d2-1", I, "status 1"}, {"&h1*h1+0", B, "status 1"},
        {"&b1*b1.0-1", B, "status 1"}, {"1*d2+1/3", F, "status 1"},
        // rejected texts
        {"1E5", D, "status 1"}, {"*+INF", D, "status 1"}, {"abc", D, "status 1"}, {"1*", D, "status 1"},
        {"1*h5", D, "status 1"}, {"1/2", D, "status 1"}, {"1,5", D, "status 1"}, {"1e", D, "status 1"},
        {"&z1", D, "status 1"}, {"*nan", D, "status 1"}, {"12", 7, "status 4"}, {"&x12", I, "status 1"},
        {"&h1*d2", I, "status 1"},  // "d" is a digit, "*d" not the marker
        {"&b102", B, "status 1"}, {"&", B, "status 1"}, {"x/2", F, "status 1"},
        // exponents beyond 32 bits, also when the fraction digits move them past
        {"1*d99999999999", D, "status 1"}, {"1*d-99999999999", B, "status 1"}, {"1*d2147483648", D, "status 1"},
        {"&h1*h100000000", B, "status 1"}, {"&b1*b100000000000000000000000000000000", B, "status 1"},
        {"0.5*d-2147483648", D, "status 1"},
        // binary floats
        {"&h10*h1", B, "256"}, {"&b1*b11", B, "8"}, {"-&b1.1", B, "-3/2"}, {"&hFF*h-2", B, "255/256"},
        {"&b1*b-100001", B, "1/8589934592"}, {"1.5", B, "3/2"}, {"&h1.8", D, "3/2"}, {"&ha", D, "10"},
        // big integers: truncated
        {"12.9", I, "12"}, {"-12.9", I, "-12"}, {"1.55*d1", I, "15"}, {"5*d-3", I, "0"}, {"123*d-2", I, "1"},
        {"123*d4", I, "1230000"}, {"&hFF", I, "255"}, {"&hFF*h2", I, "65280"}, {"&hFF*h-1", I, "15"},
        {"&hFF*h-2", I, "0"}, {"&hFF*h-3", I, "0"}, {"&b101*b-1", I, "2"}, {"&b101*b11", I, "40"},
        {"&h1*h9", I, "68719476736"}, {"1d5", I, "15"},
        // fractions: a point or an exponent makes an exact rational of that side
        {"-3/4", F, "-3/4"}, {"7", F, "7"}, {"1.5/2", F, "3/4"}, {"0.5", F, "1/2"}, {"1.25*d-3", F, "1/800"},
        {"-2.5", F, "-5/2"}, {"&hFF.8", F, "511/2"}, {"&b1.1/&h0.8", F, "3"}, {"3*d2/7", F, "300/7"},
        {"1/0.75", F, "4/3"}, {"0.0/7", F, "0"}, {"&h1*h-2", F, "1/256"}, {"3/-4", F, "-3/4"},
        {"-3/-4", F, "3/4"}, {"&hA/&b11", F, "10/3"}, {"1/2/3", F, "1/2"},
    };
    for (const Case &c : cases) {
        gTq_ErrorWord = 0;
        EXPECT_EQ(val(c.text, c.kind), c.want) << c.text << " kind " << c.kind;
        if (std::string(c.want) == "status 1") {
            EXPECT_EQ(gTq_ErrorWord.load() & tq_Err_Invalid, 1u) << c.text;
        }
    }
}

// What the value alone does not show: the stored fields.
TEST_F(Parse, StoredFields) {
    TqNum v = tq_P("  -1 2.5 *d 3", TarqDecFloat);
    EXPECT_EQ(v.V.Sign, -1);
    EXPECT_EQ(v.V.Expo, 2);
    EXPECT_EQ(v.MantN, tq_Word(125));
    v = tq_P("1*d2147483647", TarqDecFloat);
    EXPECT_EQ(v.V.Expo, 2147483647);
    v = tq_P("1*d-2147483648", TarqDecFloat);
    EXPECT_EQ(v.V.Expo, INT32_MIN);
    v = tq_P("&h1.8", TarqBinFloat);
    EXPECT_EQ(v.MantN, tq_Word(0x80000000u) + tq_Word(1));
    EXPECT_EQ(v.V.Expo, -4);
    v = tq_P("4294967296", TarqBinFloat);
    EXPECT_EQ(v.MantN, tq_Word(1));
    EXPECT_EQ(v.V.Expo, 4);
    v = tq_P("6/4", TarqFraction);  // stored as written
    EXPECT_EQ(v.MantN, tq_Word(6));
    EXPECT_EQ(v.DenN, tq_Word(4));
    v = tq_P("5/0", TarqFraction);
    EXPECT_EQ(v.DenN, tq_Word(0));
    v = tq_P(" a*B ", TarqText);
    EXPECT_EQ(v.MantN, " a*B ");
    EXPECT_EQ(v.V.NumType, TarqText);
    // Empty and sign-only texts are zero, the sign kept.
    for (int32_t kind : {TarqDecFloat, TarqBinFloat, TarqBigInt}) {
        v = tq_P("", kind);
        EXPECT_TRUE(tq_IsZero(v.MantN) && v.V.Sign == 1) << kind;
        v = tq_P("-", kind);
        EXPECT_TRUE(tq_IsZero(v.MantN) && v.V.Sign == -1) << kind;
    }
}

TEST_F(Parse, SpecialTexts) {
    TqNum v = tq_P("12", TarqDecFloat);
    ASSERT_EQ(n_Convert_String2TarqVar("*+inf", v.V, v.MantN, v.DenN, TarqDecFloat), 0);
    EXPECT_EQ(v.V.Special, tq_Special_PosInf);
    EXPECT_EQ(v.MantN, tq_Word(12));  // untouched
    ASSERT_EQ(n_Convert_String2TarqVar("*-inf", v.V, v.MantN, v.DenN, TarqBigInt), 0);
    EXPECT_EQ(v.V.Special, tq_Special_NegInf);
    ASSERT_EQ(n_Convert_String2TarqVar("*NaN", v.V, v.MantN, v.DenN, TarqBigInt), 0);
    EXPECT_EQ(v.V.Special, tq_Special_NaN);
    ASSERT_EQ(n_Convert_String2TarqVar("3", v.V, v.MantN, v.DenN, TarqDecFloat), 0);
    EXPECT_EQ(v.V.Special, 0);
}

// Random texts with points, inner signs and exponents in each radix, into
// big integers (truncated) and, at a precision that keeps them whole, floats.
TEST_F(Parse, RandomTextsAgainstGmp) {
    TqTestPrecision prec(400);
    std::mt19937_64 rng(20261207);
    Mpz iz, fz, p, t;
    Mpq want, got;
    for (int iter = 0; iter < 600; ++iter) {
        const int radix = iter % 3 == 0 ? 10 : iter % 3 == 1 ? 16 : 2;
        const std::string ip = tq_RandomDigits(rng, radix, 1 + rng() % (radix == 2 ? 200 : 60));
        const std::string fp = rng() % 3 ? tq_RandomDigits(rng, radix, rng() % 40) : "";
        const int ex = static_cast<int>(rng() % 61) - 30;
        const bool neg = rng() % 2;
        std::string text = neg ? "-" : "";
        text += radix == 10 ? "" : radix == 16 ? "&h" : "&b";
        text += ip;
        if (!fp.empty() || rng() % 2) text += "." + fp;
        const char marker = radix == 10 ? 'd' : radix == 16 ? 'h' : 'b';
        // exponent written in its own radix
        mpz_set_si(t, ex < 0 ? -ex : ex);
        text += std::string("*") + marker + (ex < 0 ? "-" : "+") + tqg_Str(t, radix);
        // exact value: (ip.fp) * radix^ex
        mpz_set_str(iz, (ip + fp).c_str(), radix);
        const long scale = static_cast<long>(fp.size()) - ex;
        mpz_ui_pow_ui(p, radix, static_cast<unsigned long>(scale < 0 ? -scale : scale));
        if (scale <= 0) {
            mpz_mul(iz, iz, p);
            mpq_set_z(want, iz);
        } else {
            mpq_set_num(want, iz);
            mpq_set_den(want, p);
            mpq_canonicalize(want);
        }
        if (neg) mpq_neg(want, want);
        const int32_t floatKind = radix == 10 ? TarqDecFloat : TarqBinFloat;
        TqNum v;
        ASSERT_EQ(tq_Parse(text, floatKind, v), 0) << text;
        tqg_ToMpq(got, v);
        EXPECT_TRUE(mpq_equal(want, got)) << text << " got " << tqg_Str(got);
        ASSERT_EQ(tq_Parse(text, TarqBigInt, v), 0) << text;
        mpz_tdiv_q(fz, mpq_numref(want), mpq_denref(want));
        tqg_ToMpq(got, v);
        EXPECT_EQ(mpz_cmp(fz, mpq_numref(got)), 0) << text << " got " << tqg_Str(got);
    }
}

TEST_F(Parse, LongDecimalTextsAgainstMpzSetStr) {
    std::mt19937_64 rng(7);
    Mpz z, g;
    for (size_t n : {1u, 9u, 10u, 1999u, 2000u, 2001u, 5000u, 20000u, 60000u}) {
        std::string digits = tq_RandomDigits(rng, 10, n);
        if (n > 100) std::fill(digits.begin() + 50, digits.begin() + 90, '0');  // a zero run across a split
        TqStr m;
        n_DecDigits2Mant(digits.data(), digits.size(), m);
        mpz_set_str(z, digits.c_str(), 10);
        tqg_MagToMpz(g, m);
        EXPECT_EQ(mpz_cmp(z, g), 0) << n;
        EXPECT_TRUE(m.size() == 4 || tq_W(m)[m.size() / 4 - 1] != 0) << "untrimmed at " << n;
    }
}

}  // namespace
