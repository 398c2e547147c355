// Differential harness of the elementary functions: random operands of both
// float kinds at a chosen magnitude, the exact answer from MPFR at a much
// higher precision, and the distance of the library's result from it in units
// in the last place (ulp.h).
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "numbers/precision.h"
#include "base/tq_state.h"
#include "tq_gmp.h"
#include "ulp.h"

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

// Runs op(x, r) and checks status 0 and the distance from oracle(x).
template <class Op, class Oracle>
double fo_CheckUnary(Op op, Oracle oracle, const TqNum &x, double maxUnits, const std::string &what) {
    TqNum r = tqg_Zero(x.V.NumType);
    const int32_t st = op(x, r);
    EXPECT_EQ(st, 0) << what;
    FoMpfr xm, ex;
    tqg_ToMpfr(xm, x);
    oracle(ex.x, xm.x, MPFR_RNDN);
    const double units = ulp_Error(r, ex);
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
inline TqNum tq_IntNumForTest(int32_t kind, long v) { return tqg_Int(kind, v); }

// Exact comparison of two finite numbers through MPQ: -1, 0, 1.
inline int tq_CmpNumForTest(const TqNum &a, const TqNum &b) {
    Mpq x, y;
    tqg_ToMpq(x, a);
    tqg_ToMpq(y, b);
    const int c = mpq_cmp(x, y);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}
