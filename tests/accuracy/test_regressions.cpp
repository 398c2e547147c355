// Regression cases named after the accuracy faults once seen, each measured
// against MPFR in units in the last place (ulp.h); results that must not
// depend on what ran before (a fresh process, a second call, a long
// computation in between); and exp(a) exp(b) against exp(a + b).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accuracy.h"
#include "fresh.h"

namespace {

// A variable of the kind holding the text (the library's notation).
struct Var {
    int32_t h;
    Var(int32_t kind, const char *text = "0") : h(TQ_ALLOCVAR(kind)) { EXPECT_EQ(TQ_PUTSTRING_PAZ(text, h), 0) << text; }
    ~Var() { TQ_UNALLOCVAR(h); }
    Var(const Var &) = delete;
    Var &operator=(const Var &) = delete;
    const TqNum &num() const { return tqg_Get(h); }
};

// The error in units of v against f(a[, b]) computed by MPFR on the
// variables' exact values.
double unitsOff(const Var &r, int (*f1)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t), const Var &a,
                int (*f2)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t) = nullptr, const Var *b = nullptr) {
    mpfr_t xa, xb, y;
    mpfr_inits2(64, xa, xb, static_cast<mpfr_ptr>(nullptr));
    mpfr_init2(y, ulp_OraclePrec());
    acc_Exact(xa, a.num());
    if (b) acc_Exact(xb, b->num());
    if (f1) f1(y, xa, MPFR_RNDN);
    else f2(y, xa, xb, MPFR_RNDN);
    const double u = ulp_Error(r.num(), y);
    mpfr_clears(xa, xb, y, static_cast<mpfr_ptr>(nullptr));
    return u;
}

bool sameBits(const Var &x, const Var &y) { return acc_SameBits(x.num(), y.num()); }

struct Restore {
    ~Restore() { TQ_SETPRECISION(1, 38); }
};

}  // namespace

// Binary floats kept as few as 8P - 31 bits: binary pi at 50 digits lost its
// last digit.
TEST(AccuracyFaults, BinaryFloatKeepsEightPBits) {
    Restore r;
    for (int32_t digits : {50, 20, 38, 1000}) {
        TQ_SETPRECISION(1, digits);
        Var pi(TarqBinFloat);
        ASSERT_EQ(TQ_GETCONST(8, pi.h), 0);
        mpfr_t y;
        mpfr_init2(y, ulp_OraclePrec());
        mpfr_const_pi(y, MPFR_RNDN);
        EXPECT_LE(ulp_Error(pi.num(), y), 0.5) << digits;
        mpfr_clear(y);
    }
}

// Decimal division truncated a quotient of the operands' length (30 digits
// of 38 right), and binary division lost what the cut dropped.
TEST(AccuracyFaults, DivisionKeepsEveryDigitAndRounds) {
    Restore r;
    struct Case {
        int32_t kind, digits;
        const char *a, *b;
    } cases[] = {
        {TarqDecFloat, 38, "50315015780807840004037645984470787557260496714746*d+72",
         "-933047343680192511645760611699013336172438660856*d+92"},
        {TarqDecFloat, 20, "2", "3"},
        {TarqDecFloat, 100, "1", "7"},
        {TarqBinFloat, 38, "1", "3"},
        {TarqBinFloat, 1000, "-2", "7"},
    };
    for (const Case &c : cases) {
        TQ_SETPRECISION(1, c.digits);
        Var a(c.kind, c.a), b(c.kind, c.b), q(c.kind);
        ASSERT_EQ(TQ_DIV(a.h, b.h, q.h), 0);
        EXPECT_LE(unitsOff(q, nullptr, a, mpfr_div, &b), 0.5) << c.a << " / " << c.b << " at " << c.digits;
    }
}

// The addition shortcut compared decimal exponents in single precision:
// (x + y) - x gave 0 for x = 1*d900000004, y = 1*d899999984.
TEST(AccuracyFaults, AdditionShortcutDecidesOnExactExponents) {
    Var x(TarqDecFloat, "1*d900000004"), y(TarqDecFloat, "1*d899999984"), s(TarqDecFloat), d(TarqDecFloat);
    ASSERT_EQ(TQ_ADD(x.h, y.h, s.h), 0);
    ASSERT_EQ(TQ_SUB(s.h, x.h, d.h), 0);
    EXPECT_EQ(TQ_COMPARE(d.h, y.h), 0);
}

// 10^x and 2^x of large binary integers and powers were off by hundreds of
// units.
TEST(AccuracyFaults, ExponentialsOfLargeIntegersWithinAUnit) {
    Restore r;
    struct Case {
        const char *name;
        int32_t(TQ_CALL *tq)(int32_t, int32_t);
        int (*mp)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
        const char *x;
    } cases[] = {
        {"EXP10", TQ_EXP10, mpfr_exp10, "655"},  {"EXP10", TQ_EXP10, mpfr_exp10, "-9999"},
        {"EXP2", TQ_EXP2, mpfr_exp2, "123457"}, {"EXP", TQ_EXP, mpfr_exp, "100000"},
        {"EXP10", TQ_EXP10, mpfr_exp10, "816"},
    };
    for (int32_t digits : {20, 38, 1000})
        for (int32_t kind : {TarqBinFloat, TarqDecFloat})
            for (const Case &c : cases) {
                TQ_SETPRECISION(1, digits);
                Var x(kind, c.x), y(kind);
                ASSERT_EQ(c.tq(x.h, y.h), 0);
                EXPECT_LE(unitsOff(y, c.mp, x), 1.0) << c.name << "(" << c.x << ") kind " << kind << " at " << digits;
            }
    TQ_SETPRECISION(1, 38);
    Var a(TarqBinFloat, "1.000000000000000000000001"), b(TarqBinFloat, "1234567"), p(TarqBinFloat);
    ASSERT_EQ(TQ_POW(a.h, b.h, p.h), 0);
    EXPECT_LE(unitsOff(p, nullptr, a, mpfr_pow, &b), 1.0);
}

