// Sine, cosine and tangent of decimal and binary floats (radians).
//
// The argument is reduced to r = |x| - k pi/2 with |r| <= about pi/4, carried
// to its full relative precision however large |x| is or however close it lies
// to a multiple of pi/2 (reduce.cpp). Sine and cosine of r are then found
// together, each to its own relative precision, and the quadrant k mod 4 picks
// which of +-sin r, +-cos r is the result; the tangent is their quotient.
//
// Decimal floats are evaluated as binary ones (funcs/dec_via_bin.h), so only
// their zero reaches this file. Binary floats are evaluated in fixed point on
// bare words (sinCosBinary): the series of cos t for t = r / 2^j, j
// double-angle steps, and the sine from the cosine (or, for small r, from
// the series of sin t / t); the sine alone by triplings (sinBinary).
#include <cmath>
#include <string>

#include "arith/arith.h"
#include "funcs/dec_via_bin.h"
#include "funcs/funcs.h"
#include "funcs/series.h"
#include "kernels/limbs.h"
#include "numbers/num_util.h"
#include "numbers/number.h"
#include "numbers/precision.h"
#include "base/tq_state.h"
#include "kernels/mul.h"
#include "trig.h"
#include "trig_support.h"
#include "funcs/constants.h"

namespace {

// Guard bytes of the reduced argument and of the steps after the fixed point
// (the product by r, the square root of the sine, the quotient of the
// tangent), each one more rounding.
constexpr int32_t kEvalGuardBytes = 8;
// c := 2 c^2 - 1 on a fixed-point c in [1/sqrt 2, 1] (the cosine of twice
// the angle, not below 0).
void doubleCos(TqStr &c, int32_t W) {
    tq_FixedSqr(c, W, c);
    uint32_t *w = tq_W(c);
    tq_Lsh1N(w, w, W + 1);
    w[W] -= 1;
}

// Sine and cosine of a reduced binary r (the sine only when wantSin), in
// fixed point: t = |r| / 2^j with j chosen so that t <= 2^-j0, the series of
// cos t on T = t^2, then j doublings cos 2a = 2 cos^2 a - 1. The sine:
//   - with no doubling (|r| <= 2^-j0), r times the series of sin t / t;
//   - after doublings, sqrt((1 - c)(1 + c)) of the cosine c, which loses
//     2 log2(1 / |r|) bits to the cancellation in 1 - c (at most 2 j0); one
//     square root costs less than carrying sin t / t through the doublings.
// Losses below the working precision: the series 4 K + 2 units (14 bits), T
// one unit, each doubling multiplies the error of the cosine by 4 (2 j bits),
// the cancellation; 24 guard bits cover the first two with room. `bits` is
// the relative precision the caller's cut keeps: the fixed point carries its
// own guard, so the bytes the caller raised for the reduction and the last
// steps are not counted twice.
int32_t sinCosBinary(const TqNum &r, int32_t bits, TqNum &s, TqNum &c, bool wantSin) {
    // Doublings against terms: each doubling costs one product, each term
    // much less (measured best: j0 near 0.15 sqrt(bits)).
    const int32_t j0 = static_cast<int32_t>(0.15 * std::sqrt(static_cast<double>(bits))) + 2;
    const double lr = tq_ApproxLog2(r);
    const int32_t j = lr + j0 > 0 ? static_cast<int32_t>(std::ceil(lr + j0)) : 0;
    const int32_t cancel = wantSin && j > 0 && lr < 0 ? static_cast<int32_t>(std::ceil(-2 * lr)) : 0;
    const int32_t W = (bits + 2 * j + cancel + 24 + 31) / 32;
    TqStr t, T, cf, sf;
    if (!tq_FixedFromBin(r, j, W, t)) return tq_RaiseErr(tq_Err_Invalid);  // |r| <= 1 by the reduction
    tq_FixedSqr(t, W, T);
    tq_SeriesSum(tq_Series_Cos, T, W, cf);
    if (wantSin && j == 0) tq_SeriesSum(tq_Series_SinOverX, T, W, sf);
    for (int32_t i = 0; i < j; ++i) doubleCos(cf, W);
    if (wantSin && j > 0) {
        // 1 - c and 1 + c, both exact in fixed point; their product u = sin^2 r.
        TqStr below(4 * static_cast<size_t>(W + 1), '\0'), above = below;
        tq_W(below)[W] = 1;
        tq_W(above)[W] = 1;
        tq_SubN(tq_W(below), tq_W(below), tq_W(cf), W + 1);
        tq_AddN(tq_W(above), tq_W(above), tq_W(cf), W + 1);
        tq_FixedMul(below, above, W, sf);
    }
    tq_BinFromFixed(std::move(cf), W, c);
    if (!wantSin) return 0;
    TqNum q = tq_IntNum(TarqBinFloat, 0);
    tq_BinFromFixed(std::move(sf), W, q);
    if (j == 0) return n_Mul(r, q, s);
    const int32_t status = n_Sqrt(q, s);
    s.V.Sign = r.V.Sign;
    return status;
}

// The sine alone of a reduced binary r, in fixed point without a square
// root: t = |r| / 3^j with j chosen so that t <= 2^-j0, s = t (sin t / t)
// from the series on T = t^2, then j triplings sin 3a = s (3 - 4 s^2), two
// products each. Losses below the working precision: the series and the
// truncations of t (16 bits), each tripling multiplies the error by at most 3
// (2 j bits), and s = sin r as small as |r| loses log2(1 / |r|) bits of
// relative precision in the fixed point (fewer than j0, as |r| > 2^-j0 when
// j > 0); 24 guard bits cover the first. `bits` as for sinCosBinary.
int32_t sinBinary(const TqNum &r, int32_t bits, TqNum &s) {
    const int32_t j0 = static_cast<int32_t>(0.15 * std::sqrt(static_cast<double>(bits))) + 2;
    const double lr = tq_ApproxLog2(r);
    const int32_t j = lr + j0 > 0 ? static_cast<int32_t>(std::ceil((lr + j0) / 1.5849625007211562)) : 0;
    // With no tripling (|r| <= 2^-j0) the sine is r times the series, which
    // keeps r's relative precision however small r is; with triplings
    // |r| > 2^-j0 bounds the loss.
    const int32_t small = j > 0 && lr < 0 ? static_cast<int32_t>(std::ceil(-lr)) : 0;
    const int32_t W = (bits + 2 * j + small + 24 + 31) / 32;
    TqStr t, T, sf, s2;
    if (!tq_FixedFromBin(r, 0, W, t)) return tq_RaiseErr(tq_Err_Invalid);  // |r| <= 1 by the reduction
    for (int32_t left = j; left > 0; left -= 20) {
        uint32_t p = 1;
        for (int32_t i = 0; i < (left < 20 ? left : 20); ++i) p *= 3;
        tq_DivWordN(tq_W(t), tq_W(t), W + 1, p);
    }
    tq_FixedSqr(t, W, T);
    tq_SeriesSum(tq_Series_SinOverX, T, W, sf);
    if (j == 0) {
        TqNum q = tq_IntNum(TarqBinFloat, 0);
        tq_BinFromFixed(std::move(sf), W, q);
        return n_Mul(r, q, s);
    }
    tq_FixedMul(t, sf, W, sf);
    for (int32_t i = 0; i < j; ++i) {
        // 3 - 4 s^2 is at least 1 for s <= 1/sqrt 2.
        tq_FixedSqr(sf, W, s2);
        uint32_t *w = tq_W(s2);
        tq_Lsh1N(w, w, W + 1);
        tq_Lsh1N(w, w, W + 1);
        TqStr three(4 * static_cast<size_t>(W + 1), '\0');
        tq_W(three)[W] = 3;
        tq_SubN(w, tq_W(three), w, W + 1);
        tq_FixedMul(sf, s2, W, sf);
    }
    tq_BinFromFixed(std::move(sf), W, s);
    s.V.Sign = r.V.Sign;
    return 0;
}

enum class Fn { Sin, Cos, Tan };

// f(x) for a finite x: reduction, sine and cosine of r, the quadrant's choice;
// cut to the working precision when `cut`, else left as the last step gave it.
int32_t evaluate(Fn f, TqNum x, TqNum &result, bool cut) {
    const int32_t kind = x.V.NumType;
    const bool negative = x.V.Sign == -1 && !tq_IsZeroNum(x);
    x.V.Sign = 1;
    if (tq_IsZeroNum(x)) {
        tq_Assign(result, tq_ConstNum(f == Fn::Cos ? TQ_CONST_1 : TQ_CONST_0, kind));
        return 0;
    }
    const int32_t bits = 8 * gTq_Prec_Bytes_Internal;
    TqPrecisionScope prec;
    prec.raise(kEvalGuardBytes);
    TqNum r = tq_IntNum(kind, 0), s = tq_IntNum(kind, 0), c = tq_IntNum(kind, 0), v = tq_IntNum(kind, 0);
    uint32_t quadrant = 0;
    int32_t status = n_Trig_Reduction(x, r, quadrant);
    if (status) {
        prec.finish(result);
        trig_SetNaN(result);
        return status;
    }
    // Which of sin r and cos r each function needs, by quadrant.
    const bool odd = quadrant & 1;
    const bool needSin = f == Fn::Tan || (f == Fn::Sin) != odd;
    const bool needCos = f == Fn::Tan || (f == Fn::Cos) != odd;
    status |= needCos ? sinCosBinary(r, bits, s, c, needSin) : sinBinary(r, bits, s);
    bool flip = false;
    switch (f) {
        case Fn::Sin:
            v = odd ? c : s;
            flip = quadrant >= 2;
            break;
        case Fn::Cos:
            v = odd ? s : c;
            flip = quadrant == 1 || quadrant == 2;
            break;
        case Fn::Tan:
            status |= odd ? n_Div(c, s, v) : n_Div(s, c, v);
            flip = odd;
            break;
    }
    // The sine and tangent are odd, the cosine even.
    if (f != Fn::Cos && negative) flip = !flip;
    if (flip && !tq_IsZeroNum(v)) v.V.Sign = -v.V.Sign;
    tq_Assign(result, v);
    if (cut)
        prec.finish(result);
    else
        n_NormaliseZero(result.V, result.MantN);
    return status;
}

}  // namespace

