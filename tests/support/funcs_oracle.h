// Differential harness of the elementary functions: random operands of both
// float kinds at a chosen magnitude, the exact answer from MPFR at a much
// higher precision, and the distance of the library's result from it in units
// of the last working-precision digit (the lowest kept byte of a binary
// float, the last of gTq_Prec_Digits_Internal digits of a decimal float).
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "numbers/precision.h"
#include "base/tq_state.h"
#include "tq_gmp.h"

// Sets the working precision in decimal digits (the export's full step).
inline void fo_SetDigits(int32_t digits) { TQ_SETPRECISION(1, digits); }

// Oracle precision in bits: four times the working precision plus 256.
inline mpfr_prec_t fo_OraclePrec() { return 32 * gTq_Prec_Bytes_Internal + 256; }

// RAII mpfr variable at the oracle precision.
struct FoMpfr {
    mpfr_t x;
    explicit FoMpfr(mpfr_prec_t p = fo_OraclePrec()) { mpfr_init2(x, p); }
    ~FoMpfr() { mpfr_clear(x); }
    FoMpfr(const FoMpfr &) = delete;
    FoMpfr &operator=(const FoMpfr &) = delete;
    operator mpfr_ptr() { return x; }
};

// The unit of the last working-precision digit at the size of `exact`.
inline void fo_Unit(mpfr_t u, const mpfr_t exact, int32_t kind) {
    if (kind == TarqBinFloat) {
        // A binary float keeps the P bytes below the top of its top word, so
        // the unit is 2^(32 (w + 1) - 8P) with w the index of the word that
        // holds the leading bit, counted from the one of 2^0.
        const long e2 = static_cast<long>(mpfr_get_exp(exact)) - 1;
        const long w = e2 >= 0 ? e2 / 32 : -((-e2 + 31) / 32);
        mpfr_set_ui_2exp(u, 1, 32 * (w + 1) - 8L * gTq_Prec_Bytes_Internal, MPFR_RNDN);
        return;
    }
    FoMpfr l(128);
    mpfr_abs(l, exact, MPFR_RNDN);
    mpfr_log10(l, l, MPFR_RNDN);
    long e10 = static_cast<long>(std::floor(mpfr_get_d(l, MPFR_RNDN)));
    // Correct a floor taken just across a power of ten.
    FoMpfr p(mpfr_get_prec(u)), a(mpfr_get_prec(u));
    mpfr_abs(a, exact, MPFR_RNDN);
    mpfr_set_si(p, e10 + 1, MPFR_RNDN);
    mpfr_exp10(p, p, MPFR_RNDN);
    if (mpfr_cmp(a, p) >= 0) ++e10;
    mpfr_set_si(p, e10, MPFR_RNDN);
    mpfr_exp10(p, p, MPFR_RNDN);
    if (mpfr_cmp(a, p) < 0) --e10;
    mpfr_set_si(u, e10 - gTq_Prec_Digits_Internal + 1, MPFR_RNDN);
    mpfr_exp10(u, u, MPFR_RNDN);
}

// |got - exact| in units of the last working-precision digit.
inline double fo_UnitsOff(const TqNum &got, const mpfr_t exact) {
    if (got.V.Special != 0) return INFINITY;
    FoMpfr g, u;
    tqg_ToMpfr(g, got);
    if (mpfr_zero_p(exact)) return mpfr_zero_p(g) ? 0 : INFINITY;
    mpfr_sub(g, g, exact, MPFR_RNDN);
    mpfr_abs(g, g, MPFR_RNDN);
    fo_Unit(u, exact, got.V.NumType);
    mpfr_div(g, g, u, MPFR_RNDN);
    return mpfr_get_d(g, MPFR_RNDU);
}

// A float of the kind with a random mantissa of about the working precision
// and |value| near 2^log2mag (sign as given).
inline TqNum fo_Random(std::mt19937_64 &rng, int32_t kind, double log2mag, int32_t sign = 1) {
    const int32_t P = gTq_Prec_Bytes_Internal;
    mpz_t m;
    mpz_init(m);
    TqNum v;
    if (kind == TarqBinFloat) {
        // P bytes with the top byte set.
        for (int32_t i = 0; i < P; ++i) {
            mpz_mul_2exp(m, m, 8);
            mpz_add_ui(m, m, static_cast<unsigned long>(i == 0 ? (rng() % 255) + 1 : rng() % 256));
        }
        long e = std::lround(log2mag / 8) - P;
        e = e >= 0 ? e / 4 * 4 : -((-e + 3) / 4 * 4);
        v = tqg_BinFloat(m, static_cast<int32_t>(e));
    } else {
        const int32_t D = gTq_Prec_Digits_Internal;
        std::string digits(static_cast<size_t>(D), '0');
        for (int32_t i = 0; i < D; ++i) digits[i] = static_cast<char>('0' + (i == 0 ? 1 + rng() % 9 : rng() % 10));
        mpz_set_str(m, digits.c_str(), 10);
        const long e = std::lround(log2mag * 0.30102999566398120) - D + 1;
        v = tqg_DecFloat(m, static_cast<int32_t>(e));
    }
    mpz_clear(m);
    v.V.Sign = sign;
    return v;
}

