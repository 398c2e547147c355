// The accuracy faults once seen, one table row each, measured against MPFR in
// units in the last place (ulp.h); results that must not depend on what ran
// before (a fresh process, a second call, a long computation in between).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accuracy.h"
#include "fresh.h"
#include "tq_vars.h"

namespace {

constexpr int32_t Dec = TarqDecFloat, Bin = TarqBinFloat, Both = 3;

// op (an operation of accuracy.h, or CONST with the constant's code as a) on
// a (and b) in each kind of `kinds` (1, 2 or both) at each precision of
// `digits`: within `bound` units.
struct Point {
    const char *fault, *op;
    int32_t kinds;
    const char *digits, *a, *b;
    double bound;
};

const char *const kPi = "3.14159265358979323846264338327950288419716939937510582097494459";
const char *const kHalfPi = "1.5707963267948966192313216916397514420985846996875529104874722961";

const Point kPoints[] = {
    // Binary floats kept as few as 8P - 31 bits (binary pi at 50 digits lost
    // its last digit); 2 pi was twice the cut pi, with twice its error.
    {"ConstantsRoundedOnce", "CONST", Both, "20 38 50 100 1000", "8", "", 0.5},
    {"ConstantsRoundedOnce", "CONST", Both, "20 38 100 1000", "9", "", 0.501},
    {"ConstantsRoundedOnce", "CONST", Both, "20 38 100 1000", "10", "", 0.501},
    // Decimal division truncated a quotient of the operands' length (30
    // digits of 38 right), and binary division lost what the cut dropped.
    {"DivisionRounds", "DIV", Dec, "38", "50315015780807840004037645984470787557260496714746*d+72",
     "-933047343680192511645760611699013336172438660856*d+92", 0.5},
    {"DivisionRounds", "DIV", Dec, "20", "2", "3", 0.5},
    {"DivisionRounds", "DIV", Dec, "100", "1", "7", 0.5},
    {"DivisionRounds", "DIV", Bin, "38", "1", "3", 0.5},
    {"DivisionRounds", "DIV", Bin, "1000", "-2", "7", 0.5},
    // 10^x and 2^x of large binary integers and powers were off by hundreds
    // of units.
    {"ExponentialOfLargeInteger", "EXP10", Both, "20 38 1000", "655", "", 1},
    {"ExponentialOfLargeInteger", "EXP10", Both, "20 38 1000", "-9999", "", 1},
    {"ExponentialOfLargeInteger", "EXP10", Both, "20 38 1000", "816", "", 1},
    {"ExponentialOfLargeInteger", "EXP2", Both, "20 38 1000", "123457", "", 1},
    {"ExponentialOfLargeInteger", "EXP", Both, "20 38 1000", "100000", "", 1},
    {"ExponentialOfLargeInteger", "POW", Bin, "38", "1.000000000000000000000001", "1234567", 1},
    // Huge arguments: no correct digit, wrong signs, |sin x| > 1, sin(10^100) = 1.0.
    {"HugeArgument", "SIN", Both, "38", "1*d100", "", 1},
    {"HugeArgument", "COS", Dec, "100", "-7.25*d300", "", 1},
    {"HugeArgument", "TAN", Bin, "1000", "1*d300", "", 1},
    {"HugeArgument", "SIN", Dec, "20", "-1.5*d22", "", 1},
    {"HugeArgument", "COS", Bin, "20", "&h1*h250", "", 1},
    // Binary sine of tiny x: the residue of cos(x - pi/2), one constant for
    // every x; a tiny argument must not size the fixed point.
    {"TinyArgument", "SIN", Bin, "38", "1*d-30 3*d-100 -3*d-100000", "", 1},
    {"TinyArgument", "SIN", Bin, "100", "-1*d-300", "", 1},
    {"TinyArgument", "TAN", Bin, "38", "7*d-200", "", 1},
    {"TinyArgument", "ATAN", Bin, "1000", "2*d-100000", "", 1},
    {"TinyArgument", "COS", Dec, "38", "1*d-30", "", 1},
    // Near zeros and poles: only the absolute error was small.
    {"NearZeroRelative", "TAN", Dec, "38", "-0.9999422381000756745601324564291078922654433439*d6", "", 1},
    {"NearZeroRelative", "SIN", Dec, "38", kPi, "", 1},
    {"NearZeroRelative", "SIN", Bin, "100", kPi, "", 1},
    {"NearZeroRelative", "COS", Bin, "38", kHalfPi, "", 1},
    {"NearZeroRelative", "COS", Dec, "20", "-4.7123889803846898576939650749192543262957540990626587314624169", "", 1},
    {"NearZeroRelative", "SIN", Dec, "20", "104348", "", 1},
    {"NearZeroRelative", "TAN", Bin, "20", "355", "", 1},
    // Decimal arguments evaluated on binary floats: the conversion's error,
    // amplified near the zeros and poles, asks for a second run.
    {"DecimalThroughBinary", "SIN", Dec, "100",
     "3.141592653589793238462643383279502884197169399375105820974944592307816406286208998628034825342117067982148086513282", "", 1},
    {"DecimalThroughBinary", "TAN", Dec, "100",
     "1.570796326794896619231321691639751442098584699687552910487472296153908203143104499314017412671058533991074043256641", "", 1},
    {"DecimalThroughBinary", "COS", Dec, "38", "-1.5707963267948966192313216916397514420985846996875529*d6", "", 1},
    {"DecimalThroughBinary", "ASIN", Dec, "100",
     "0.9999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999", "", 1},
    // Binary arc tangent up to 1.6 units.
    {"BinaryArcTangent", "ATAN", Bin, "20", "&h10000000000000001*h-10", "", 1},
    {"BinaryArcTangent", "ATAN", Bin, "1000", "1.000000000001", "", 1},
    {"BinaryArcSine", "ASIN", Bin, "100", "0.99", "", 1},
};

// The error in units of r against op on the variables' exact values.
double unitsOff(const AccOp &op, const TqVar &r, const TqVar &a, const TqVar &b) {
    mpfr_t xa, xb, y;
    mpfr_inits2(64, xa, xb, static_cast<mpfr_ptr>(nullptr));
    mpfr_init2(y, ulp_OraclePrec());
    acc_Exact(xa, a.num());
    acc_Exact(xb, b.num());
    if (op.arity == 1) op.mp1(y, xa, MPFR_RNDN);
    else op.mp2(y, xa, xb, MPFR_RNDN);
    const double u = ulp_Error(r.num(), y);
    mpfr_clears(xa, xb, y, static_cast<mpfr_ptr>(nullptr));
    return u;
}

}  // namespace

