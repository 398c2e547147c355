// Exact cases of the signed operations: halving, integer and fractional
// parts, the addition shortcut, canonical zero, aliasing of handles, kind
// mismatches and the truncating integer division.
#include "arith_harness.h"
#include "trace.h"

namespace {

TqNum num(int32_t kind, long v, int32_t expo = 0) {
    mpz_t z;
    mpz_init_set_si(z, v);
    TqNum n = tqg_Make(kind, z, expo);
    mpz_clear(z);
    return n;
}

TqNum frac(long n, unsigned long d) {
    mpz_t a, b;
    mpz_init_set_si(a, n);
    mpz_init_set_ui(b, d);
    TqNum v = tqg_Fraction(a, b);
    mpz_clears(a, b, nullptr);
    return v;
}

std::vector<uint32_t> words(const TqStr &m) {
    return std::vector<uint32_t>(tq_W(m), tq_W(m) + tq_NWords(m));
}

// -2.75 in a float kind.
TqNum minus275(int32_t kind) {
    if (kind == TarqDecFloat) return num(kind, -275, -2);
    TqNum v = num(kind, 0, -4);
    v.V.Sign = -1;
    v.MantN = tq_Word(0xC0000000u) + tq_Word(2);
    return v;
}

bool isCanonicalZero(const TqNum &v) {
    return v.V.Special == 0 && v.V.Sign == 1 && v.V.Expo == 0 && v.MantN == tq_Word(0);
}

}  // namespace

// Halving and the reciprocal are exact where the kind allows: the operand,
// the operation, and the result's sign, exponent, words and denominator.
TEST_F(ArithTest, HalvingAndReciprocalByKind) {
    struct Case {
        TqNum in;
        int32_t(TQ_CALL *op)(int32_t, int32_t);
        int32_t sign, expo;
        std::vector<uint32_t> mant, den;
    } cases[] = {
        {num(TarqBinFloat, 3), TQ_DIVBY2, 1, -4, {0x80000000u, 1}, {1}},
        {num(TarqDecFloat, 3), TQ_DIVBY2, 1, -1, {15}, {1}},
        {num(TarqBigInt, -3), TQ_DIVBY2, -1, 0, {1}, {1}},
        {num(TarqBigInt, -1), TQ_DIVBY2, 1, 0, {0}, {1}},  // canonical zero
        {frac(3, 4), TQ_DIVBY2, 1, 0, {3}, {8}},
        {frac(-3, 4), TQ_RECIPROCAL, -1, 0, {4}, {3}},
        {num(TarqBigInt, -1), TQ_RECIPROCAL, -1, 0, {1}, {1}},
        {num(TarqBigInt, 7), TQ_RECIPROCAL, 1, 0, {0}, {1}},  // canonical zero
    };
    for (const Case &c : cases) {
        put2(c.in, c.in);
        ASSERT_EQ(c.op(h[0], h[2]), 0);
        EXPECT_EQ(res().V.Special, 0);
        EXPECT_EQ(res().V.Sign, c.sign);
        EXPECT_EQ(res().V.Expo, c.expo);
        EXPECT_EQ(words(res().MantN), c.mant);
        EXPECT_EQ(words(res().DenN), c.den);
    }
}

TEST_F(ArithTest, FixAndFracOfMinus275) {
    for (int32_t kind : {TarqBinFloat, TarqDecFloat}) {
        put2(minus275(kind), minus275(kind));
        ASSERT_EQ(TQ_FIX(h[0], h[2]), 0);
        EXPECT_EQ(res().V.Sign, -1);
        EXPECT_EQ(res().V.Expo, 0);
        EXPECT_EQ(words(res().MantN), (std::vector<uint32_t>{2}));
        ASSERT_EQ(TQ_FRAC(h[0], h[2]), 0);
        mpq_t got;
        mpq_init(got);
        tqg_ToMpq(got, res());
        EXPECT_EQ(mpq_get_d(got), -0.75) << "kind " << kind;
        mpq_clear(got);
    }
    put2(frac(7, 2), frac(7, 2));
    ASSERT_EQ(TQ_FIX(h[0], h[2]), 0);
    EXPECT_EQ(words(res().MantN), (std::vector<uint32_t>{3}));
    EXPECT_EQ(words(res().DenN), (std::vector<uint32_t>{1}));
    put2(frac(1, 3), frac(1, 3));
    ASSERT_EQ(TQ_FIX(h[0], h[2]), 0);
    EXPECT_TRUE(isCanonicalZero(res()));
    // A binary float above one word keeps its exponent: 2^8000 is whole.
    put2(num(TarqBinFloat, 1, 1000), num(TarqBinFloat, 1, 1000));
    ASSERT_EQ(TQ_FIX(h[0], h[2]), 0);
    EXPECT_EQ(res().V.Expo, 1000);
    EXPECT_EQ(words(res().MantN), (std::vector<uint32_t>{1}));
}

