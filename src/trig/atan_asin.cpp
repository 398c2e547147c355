// Arc tangent and arc sine of decimal and binary floats (radians).
//
// Decimal floats are evaluated as binary ones (funcs/dec_via_bin.h); only a
// decimal zero, and +-1 and beyond for the arc sine, reach this file.
// The arc tangent works on |x| and gives the result x's sign. Its core maps
// x > 1 to pi/2 - atan(1/x) and halves the angle with
// atan(x) = 2 atan(x / (1 + sqrt(1 + x^2))) while x is above 2^-e, e growing
// with the precision; the series x - x^3/3 + x^5/5 - ... is then summed in
// fixed point. The arc sine is atan(|x| / sqrt(1 - x^2)) with x's sign, pi/2
// at |x| = 1 and NaN beyond. 1 - x^2 is formed as (1 - |x|)(1 + |x|), which
// keeps its relative accuracy near |x| = 1 where the difference of 1 and x^2
// would cancel.
#include <cmath>

#include "arith/arith.h"
#include "funcs/constants.h"
#include "funcs/dec_via_bin.h"
#include "base/tq_state.h"
#include "funcs/funcs.h"
#include "funcs/series.h"
#include "numbers/num_util.h"
#include "numbers/precision.h"
#include "trig.h"
#include "trig_support.h"

namespace {
// Guard bytes: each of the ten or so halvings of the angle rounds a square
// root and a quotient, which must stay below the last place.
constexpr int32_t kGuardBytes = 8;

// A binary argument goes to the series once x <= 2^-e. Each halving costs a
// square root and a quotient, each term of the series (on x^2, 2 e bits a
// term) about a third of a product and two one-word divisions; the total
// bits / (2 e) terms + e halvings is least near e = sqrt(bits / (2 rho)),
// rho the cost of a halving in terms (about 20 from a few hundred bits on;
// more below, where the square root's fixed costs weigh), and a term costs
// much less when the series goes by rectangular splitting. Measured best:
// e = 0.1 sqrt(bits) below 1,000 bits, 0.08 sqrt(bits) above; never below 1,
// so that the series' x^2 stays at most 1/4.
double seriesFromLog2() {
    const double bits = 8.0 * gTq_Prec_Bytes_Internal;
    const double e = (bits < 1000 ? 0.1 : 0.08) * std::sqrt(bits);
    return e < 1 ? 1 : e;
}

// atan x of a binary 0 <= x <= 1/2 at the working precision (not cut
// further): x times the fixed-point series of atan x / x on x^2. The series
// loses below 4 K + 2 units (K < 2^12 terms, 14 bits) and T's truncation one
// unit; 24 guard bits cover both and the float product.
int32_t atanSeriesBinary(const TqNum &x, TqNum &r) {
    const int32_t W = (8 * gTq_Prec_Bytes_Internal + 24 + 31) / 32;
    TqStr f, T, S;
    if (!tq_FixedFromBin(x, 0, W, f)) return tq_RaiseErr(tq_Err_Invalid);
    tq_FixedSqr(f, W, T);
    tq_SeriesSum(tq_Series_AtanOverX, T, W, S);
    TqNum q = tq_IntNum(TarqBinFloat, 0);
    tq_BinFromFixed(std::move(S), W, q);
    return n_Mul(x, q, r);
}

// The result a of the raised precision into r: cut to the working precision
// when `cut`, else kept whole; the scope's precision is restored either way.
void finishInto(TqPrecisionScope &prec, const TqNum &a, TqNum &r, bool cut) {
    tq_Assign(r, a);
    if (cut)
        prec.finish(r);
    else
        prec.restore();
}

int32_t atanOf(TqNum x, TqNum &r, bool cut) {
    if (int32_t st = trig_CommonChecks(x, r)) return st;
    TqPrecisionScope prec;
    prec.raise(kGuardBytes);
    const int32_t sign = x.V.Sign;
    x.V.Sign = 1;
    TqNum a = tq_IntNum(x.V.NumType, 0);
    const int32_t status = tq_IsZeroNum(x) ? 0 : n_Atan_Core(std::move(x), a);
    if (!tq_IsZeroNum(a)) a.V.Sign = sign;
    finishInto(prec, a, r, cut);
    return status;
}

int32_t asinOf(TqNum x, TqNum &r, bool cut) {
    if (int32_t st = trig_CommonChecks(x, r)) return st;
    const int32_t kind = x.V.NumType;
    const int32_t sign = x.V.Sign;
    x.V.Sign = 1;
    const TqNum one = tq_ConstNum(TQ_CONST_1, kind);
    if (trig_Greater(x, one)) return trig_SetNaN(r);
    TqPrecisionScope prec;
    prec.raise(kGuardBytes);
    TqNum a = tq_IntNum(kind, 0);
    int32_t status = 0;
    if (trig_Equal(x, one)) {
        status |= n_GetConst(TQ_CONST_PI_2, a);
    } else {
        TqNum below = tq_IntNum(kind, 0), above = tq_IntNum(kind, 0), t = tq_IntNum(kind, 0);
        status |= n_Sub(one, x, below);
        status |= n_Add(one, x, above);
        status |= n_Mul(below, above, below);
        status |= n_Sqrt(below, below);
        status |= n_Div(std::move(x), below, t);
        status |= n_Atan(std::move(t), a);
    }
    if (!tq_IsZeroNum(a)) a.V.Sign = sign;
    finishInto(prec, a, r, cut);
    return status;
}

}  // namespace

int32_t n_Atan(TqNum x, TqNum &r) {
    if (int32_t st; n_DecViaBin(TqDecFn::Atan, x, r, st)) return st;
    return atanOf(std::move(x), r, true);
}

int32_t n_Atan_Uncut(TqNum x, TqNum &r) { return atanOf(std::move(x), r, false); }

int32_t n_Atan_Core(TqNum x, TqNum &r) {
    const int32_t kind = x.V.NumType;
    const TqNum one = tq_ConstNum(TQ_CONST_1, kind);
    TqNum t = tq_IntNum(kind, 0), u = tq_IntNum(kind, 0);
    int32_t status = 0;
    if (trig_Greater(x, one)) {
        status |= n_Div(one, x, t);
        status |= n_Atan_Core(std::move(t), u);
        status |= n_Sub(tq_ConstNum(TQ_CONST_PI_2, kind), u, r);
    } else if (tq_ApproxLog2(x) > -seriesFromLog2()) {
        TqNum w = tq_IntNum(kind, 0);
        status |= n_Sqr(x, w);
        status |= n_Add(one, w, w);
        status |= n_Sqrt(w, w);
        status |= n_Add(one, w, w);
        status |= n_Div(std::move(x), w, t);
        status |= n_Atan_Core(std::move(t), u);
        status |= n_MulBy2(u, r);
    } else {
        status |= n_Atan_Series(std::move(x), r);
    }
    return status;
}

int32_t n_Atan_Series(TqNum x, TqNum &r) { return atanSeriesBinary(x, r); }

int32_t n_Asin(TqNum x, TqNum &r) {
    if (int32_t st; n_DecViaBin(TqDecFn::Asin, x, r, st)) return st;
    return asinOf(std::move(x), r, true);
}

int32_t n_Asin_Uncut(TqNum x, TqNum &r) { return asinOf(std::move(x), r, false); }