// The same calls with the same operands at the same precision give the same
// bits: a second call, and after computations at another precision (cached
// constants longer or shorter than needed).
TEST(AccuracyFaults, ResultsDoNotDependOnHistory) {
    Restore r;
    struct Call {
        int32_t kind, digits;
        int32_t(TQ_CALL *f)(int32_t, int32_t);
        const char *x;
    } calls[] = {
        {TarqBinFloat, 38, TQ_SIN, "1*d-10"}, {TarqDecFloat, 20, TQ_EXP10, "816"}, {TarqBinFloat, 38, TQ_LOG, "3"},
        {TarqDecFloat, 38, TQ_EXP, "2.5"},    {TarqBinFloat, 100, TQ_ATAN, "7"},   {TarqDecFloat, 100, TQ_COS, "1*d20"},
        {TarqBinFloat, 20, TQ_LOG10, "2"},    {TarqDecFloat, 38, TQ_TAN, "1.5"},
    };
    auto runAll = [&](std::vector<TqNum> &out) {
        out.clear();
        for (const Call &c : calls) {
            TQ_SETPRECISION(1, c.digits);
            Var x(c.kind, c.x), y(c.kind);
            EXPECT_EQ(c.f(x.h, y.h), 0);
            out.push_back(y.num());
        }
    };
    std::vector<TqNum> first, second, after;
    runAll(first);
    runAll(second);
    // Constants and functions at 6,000 digits, then at 10.
    for (int32_t digits : {6000, 10}) {
        TQ_SETPRECISION(1, digits);
        for (int32_t kind : {TarqBinFloat, TarqDecFloat}) {
            Var x(kind, "0.75"), y(kind);
            for (int32_t code = 1; code <= 10; ++code) TQ_GETCONST(code, y.h);
            TQ_EXP(x.h, y.h);
            TQ_LOG(x.h, y.h);
            TQ_SIN(x.h, y.h);
        }
    }
    TQ_GETGLOBALERROR();
    runAll(after);
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_TRUE(acc_SameBits(first[i], second[i])) << "second call, case " << i;
        EXPECT_TRUE(acc_SameBits(first[i], after[i])) << "after 6,000 digits, case " << i;
    }
}

// In a fresh process: decimal 10^816 at 20 digits is exact on the first call,
// binary sin(1e-10) the same on the first and second call.
TEST(FreshProcess, FirstCallsAsLaterOnes) {
    TQ_FRESH_ONLY();
    TQ_SETPRECISION(1, 20);
    Var x(TarqDecFloat, "816"), y(TarqDecFloat), want(TarqDecFloat, "1*d816");
    ASSERT_EQ(TQ_EXP10(x.h, y.h), 0);
    EXPECT_EQ(TQ_COMPARE(y.h, want.h), 0);
    TQ_SETPRECISION(1, 38);
    Var t(TarqBinFloat, "1*d-10"), s1(TarqBinFloat), s2(TarqBinFloat);
    ASSERT_EQ(TQ_SIN(t.h, s1.h), 0);
    ASSERT_EQ(TQ_SIN(t.h, s2.h), 0);
    EXPECT_TRUE(sameBits(s1, s2));
    EXPECT_LE(unitsOff(s1, mpfr_sin, t), 1.0);
}

TEST(AccuracyFaults, FreshProcessFirstCallsAsLaterOnes) { EXPECT_TRUE(tq_RunFresh("FirstCallsAsLaterOnes")); }

// exp(a) exp(b) against exp(a + b) for |a|, |b| < 1: three roundings of at
// most a unit each and the rounding of a + b, within 4 units.
TEST(AccuracyProperties, ExpOfASumIsTheProductOfExps) {
    Restore r;
    for (int32_t digits : {20, 38, 100, 1000})
        for (int32_t kind : {TarqBinFloat, TarqDecFloat}) {
            TQ_SETPRECISION(1, digits);
            AccGen g(31 + static_cast<unsigned long>(digits + kind), ulp_OraclePrec());
            mpfr_t a, b;
            mpfr_inits2(g.prec, a, b, static_cast<mpfr_ptr>(nullptr));
            for (int i = 0; i < (digits >= 1000 ? 2 : 8); ++i) {
                g.uniform(a, -1, 1);
                g.uniform(b, -1, 1);
                Var va(kind), vb(kind), ea(kind), eb(kind), prod(kind), sum(kind), esum(kind);
                tqg_Put(va.h, acc_ToKind(a, kind));
                tqg_Put(vb.h, acc_ToKind(b, kind));
                ASSERT_EQ(TQ_EXP(va.h, ea.h) | TQ_EXP(vb.h, eb.h) | TQ_MUL(ea.h, eb.h, prod.h), 0);
                ASSERT_EQ(TQ_ADD(va.h, vb.h, sum.h) | TQ_EXP(sum.h, esum.h), 0);
                mpfr_t y;
                mpfr_init2(y, ulp_OraclePrec());
                tqg_ToMpfr(y, esum.num());
                EXPECT_LE(ulp_Error(prod.num(), y), 4.0) << "kind " << kind << " digits " << digits;
                mpfr_clear(y);
            }
            mpfr_clears(a, b, static_cast<mpfr_ptr>(nullptr));
        }
}
