// Formatting: the layouts, digit counts and rounding with exact output texts,
// and random values of every kind written in every radix and layout and read
// back, checked against GMP.
#include <gtest/gtest.h>

#include "conv_oracle.h"

namespace {

struct Format : ::testing::Test {
    void SetUp() override { tq_EnsureInit(); }
};

TqNum num(int32_t kind, const char *dec, int32_t expo, int32_t sign = 1) {
    TqNum v = tq_Zero(kind);
    v.MantN = tq_MagFromDec(dec);
    v.V.Expo = expo;
    v.V.Sign = sign;
    return v;
}

constexpr int32_t N = tq_Format_Normal, S = tq_Format_Scientific, I = tq_Format_IntMantissa;
constexpr int32_t D = tq_Format_Dec, H = tq_Format_Hex, B = tq_Format_Bin;

TEST_F(Format, DecimalFloatLayouts) {
    const TqNum v = num(TarqDecFloat, "12345", -2);
    EXPECT_EQ(tq_Fmt(v, N | D), " 123.45");
    EXPECT_EQ(tq_Fmt(v, S | D), " 1.2345*d+2");
    EXPECT_EQ(tq_Fmt(v, I | D), " 12345*d-2");
    EXPECT_EQ(tq_Fmt(v, I | D, 3), " 123*d+0");
    EXPECT_EQ(tq_Fmt(v, 0), " 123.45");  // no flags: decimal, normal
    EXPECT_EQ(tq_Fmt(v, N | S | I | D), " 123.45");
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "12345", -2, -1), S | I), "-1.2345*d+2");
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "1200", 0), N), " 1200.0");
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "12", 2), N), " 1200");
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "99999", 0), S, 2), " 1.0*d+5");
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "99999", 0), I, 2), " 1*d+5");
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "1200", -6), N), " 0.001200");
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "123456", -9), N, 5), " 0.0001");
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "123456", -3), N, 4), " 123.5");
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "0", 0), N), " 0.0");
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "5", 0), S), " 5.0*d+0");
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "5", -3), S), " 5.0*d-3");
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "1500", 0), I), " 15*d+2");
    // Normal layout switches to an exponent layout when the digits do not fit.
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "123", 3), N, 4), " 123*d+3");
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "123", 3), N | S, 4), " 1.23*d+5");
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "123", 3), N, 6), " 123000");
    // The integer part alone when it is longer than the digit count.
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "123456", -2), N, 3), " 1234");
    // Rounding carries through the point.
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "9996", -3), N, 3), " 10.0");
    // Below one with no leading zero digit the "0" is added after rounding.
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "45", -2), N, 1), " 0.5");
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "449", -3), N, 1), " 0.4");
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "449", -3), N, 2), " 0.45");
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "9999", -4), N, 2), " 1.0");
}

// No text passes tq_Text_MaxBytes: plain layouts of far exponents switch to
// the exponent layout at once; exact kinds with too many digits are refused
// with bit 32 before any digit is made.
TEST_F(Format, TextsStayWithinTheirBound) {
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "1", 2000000000), N | D), " 1*d+2000000000");
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "1", 2000000000), N | S | D), " 1.0*d+2000000000");
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "15", -2000000000), N | D), " 15*d-2000000000");
    EXPECT_EQ(tq_Fmt(num(TarqBinFloat, "1", 500000000), N | H), " &h1*h+3B9ACA00");
    TqNum big = tq_Zero(TarqBigInt);
    big.MantN.assign(static_cast<size_t>(tq_Text_MaxBytes / 2), '\x11');  // 2^28 bits: 80 M decimal digits
    TqStr out;
    TQ_GETGLOBALERROR();
    EXPECT_EQ(n_Convert_TarqVar2String(big, D, 0, out), tq_Err_Range);
    EXPECT_EQ(n_Convert_TarqVar2String(big, H, 0, out), tq_Err_Range);
    EXPECT_EQ(TQ_GETGLOBALERROR(), tq_Err_Range);
}