int32_t n_Sin(TqNum x, TqNum &r) {
    if (int32_t st; n_DecViaBin(TqDecFn::Sin, x, r, st)) return st;
    if (int32_t st = trig_CommonChecks(x, r)) return st;
    return evaluate(Fn::Sin, std::move(x), r, true);
}

int32_t n_Sin_Uncut(TqNum x, TqNum &r) {
    if (int32_t st = trig_CommonChecks(x, r)) return st;
    return evaluate(Fn::Sin, std::move(x), r, false);
}

int32_t n_Cos(TqNum x, TqNum &r) {
    if (int32_t st; n_DecViaBin(TqDecFn::Cos, x, r, st)) return st;
    if (int32_t st = trig_CommonChecks(x, r)) return st;
    return evaluate(Fn::Cos, std::move(x), r, true);
}

int32_t n_Cos_Uncut(TqNum x, TqNum &r) {
    if (int32_t st = trig_CommonChecks(x, r)) return st;
    return evaluate(Fn::Cos, std::move(x), r, false);
}

int32_t n_Tan(TqNum x, TqNum &r) {
    if (int32_t st; n_DecViaBin(TqDecFn::Tan, x, r, st)) return st;
    if (int32_t st = trig_CommonChecks(x, r)) return st;
    return evaluate(Fn::Tan, std::move(x), r, true);
}

int32_t n_Tan_Uncut(TqNum x, TqNum &r) {
    if (int32_t st = trig_CommonChecks(x, r)) return st;
    return evaluate(Fn::Tan, std::move(x), r, false);
}
