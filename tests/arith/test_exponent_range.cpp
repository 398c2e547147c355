// Exponents at the edge of their 32-bit range in both float kinds: every
// operation that forms an exponent (products, squares, quotients, reciprocals,
// doubling and halving, powers, kind conversion, parsing, powers of ten) gives
// a defined result there, never a wrapped exponent: the exact value while it
// fits, else the infinity of the right sign or zero with error 256.
#include <gtest/gtest.h>

#include <string>

#include "tq_vars.h"

namespace {

constexpr int32_t Dec = TQ_KIND_DECFLOAT, Bin = TQ_KIND_BINFLOAT;
enum Op { Mul, Div, Sqr, Recip, MulBy2, DivBy2, Pow, Exp, Exp2, Exp10, ToDec, ToBin };

struct Case {
    int32_t kind;
    Op op;
    const char *a, *b;
    int32_t status;
    const char *result;  // scientific, 6 digits, in the result's kind
};

int32_t call(Op op, int32_t a, int32_t b, int32_t out) {
    switch (op) {
        case Mul: return TQ_MUL(a, b, out);
        case Div: return TQ_DIV(a, b, out);
        case Sqr: return TQ_SQR(a, out);
        case Recip: return TQ_RECIPROCAL(a, out);
        case MulBy2: return TQ_MULBY2(a, out);
        case DivBy2: return TQ_DIVBY2(a, out);
        case Pow: return TQ_POW(a, b, out);
        case Exp: return TQ_EXP(a, out);
        case Exp2: return TQ_EXP2(a, out);
        case Exp10: return TQ_EXP10(a, out);
        default: return TQ_CONVERTDT(a, out);
    }
}

const Case kCases[] = {
    // decimal: the exponent range is that of a signed 32-bit integer
    {Dec, Sqr, "1*d2000000000", nullptr, 264, "*+inf"},
    {Dec, Mul, "-1*d2000000000", "1*d2000000000", 264, "*-inf"},
    {Dec, Mul, "1*d1073741823", "1*d1073741823", 0, " 1.0*d+2147483646"},
    {Dec, Sqr, "1*d-2147483648", nullptr, 256, " 0.0*d+0"},
    {Dec, Sqr, "3*d-1073741824", nullptr, 0, " 9.0*d-2147483648"},
    {Dec, Div, "1*d2000000000", "1*d-2000000000", 264, "*+inf"},
    {Dec, Div, "-1*d-2000000000", "1*d2000000000", 256, " 0.0*d+0"},
    {Dec, Div, "1*d2147483647", "1*d1", 0, " 1.0*d+2147483646"},
    {Dec, Recip, "4*d-2147483647", nullptr, 0, " 2.5*d+2147483646"},
    {Dec, Recip, "1*d-2147483648", nullptr, 0, " 1.0*d+2147483648"},
    {Dec, Recip, "-4*d2147483647", nullptr, 256, " 0.0*d+0"},
    {Dec, DivBy2, "1*d-2147483648", nullptr, 256, " 0.0*d+0"},
    {Dec, MulBy2, "7*d2147483647", nullptr, 0, " 1.4*d+2147483648"},
    {Dec, Pow, "1*d1000000000", "3", 264, "*+inf"},
    {Dec, Pow, "1*d-1000000000", "3", 256, " 0.0*d+0"},
    {Dec, Pow, "1*d700000000", "3", 0, " 1.0*d+2100000000"},
    // far beyond the range the answer comes before any precision is raised
    {Dec, Pow, "2", "1*d50000", 264, "*+inf"},
    {Dec, Pow, "2", "-1*d50000", 256, " 0.0*d+0"},
    {Dec, Exp, "1*d20", nullptr, 264, "*+inf"},
    {Dec, Exp, "-1*d20", nullptr, 256, " 0.0*d+0"},
    {Dec, Exp10, "2147483000.5", nullptr, 0, " 3.16228*d+2147483000"},
    {Dec, Exp10, "1*d199929929", nullptr, 264, "*+inf"},
    {Bin, Exp10, "1*d199929929", nullptr, 264, "*+inf"},
    {Bin, Exp2, "-1*d30", nullptr, 256, " &h0.0*h+0"},
    {Bin, Pow, "650000", "1*d200000", 264, "*+inf"},
    // e^x, 10^x and 2^x half a step inside and outside the last result the
    // cut leaves in range (at 38 digits about 48 digits above 10^2147483647);
    // printing such a value with fewer digits keeps its exponent
    {Dec, Exp, "4944763942.403479292016735893575007779923", nullptr, 0, " 3.16228*d+2147483694"},
    {Dec, Exp, "4944763944.706064385010781577592999234607", nullptr, 264, "*+inf"},
    {Dec, Exp, "-4944763725.960480550576441595883811039593", nullptr, 0, " 3.16228*d-2147483601"},
    {Dec, Exp, "-4944763728.263065643570487279901802494277", nullptr, 256, " 0.0*d+0"},
    {Dec, Exp10, "2147483694.5", nullptr, 0, " 3.16228*d+2147483694"},
    {Dec, Exp10, "2147483695.5", nullptr, 264, "*+inf"},
    {Dec, Pow, "10", "-2147483600.5", 0, " 3.16228*d-2147483601"},
    {Dec, Pow, "10", "-2147483601.5", 256, " 0.0*d+0"},
    {Dec, Mul, "12345678901234567890123456789012345678*d2147483600", "1*d47", 0, " 1.23457*d+2147483684"},
    {Dec, Exp, "-7*d-2147483648", nullptr, 0, " 1.0*d+0"},
    {Bin, Exp, "11908177973.22853867541566948975105582753", nullptr, 0, " &h1.0*h+10000001F"},
    {Bin, Exp, "11908177978.77371611989523196508891279919", nullptr, 264, "*+inf"},
    {Bin, Exp, "-11908177795.78286045206967027893963273423", nullptr, 0, " &h1.0*h-FFFFFFDF"},
    {Bin, Exp, "-11908177801.3280378965492327542774897059", nullptr, 256, " &h0.0*h+0"},
    {Bin, Exp2, "17179869310.5", nullptr, 0, " &h5.A827A*h+10000001F"},
    {Bin, Exp2, "17179869311.5", nullptr, 264, "*+inf"},
    {Bin, Exp2, "-17179869056.5", nullptr, 0, " &hB.504F3*h-FFFFFFE1"},
    {Bin, Exp2, "-17179869057.5", nullptr, 256, " &h0.0*h+0"},
    {Dec, ToBin, "1*d2147483647", nullptr, 0, " &h1.36EFB*h+6A4D3C25"},    // 1.21459...*16^1783446565
    {Dec, ToBin, "-1*d-2147483648", nullptr, 0, "-&h1.513B6*h-6A4D3C26"},  // 1.31731...*16^-1783446566
    // binary: Expo counts bytes, 16^(2^32) = 256^(2^31) is the first power
    // of sixteen out of range; results are shown in hexadecimal
    {Bin, Sqr, "&h1*h40000000", nullptr, 0, " &h1.0*h+80000000"},
    {Bin, Mul, "&h1*h7FFFFFFF", "&h1*h7FFFFFFF", 0, " &h1.0*h+FFFFFFFE"},
    {Bin, Mul, "-&h1*h-7FFFFFFF", "&h1*h-7FFFFFFF", 0, "-&h1.0*h-FFFFFFFE"},
    {Bin, Pow, "&h1*h40000000", "3", 0, " &h1.0*h+C0000000"},
    {Bin, Pow, "&h1*h40000000", "4.0001", 264, "*+inf"},  // 4 itself lands within an ulp of the top
    {Bin, Pow, "-&h1*h40000000", "5", 264, "*-inf"},
    {Bin, Pow, "&h1*h-40000000", "5", 256, " &h0.0*h+0"},
    {Bin, Pow, "&h2", "&h1*h10", 264, "*+inf"},  // 2^(2^64): decided before any work
    {Bin, Div, "&h1*h7FFFFFFF", "&h1*h-7FFFFFFF", 0, " &h1.0*h+FFFFFFFE"},
    {Bin, ToDec, "&h1*h7FFFFFFF", nullptr, 264, "*+inf"},
    {Bin, ToDec, "-&h1*h7FFFFFFF", nullptr, 264, "*-inf"},
    {Bin, ToDec, "&h1*h-7FFFFFFF", nullptr, 256, " 0.0*d+0"},
    {Bin, ToDec, "&h1*h40000000", nullptr, 0, " 3.10328*d+1292913986"},
};

}  // namespace

TEST(ExponentRange, EveryOperationAcrossTheLimits) {
    for (const Case &c : kCases) {
        const int32_t outKind = c.op == ToDec ? Dec : c.op == ToBin ? Bin : c.kind;
        TqVar a(c.kind, c.a), b(c.kind, c.b ? c.b : "1"), r(outKind);
        TQ_GETGLOBALERROR();
        const std::string what = std::string(c.a) + " op " + std::to_string(c.op) + (c.b ? std::string(" ") + c.b : "");
        EXPECT_EQ(call(c.op, a.h, b.h, r.h), c.status) << what;
        EXPECT_EQ(TQ_GETGLOBALERROR() & 256, c.status & 256) << what;
        EXPECT_EQ(tq_Text(r.h, 2 | (outKind == Bin ? 16 : 8), 6), c.result) << what;
    }
}