TEST_F(ArithTest, SmallOperandAWholePrecisionBelowIsIgnoredUnrounded) {
    // 2^8000 + 1 and 2^8000 - 1 at 16 bytes: 2^8000 exactly as stored.
    for (auto fn : {TQ_ADD, TQ_SUB}) {
        put2(num(TarqBinFloat, 1, 1000), num(TarqBinFloat, 1));
        ASSERT_EQ(fn(h[0], h[1], h[2]), 0);
        EXPECT_EQ(res().V.Expo, 1000);
        EXPECT_EQ(res().V.Sign, 1);
        EXPECT_EQ(words(res().MantN), (std::vector<uint32_t>{1}));
    }
    // 1 - 2^8000 is -2^8000.
    put2(num(TarqBinFloat, 1), num(TarqBinFloat, 1, 1000));
    ASSERT_EQ(TQ_SUB(h[0], h[1], h[2]), 0);
    EXPECT_EQ(res().V.Sign, -1);
    EXPECT_EQ(res().V.Expo, 1000);
}

TEST_F(ArithTest, ZeroPlusATinyValueIsTheTinyValue) {
    // A zero has no scale: it must not make the other operand look a whole
    // precision smaller than itself.
    for (int32_t kind : {TarqBinFloat, TarqDecFloat}) {
        const int32_t expo = kind == TarqBinFloat ? -1000 : -100;
        put2(num(kind, 0), num(kind, 7, expo));
        ASSERT_EQ(TQ_ADD(h[0], h[1], h[2]), 0);
        EXPECT_EQ(res().V.Expo, expo) << kind;
        EXPECT_EQ(words(res().MantN), (std::vector<uint32_t>{7})) << kind;
        ASSERT_EQ(TQ_SUB(h[0], h[1], h[2]), 0);
        EXPECT_EQ(res().V.Sign, -1) << kind;
        ASSERT_EQ(TQ_SUB(h[1], h[0], h[2]), 0);
        EXPECT_EQ(res().V.Sign, 1) << kind;
        EXPECT_EQ(words(res().MantN), (std::vector<uint32_t>{7})) << kind;
        // and the fractional part of a tiny value is the value itself
        ASSERT_EQ(TQ_FRAC(h[1], h[2]), 0);
        EXPECT_EQ(res().V.Expo, expo) << kind;
        EXPECT_EQ(words(res().MantN), (std::vector<uint32_t>{7})) << kind;
    }
}

TEST_F(ArithTest, ZeroResultsAreCanonicalInEveryKind) {
    for (int32_t kind : {TarqDecFloat, TarqBinFloat, TarqBigInt, TarqFraction}) {
        put2(num(kind, 1), num(kind, -1));
        ASSERT_EQ(TQ_ADD(h[0], h[1], h[2]), 0);
        EXPECT_TRUE(isCanonicalZero(res())) << kind;
        ASSERT_EQ(TQ_ADD(h[1], h[0], h[2]), 0);
        EXPECT_TRUE(isCanonicalZero(res())) << kind;
        // a negative number times zero is +0
        put2(num(kind, -5), num(kind, 0));
        ASSERT_EQ(TQ_MUL(h[0], h[1], h[2]), 0);
        EXPECT_TRUE(isCanonicalZero(res())) << kind;
        ASSERT_EQ(TQ_MUL(h[1], h[0], h[2]), 0);
        EXPECT_TRUE(isCanonicalZero(res())) << kind;
        // a zero carrying a minus sign comes out as +0
        TqNum mz = num(kind, 0);
        mz.V.Sign = -1;
        put2(mz, mz);
        ASSERT_EQ(TQ_MULBY2(h[0], h[2]), 0);
        EXPECT_TRUE(isCanonicalZero(res())) << kind;
        ASSERT_EQ(TQ_DIVBY2(h[0], h[2]), 0);
        EXPECT_TRUE(isCanonicalZero(res())) << kind;
        ASSERT_EQ(TQ_FIX(h[0], h[2]), 0);
        EXPECT_TRUE(isCanonicalZero(res())) << kind;
    }
}

