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

TEST_F(Parse, DecimalFloatReadings) {
    TqNum v = tq_P("  -1 2.5 *d 3", TarqDecFloat);
    EXPECT_EQ(v.V.Sign, -1);
    EXPECT_EQ(v.V.Expo, 2);
    EXPECT_EQ(v.MantN, tq_Word(125));
    EXPECT_EQ(val("1*D5", TarqDecFloat), "100000");
    EXPECT_EQ(val("--5", TarqDecFloat), "-5");
    EXPECT_EQ(val("1-2", TarqDecFloat), "12");
    EXPECT_EQ(val("1d5", TarqDecFloat), "15");
    EXPECT_EQ(val("1.2.3", TarqDecFloat), "123/10");
    EXPECT_EQ(val("+-5", TarqDecFloat), "5");
    EXPECT_EQ(val("1*d2.5", TarqDecFloat), "100");  // ties to even
    EXPECT_EQ(val("1*d3.5", TarqDecFloat), "10000");
    EXPECT_EQ(val("1*d2.51", TarqDecFloat), "1000");
    EXPECT_EQ(val("1*d-2.5", TarqDecFloat), "1/100");
    EXPECT_EQ(val("1*d", TarqDecFloat), "1");
    EXPECT_EQ(val("*d7", TarqDecFloat), "0");
    EXPECT_EQ(val("0.000", TarqDecFloat), "0");
    EXPECT_EQ(val("7*d1*d5", TarqDecFloat), "70");  // only the first exponent counts
    EXPECT_EQ(val("1*d--3", TarqDecFloat), "1/1000");  // signs lead the exponent
    EXPECT_EQ(val("1*d+-3", TarqDecFloat), "1000");
}

// A sign after an exponent's first digit would join two numbers into one
// exponent ("*d21000+81000" read as 2100081000); it is refused in every radix.
TEST_F(Parse, SignInsideExponentDigitsIsRefused) {
    const std::pair<const char *, int32_t> cases[] = {{"-1*d21000+81000", TarqDecFloat}, {"1*d2-1", TarqBigInt},
                                                      {"&h1*h1+0", TarqBinFloat},        {"&b1*b1.0-1", TarqBinFloat},
                                                      {"1*d2+1/3", TarqFraction}};
    for (const auto &[text, kind] : cases) EXPECT_EQ(val(text, kind), "status 1") << text;
}

TEST_F(Parse, EmptyAndSignOnlyTextsAreZero) {
    for (int32_t kind : {TarqDecFloat, TarqBinFloat, TarqBigInt}) {
        TqNum v = tq_P("", kind);
        EXPECT_TRUE(tq_IsZero(v.MantN));
        EXPECT_EQ(v.V.Sign, 1);
        v = tq_P("-", kind);
        EXPECT_TRUE(tq_IsZero(v.MantN)) << kind;
        EXPECT_EQ(v.V.Sign, -1) << kind;
    }
}

TEST_F(Parse, RejectedTexts) {
    for (const char *t : {"1E5", "*+INF", "abc", "1*", "1*h5", "1/2", "1,5", "1e", "&z1"}) {
        gTq_ErrorWord = 0;
        EXPECT_EQ(val(t, TarqDecFloat), "status 1") << t;
        EXPECT_EQ(gTq_ErrorWord.load() & tq_Err_Invalid, 1u) << t;
    }
    EXPECT_EQ(val("12", 7), "status 4");
    EXPECT_EQ(val("&x12", TarqBigInt), "status 1");
    EXPECT_EQ(val("&h1*d2", TarqBigInt), "status 1");  // "d" is a digit, "*d" not the marker
    EXPECT_EQ(val("&b102", TarqBinFloat), "status 1");
    EXPECT_EQ(val("&", TarqBinFloat), "status 1");
    TqNum t = tq_P(" a*B ", TarqText);
    EXPECT_EQ(t.MantN, " a*B ");
    EXPECT_EQ(t.V.NumType, TarqText);
}

TEST_F(Parse, ExponentBeyond32BitsIsRejected) {
    EXPECT_EQ(val("1*d99999999999", TarqDecFloat), "status 1");
    EXPECT_EQ(val("1*d-99999999999", TarqBinFloat), "status 1");
    EXPECT_EQ(val("1*d2147483648", TarqDecFloat), "status 1");
    EXPECT_EQ(val("&h1*h100000000", TarqBinFloat), "status 1");
    EXPECT_EQ(val("&b1*b100000000000000000000000000000000", TarqBinFloat), "status 1");
    // The fraction digits move the exponent past the limit.
    EXPECT_EQ(val("0.5*d-2147483648", TarqDecFloat), "status 1");
    TqNum v = tq_P("1*d2147483647", TarqDecFloat);
    EXPECT_EQ(v.V.Expo, 2147483647);
    v = tq_P("1*d-2147483648", TarqDecFloat);
    EXPECT_EQ(v.V.Expo, INT32_MIN);
}

TEST_F(Parse, BinaryFloatReadings) {
    TqNum v = tq_P("&h1.8", TarqBinFloat);
    ASSERT_EQ(v.MantN.size(), 8u);
    EXPECT_EQ(tq_W(v.MantN)[0], 0x80000000u);
    EXPECT_EQ(tq_W(v.MantN)[1], 1u);
    EXPECT_EQ(v.V.Expo, -4);
    v = tq_P("4294967296", TarqBinFloat);
    EXPECT_EQ(v.MantN, tq_Word(1));
    EXPECT_EQ(v.V.Expo, 4);
    EXPECT_EQ(val("&h10*h1", TarqBinFloat), "256");
    EXPECT_EQ(val("&b1*b11", TarqBinFloat), "8");
    EXPECT_EQ(val("-&b1.1", TarqBinFloat), "-3/2");
    EXPECT_EQ(val("&hFF*h-2", TarqBinFloat), "255/256");
    EXPECT_EQ(val("&b1*b-100001", TarqBinFloat), "1/8589934592");
    EXPECT_EQ(val("1.5", TarqBinFloat), "3/2");
    EXPECT_EQ(val("&h1.8", TarqDecFloat), "3/2");
    EXPECT_EQ(val("&ha", TarqDecFloat), "10");
}