TEST_F(Format, RejectedRadixCombinations) {
    gTq_ErrorWord = 0;
    EXPECT_EQ(tq_Fmt(num(TarqDecFloat, "1", 0), D | H), "<status 1>");
    EXPECT_EQ(gTq_ErrorWord.load() & tq_Err_Invalid, 1u);
    EXPECT_EQ(tq_Fmt(num(TarqBinFloat, "1", 0), D | B), "<status 1>");
    EXPECT_EQ(tq_Fmt(num(TarqBigInt, "255", 0), D | H), " &hFF");  // big integers take the hexadecimal flag
}

TEST_F(Format, BinaryFloatLayouts) {
    TqNum v = tq_Zero(TarqBinFloat);
    v.MantN = tq_Word(0x80000000u) + tq_Word(1);
    v.V.Expo = -4;
    EXPECT_EQ(tq_Fmt(v, H | N), " &h1.8");
    EXPECT_EQ(tq_Fmt(v, B | N), " &b1.1");
    EXPECT_EQ(tq_Fmt(v, H | S), " &h1.8*h+0");
    EXPECT_EQ(tq_Fmt(v, H | I), " &h18*h-1");
    EXPECT_EQ(tq_Fmt(v, H), " &h180000000*h-8");  // no layout: every digit
    EXPECT_EQ(tq_Fmt(v, D | N), " 1.5");
    EXPECT_EQ(tq_Fmt(v, D | S), " 1.5*d+0");
    v.V.Sign = -1;
    EXPECT_EQ(tq_Fmt(v, B | S), "-&b1.1*b+0");
    TqNum big = num(TarqBinFloat, "1", 4);  // 2^32
    EXPECT_EQ(tq_Fmt(big, D | N), " 4294967296.0");
    EXPECT_EQ(tq_Fmt(big, H | S), " &h1.0*h+8");
    EXPECT_EQ(tq_Fmt(big, B | I), " &b1*b+100000");
}

TEST_F(Format, BigIntegersAndFractions) {
    EXPECT_EQ(tq_Fmt(num(TarqBigInt, "255", 0), H), " &hFF");
    EXPECT_EQ(tq_Fmt(num(TarqBigInt, "255", 0), H | S), " &hF.F*h+1");
    EXPECT_EQ(tq_Fmt(num(TarqBigInt, "255", 0), B), " &b11111111");
    EXPECT_EQ(tq_Fmt(num(TarqBigInt, "0", 0), D), " 0");
    EXPECT_EQ(tq_Fmt(num(TarqBigInt, "100", 0), S), " 1.*d+2");
    EXPECT_EQ(tq_Fmt(num(TarqBigInt, "100", 0), I), " 1*d+2");
    EXPECT_EQ(tq_Fmt(num(TarqBigInt, "7", 0), S), " 7*d+0");
    EXPECT_EQ(tq_Fmt(num(TarqBigInt, "12345", 0, -1), S, 3), "-1.23*d+4");
    EXPECT_EQ(tq_Fmt(num(TarqBigInt, "99999", 0), S, 3), " 1.*d+5");
    EXPECT_EQ(tq_Fmt(num(TarqBigInt, "12355", 0), I, 3), " 124*d+2");
    EXPECT_EQ(tq_Fmt(num(TarqBigInt, "123456789", 0), N, 3), " 123456789");  // normal ignores the count
    TqNum f = num(TarqFraction, "3", 0, -1);
    f.DenN = tq_Word(4);
    EXPECT_EQ(tq_Fmt(f, 0), "-3/4");
    f.V.Sign = 1;
    EXPECT_EQ(tq_Fmt(f, 0), " 3/4");
    EXPECT_EQ(tq_Fmt(f, H), " &h3/&h4");
}