TEST_F(ArithTest, IncrementAndDecrementOfBigIntegers) {
    struct {
        long in, incr, decr;
    } cases[] = {{-1, 0, -2}, {0, 1, -1}, {1, 2, 0}, {-2, -1, -3}, {5, 6, 4}};
    for (auto &c : cases) {
        put2(num(TarqBigInt, c.in), num(TarqBigInt, c.in));
        ASSERT_EQ(TQ_INCR(h[0], h[2]), 0);
        mpz_t z;
        mpz_init(z);
        tqg_ToMpz(z, res());
        EXPECT_EQ(mpz_get_si(z), c.incr) << c.in;
        EXPECT_TRUE(tqt_WellFormed(res()));
        ASSERT_EQ(TQ_DECR(h[0], h[2]), 0);
        tqg_ToMpz(z, res());
        EXPECT_EQ(mpz_get_si(z), c.decr) << c.in;
        EXPECT_TRUE(tqt_WellFormed(res()));
        mpz_clear(z);
    }
    // Carries and borrows across words.
    mpz_t z, w;
    mpz_inits(z, w, nullptr);
    mpz_set_str(z, "-4294967296", 10);  // -2^32
    put2(tqg_BigInt(z), tqg_BigInt(z));
    ASSERT_EQ(TQ_INCR(h[0], h[2]), 0);
    tqg_ToMpz(w, res());
    EXPECT_EQ(mpz_get_si(w), -4294967295L);
    EXPECT_EQ(tq_NWords(res().MantN), 1);
    ASSERT_EQ(TQ_DECR(h[0], h[2]), 0);
    tqg_ToMpz(w, res());
    EXPECT_EQ(mpz_get_si(w), -4294967297L);
    mpz_clears(z, w, nullptr);
}

TEST_F(ArithTest, AliasedHandles) {
    for (int32_t kind : {TarqDecFloat, TarqBinFloat, TarqBigInt, TarqFraction}) {
        put2(num(kind, -7), num(kind, 3));
        mpq_t got;
        mpq_init(got);
        ASSERT_EQ(TQ_MUL(h[1], h[1], h[2]), 0);  // one operand twice, another output
        tqg_ToMpq(got, res(2));
        EXPECT_EQ(mpq_get_d(got), 9.0) << kind;
        ASSERT_EQ(TQ_SUB(h[1], h[1], h[2]), 0);
        EXPECT_TRUE(isCanonicalZero(res(2))) << kind;
        ASSERT_EQ(TQ_ADD(h[0], h[0], h[0]), 0);  // doubles
        tqg_ToMpq(got, res(0));
        EXPECT_EQ(mpq_get_d(got), -14.0) << kind;
        ASSERT_EQ(TQ_MUL(h[0], h[0], h[0]), 0);  // squares
        tqg_ToMpq(got, res(0));
        EXPECT_EQ(mpq_get_d(got), 196.0) << kind;
        ASSERT_EQ(TQ_SUB(h[1], h[0], h[0]), 0);  // 3 - 196 into the second operand
        tqg_ToMpq(got, res(0));
        EXPECT_EQ(mpq_get_d(got), -193.0) << kind;
        ASSERT_EQ(TQ_SUB(h[1], h[1], h[1]), 0);
        EXPECT_TRUE(isCanonicalZero(res(1))) << kind;
        ASSERT_EQ(TQ_INCR(h[1], h[1]), 0);
        ASSERT_EQ(TQ_DIV(h[0], h[1], h[1]), 0);  // -193 / 1
        tqg_ToMpq(got, res(1));
        EXPECT_EQ(mpq_get_d(got), -193.0) << kind;
        mpq_clear(got);
    }
    // Integer division into its own operands, and into one handle twice (the
    // quotient is kept).
    mpz_t z;
    mpz_init(z);
    put2(num(TarqBigInt, -7), num(TarqBigInt, 2));
    ASSERT_EQ(TQ_DIVINT(h[0], h[1], h[0], h[1]), 0);
    tqg_ToMpz(z, res(0));
    EXPECT_EQ(mpz_get_si(z), -3);
    tqg_ToMpz(z, res(1));
    EXPECT_EQ(mpz_get_si(z), -1);
    put2(num(TarqBigInt, -7), num(TarqBigInt, 2));
    ASSERT_EQ(TQ_DIVINT(h[0], h[1], h[2], h[2]), 0);
    tqg_ToMpz(z, res(2));
    EXPECT_EQ(mpz_get_si(z), -3);
    ASSERT_EQ(TQ_DIVINT(h[0], h[1], h[1], h[1]), 0);
    tqg_ToMpz(z, res(1));
    EXPECT_EQ(mpz_get_si(z), -3);
    mpz_clear(z);
}

