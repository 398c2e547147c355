// The C++ wrapper: ownership of handles, operators, functions, errors as
// exceptions with their bits, and the precision guard.
#include <gtest/gtest.h>

#include <sstream>

#include "tarq.hpp"

using tarq::Kind;
using tarq::Number;

static std::string trimmed(const Number &n, int32_t format = tarq::Normal | tarq::Dec, int32_t digits = 0) {
    std::string s = n.to_string(format, digits);
    return s[0] == ' ' ? s.substr(1) : s;
}

TEST(Wrapper, ArithmeticAndComparisonsOnIntegers) {
    Number a("123456789012345678901234567890", Kind::Int), b("987654321", Kind::Int);
    EXPECT_EQ(trimmed(a * b), "121932631124828532112482853211126352690");
    EXPECT_EQ(trimmed(a % b), "574845669");
    EXPECT_EQ(trimmed(-b), "-987654321");
    EXPECT_TRUE(b < a);
    EXPECT_TRUE(a >= a);
    EXPECT_FALSE(a == b);
    Number c = a;
    c += b;
    EXPECT_EQ(trimmed(c - a), "987654321");
    EXPECT_EQ(trimmed(tarq::gcd(Number("84", Kind::Int), Number("36", Kind::Int))), "12");
    EXPECT_EQ(trimmed(tarq::powmod(Number("4", Kind::Int), Number("13", Kind::Int), Number("497", Kind::Int))),
              "445");
}

TEST(Wrapper, HandlesAreOwnedAndReleased) {
    const int32_t before = TQ_ALLOCVAR(TQ_KIND_BIGINT);
    TQ_UNALLOCVAR(before);
    {
        Number x("1", Kind::Dec), y(x), z(std::move(x));
        EXPECT_EQ(x.handle(), -1);
        EXPECT_TRUE(y == z);
        y = Number("5", Kind::Int);  // assignment across kinds takes the new kind
        EXPECT_EQ(y.kind(), Kind::Int);
    }
    EXPECT_EQ(TQ_ALLOCVAR(TQ_KIND_BIGINT), before) << "every handle was freed";
    TQ_UNALLOCVAR(before);
}

TEST(Wrapper, FunctionsAndPrecisionGuard) {
    const int32_t digits = tarq::precision_digits();
    {
        tarq::PrecisionGuard guard(100);
        EXPECT_EQ(tarq::precision_digits(), 105);
        Number two("2", Kind::Bin);
        Number r = tarq::sqrt(two);
        EXPECT_EQ(trimmed(r, tarq::Normal | tarq::Dec, 30), "1.41421356237309504880168872421");
        EXPECT_EQ(trimmed(tarq::sqr(r), tarq::Normal | tarq::Dec, 20), "2.0");
        Number pi = Number::constant(8, Kind::Dec);
        EXPECT_EQ(trimmed(pi, tarq::Normal | tarq::Dec, 20), "3.1415926535897932385");
    }
    EXPECT_EQ(tarq::precision_digits(), digits);
}

TEST(Wrapper, FailuresThrowWithTheirBits) {
    TQ_GETGLOBALERROR();
    Number zero("0", Kind::Dec), one("1", Kind::Dec);
    try {
        Number q = one / zero;
        FAIL() << "division by zero must throw";
    } catch (const tarq::Error &e) {
        EXPECT_EQ(e.status(), TQ_ERR_SPECIAL);
        ASSERT_EQ(e.bits().size(), 1u);
        EXPECT_NE(std::string(e.what()).find("infinite"), std::string::npos);
    }
    EXPECT_THROW(Number("1.2.3x", Kind::Int), tarq::Error);
    EXPECT_THROW(Number("1", Kind::Bin) + Number("1", Kind::Dec), tarq::Error);
    EXPECT_THROW(Number("1", Kind::Text) < Number("1", Kind::Int), tarq::Error);
    try {
        tarq::modinv(Number("2", Kind::Int), Number("4", Kind::Int));
        FAIL() << "no inverse must throw";
    } catch (const tarq::Error &e) {
        EXPECT_EQ(e.status() & TQ_ERR_NOINVERSE, TQ_ERR_NOINVERSE);
    }
    TQ_GETGLOBALERROR();
}

