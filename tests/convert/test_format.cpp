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
    TqNum v = tqg_Zero(kind);
    v.MantN = tq_MagFromDec(dec);
    v.V.Expo = expo;
    v.V.Sign = sign;
    return v;
}

constexpr int32_t N = tq_Format_Normal, S = tq_Format_Scientific, I = tq_Format_IntMantissa;
constexpr int32_t D = tq_Format_Dec, H = tq_Format_Hex, B = tq_Format_Bin;

// A value (kind, decimal magnitude, exponent, sign), a format and digit
// count, and the text written.
TEST_F(Format, Layouts) {
    const int32_t Dk = TarqDecFloat, Bk = TarqBinFloat, Ik = TarqBigInt;
    struct Case {
        int32_t kind;
        const char *mant;
        int32_t expo, sign, format, digits;
        const char *want;
    } cases[] = {
        {Dk, "12345", -2, 1, N | D, 0, " 123.45"}, {Dk, "12345", -2, 1, S | D, 0, " 1.2345*d+2"},
        {Dk, "12345", -2, 1, I | D, 0, " 12345*d-2"}, {Dk, "12345", -2, 1, I | D, 3, " 123*d+0"},
        {Dk, "12345", -2, 1, 0, 0, " 123.45"},  // no flags: decimal, normal
        {Dk, "12345", -2, 1, N | S | I | D, 0, " 123.45"}, {Dk, "12345", -2, -1, S | I, 0, "-1.2345*d+2"},
        {Dk, "1200", 0, 1, N, 0, " 1200.0"}, {Dk, "12", 2, 1, N, 0, " 1200"}, {Dk, "99999", 0, 1, S, 2, " 1.0*d+5"},
        {Dk, "99999", 0, 1, I, 2, " 1*d+5"}, {Dk, "1200", -6, 1, N, 0, " 0.001200"},
        {Dk, "123456", -9, 1, N, 5, " 0.0001"}, {Dk, "123456", -3, 1, N, 4, " 123.5"}, {Dk, "0", 0, 1, N, 0, " 0.0"},
        {Dk, "5", 0, 1, S, 0, " 5.0*d+0"}, {Dk, "5", -3, 1, S, 0, " 5.0*d-3"}, {Dk, "1500", 0, 1, I, 0, " 15*d+2"},
        // normal switches to an exponent layout when the digits do not fit
        {Dk, "123", 3, 1, N, 4, " 123*d+3"}, {Dk, "123", 3, 1, N | S, 4, " 1.23*d+5"}, {Dk, "123", 3, 1, N, 6, " 123000"},
        {Dk, "123456", -2, 1, N, 3, " 1234"},  // the integer part alone when longer than the count
        {Dk, "9996", -3, 1, N, 3, " 10.0"},    // rounding carries through the point
        // below one with no leading zero digit the "0" is added after rounding
        {Dk, "45", -2, 1, N, 1, " 0.5"}, {Dk, "449", -3, 1, N, 1, " 0.4"}, {Dk, "449", -3, 1, N, 2, " 0.45"},
        {Dk, "9999", -4, 1, N, 2, " 1.0"},
        // no text passes tq_Text_MaxBytes: plain layouts of far exponents take
        // the exponent layout at once
        {Dk, "1", 2000000000, 1, N | D, 0, " 1*d+2000000000"}, {Dk, "1", 2000000000, 1, N | S | D, 0, " 1.0*d+2000000000"},
        {Dk, "15", -2000000000, 1, N | D, 0, " 15*d-2000000000"}, {Bk, "1", 500000000, 1, N | H, 0, " &h1*h+3B9ACA00"},
        // radix combinations: refused for floats, big integers take the hexadecimal flag
        {Dk, "1", 0, 1, D | H, 0, "<status 1>"}, {Bk, "1", 0, 1, D | B, 0, "<status 1>"}, {Ik, "255", 0, 1, D | H, 0, " &hFF"},
        // binary floats: 1.5 (two words), 2^32
        {Bk, "6442450944", -4, 1, H | N, 0, " &h1.8"}, {Bk, "6442450944", -4, 1, B | N, 0, " &b1.1"},
        {Bk, "6442450944", -4, 1, H | S, 0, " &h1.8*h+0"}, {Bk, "6442450944", -4, 1, H | I, 0, " &h18*h-1"},
        {Bk, "6442450944", -4, 1, H, 0, " &h180000000*h-8"},  // no layout: every digit
        {Bk, "6442450944", -4, 1, D | N, 0, " 1.5"}, {Bk, "6442450944", -4, 1, D | S, 0, " 1.5*d+0"},
        {Bk, "6442450944", -4, -1, B | S, 0, "-&b1.1*b+0"}, {Bk, "1", 4, 1, D | N, 0, " 4294967296.0"},
        {Bk, "1", 4, 1, H | S, 0, " &h1.0*h+8"}, {Bk, "1", 4, 1, B | I, 0, " &b1*b+100000"},
        // big integers
        {Ik, "255", 0, 1, H, 0, " &hFF"}, {Ik, "255", 0, 1, H | S, 0, " &hF.F*h+1"}, {Ik, "255", 0, 1, B, 0, " &b11111111"},
        {Ik, "0", 0, 1, D, 0, " 0"}, {Ik, "100", 0, 1, S, 0, " 1.*d+2"}, {Ik, "100", 0, 1, I, 0, " 1*d+2"},
        {Ik, "7", 0, 1, S, 0, " 7*d+0"}, {Ik, "12345", 0, -1, S, 3, "-1.23*d+4"}, {Ik, "99999", 0, 1, S, 3, " 1.*d+5"},
        {Ik, "12355", 0, 1, I, 3, " 124*d+2"}, {Ik, "123456789", 0, 1, N, 3, " 123456789"},  // normal ignores the count
    };
    for (const Case &c : cases) {
        gTq_ErrorWord = 0;
        EXPECT_EQ(tq_Fmt(num(c.kind, c.mant, c.expo, c.sign), c.format, c.digits), c.want)
            << c.mant << " e" << c.expo << " kind " << c.kind << " format " << c.format;
        EXPECT_EQ(gTq_ErrorWord.load(), c.want[0] == '<' ? 1u : 0u) << c.want;
    }
    TqNum f = num(TarqFraction, "3", 0, -1);
    f.DenN = tq_Word(4);
    EXPECT_EQ(tq_Fmt(f, 0), "-3/4");
    f.V.Sign = 1;
    EXPECT_EQ(tq_Fmt(f, 0), " 3/4");
    EXPECT_EQ(tq_Fmt(f, H), " &h3/&h4");
}

