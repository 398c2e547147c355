// The faults the trigonometric functions once had, one table row each, every
// result checked against MPFR within one unit in the last place; and the
// property sin^2 + cos^2 = 1 within two units, over arguments of every size.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tq_oracle.h"
#include "ulp.h"

namespace {

enum Fn { kSin, kCos, kTan, kAtan, kAsin };

int32_t callExport(Fn f, int32_t in, int32_t out) {
    switch (f) {
        case kSin: return TQ_SIN(in, out);
        case kCos: return TQ_COS(in, out);
        case kTan: return TQ_TAN(in, out);
        case kAtan: return TQ_ATAN(in, out);
        default: return TQ_ASIN(in, out);
    }
}

int oracle(Fn f, mpfr_t r, const mpfr_t x) {
    switch (f) {
        case kSin: return mpfr_sin(r, x, MPFR_RNDN);
        case kCos: return mpfr_cos(r, x, MPFR_RNDN);
        case kTan: return mpfr_tan(r, x, MPFR_RNDN);
        case kAtan: return mpfr_atan(r, x, MPFR_RNDN);
        default: return mpfr_asin(r, x, MPFR_RNDN);
    }
}

// A variable of the kind holding the library's reading of text.
int32_t parse(int32_t kind, const char *text) {
    const int32_t h = TQ_ALLOCVAR(kind);
    tq_dstr s = TQ_DS_NEW(text, static_cast<int32_t>(std::strlen(text)));
    EXPECT_EQ(TQ_PUT_STRING(s, h), 0) << text;
    TQ_DS_FREE(s);
    return h;
}

// The exact value of a float (a decimal exponent E costs 2.33 |E| bits).
void exactValue(mpfr_t x, const TqNum &v) {
    mpfr_init2(x, 8L * tq_Len(v.MantN) + 4L * std::abs(v.V.Expo) * (v.V.NumType == TarqBinFloat ? 2 : 1) + 64);
    tqg_ToMpfr(x, v);
}

struct Fault {
    const char *name;
    Fn f;
    int32_t kind;
    int32_t digits;
    const char *x;
};

const Fault kFaults[] = {
    // Huge arguments: no correct digit, wrong signs, |sin x| > 1, sin(10^100) = 1.0.
    {"HugeArgument", kSin, TarqDecFloat, 38, "1*d100"},
    {"HugeArgument", kSin, TarqBinFloat, 38, "1*d100"},
    {"HugeArgument", kCos, TarqDecFloat, 100, "-7.25*d300"},
    {"HugeArgument", kTan, TarqBinFloat, 1000, "1*d300"},
    {"HugeArgument", kSin, TarqDecFloat, 20, "-1.5*d22"},
    {"HugeArgument", kCos, TarqBinFloat, 20, "&h1*h250"},
    // Binary sine of tiny x: the residue of cos(x - pi/2), one constant for every x.
    {"TinyArgumentThroughSeries", kSin, TarqBinFloat, 38, "1*d-30"},
    {"TinyArgumentThroughSeries", kSin, TarqBinFloat, 38, "3*d-100"},
    {"TinyArgumentThroughSeries", kSin, TarqBinFloat, 100, "-1*d-300"},
    {"TinyArgumentThroughSeries", kTan, TarqBinFloat, 38, "7*d-200"},
    // Fixed-point evaluation: a tiny argument must not size the fixed point.
    {"TinyArgumentThroughSeries", kSin, TarqBinFloat, 38, "-3*d-100000"},
    {"TinyArgumentThroughSeries", kAtan, TarqBinFloat, 1000, "2*d-100000"},
    {"TinyArgumentThroughSeries", kCos, TarqDecFloat, 38, "1*d-30"},
    // Near zeros and poles: only the absolute error was small.
    {"NearZeroRelative", kTan, TarqDecFloat, 38, "-0.9999422381000756745601324564291078922654433439*d6"},
    {"NearZeroRelative", kSin, TarqDecFloat, 38, "3.14159265358979323846264338327950288419716939937510582097494459"},
    {"NearZeroRelative", kSin, TarqBinFloat, 100, "3.14159265358979323846264338327950288419716939937510582097494459"},
    {"NearZeroRelative", kCos, TarqBinFloat, 38, "1.5707963267948966192313216916397514420985846996875529104874722961"},
    {"NearZeroRelative", kCos, TarqDecFloat, 20, "-4.7123889803846898576939650749192543262957540990626587314624169"},
    {"NearZeroRelative", kSin, TarqDecFloat, 20, "104348"},
    {"NearZeroRelative", kTan, TarqBinFloat, 20, "355"},
    // Decimal arguments evaluated on binary floats: the conversion's error,
    // amplified near the zeros and poles, asks for a second run.
    {"DecimalThroughBinary", kSin, TarqDecFloat, 100, "3.141592653589793238462643383279502884197169399375105820974944592307816406286208998628034825342117067982148086513282"},
    {"DecimalThroughBinary", kTan, TarqDecFloat, 100, "1.570796326794896619231321691639751442098584699687552910487472296153908203143104499314017412671058533991074043256641"},
    {"DecimalThroughBinary", kCos, TarqDecFloat, 38, "-1.5707963267948966192313216916397514420985846996875529*d6"},
    {"DecimalThroughBinary", kAsin, TarqDecFloat, 100, "0.9999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999"},
    // Binary arc tangent up to 1.6 units.
    {"BinaryArcTangent", kAtan, TarqBinFloat, 20, "&h10000000000000001*h-10"},
    {"BinaryArcTangent", kAtan, TarqBinFloat, 1000, "1.000000000001"},
    {"BinaryArcSine", kAsin, TarqBinFloat, 100, "0.99"},
};

TEST(TrigFaults, EachWithinOneUnit) {
    for (const Fault &c : kFaults) {
        TQ_SETPRECISION(1, c.digits);
        const int32_t in = parse(c.kind, c.x), out = TQ_ALLOCVAR(c.kind);
        ASSERT_EQ(callExport(c.f, in, out), 0) << c.name << " " << c.x;
        mpfr_t x, exact;
        exactValue(x, tqg_Get(in));
        mpfr_init2(exact, 16L * gTq_Prec_Bytes_Internal + 256);
        oracle(c.f, exact, x);
        const TqNum &r = tqg_Get(out);
        EXPECT_LE(ulp_Error(r, exact), 1.0) << c.name << " " << c.x << " digits " << c.digits;
        EXPECT_EQ(r.V.Sign, mpfr_sgn(exact) < 0 ? -1 : 1) << c.name << " " << c.x;
        mpfr_clears(x, exact, static_cast<mpfr_ptr>(nullptr));
        TQ_UNALLOCVAR(in);
        TQ_UNALLOCVAR(out);
    }
    TQ_SETPRECISION(1, 38);
    EXPECT_EQ(TQ_GETGLOBALERROR(), 0u);
}

// 2 pi was twice the cut pi, with twice its error: now one rounding of the
// longer value, within half a unit (and a trace).
TEST(TrigFaults, TwoPiAndHalfPiRoundedOnce) {
    for (int32_t digits : {1000, 100, 38, 20}) {
        TQ_SETPRECISION(1, digits);
        for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
            const int32_t h = TQ_ALLOCVAR(kind);
            for (int32_t code : {9, 10}) {
                ASSERT_EQ(TQ_GETCONST(code, h), 0);
                mpfr_t exact;
                mpfr_init2(exact, 16L * gTq_Prec_Bytes_Internal + 256);
                mpfr_const_pi(exact, MPFR_RNDN);
                mpfr_mul_2si(exact, exact, code == 9 ? 1 : -1, MPFR_RNDN);
                EXPECT_LE(ulp_Error(tqg_Get(h), exact), 0.501) << code << " kind " << kind << " digits " << digits;
                mpfr_clear(exact);
            }
            TQ_UNALLOCVAR(h);
        }
    }
    TQ_SETPRECISION(1, 38);
}

