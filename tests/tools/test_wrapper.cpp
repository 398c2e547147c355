// The C++ wrapper: ownership of handles, operators, functions, errors as
// exceptions with their bits, and the precision guard.
#include <gtest/gtest.h>

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
    EXPECT_THROW(Number("1", Kind::Int) + Number("1", Kind::Dec), tarq::Error);
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
