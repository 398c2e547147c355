// The answers of the elementary functions that need no oracle, one table for
// all of them: special and zero arguments, the domain edges, decimal
// arguments whose exponent lies beyond +-2^30 (where no power of ten is
// formed), the exponential past the exponent range and the refused kinds;
// each with its status, the bits left in the error word and its result.
#include <gtest/gtest.h>

#include <string>

#include "accuracy.h"
#include "tq_vars.h"

namespace {

constexpr int32_t Dec = 1, Bin = 2, Both = 3;

// A row applies every function of `fns` to every argument of `in` (both
// lists space-separated) in the kinds of `kinds`. The result is a text read in
// the argument's kind, "x" (the argument itself), "pi/2" or "-pi/2" (the
// constant 10), or "~" (a logarithm within one unit of MPFR's).
struct Row {
    const char *fns, *in;
    int32_t status, word;
    const char *out;
    int32_t kinds = Both;
};

const char *const kTiny = "1.5*d-2000000000 -1.5*d-2000000000 7*d-1073741825 1*d-1073741824";
const char *const kHuge = "1.5*d2000000000 -1.5*d2000000000 3*d1073741825 1.25*d1073741824";
const char *const kFarPositive = "1.5*d-2000000000 7*d-1073741825 1*d-1073741824 1.5*d2000000000 3*d1073741825 1.25*d1073741824";
const char *const kHugePositive = "1.5*d2000000000 3*d1073741825 1.25*d1073741824";

const Row kRows[] = {
    {"EXP EXP2 EXP10", "*+inf", 8, 8, "*+inf"},
    {"EXP EXP2 EXP10", "*-inf", 0, 0, "0"},
    {"EXP", "*NaN", 8, 9, "*NaN"},
    {"EXP2 EXP10", "*NaN", 8, 8, "*NaN"},  // powers of 2 and 10: a NaN power raises no invalid bit
    {"EXP EXP2 EXP10 COS", "0", 0, 0, "1"},
    {"SIN TAN ATAN ASIN", "0", 0, 0, "0"},
    {"SIN COS TAN ATAN ASIN", "*+inf *-inf *NaN", 1, 9, "*NaN"},
    {"LOG LOG2 LOG10", "*+inf", 8, 8, "*+inf"},
    {"LOG LOG2 LOG10", "*-inf *NaN", 8, 9, "*NaN"},
    {"LOG LOG2 LOG10", "0", 1, 9, "*-inf"},
    {"LOG LOG2 LOG10", "-1 -1*d-30", 1, 9, "*NaN"},
    {"LOG LOG2 LOG10", "1", 0, 0, "0"},
    {"LOG2", "256", 0, 0, "8", Bin},
    {"LOG10", "1000", 0, 0, "3", Dec},
    {"ASIN", "1", 0, 0, "pi/2"},
    {"ASIN", "-1", 0, 0, "-pi/2"},
    {"ASIN", "1.0000001 -1.0000001 2 -1*d30", 1, 9, "*NaN"},
    {"SIN", "1*d400000", 256, 265, "*NaN", Dec},  // beyond the reach of the reduction
    // Far decimal exponents: tiny arguments are their own sine, tangent, arc
    // tangent and arc sine; huge ones leave only infinities, zeros and pi/2.
    {"EXP EXP2 EXP10 COS", kTiny, 0, 0, "1", Dec},
    {"SIN TAN ATAN ASIN", kTiny, 0, 0, "x", Dec},
    {"LOG LOG2 LOG10", kFarPositive, 0, 0, "~", Dec},
    {"LOG LOG2 LOG10", "-1.5*d-2000000000 -1.5*d2000000000", 1, 9, "*NaN", Dec},
    {"EXP EXP2 EXP10", kHugePositive, 264, 264, "*+inf", Dec},
    {"EXP EXP2 EXP10", "-1.5*d2000000000", 256, 256, "0", Dec},
    {"SIN COS TAN", kHuge, 256, 265, "*NaN", Dec},
    {"ASIN", kHuge, 1, 9, "*NaN", Dec},
    {"ATAN", kHugePositive, 0, 0, "pi/2", Dec},
    {"ATAN", "-1.5*d2000000000", 0, 0, "-pi/2", Dec},
};

// log(m 10^e) = log(m) + e log(10), in the base of the function.
void farLog(mpfr_t y, const std::string &fn, const std::string &text) {
    const size_t d = text.find("*d");
    mpfr_t t;
    mpfr_init2(t, mpfr_get_prec(y));
    mpfr_set_str(y, text.substr(0, d).c_str(), 10, MPFR_RNDN);
    mpfr_log(y, y, MPFR_RNDN);
    mpfr_set_ui(t, 10, MPFR_RNDN);
    mpfr_log(t, t, MPFR_RNDN);
    mpfr_mul_si(t, t, std::stol(text.substr(d + 2)), MPFR_RNDN);
    mpfr_add(y, y, t, MPFR_RNDN);
    if (fn == "LOG2") mpfr_const_log2(t, MPFR_RNDN);
    if (fn == "LOG10") mpfr_log_ui(t, 10, MPFR_RNDN);
    if (fn != "LOG") mpfr_div(y, y, t, MPFR_RNDN);
    mpfr_clear(t);
}

}  // namespace