// The float of the kind nearest to the MPFR value (decimal: D + 4 digits).
inline TqNum fo_FromMpfr(const mpfr_t x, int32_t kind) {
    if (kind == TarqBinFloat) {
        FoMpfr r(8 * gTq_Prec_Bytes_Internal);
        mpfr_set(r, x, MPFR_RNDN);
        return tqg_BinFloatFromMpfr(r);
    }
    mpz_t m;
    mpz_init(m);
    mpfr_exp_t e10;
    char *s = mpfr_get_str(nullptr, &e10, 10, static_cast<size_t>(gTq_Prec_Digits_Internal + 4), x, MPFR_RNDN);
    std::string str(s);
    mpfr_free_str(s);
    bool neg = !str.empty() && str[0] == '-';
    if (neg) str.erase(0, 1);
    mpz_set_str(m, str.c_str(), 10);
    TqNum v = tqg_DecFloat(m, static_cast<int32_t>(e10 - static_cast<long>(str.size())));
    if (neg) v.V.Sign = -1;
    mpz_clear(m);
    return v;
}

// A zero of the kind, used as an output variable.
inline TqNum fo_Out(int32_t kind) {
    mpz_t z;
    mpz_init(z);
    TqNum v = tqg_Make(kind, z);
    mpz_clear(z);
    return v;
}

// Runs op(x, r) and checks status 0 and the distance from oracle(x).
template <class Op, class Oracle>
double fo_CheckUnary(Op op, Oracle oracle, const TqNum &x, double maxUnits, const std::string &what) {
    TqNum r = fo_Out(x.V.NumType);
    const int32_t st = op(x, r);
    EXPECT_EQ(st, 0) << what;
    FoMpfr xm, ex;
    tqg_ToMpfr(xm, x);
    oracle(ex.x, xm.x, MPFR_RNDN);
    const double units = fo_UnitsOff(r, ex);
    EXPECT_LE(units, maxUnits) << what << " kind " << x.V.NumType << " bytes " << gTq_Prec_Bytes_Internal;
    return units;
}

// The working precision and the parameter sets are as they were: the values of
// sets 1..3 and the lowest free dynamic set (no set left allocated).
struct FoPrecSnapshot {
    int32_t bytes, digits, sets[4], freeIndex;
    FoPrecSnapshot() { take(*this); }
    static void take(FoPrecSnapshot &s) {
        s.bytes = gTq_Prec_Bytes_Internal;
        s.digits = gTq_Prec_Digits_Internal;
        const int32_t probe = n_PrecisionParameters_Store();
        s.freeIndex = probe;
        for (int32_t i = 1; i <= 3; ++i) {
            n_PrecisionParameters_Retrieve(i);
            s.sets[i] = gTq_Prec_Bytes_Internal;
        }
        n_PrecisionParameters_Retrieve(probe);
        n_PrecisionParameters_FreeSet(probe);
        s.sets[0] = 0;
    }
    void expectSame() const {
        FoPrecSnapshot now;
        EXPECT_EQ(now.bytes, bytes);
        EXPECT_EQ(now.digits, digits);
        EXPECT_EQ(now.freeIndex, freeIndex);
        for (int32_t i = 1; i <= 3; ++i) EXPECT_EQ(now.sets[i], sets[i]) << "set " << i;
    }
};

// A float or integer of the kind holding the small integer v.
inline TqNum tq_IntNumForTest(int32_t kind, long v) {
    mpz_t z;
    mpz_init_set_si(z, v);
    TqNum r = tqg_Make(kind, z);
    mpz_clear(z);
    return r;
}

// Exact comparison of two finite numbers through MPQ: -1, 0, 1.
inline int tq_CmpNumForTest(const TqNum &a, const TqNum &b) {
    mpq_t x, y;
    mpq_inits(x, y, nullptr);
    tqg_ToMpq(x, a);
    tqg_ToMpq(y, b);
    int c = mpq_cmp(x, y);
    mpq_clears(x, y, nullptr);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}
