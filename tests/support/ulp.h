// The one measure of a float result's error: its distance from the exact value
// y in units in the last place of the precision in force.
//   binary float:  ulp = 2^(floor(log2|y|) + 1 - 8P), P the precision in bytes
//   decimal float: ulp = one unit of the D-th significant digit of y,
//                  D = TQ_GETPRECISION(1)
// Both read the precision through the public exports, so the measure is the
// one a caller can check.
#pragma once
#include <gmp.h>
#include <mpfr.h>

#include <cmath>

#include "tarq.h"
#include "tq_gmp.h"

// u = the unit in the last place for a result whose exact value is y (y != 0).
inline void ulp_Unit(mpfr_t u, const mpfr_t y, int32_t kind) {
    if (kind == TarqBinFloat) {
        // mpfr's exponent is floor(log2|y|) + 1.
        mpfr_set_ui_2exp(u, 1, mpfr_get_exp(y) - TQ_GETPRECISION(2), MPFR_RNDN);
        return;
    }
    // Two digits truncated toward zero: y = 0.dd.. x 10^e10 exactly, so
    // floor(log10|y|) = e10 - 1 even next to a power of ten.
    mpfr_exp_t e10 = 0;
    char *s = mpfr_get_str(nullptr, &e10, 10, 2, y, MPFR_RNDZ);
    mpfr_free_str(s);
    mpfr_set_ui(u, 10, MPFR_RNDN);
    mpfr_pow_si(u, u, static_cast<long>(e10) - TQ_GETPRECISION(1), MPFR_RNDN);
}

// |got - y| in units in the last place; infinite for a special value, or for a
// nonzero result when y is zero.
inline double ulp_Error(const TqNum &got, const mpfr_t y) {
    if (got.V.Special != 0) return INFINITY;
    mpfr_t r, u;
    mpfr_init2(r, mpfr_get_prec(y) + 64);
    mpfr_init2(u, 64);
    tqg_ToMpfr(r, got);
    double units = 0;
    if (mpfr_zero_p(y)) {
        units = mpfr_zero_p(r) ? 0 : INFINITY;
    } else {
        mpfr_sub(r, r, y, MPFR_RNDN);
        mpfr_abs(r, r, MPFR_RNDN);
        ulp_Unit(u, y, got.V.NumType);
        mpfr_div(r, r, u, MPFR_RNDU);
        units = mpfr_get_d(r, MPFR_RNDU);
    }
    mpfr_clear(r);
    mpfr_clear(u);
    return units;
}

// Bits at which an oracle computes so that its own rounding is negligible
// against one unit: the working precision plus 128 bits.
inline mpfr_prec_t ulp_OraclePrec() { return TQ_GETPRECISION(2) + 128; }