TEST(Outcomes, EveryRowInItsKinds) {
    TqTestPrecision p(38);
    for (const Row &row : kRows)
        for (int32_t kind : {Dec, Bin}) {
            if (!(row.kinds & kind)) continue;
            for (const std::string &fn : tq_Words(row.fns))
                for (const std::string &in : tq_Words(row.in)) {
                    const std::string what = fn + "(" + in + ") kind " + std::to_string(kind);
                    TqVar x(kind, in.c_str()), r(kind);
                    TQ_GETGLOBALERROR();
                    EXPECT_EQ(acc_Op(fn).tq1(x.h, r.h), row.status) << what;
                    EXPECT_EQ(TQ_GETGLOBALERROR(), static_cast<uint32_t>(row.word)) << what;
                    const std::string out = row.out;
                    if (out == "~") {
                        mpfr_t y;
                        mpfr_init2(y, ulp_OraclePrec());
                        farLog(y, fn, in);
                        EXPECT_LE(ulp_Error(r.num(), y), 1.0) << what;
                        mpfr_clear(y);
                        continue;
                    }
                    TqVar e(kind);
                    if (out == "x") TQ_COPYVAR(x.h, e.h);
                    else if (out.find("pi/2") != std::string::npos) TQ_GETCONST(10, e.h);
                    else
                        EXPECT_EQ(TQ_PUTSTRING_PAZ(out.c_str(), e.h), 0) << out;
                    if (out == "-pi/2") TQ_REVSIGN(e.h, e.h);
                    if (e.num().V.Special) {
                        EXPECT_EQ(r.num().V.Special, e.num().V.Special) << what;
                    } else {
                        EXPECT_EQ(r.num().V.Special, 0) << what;
                        EXPECT_EQ(TQ_COMPARE(r.h, e.h), 0) << what << " gave " << tq_Text(r.h);
                        if (e.num().MantN == tq_Word(0)) {
                            EXPECT_TRUE(acc_SameBits(r.num(), e.num())) << what;
                        }
                    }
                }
        }
    TQ_GETGLOBALERROR();
}

// A zero with a minus sign is a zero.
TEST(Outcomes, NegativeZeroIsZero) {
    TqVar x(Dec), r(Dec), zero(Dec);
    TqNum nz = x.num();
    nz.V.Sign = -1;
    tqg_Put(x.h, nz);
    EXPECT_EQ(TQ_SIN(x.h, r.h), 0);
    EXPECT_TRUE(acc_SameBits(r.num(), zero.num()));
}

// Multiples of the radix step ln 256 or ln 10 beyond what any cut brings back
// into the exponent range: +inf or zero, with the range bit.
TEST(Outcomes, ExponentialBeyondTheRange) {
    TqTestPrecision p(38);
    for (int32_t kind : {Dec, Bin})
        for (double scale : {2147483700.5, 3.0e9, 4294967295.0, 5.0e9, 1e30})
            for (int sign : {-1, 1}) {
                mpfr_t x;
                mpfr_init2(x, 256);
                mpfr_log_ui(x, kind == Bin ? 256 : 10, MPFR_RNDN);
                mpfr_mul_d(x, x, sign * scale, MPFR_RNDN);
                TqVar a(kind), r(kind);
                tqg_Put(a.h, acc_ToKind(x, kind));
                mpfr_clear(x);
                EXPECT_EQ(TQ_EXP(a.h, r.h), sign > 0 ? 264 : 256) << scale;
                EXPECT_EQ(r.num().V.Special, sign > 0 ? 1 : 0);
                EXPECT_EQ(TQ_GETGLOBALERROR() & 256, 256u);
            }
}

// Only the float kinds (2^x and 10^x of a big integer are integer powers),
// and argument and result of one kind; a bad handle.
TEST(Outcomes, RefusedKindsAndHandles) {
    const char *const all[] = {"EXP", "EXP2", "EXP10", "LOG", "LOG2", "LOG10", "SIN", "COS", "TAN", "ATAN", "ASIN"};
    TqVar d(Dec, "0.5"), b(Bin, "0.25"), i(TQ_KIND_BIGINT, "1"), f(TQ_KIND_FRACTION, "1"), t(TQ_KIND_TEXT);
    const TqNum before = b.num();
    for (const char *fn : all) {
        for (const TqVar *v : {&i, &f, &t}) {
            if (v == &i && std::string(fn).rfind("EXP", 0) == 0 && fn[3]) continue;
            EXPECT_EQ(acc_Op(fn).tq1(v->h, v->h), tq_Err_Type) << fn;
            EXPECT_EQ(TQ_GETGLOBALERROR(), static_cast<uint32_t>(tq_Err_Type));
        }
        EXPECT_EQ(acc_Op(fn).tq1(d.h, b.h), tq_Err_Type) << fn;
        EXPECT_TRUE(acc_SameBits(b.num(), before)) << fn;
        EXPECT_EQ(acc_Op(fn).tq1(d.h, 123456), tq_Err_Handle) << fn;
        EXPECT_EQ(TQ_GETGLOBALERROR(), static_cast<uint32_t>(tq_Err_Type | tq_Err_Handle));
    }
}
