// Sine, cosine and tangent of decimal and binary floats (radians).
//
// Each kind has one series: decimal floats the sine series on x / 125 followed
// by three quintuple-angle steps, binary floats the cosine series on x / 256
// followed by four quadruple-angle steps. The other function of each kind is
// the first one shifted by pi/2; the shift is taken at the raised precision of
// the operation, so that the digits lost to cancellation in x -/+ pi/2 come out
// of the guard word rather than out of the result. The tangent is the sine
// divided by the cosine. Reductions use the integer multiple of 2 pi, then pi,
// and return the sign the result must take.
#include <string>

#include "arith/arith.h"
#include "convert/convert.h"
#include "frame/number.h"
#include "frame/tq_state.h"
#include "kernels/mul.h"
#include "trig.h"
#include "trig_support.h"

namespace {

constexpr int32_t kPi = 8, kTwoPi = 9, kHalfPi = 10, kOne = 14, kFive = 18, kEight = 19, kSixteen = 21,
                  kTwenty = 22;

// The one-word integer k in x's kind (the divisor of the series).
TqNum smallInt(uint32_t k, int32_t kind) {
    TqNum v = trig_Zero(kind);
    v.MantN = tq_Word(k);
    return v;
}

// Reduction common to sine and cosine, after the sign of x has been dealt with.
int32_t reduceToHalfPi(TqNum &x, int32_t &flag) {
    const int32_t kind = x.V.NumType;
    int32_t status = 0;
    const TqNum twoPi = trig_Const(kTwoPi, kind);
    if (trig_Greater(x, twoPi)) {
        TqNum q = trig_Zero(kind), k = trig_Zero(kind), kTwoPiV = trig_Zero(kind);
        status |= n_Div(x, twoPi, q);
        status |= n_Fix(q, k);
        status |= n_Mul(k, twoPi, kTwoPiV);
        status |= n_Sub(x, kTwoPiV, x);
    }
    const TqNum pi = trig_Const(kPi, kind);
    if (trig_Greater(x, pi)) {
        status |= n_Sub(x, pi, x);
        flag = -flag;
    }
    if (trig_Greater(x, trig_Const(kHalfPi, kind))) {
        status |= n_Sub(x, pi, x);
        flag = -flag;
    }
    return status;
}

// s := 16 s^5 - 20 s^3 + 5 s, the sine of five times the angle.
int32_t quintupleAngle(TqNum &s) {
    const int32_t kind = s.V.NumType;
    TqNum s2 = trig_Zero(kind), s3 = trig_Zero(kind), s5 = trig_Zero(kind);
    TqNum a = trig_Zero(kind), b = trig_Zero(kind), c = trig_Zero(kind);
    int32_t status = n_Sqr(s, s2);
    status |= n_Mul(s2, s, s3);
    status |= n_Mul(s2, s3, s5);
    status |= n_Mul(trig_Const(kSixteen, kind), s5, a);
    status |= n_Mul(trig_Const(kTwenty, kind), s3, b);
    status |= n_Sub(a, b, a);
    status |= n_Mul(trig_Const(kFive, kind), s, c);
    status |= n_Add(a, c, s);
    return status;
}

// c := 8 (c^4 - c^2) + 1, the cosine of four times the angle.
int32_t quadrupleAngle(TqNum &c) {
    const int32_t kind = c.V.NumType;
    TqNum c2 = trig_Zero(kind), c4 = trig_Zero(kind);
    int32_t status = n_Sqr(c, c2);
    status |= n_Sqr(c2, c4);
    status |= n_Sub(c4, c2, c4);
    status |= n_Mul(trig_Const(kEight, kind), c4, c4);
    status |= n_Add(c4, trig_Const(kOne, kind), c);
    return status;
}

// The sine of a decimal float.
int32_t sinDecimal(TqNum x, TqNum &r) {
    n_Trace("n_Sin");
    TqRaisedPrecision prec(2);
    int32_t flag = 1;
    int32_t status = n_Sin_Reduction(x, flag);
    // x / 125 = x * 8 / 1000: three quintuple-angle steps undo it.
    int32_t trim = 1;
    h_Mul(x.MantN, tq_Word(8), trim, x.MantN);
    x.V.Expo -= 3;
    TqNum s = trig_Zero(x.V.NumType);
    status |= n_Sin_Taylor(std::move(x), s);
    for (int32_t i = 0; i < 3; ++i) status |= quintupleAngle(s);
    if (flag == -1) s.V.Sign = -s.V.Sign;
    trig_Assign(r, s);
    prec.finish(r);
    return status;
}

// The cosine of a binary float.
int32_t cosBinary(TqNum x, TqNum &r) {
    TqRaisedPrecision prec(2);
    int32_t flag = 1;
    int32_t status = n_Cos_Reduction(x, flag);
    // x / 256: the magnitude moves up three bytes inside one more word, and the
    // exponent down one word.
    x.MantN = std::string(3, '\0') + x.MantN + std::string(1, '\0');
    x.V.Expo -= 4;
    TqNum c = trig_Zero(x.V.NumType);
    status |= n_Cos_Taylor(std::move(x), c);
    for (int32_t i = 0; i < 4; ++i) status |= quadrupleAngle(c);
    if (flag == -1) c.V.Sign = -c.V.Sign;
    trig_Assign(r, c);
    prec.finish(r);
    return status;
}

// The other function of a kind: f(x + shift * pi/2) at a raised precision.
int32_t shifted(TqNum x, TqNum &r, bool add, int32_t (*f)(TqNum, TqNum &)) {
    TqRaisedPrecision prec(2);
    const int32_t kind = x.V.NumType;
    TqNum t = trig_Zero(kind), v = trig_Zero(kind);
    int32_t status = add ? n_Add(x, trig_Const(kHalfPi, kind), t) : n_Sub(x, trig_Const(kHalfPi, kind), t);
    status |= f(std::move(t), v);
    trig_Assign(r, v);
    prec.finish(r);
    return status;
}

}  // namespace