// The same call gave other bits on a second call, or after a longer
// computation had left pi cached at another length.
TEST(TrigFaults, SameBitsWhateverRanBefore) {
    const char *args[] = {"1*d-10", "1*d300", "1.5707963267948966192313216916397514420985846996875529104874722961",
                          "-98765.4321"};
    auto run = [&](std::vector<TqNum> &out) {
        TQ_SETPRECISION(1, 38);
        for (int32_t kind : {TarqDecFloat, TarqBinFloat})
            for (const char *a : args) {
                const int32_t in = parse(kind, a), r = TQ_ALLOCVAR(kind);
                for (Fn f : {kSin, kCos, kTan}) {
                    EXPECT_EQ(callExport(f, in, r), 0);
                    out.push_back(tqg_Get(r));
                }
                TQ_UNALLOCVAR(in);
                TQ_UNALLOCVAR(r);
            }
    };
    std::vector<TqNum> first, second, third;
    run(first);
    run(second);
    for (int32_t digits : {2000, 100}) {
        TQ_SETPRECISION(1, digits);
        const int32_t in = parse(TarqBinFloat, "1*d500"), r = TQ_ALLOCVAR(TarqBinFloat);
        EXPECT_EQ(TQ_SIN(in, r), 0);
        TQ_UNALLOCVAR(in);
        TQ_UNALLOCVAR(r);
    }
    run(third);
    ASSERT_EQ(first.size(), third.size());
    for (size_t i = 0; i < first.size(); ++i) {
        for (const std::vector<TqNum> *other : {&second, &third}) {
            const TqNum &a = first[i], &b = (*other)[i];
            EXPECT_TRUE(a.MantN == b.MantN && a.V.Expo == b.V.Expo && a.V.Sign == b.V.Sign) << "case " << i;
        }
    }
}

