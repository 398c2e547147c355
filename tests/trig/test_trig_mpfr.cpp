// Sine, cosine, tangent, arc tangent and arc sine against MPFR computed at
// twice the working precision, for decimal and binary floats at 38, 100 and
// 1,000 digits (and a few cases at 10,000), on arguments from 1e-300 to 1e300.
//
// The error is measured in units of the last working-precision place (see
// oracle_Unit); every result must be within one unit, however large the
// argument or close to a zero or pole of the function.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "tq_oracle.h"

namespace {

enum Fn { kSin, kCos, kTan, kAtan, kAsin };
const char *const kFnName[] = {"sin", "cos", "tan", "atan", "asin"};

int32_t callExport(Fn f, int32_t in, int32_t out) {
    switch (f) {
        case kSin: return TQ_SIN(in, out);
        case kCos: return TQ_COS(in, out);
        case kTan: return TQ_TAN(in, out);
        case kAtan: return TQ_ATAN(in, out);
        default: return TQ_ASIN(in, out);
    }
}

void oracleFn(Fn f, mpfr_t r, const mpfr_t x) {
    switch (f) {
        case kSin: mpfr_sin(r, x, MPFR_RNDN); break;
        case kCos: mpfr_cos(r, x, MPFR_RNDN); break;
        case kTan: mpfr_tan(r, x, MPFR_RNDN); break;
        case kAtan: mpfr_atan(r, x, MPFR_RNDN); break;
        default: mpfr_asin(r, x, MPFR_RNDN); break;
    }
}

struct Worst {
    double units = 0;
    std::string where;
};
std::map<std::string, Worst> &report() {
    static auto *m = new std::map<std::string, Worst>();
    return *m;
}

class TrigMpfr : public ::testing::TestWithParam<std::tuple<int, int32_t>> {
protected:
    void SetUp() override {
        digits = std::get<0>(GetParam());
        kind = std::get<1>(GetParam());
        TQ_SETPRECISION(1, digits);
        TQ_GETGLOBALERROR();
        hIn = TQ_ALLOCVAR(kind);
        hOut = TQ_ALLOCVAR(kind);
        prec = oracle_Prec();
        gmp_randinit_mt(rs);
        gmp_randseed_ui(rs, 77 + static_cast<unsigned long>(digits) * 3 + static_cast<unsigned long>(kind));
    }
    void TearDown() override {
        TQ_UNALLOCVAR(hIn);
        TQ_UNALLOCVAR(hOut);
        gmp_randclear(rs);
        TQ_SETPRECISION(1, 38);
    }

    // Runs f on x (as the library holds it) and checks the error bound.
    void check(Fn f, const mpfr_t arg) {
        TqNum x = oracle_FromMpfr(arg, kind);
        tqg_Put(hIn, x);
        const int32_t st = callExport(f, hIn, hOut);
        ASSERT_EQ(st, 0) << kFnName[f];
        const TqNum &r = tqg_Get(hOut);
        ASSERT_EQ(r.V.Special, 0);
        ASSERT_EQ(r.V.NumType, kind);
        // The argument held exactly: a decimal exponent E costs 2.33 |E| bits.
        mpfr_t xe, exact;
        mpfr_init2(xe, prec + 3L * std::abs(x.V.Expo) + 8L * tq_Len(x.MantN));
        mpfr_init2(exact, prec);
        tqg_ToMpfr(xe, x);
        oracleFn(f, exact, xe);
        const double units = oracle_ErrUnits(r, exact);
        char where[96];
        std::snprintf(where, sizeof where, "x=%.17g", mpfr_get_d(xe, MPFR_RNDN));
        EXPECT_LE(units, 1.0) << kFnName[f] << " kind " << kind << " digits " << digits << " " << where;
        const std::string key = std::string(kFnName[f]) + " kind " + std::to_string(kind) + " digits " + std::to_string(digits);
        Worst &w = report()[key];
        if (units > w.units || w.where.empty()) w = Worst{units, where};
        mpfr_clears(xe, exact, static_cast<mpfr_ptr>(nullptr));
        ASSERT_EQ(TQ_GETGLOBALERROR(), 0u) << kFnName[f] << " " << where;
    }
    void checkD(Fn f, double v) {
        mpfr_t x;
        mpfr_init2(x, prec);
        mpfr_set_d(x, v, MPFR_RNDN);
        check(f, x);
        mpfr_clear(x);
    }
    // k * pi/2 * (1 + rel): near a zero or pole.
    void checkNearHalfPi(Fn f, int k, double rel) {
        mpfr_t x;
        mpfr_init2(x, prec);
        mpfr_const_pi(x, MPFR_RNDN);
        mpfr_mul_si(x, x, k, MPFR_RNDN);
        mpfr_div_2ui(x, x, 1, MPFR_RNDN);
        mpfr_t e;
        mpfr_init2(e, prec);
        mpfr_set_d(e, rel, MPFR_RNDN);
        mpfr_mul(e, e, x, MPFR_RNDN);
        mpfr_add(x, x, e, MPFR_RNDN);
        check(f, x);
        mpfr_clears(x, e, static_cast<mpfr_ptr>(nullptr));
    }
    // Uniform in [lo, hi), full working precision.
    void checkRandom(Fn f, double lo, double hi) {
        mpfr_t x;
        mpfr_init2(x, prec);
        mpfr_urandomb(x, rs);
        mpfr_mul_d(x, x, hi - lo, MPFR_RNDN);
        mpfr_add_d(x, x, lo, MPFR_RNDN);
        check(f, x);
        mpfr_clear(x);
    }
    // 10^u, u uniform in [lo, hi), either sign.
    void checkLogRandom(Fn f, double lo, double hi) {
        mpfr_t x, t;
        mpfr_inits2(prec, x, t, static_cast<mpfr_ptr>(nullptr));
        mpfr_urandomb(t, rs);
        mpfr_mul_d(t, t, hi - lo, MPFR_RNDN);
        mpfr_add_d(t, t, lo, MPFR_RNDN);
        mpfr_exp10(x, t, MPFR_RNDN);
        if (gmp_urandomb_ui(rs, 1)) mpfr_neg(x, x, MPFR_RNDN);
        check(f, x);
        mpfr_clears(x, t, static_cast<mpfr_ptr>(nullptr));
    }
    int many() const { return digits >= 1000 ? 1 : 4; }