TEST(Wrapper, ConversionsAndNativeValues) {
    Number third = Number("1", Kind::Frac) / Number("3", Kind::Frac);
    EXPECT_EQ(trimmed(third), "1/3");
    Number d = third.as(Kind::Dec);
    EXPECT_EQ(trimmed(d, tarq::Normal | tarq::Dec, 10), "0.3333333333");
    EXPECT_DOUBLE_EQ(Number::from_double(0.75, Kind::Bin).to_double(), 0.75);
    EXPECT_EQ(trimmed(Number::from_long(-42, Kind::Int)), "-42");
    EXPECT_TRUE(Number("0", Kind::Dec).is_zero());
}

TEST(Wrapper, BuiltInNumbersAndPromotion) {
    // Built-in integers are big integers, floating-point values binary floats.
    EXPECT_EQ(Number(7).kind(), Kind::Int);
    EXPECT_EQ(Number(0.25).kind(), Kind::Bin);
    EXPECT_EQ(trimmed(Number(INT64_MIN)), "-9223372036854775808");
    EXPECT_EQ(trimmed(Number(UINT64_MAX)), "18446744073709551615");
    EXPECT_EQ(trimmed(Number(0.1), tarq::Normal | tarq::Dec, 30), "0.100000000000000005551115123126");
    EXPECT_EQ(trimmed(Number(-0x1p-1074), tarq::Scientific | tarq::Dec, 5), "-4.9407*d-324");
    EXPECT_EQ(trimmed(Number(-1.5L)), "-1.5");
    // int -> fraction -> float, whichever side each stands on.
    const Number third = Number("1/3", Kind::Frac), dec("0.5", Kind::Dec);
    struct Case {
        Number value;
        Kind kind;
        const char *text;
    } cases[] = {
        {Number(2) + third, Kind::Frac, "7/3"},   {third * 3, Kind::Frac, "1/1"},
        {dec + 1, Kind::Dec, "1.5"},              {1 - dec, Kind::Dec, "0.5"},
        {third + dec, Kind::Dec, "0.83333333333"}, {Number(0.5) * third, Kind::Bin, "0.16666666667"},
        {Number(7) % 3, Kind::Int, "1"},          {tarq::pow(Number(2), 10), Kind::Int, "1024"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.value.kind(), c.kind) << c.text;
        EXPECT_EQ(trimmed(c.value, tarq::Normal | tarq::Dec, 11), c.text);
    }
    Number acc(1);
    acc += third;  // the left operand takes the promoted kind
    EXPECT_EQ(acc.kind(), Kind::Frac);
    std::ostringstream os;
    os << acc << " " << Number(-3) << " " << dec;
    EXPECT_EQ(os.str(), "4/3 -3 0.5");
}

TEST(Wrapper, ComparisonsAreExactAcrossKinds) {
    const Number tenth_dec("0.1", Kind::Dec), tenth_bin(0.1), tenth_frac("1/10", Kind::Frac);
    EXPECT_TRUE(tenth_dec == tenth_frac);
    EXPECT_TRUE(tenth_bin != tenth_frac) << "the double 0.1 is not 1/10";
    EXPECT_TRUE(tenth_bin > tenth_dec);
    EXPECT_TRUE(Number(3) == Number("3.0", Kind::Dec));
    EXPECT_TRUE(Number("7/2", Kind::Frac) < 4);
    EXPECT_TRUE(Number("1*d40", Kind::Dec) > Number(UINT64_MAX));
    EXPECT_TRUE(Number("*+inf", Kind::Dec) > Number(UINT64_MAX));
    EXPECT_TRUE(Number("*-inf", Kind::Bin) <= Number("-1/3", Kind::Frac));
    EXPECT_FALSE(Number("*NaN", Kind::Dec) == Number(1));
    TQ_GETGLOBALERROR();
}