// Exact kinds with too many digits are refused with bit 32 before any digit
// is made.
TEST_F(Format, LongExactValuesRefused) {
    TqNum big = tqg_Zero(TarqBigInt);
    big.MantN.assign(static_cast<size_t>(tq_Text_MaxBytes / 2), '\x11');  // 2^28 bits: 80 M decimal digits
    TqStr out;
    TQ_GETGLOBALERROR();
    EXPECT_EQ(n_Convert_TarqVar2String(big, D, 0, out), tq_Err_Range);
    EXPECT_EQ(n_Convert_TarqVar2String(big, H, 0, out), tq_Err_Range);
    EXPECT_EQ(TQ_GETGLOBALERROR(), tq_Err_Range);
}

TEST_F(Format, SpecialValuesAndTexts) {
    for (int32_t kind : {TarqDecFloat, TarqBinFloat, TarqBigInt, TarqFraction}) {
        TqNum v = tqg_Zero(kind);
        v.V.Special = tq_Special_PosInf;
        EXPECT_EQ(tq_Fmt(v, D | H), "*+inf");
        v.V.Special = tq_Special_NegInf;
        EXPECT_EQ(tq_Fmt(v, S), "*-inf");
        v.V.Special = tq_Special_NaN;
        EXPECT_EQ(tq_Fmt(v, I | B, 5), "*NaN");
    }
    TqNum t = tq_P("any text", TarqText);
    EXPECT_EQ(tq_Fmt(t, S, 2), "any text");
    TqNum odd = tqg_Zero(9);
    EXPECT_EQ(tq_Fmt(odd, 0), "");
}