TEST_F(Parse, BigIntegerReadings) {
    EXPECT_EQ(val("12.9", TarqBigInt), "12");
    EXPECT_EQ(val("-12.9", TarqBigInt), "-12");
    EXPECT_EQ(val("1.55*d1", TarqBigInt), "15");
    EXPECT_EQ(val("5*d-3", TarqBigInt), "0");
    EXPECT_EQ(val("123*d-2", TarqBigInt), "1");
    EXPECT_EQ(val("123*d4", TarqBigInt), "1230000");
    EXPECT_EQ(val("&hFF", TarqBigInt), "255");
    EXPECT_EQ(val("&hFF*h2", TarqBigInt), "65280");
    EXPECT_EQ(val("&hFF*h-1", TarqBigInt), "15");
    EXPECT_EQ(val("&hFF*h-2", TarqBigInt), "0");
    EXPECT_EQ(val("&hFF*h-3", TarqBigInt), "0");
    EXPECT_EQ(val("&b101*b-1", TarqBigInt), "2");
    EXPECT_EQ(val("&b101*b11", TarqBigInt), "40");
    EXPECT_EQ(val("&h1*h9", TarqBigInt), "68719476736");
    EXPECT_EQ(val("1d5", TarqBigInt), "15");
}

TEST_F(Parse, FractionReadings) {
    EXPECT_EQ(val("-3/4", TarqFraction), "-3/4");
    EXPECT_EQ(val("7", TarqFraction), "7");
    // A point or an exponent makes an exact rational of that side.
    for (auto [text, want] : {std::pair{"1.5/2", "3/4"}, {"0.5", "1/2"}, {"1.25*d-3", "1/800"}, {"-2.5", "-5/2"},
                              {"&hFF.8", "511/2"}, {"&b1.1/&h0.8", "3"}, {"3*d2/7", "300/7"}, {"1/0.75", "4/3"},
                              {"0.0/7", "0"}, {"&h1*h-2", "1/256"}})
        EXPECT_EQ(val(text, TarqFraction), want) << text;
    EXPECT_EQ(val("3/-4", TarqFraction), "-3/4");
    EXPECT_EQ(val("-3/-4", TarqFraction), "3/4");
    EXPECT_EQ(val("&hA/&b11", TarqFraction), "10/3");
    EXPECT_EQ(val("1/2/3", TarqFraction), "1/2");
    TqNum v = tq_P("6/4", TarqFraction);  // stored as written
    EXPECT_EQ(v.MantN, tq_Word(6));
    EXPECT_EQ(v.DenN, tq_Word(4));
    v = tq_P("5/0", TarqFraction);
    EXPECT_EQ(v.DenN, tq_Word(0));
    EXPECT_EQ(val("x/2", TarqFraction), "status 1");
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
    EXPECT_EQ(val("*nan", TarqDecFloat), "status 1");
}

// Random texts with points, inner signs and exponents in each radix, into
// big integers (truncated) and, at a precision that keeps them whole, floats.
TEST_F(Parse, RandomTextsAgainstGmp) {
    TqTestPrecision prec(400);
    std::mt19937_64 rng(20261207);
    mpz_t iz, fz, p, t;
    mpq_t want, got;
    mpz_inits(iz, fz, p, t, nullptr);
    mpq_inits(want, got, nullptr);
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
        text += std::string("*") + marker + (ex < 0 ? "-" : "+") + tq_MpzStr(t, radix);
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
        tq_ValueToMpq(got, v);
        EXPECT_TRUE(mpq_equal(want, got)) << text << " got " << tq_MpqStr(got);
        ASSERT_EQ(tq_Parse(text, TarqBigInt, v), 0) << text;
        mpz_tdiv_q(fz, mpq_numref(want), mpq_denref(want));
        tq_ValueToMpq(got, v);
        EXPECT_EQ(mpz_cmp(fz, mpq_numref(got)), 0) << text << " got " << tq_MpqStr(got);
    }
    mpz_clears(iz, fz, p, t, nullptr);
    mpq_clears(want, got, nullptr);
}

TEST_F(Parse, LongDecimalTextsAgainstMpzSetStr) {
    std::mt19937_64 rng(7);
    mpz_t z, g;
    mpz_inits(z, g, nullptr);
    for (size_t n : {1u, 9u, 10u, 1999u, 2000u, 2001u, 5000u, 20000u, 60000u}) {
        std::string digits = tq_RandomDigits(rng, 10, n);
        if (n > 100) std::fill(digits.begin() + 50, digits.begin() + 90, '0');  // a zero run across a split
        TqStr m;
        n_DecDigits2Mant(digits.data(), digits.size(), m);
        mpz_set_str(z, digits.c_str(), 10);
        tq_MagToMpz(g, m);
        EXPECT_EQ(mpz_cmp(z, g), 0) << n;
        EXPECT_TRUE(m.size() == 4 || tq_W(m)[m.size() / 4 - 1] != 0) << "untrimmed at " << n;
    }
    mpz_clears(z, g, nullptr);
}

}  // namespace