TEST(AccuracyFaults, EachPointWithinItsBound) {
    TqTestPrecision keep(38);
    for (const Point &p : kPoints)
        for (int32_t kind : {Dec, Bin}) {
            if (!(p.kinds & kind)) continue;
            for (const std::string &digits : tq_Words(p.digits))
                for (const std::string &a : tq_Words(p.a)) {
                    TQ_SETPRECISION(1, std::stoi(digits));
                    const std::string what = std::string(p.fault) + " " + p.op + "(" + a + ") kind " +
                                             std::to_string(kind) + " at " + digits;
                    TqVar r(kind);
                    if (std::string(p.op) == "CONST") {
                        ASSERT_EQ(TQ_GETCONST(std::stoi(a), r.h), 0) << what;
                        mpfr_t y;
                        mpfr_init2(y, ulp_OraclePrec());
                        acc_Constant(std::stoi(a), y);
                        EXPECT_LE(ulp_Error(r.num(), y), p.bound) << what;
                        mpfr_clear(y);
                        continue;
                    }
                    const AccOp &op = acc_Op(p.op);
                    TqVar x(kind, a.c_str()), y(kind, *p.b ? p.b : "1");
                    ASSERT_EQ(op.arity == 1 ? op.tq1(x.h, r.h) : op.tq2(x.h, y.h, r.h), 0) << what;
                    EXPECT_LE(unitsOff(op, r, x, y), p.bound) << what;
                }
        }
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0u);
}

// The addition shortcut compared decimal exponents in single precision:
// (x + y) - x gave 0 for x = 1*d900000004, y = 1*d899999984.
TEST(AccuracyFaults, AdditionShortcutDecidesOnExactExponents) {
    TqVar x(Dec, "1*d900000004"), y(Dec, "1*d899999984"), s(Dec), d(Dec);
    ASSERT_EQ(TQ_ADD(x.h, y.h, s.h), 0);
    ASSERT_EQ(TQ_SUB(s.h, x.h, d.h), 0);
    EXPECT_EQ(TQ_COMPARE(d.h, y.h), 0);
}

// The same calls with the same operands at the same precision give the same
// bits: a second call, and after computations at another precision (cached
// constants longer or shorter than needed).
TEST(AccuracyFaults, ResultsDoNotDependOnHistory) {
    TqTestPrecision keep(38);
    struct Call {
        int32_t kinds, digits;
        const char *fns, *xs;
    } calls[] = {
        {Both, 38, "SIN COS TAN", "1*d-10 1*d300 -98765.4321 1.5707963267948966192313216916397514420985846996875529104874722961"},
        {Dec, 20, "EXP10", "816"}, {Bin, 38, "LOG", "3"},   {Dec, 38, "EXP", "2.5"},   {Bin, 100, "ATAN", "7"},
        {Dec, 100, "COS", "1*d20"}, {Bin, 20, "LOG10", "2"}, {Dec, 38, "TAN", "1.5"},
    };
    auto runAll = [&](std::vector<TqNum> &out) {
        out.clear();
        for (const Call &c : calls)
            for (int32_t kind : {Dec, Bin})
                for (const std::string &fn : tq_Words(c.fns))
                    for (const std::string &x : tq_Words(c.xs)) {
                        if (!(c.kinds & kind)) continue;
                        TQ_SETPRECISION(1, c.digits);
                        TqVar a(kind, x.c_str()), y(kind);
                        EXPECT_EQ(acc_Op(fn).tq1(a.h, y.h), 0);
                        out.push_back(y.num());
                    }
    };
    std::vector<TqNum> first, second, after;
    runAll(first);
    runAll(second);
    // Constants and functions at 6,000 digits, then at 10.
    for (int32_t digits : {6000, 10}) {
        TQ_SETPRECISION(1, digits);
        for (int32_t kind : {Bin, Dec}) {
            TqVar x(kind, "0.75"), y(kind);
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
    TqVar x(Dec, "816"), y(Dec), want(Dec, "1*d816");
    ASSERT_EQ(TQ_EXP10(x.h, y.h), 0);
    EXPECT_EQ(TQ_COMPARE(y.h, want.h), 0);
    TQ_SETPRECISION(1, 38);
    TqVar t(Bin, "1*d-10"), s1(Bin), s2(Bin), one(Bin, "1");
    ASSERT_EQ(TQ_SIN(t.h, s1.h), 0);
    ASSERT_EQ(TQ_SIN(t.h, s2.h), 0);
    EXPECT_TRUE(acc_SameBits(s1.num(), s2.num()));
    EXPECT_LE(unitsOff(acc_Op("SIN"), s1, t, one), 1.0);
}

TEST(AccuracyFaults, FreshProcessFirstCallsAsLaterOnes) { EXPECT_TRUE(tq_RunFresh("FirstCallsAsLaterOnes")); }