int32_t n_Sin_Reduction(TqNum &x, int32_t &flag) {
    flag = 1;
    if (x.V.Sign == -1) {
        if (!trig_IsZero(x)) flag = -1;
        x.V.Sign = 1;
    }
    return reduceToHalfPi(x, flag);
}

int32_t n_Cos_Reduction(TqNum &x, int32_t &flag) {
    flag = 1;
    x.V.Sign = 1;
    return reduceToHalfPi(x, flag);
}

int32_t n_Sin(TqNum x, TqNum &r) {
    if (int32_t st = trig_CommonChecks(x, r)) return st;
    if (x.V.NumType == TarqBinFloat) return shifted(std::move(x), r, false, cosBinary);
    return sinDecimal(std::move(x), r);
}

int32_t n_Cos(TqNum x, TqNum &r) {
    if (int32_t st = trig_CommonChecks(x, r)) return st;
    if (x.V.NumType == TarqDecFloat) return shifted(std::move(x), r, true, sinDecimal);
    return cosBinary(std::move(x), r);
}

int32_t n_Tan(TqNum x, TqNum &r) {
    if (int32_t st = trig_CommonChecks(x, r)) return st;
    const int32_t kind = x.V.NumType;
    // Sine, cosine and their quotient one word above the working precision: a
    // quotient formed at the working precision can keep a word less than it.
    TqRaisedPrecision prec(2);
    TqNum c = trig_Zero(kind), s = trig_Zero(kind), q = trig_Zero(kind);
    if (n_Cos(x, c) != 0 || n_Sin(std::move(x), s) != 0) {
        prec.finish(r);
        return trig_SetNaN(r);
    }
    if (n_IsZero(c) == 1) {
        prec.finish(r);
        r.V.Special = s.V.Sign == 1 ? tq_Special_PosInf : tq_Special_NegInf;
        return tq_RaiseErr(tq_Err_Special);
    }
    const int32_t status = n_Div(std::move(s), std::move(c), q);
    trig_Assign(r, q);
    prec.finish(r);
    return status;
}

int32_t n_Sin_Taylor(TqNum x, TqNum &r) {
    n_Trace("n_Sin_Taylor");
    TqRaisedPrecision prec(2);
    const int32_t kind = x.V.NumType;
    TqNum term = x, sum = x, x2 = trig_Zero(kind), previous = trig_Zero(kind);
    int32_t status = n_Sqr(x, x2);
    uint32_t k = 1;
    bool subtract = true;
    int32_t loops = 0;
    TqTermPrecision termPrec(gTq_Prec_Bytes_Internal);
    for (;;) {
        ++loops;
        status |= n_Mul(term, termPrec.enter(sum, term, x2), term);
        // Two divisions by one-word integers, or one by their product while it
        // fits in a word.
        if (static_cast<uint64_t>(k + 1) * (k + 2) <= 0xFFFFFFFFu) {
            status |= n_Div(term, smallInt((k + 1) * (k + 2), kind), term);
            k += 2;
        } else {
            status |= n_Div(term, smallInt(++k, kind), term);
            status |= n_Div(term, smallInt(++k, kind), term);
        }
        termPrec.leave();
        previous = sum;
        status |= subtract ? n_Sub(sum, term, sum) : n_Add(sum, term, sum);
        subtract = !subtract;
        if (trig_Converged(prec, sum, previous) || k > static_cast<uint32_t>(tq_Series_MaxK)) break;
    }
    trig_Assign(r, sum);
    prec.finish(r);
    n_Trace("n_Sin_Taylor, nr of loops:" + std::to_string(loops));
    return status;
}

int32_t n_Cos_Taylor(TqNum x, TqNum &r) {
    TqRaisedPrecision prec(2);
    const int32_t kind = x.V.NumType;
    TqNum x2 = trig_Zero(kind), term = trig_Zero(kind), sum = trig_Zero(kind), previous = trig_Zero(kind);
    int32_t status = n_Sqr(x, x2);
    status |= n_DivBy2(x2, term);
    status |= n_Sub(trig_Const(kOne, kind), term, sum);
    uint32_t k = 2;
    bool subtract = false;
    TqTermPrecision termPrec(gTq_Prec_Bytes_Internal);
    for (;;) {
        status |= n_Mul(term, termPrec.enter(sum, term, x2), term);
        if (static_cast<uint64_t>(k + 1) * (k + 2) <= 0xFFFFFFFFu) {
            status |= n_Div(term, smallInt((k + 1) * (k + 2), kind), term);
        } else {
            status |= n_Div(term, smallInt(k + 1, kind), term);
            status |= n_Div(term, smallInt(k + 2, kind), term);
        }
        termPrec.leave();
        k += 2;
        previous = sum;
        status |= subtract ? n_Sub(sum, term, sum) : n_Add(sum, term, sum);
        subtract = !subtract;
        if (trig_Converged(prec, sum, previous) || k > static_cast<uint32_t>(tq_Series_MaxK)) break;
    }
    trig_Assign(r, sum);
    prec.finish(r);
    return status;
}
