// Test helpers for differential tests of float functions against MPFR:
// arguments made at the working precision, and a result's error in units of
// the last place (ulp.h). Builds on tq_gmp.h.
#pragma once
#include <gmp.h>
#include <mpfr.h>

#include <cmath>
#include <cstring>
#include <string>

#include "numbers/number.h"
#include "tq_gmp.h"
#include "ulp.h"

// A binary float of at most `bytes` bytes of magnitude, x truncated toward zero.
inline TqNum oracle_BinFromMpfr(const mpfr_t x, int32_t bytes) {
    TqNum v = tqg_Zero(TarqBinFloat);
    if (mpfr_zero_p(x)) return v;
    const long e = mpfr_get_exp(x);  // |x| < 2^e
    long expoWords = e - 8L * bytes;
    expoWords = expoWords >= 0 ? (expoWords + 31) / 32 : -((-expoWords) / 32);
    mpfr_t t;
    mpfr_init2(t, mpfr_get_prec(x));
    mpfr_mul_2si(t, x, -32 * expoWords, MPFR_RNDN);
    mpz_t m;
    mpz_init(m);
    mpfr_get_z(m, t, MPFR_RNDZ);
    v.V.Sign = mpz_sgn(m) < 0 ? -1 : 1;
    mpz_abs(m, m);
    v.MantN = tqg_MagFromMpz(m);
    v.V.Expo = static_cast<int32_t>(4 * expoWords);
    mpz_clear(m);
    mpfr_clear(t);
    n_Mant_StripLowZeroWords(v.V, v.MantN);
    return v;
}

// A decimal float of `digits` significant digits, x rounded to nearest, with its
// exponent brought to a multiple of 4 as the library keeps it.
inline TqNum oracle_DecFromMpfr(const mpfr_t x, int32_t digits) {
    TqNum v = tqg_Zero(TarqDecFloat);
    if (mpfr_zero_p(x)) return v;
    mpfr_exp_t e10;
    char *s = mpfr_get_str(nullptr, &e10, 10, static_cast<size_t>(digits), x, MPFR_RNDN);
    const char *d = s;
    if (*d == '-') {
        v.V.Sign = -1;
        ++d;
    }
    mpz_t m;
    mpz_init_set_str(m, d, 10);
    long expo = static_cast<long>(e10) - digits;
    // Lower the exponent to a multiple of 4 by multiplying the magnitude.
    while (expo % 4 != 0) {
        mpz_mul_ui(m, m, 10);
        --expo;
    }
    v.MantN = tqg_MagFromMpz(m);
    v.V.Expo = static_cast<int32_t>(expo);
    mpz_clear(m);
    mpfr_free_str(s);
    return v;
}

inline TqNum oracle_FromMpfr(const mpfr_t x, int32_t kind) {
    return kind == TarqBinFloat ? oracle_BinFromMpfr(x, gTq_Prec_Bytes_Internal)
                                : oracle_DecFromMpfr(x, gTq_Prec_Digits_Internal);
}

// Precision (bits) at which the oracle computes: well beyond the library's.
inline mpfr_prec_t oracle_Prec() { return 8L * gTq_Prec_Bytes_Internal * 2 + 256; }