TEST_F(Format, SpecialValuesAndTexts) {
    for (int32_t kind : {TarqDecFloat, TarqBinFloat, TarqBigInt, TarqFraction}) {
        TqNum v = tq_Zero(kind);
        v.V.Special = tq_Special_PosInf;
        EXPECT_EQ(tq_Fmt(v, D | H), "*+inf");
        v.V.Special = tq_Special_NegInf;
        EXPECT_EQ(tq_Fmt(v, S), "*-inf");
        v.V.Special = tq_Special_NaN;
        EXPECT_EQ(tq_Fmt(v, I | B, 5), "*NaN");
    }
    TqNum t = tq_P("any text", TarqText);
    EXPECT_EQ(tq_Fmt(t, S, 2), "any text");
    TqNum odd = tq_Zero(9);
    EXPECT_EQ(tq_Fmt(odd, 0), "");
}

TEST_F(Format, RoundAsciiString) {
    int32_t c = -1;
    EXPECT_EQ(n_RoundAsciiString("0.45", D, 2, c), "0.5");
    EXPECT_EQ(c, 0);
    EXPECT_EQ(n_RoundAsciiString("0.449", D, 2, c), "0.4");
    EXPECT_EQ(n_RoundAsciiString("0.9999", D, 2, c), "1.0");
    EXPECT_EQ(c, 0);
    EXPECT_EQ(n_RoundAsciiString("9.99", D, 2, c), "10.");
    EXPECT_EQ(c, 1);
    EXPECT_EQ(n_RoundAsciiString("99999", D, 2, c), "10");
    EXPECT_EQ(c, 1);
    EXPECT_EQ(n_RoundAsciiString("12345", D, 9, c), "12345");
    EXPECT_EQ(n_RoundAsciiString("1F8", H, 2, c), "20");
    EXPECT_EQ(c, 0);
    EXPECT_EQ(n_RoundAsciiString("FF8", H, 2, c), "10");
    EXPECT_EQ(c, 1);
    EXPECT_EQ(n_RoundAsciiString("1F7", H, 2, c), "1F");
    EXPECT_EQ(n_RoundAsciiString("1011", B, 3, c), "110");
    EXPECT_EQ(n_RoundAsciiString("1110", B, 3, c), "111");
    EXPECT_EQ(n_RoundAsciiString("123.45", D, 2, c), "123.45");  // no point in the window: unchanged
}

// Exact rational of a text read back into a fraction-free check: the value of
// the text as the library itself would read it in the given float kind.
TEST_F(Format, RandomBigIntegersAgainstMpzGetStr) {
    std::mt19937_64 rng(42);
    mpz_t z;
    mpz_init(z);
    for (int iter = 0; iter < 300; ++iter) {
        const size_t bits = 1 + rng() % (iter < 290 ? 400 : 12000);
        mpz_set_ui(z, 0);
        for (size_t b = 0; b < bits; b += 32) {
            mpz_mul_2exp(z, z, 32);
            mpz_add_ui(z, z, static_cast<uint32_t>(rng()));
        }
        if (iter % 7 == 0) mpz_mul_2exp(z, z, 200);  // long zero runs at the low end
        const int32_t sign = rng() % 2 ? -1 : 1;
        TqNum v = tq_Zero(TarqBigInt);
        v.MantN = tq_MpzToMag(z);
        v.V.Sign = sign;
        const std::string lead = sign < 0 ? "-" : " ";
        std::string hex = tq_MpzStr(z, 16);
        for (char &ch : hex) ch = static_cast<char>(std::toupper(ch));
        EXPECT_EQ(tq_Fmt(v, D), lead + tq_MpzStr(z, 10));
        EXPECT_EQ(tq_Fmt(v, H), lead + "&h" + hex);
        EXPECT_EQ(tq_Fmt(v, B), lead + "&b" + tq_MpzStr(z, 2));
        // and back through the parser
        for (int32_t f : {D, H, B, D | S, H | I, B | S, D | I}) {
            const std::string text = tq_Fmt(v, f);
            TqNum back;
            ASSERT_EQ(tq_Parse(text, TarqBigInt, back), 0) << text;
            EXPECT_EQ(n_Compare(back, v), 0) << text;
        }
    }
    mpz_clear(z);
}