TEST_F(Format, RoundAsciiString) {
    struct Case {
        const char *in;
        int32_t radix, digits;
        const char *want;
        int32_t carry;
    } cases[] = {
        {"0.45", D, 2, "0.5", 0}, {"0.449", D, 2, "0.4", 0}, {"0.9999", D, 2, "1.0", 0}, {"9.99", D, 2, "10.", 1},
        {"99999", D, 2, "10", 1}, {"12345", D, 9, "12345", 0}, {"1F8", H, 2, "20", 0}, {"FF8", H, 2, "10", 1},
        {"1F7", H, 2, "1F", 0}, {"1011", B, 3, "110", 0}, {"1110", B, 3, "111", 0},
        {"123.45", D, 2, "123.45", 0},  // no point in the window: unchanged
    };
    for (const Case &c : cases) {
        int32_t carry = -1;
        EXPECT_EQ(n_RoundAsciiString(c.in, c.radix, c.digits, carry), c.want) << c.in;
        EXPECT_EQ(carry, c.carry) << c.in;
    }
}

// Exact rational of a text read back into a fraction-free check: the value of
// the text as the library itself would read it in the given float kind.
TEST_F(Format, RandomBigIntegersAgainstMpzGetStr) {
    std::mt19937_64 rng(42);
    Mpz z;
    for (int iter = 0; iter < 300; ++iter) {
        const size_t bits = 1 + rng() % (iter < 290 ? 400 : 12000);
        mpz_set_ui(z, 0);
        for (size_t b = 0; b < bits; b += 32) {
            mpz_mul_2exp(z, z, 32);
            mpz_add_ui(z, z, static_cast<uint32_t>(rng()));
        }
        if (iter % 7 == 0) mpz_mul_2exp(z, z, 200);  // long zero runs at the low end
        const int32_t sign = rng() % 2 ? -1 : 1;
        TqNum v = tqg_Zero(TarqBigInt);
        v.MantN = tqg_MagFromMpz(z);
        v.V.Sign = sign;
        const std::string lead = sign < 0 ? "-" : " ";
        std::string hex = tqg_Str(z, 16);
        for (char &ch : hex) ch = static_cast<char>(std::toupper(ch));
        EXPECT_EQ(tq_Fmt(v, D), lead + tqg_Str(z, 10));
        EXPECT_EQ(tq_Fmt(v, H), lead + "&h" + hex);
        EXPECT_EQ(tq_Fmt(v, B), lead + "&b" + tqg_Str(z, 2));
        // and back through the parser
        for (int32_t f : {D, H, B, D | S, H | I, B | S, D | I}) {
            const std::string text = tq_Fmt(v, f);
            TqNum back;
            ASSERT_EQ(tq_Parse(text, TarqBigInt, back), 0) << text;
            EXPECT_EQ(n_Compare(back, v), 0) << text;
        }
    }
}

// Decimal floats written with a digit count d and read back: the printed value
// must be the exact value rounded to d significant digits (half away from zero).
TEST_F(Format, RandomDecimalFloatsScientificRounding) {
    std::mt19937_64 rng(99);
    Mpz m, q, r, p;
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
            if (mpz_sizeinbase(q, 10) > static_cast<size_t>(d) && tqg_Str(q).size() > static_cast<size_t>(d)) {
                mpz_tdiv_q_ui(q, q, 10);
                ++x;
            }
            mpz_set(m, q);
        }
        std::string md = tqg_Str(m);
        while (md.size() > 1 && md.back() == '0') md.pop_back();
        std::string want(1, v.V.Sign < 0 ? '-' : ' ');
        want += md[0];
        want += '.';
        want += md.size() > 1 ? md.substr(1) : std::string(1, '0');
        want += x < 0 ? "*d-" : "*d+";
        want += std::to_string(x < 0 ? -x : x);
        EXPECT_EQ(text, want) << digits << " e" << e << " d" << d;
    }
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