    int digits;
    int32_t kind;
    int32_t hIn, hOut;
    mpfr_prec_t prec;
    gmp_randstate_t rs;
};

TEST_P(TrigMpfr, SinCosTan) {
    const double fixed[] = {1e-30, -3.7e-12, 1e-5, 0.1, -0.5, 1, 1.5, 2, -3, 4.5, 6.2, 7, 10, -100, 1234.5678, 98765.4321, 1e6};
    for (Fn f : {kSin, kCos, kTan}) {
        for (double v : fixed) {
            if (digits >= 1000 && (v == 2 || v == 6.2 || v == 98765.4321)) continue;
            checkD(f, v);
        }
        // Near zeros and poles: k pi/2 (1 + rel).
        for (int k : {1, -2, 3, 4, 63}) {
            checkNearHalfPi(f, k, 1e-6);
            if (digits < 1000) checkNearHalfPi(f, k, -1e-20);
        }
        for (int i = 0; i < 2 * many(); ++i) checkRandom(f, -8, 8);
        for (int i = 0; i < many(); ++i) checkLogRandom(f, -30, 6);
        for (int i = 0; i < 2 * many(); ++i) checkLogRandom(f, -300, 300);
        for (double v : {1e22, -1e100, 1e300, 0x1p1000}) checkD(f, v);
    }
}

TEST_P(TrigMpfr, Atan) {
    const double fixed[] = {0, 1e-30, -1e-10, 0.0009, 0.001, 0.0011, 0.3, 0.7, 1, -1, 1 + 1e-12, 1 - 1e-12, 2, 10, -1e6, 1e30, 1e100};
    for (double v : fixed) checkD(kAtan, v);
    for (int i = 0; i < 2 * many(); ++i) checkRandom(kAtan, -2, 2);
    for (int i = 0; i < many(); ++i) checkLogRandom(kAtan, -30, 30);
}

TEST_P(TrigMpfr, Asin) {
    const double fixed[] = {0, 1, -1, 1e-30, 0.001, -0.5, 0.7071067811865476, 0.99, -0.999999, 1 - 0x1p-30, -(1 - 0x1p-52)};
    for (double v : fixed) checkD(kAsin, v);
    // Next to +-1 at the working precision: 1 - 2^-k for k up to the precision.
    const int bits = 8 * gTq_Prec_Bytes_Internal;
    for (int k : {bits / 2, bits - 40, bits - 8}) {
        mpfr_t x;
        mpfr_init2(x, prec);
        mpfr_set_ui_2exp(x, 1, -k, MPFR_RNDN);
        mpfr_ui_sub(x, 1, x, MPFR_RNDN);
        if (k % 2) mpfr_neg(x, x, MPFR_RNDN);
        check(kAsin, x);
        mpfr_clear(x);
    }
    for (int i = 0; i < 2 * many(); ++i) checkRandom(kAsin, -1, 1);
}

INSTANTIATE_TEST_SUITE_P(Digits, TrigMpfr,
                         ::testing::Combine(::testing::Values(38, 100, 1000),
                                            ::testing::Values(TarqDecFloat, TarqBinFloat)),
                         [](const auto &info) {
                             return std::to_string(std::get<0>(info.param)) +
                                    (std::get<1>(info.param) == TarqDecFloat ? "_dec" : "_bin");
                         });

// A few cases at 10,000 digits: each kind's own series.
class TrigMpfrHuge : public TrigMpfr {};
TEST_P(TrigMpfrHuge, OneEach) {
    checkD(kind == TarqDecFloat ? kSin : kCos, 0.75);
    checkD(kAtan, -0.6);
}
INSTANTIATE_TEST_SUITE_P(Digits, TrigMpfrHuge,
                         ::testing::Combine(::testing::Values(10000),
                                            ::testing::Values(TarqDecFloat, TarqBinFloat)),
                         [](const auto &info) {
                             return std::to_string(std::get<0>(info.param)) +
                                    (std::get<1>(info.param) == TarqDecFloat ? "_dec" : "_bin");
                         });

// With TARQ_TRIG_REPORT set, the worst error of each group is printed.
struct ReportPrinter : public ::testing::Environment {
    void TearDown() override {
        if (!std::getenv("TARQ_TRIG_REPORT")) return;
        for (const auto &[key, w] : report()) std::printf("%-48s %10.3g units at %s\n", key.c_str(), w.units, w.where.c_str());
    }
};
const auto *kReport = ::testing::AddGlobalTestEnvironment(new ReportPrinter);

}  // namespace