TEST_F(ArithTest, MixedKindsFailAndLeaveTheResultUntouched) {
    const TqNum text = [] {
        TqNum t = tqg_Special(TarqText, 0);
        t.MantN = "some text";
        return t;
    }();
    const int32_t kinds[] = {TarqDecFloat, TarqBinFloat, TarqBigInt, TarqFraction};
    for (int32_t ka : kinds) {
        for (int32_t kr : kinds) {
            if (ka == kr) continue;
            tqg_Put(h[0], num(ka, 6));
            tqg_Put(h[1], num(ka, 4));
            tqg_Put(h[2], num(kr, 99, 0));
            tqg_Put(h[3], num(kr, 98, 0));
            TQ_GETGLOBALERROR();
            int32_t (*two[])(int32_t, int32_t, int32_t) = {TQ_ADD, TQ_SUB, TQ_MUL, TQ_DIV, TQ_MOD};
            for (auto fn : two) {
                EXPECT_EQ(fn(h[0], h[1], h[2]), tq_Err_Type);
                EXPECT_EQ(fn(h[0], h[2], h[1]), tq_Err_Type);
                EXPECT_EQ(res(1).V.NumType, ka);
                EXPECT_EQ(words(res(1).MantN), (std::vector<uint32_t>{4}));
            }
            int32_t (*one[])(int32_t, int32_t) = {TQ_INCR,   TQ_DECR, TQ_MULBY2, TQ_DIVBY2,
                                                  TQ_FIX,    TQ_FRAC, TQ_SQR,    TQ_RECIPROCAL};
            for (auto fn : one) EXPECT_EQ(fn(h[0], h[2]), tq_Err_Type);
            EXPECT_EQ(TQ_DIVINT(h[0], h[1], h[2], h[3]), tq_Err_Type);
            EXPECT_EQ(words(res(2).MantN), (std::vector<uint32_t>{99}));
            EXPECT_EQ(words(res(3).MantN), (std::vector<uint32_t>{98}));
            EXPECT_EQ(TQ_GETGLOBALERROR(), tq_Err_Type);
        }
        // Text is refused by all arithmetic, also when every operand is text.
        tqg_Put(h[0], text);
        tqg_Put(h[1], text);
        tqg_Put(h[2], text);
        EXPECT_EQ(TQ_ADD(h[0], h[1], h[2]), tq_Err_Type);
        EXPECT_EQ(TQ_DIV(h[0], h[1], h[2]), tq_Err_Type);
        EXPECT_EQ(TQ_SQR(h[0], h[2]), tq_Err_Type);
        EXPECT_EQ(res(2).MantN, "some text");
    }
    // Bad handles.
    EXPECT_EQ(TQ_ADD(h[0], -1, h[2]), tq_Err_Handle);
    EXPECT_EQ(TQ_DIVINT(h[0], h[1], h[2], 1 << 30), tq_Err_Handle);
    TQ_GETGLOBALERROR();
}