// Decimal floats written with a digit count d and read back: the printed value
// must be the exact value rounded to d significant digits (half away from zero).
TEST_F(Format, RandomDecimalFloatsScientificRounding) {
    std::mt19937_64 rng(99);
    mpz_t m, q, r, p;
    mpz_inits(m, q, r, p, nullptr);
    for (int iter = 0; iter < 400; ++iter) {
        const std::string digits = tq_RandomDigits(rng, 10, 1 + rng() % 30);
        const int32_t e = static_cast<int32_t>(rng() % 80) - 40;
        const int32_t d = 1 + static_cast<int32_t>(rng() % 20);
        TqNum v = num(TarqDecFloat, digits.c_str(), e, rng() % 2 ? -1 : 1);
        const std::string text = tq_Fmt(v, S | D, d);
        // expected mantissa: digits rounded half up to d digits
        mpz_set_str(m, digits.c_str(), 10);
        int32_t len = static_cast<int32_t>(digits.size());
        int32_t x = len + e - 1;
        if (d < len) {
            mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(len - d));
            mpz_tdiv_qr(q, r, m, p);
            mpz_mul_2exp(r, r, 1);
            if (mpz_cmp(r, p) >= 0) mpz_add_ui(q, q, 1);
            // a carry to one more digit keeps d digits with a raised exponent
            if (mpz_sizeinbase(q, 10) > static_cast<size_t>(d) && tq_MpzStr(q).size() > static_cast<size_t>(d)) {
                mpz_tdiv_q_ui(q, q, 10);
                ++x;
            }
            mpz_set(m, q);
        }
        std::string md = tq_MpzStr(m);
        while (md.size() > 1 && md.back() == '0') md.pop_back();
        std::string want(1, v.V.Sign < 0 ? '-' : ' ');
        want += md[0];
        want += '.';
        want += md.size() > 1 ? md.substr(1) : std::string(1, '0');
        want += x < 0 ? "*d-" : "*d+";
        want += std::to_string(x < 0 ? -x : x);
        EXPECT_EQ(text, want) << digits << " e" << e << " d" << d;
    }
    mpz_clears(m, q, r, p, nullptr);
}

// Every kind, random values, every radix and layout: text -> kind -> text ->
// kind gives the same value (exact kinds) and the same text again.
TEST_F(Format, RoundTripsThroughText) {
    std::mt19937_64 rng(5);
    const int32_t layouts[] = {N, S, I};
    const int32_t radixes[] = {D, H, B};
    for (int iter = 0; iter < 300; ++iter) {
        const int32_t kind = 1 + iter % 4;
        const int radix = iter % 3 == 0 ? 10 : iter % 3 == 1 ? 16 : 2;
        std::string text = rng() % 2 ? "-" : "";
        text += radix == 10 ? "" : radix == 16 ? "&h" : "&b";
        text += tq_RandomDigits(rng, radix, 1 + rng() % 25) + "." + tq_RandomDigits(rng, radix, rng() % 25);
        if (kind == TarqFraction) text = tq_RandomDigits(rng, 10, 1 + rng() % 30) + "/" + tq_RandomDigits(rng, 10, 1 + rng() % 30);
        TqNum v;
        ASSERT_EQ(tq_Parse(text, kind, v), 0) << text;
        for (int32_t lay : layouts) {
            for (int32_t rad : radixes) {
                const int32_t f = lay | rad;
                const std::string out = tq_Fmt(v, f);
                if (kind == TarqDecFloat && rad != D) continue;  // goes through a rounded binary float
                if (kind == TarqBinFloat && rad == D) continue;   // goes through a rounded decimal float
                TqNum back;
                ASSERT_EQ(tq_Parse(out, kind, back), 0) << text << " -> " << out;
                EXPECT_EQ(n_Compare(back, v), 0) << text << " -> " << out << " fmt " << f;
                EXPECT_EQ(tq_Fmt(back, f), out);
            }
        }
    }
}

}  // namespace