// Arguments beyond the reach of the reduction are refused, not answered.
TEST(TrigFaults, ArgumentBeyondReductionRefused) {
    const int32_t in = parse(TarqDecFloat, "1*d400000"), out = TQ_ALLOCVAR(TarqDecFloat);
    EXPECT_EQ(TQ_SIN(in, out), tq_Err_ExpRange);
    EXPECT_EQ(tqg_Get(out).V.Special, tq_Special_NaN);
    EXPECT_NE(TQ_GETGLOBALERROR() & tq_Err_ExpRange, 0u);
    TQ_UNALLOCVAR(in);
    TQ_UNALLOCVAR(out);
}

// sin^2 + cos^2 = 1 within two units of 1, for arguments from 1e-300 to
// 1e300 and next to multiples of pi/2.
TEST(TrigProperty, SinSquaredPlusCosSquaredIsOne) {
    gmp_randstate_t rs;
    gmp_randinit_mt(rs);
    gmp_randseed_ui(rs, 2027);
    for (int32_t digits : {20, 38, 100, 1000}) {
        TQ_SETPRECISION(1, digits);
        for (int32_t kind : {TarqDecFloat, TarqBinFloat}) {
            const int32_t in = TQ_ALLOCVAR(kind), s = TQ_ALLOCVAR(kind), c = TQ_ALLOCVAR(kind);
            const mpfr_prec_t p = 16L * gTq_Prec_Bytes_Internal + 256;
            for (int i = 0; i < (digits >= 1000 ? 4 : 16); ++i) {
                mpfr_t x, t;
                mpfr_inits2(p, x, t, static_cast<mpfr_ptr>(nullptr));
                if (i % 4 == 3) {
                    // k pi/2 + 2^-j
                    mpfr_const_pi(x, MPFR_RNDN);
                    mpfr_mul_ui(x, x, 1 + gmp_urandomb_ui(rs, 20), MPFR_RNDN);
                    mpfr_div_2ui(x, x, 1, MPFR_RNDN);
                    mpfr_set_ui_2exp(t, 1, -static_cast<long>(gmp_urandomb_ui(rs, 7)), MPFR_RNDN);
                    mpfr_add(x, x, t, MPFR_RNDN);
                } else {
                    mpfr_urandomb(t, rs);
                    mpfr_mul_ui(t, t, 600, MPFR_RNDN);
                    mpfr_sub_ui(t, t, 300, MPFR_RNDN);
                    mpfr_exp10(x, t, MPFR_RNDN);
                }
                tqg_Put(in, oracle_FromMpfr(x, kind));
                ASSERT_EQ(TQ_SIN(in, s), 0);
                ASSERT_EQ(TQ_COS(in, c), 0);
                // Both squares exactly, so the sum's error is the functions' alone.
                mpfr_t sv, cv, unit;
                exactValue(sv, tqg_Get(s));
                exactValue(cv, tqg_Get(c));
                mpfr_set_prec(x, 2 * (mpfr_get_prec(sv) + mpfr_get_prec(cv)));
                mpfr_sqr(x, sv, MPFR_RNDN);
                mpfr_fma(x, cv, cv, x, MPFR_RNDN);
                mpfr_sub_ui(x, x, 1, MPFR_RNDN);
                mpfr_init2(unit, 64);
                mpfr_set_ui(unit, 1, MPFR_RNDN);
                ulp_Unit(unit, unit, kind);
                mpfr_div(x, x, unit, MPFR_RNDN);
                EXPECT_LE(std::abs(mpfr_get_d(x, MPFR_RNDN)), 2.0) << "kind " << kind << " digits " << digits;
                mpfr_clears(x, t, sv, cv, unit, static_cast<mpfr_ptr>(nullptr));
            }
            for (int32_t h : {in, s, c}) TQ_UNALLOCVAR(h);
        }
    }
    gmp_randclear(rs);
    TQ_SETPRECISION(1, 38);
}

}  // namespace