TEST_F(ArithTest, TruncatingIntegerDivision) {
    struct {
        long a, b, q, r;
    } cases[] = {{7, -2, -3, 1}, {-7, 2, -3, -1}, {6, 3, 2, 0}, {-6, 3, -2, 0}, {1, -2, 0, 1}, {-1, 2, 0, -1}};
    mpz_t z;
    mpz_init(z);
    for (auto &c : cases) {
        put2(num(TarqBigInt, c.a), num(TarqBigInt, c.b));
        ASSERT_EQ(TQ_DIVINT(h[0], h[1], h[2], h[3]), 0);
        tqg_ToMpz(z, res(2));
        EXPECT_EQ(mpz_get_si(z), c.q);
        tqg_ToMpz(z, res(3));
        EXPECT_EQ(mpz_get_si(z), c.r);
        EXPECT_TRUE(tqt_WellFormed(res(2)));
        EXPECT_TRUE(tqt_WellFormed(res(3)));
        ASSERT_EQ(TQ_DIV(h[0], h[1], h[2]), 0);
        tqg_ToMpz(z, res(2));
        EXPECT_EQ(mpz_get_si(z), c.q);
        ASSERT_EQ(TQ_MOD(h[0], h[1], h[2]), 0);
        tqg_ToMpz(z, res(2));
        EXPECT_EQ(mpz_get_si(z), c.r);
    }
    // Integer division of decimal floats: refused, except that a zero divisor
    // still gives the signed infinity first.
    put2(num(TarqDecFloat, 7), num(TarqDecFloat, 2));
    EXPECT_EQ(TQ_DIVINT(h[0], h[1], h[2], h[3]), tq_Err_Type);
    put2(num(TarqDecFloat, -7), num(TarqDecFloat, 0));
    EXPECT_EQ(TQ_DIVINT(h[0], h[1], h[2], h[3]), tq_Err_Special);
    EXPECT_EQ(res(2).V.Special, tq_Special_NegInf);
    TQ_GETGLOBALERROR();
    mpz_clear(z);
}

TEST_F(ArithTest, LongBinaryDividendIsTracedAndStillDivided) {
    TraceCollector trace;
    mpz_t a;
    mpz_init(a);
    mpz_ui_pow_ui(a, 3, 400);  // about 80 bytes, far more than 16 + 4 + 4
    put2(tqg_BinFloat(a, 0), num(TarqBinFloat, 3));
    ASSERT_EQ(TQ_DIV(h[0], h[1], h[2]), 0);
    ASSERT_EQ(TraceCollector::lines().size(), 1u);
    EXPECT_EQ(TraceCollector::lines()[0], "n_Div: Numerator can be shortened and still satisfy precision (to be implemented)!!");
    mpq_t want;
    mpq_init(want);
    mpz_ui_pow_ui(a, 3, 399);
    mpq_set_z(want, a);
    EXPECT_TRUE(tqt_FloatClose(res(), want, 1));
    mpq_clear(want);
    mpz_clear(a);
}

// P = 16 bytes: A + B with B = 0xFF (binary) or 1 (decimal) and A = 256^e or
// 10^e. The small operand is dropped only where it cannot reach the rounded
// sum; short of that the sum is exact or rounded on its first dropped bit.
TEST_F(ArithTest, ShortcutSkipsOnlyWhatCannotReachTheRoundedSum) {
    struct Case {
        int32_t kind, e;
        const char *want;  // the sum, as an integer in base 10
    } cases[] = {
        {TarqBinFloat, 12, "79228162514264337593543950591"},                      // 2^96 + 255, exact
        {TarqBinFloat, 16, "340282366920938463463374607431768211712"},            // 2^128 + 255 rounded up to + 256
        {TarqBinFloat, 20, "1461501637330902918203684832716283019655932542976"},  // 2^160 alone
        {TarqDecFloat, 40, "10000000000000000000000000000000000000001"},          // exact: 41 digits are kept
        {TarqDecFloat, 60, "1000000000000000000000000000000000000000000000000000000000000"},
    };
    mpq_t got, want;
    mpq_inits(got, want, nullptr);
    for (const Case &c : cases) {
        put2(num(c.kind, 1, c.e), num(c.kind, c.kind == TarqBinFloat ? 0xFF : 1));
        ASSERT_EQ(TQ_ADD(h[0], h[1], h[2]), 0);
        tqg_ToMpq(got, res());
        mpq_set_str(want, c.want, 10);
        EXPECT_TRUE(mpq_equal(got, want)) << "kind " << c.kind << " e " << c.e;
    }
    mpq_clears(got, want, nullptr);
}
