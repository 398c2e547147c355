// Arc tangent and arc sine of decimal and binary floats (radians).
//
// The arc tangent works on |x| and gives the result x's sign. Its core maps
// x > 1 to pi/2 - atan(1/x) and halves the angle with
// atan(x) = 2 atan(x / (1 + sqrt(1 + x^2))) until x <= 0.001, where the
// alternating series x - x^3/3 + x^5/5 - ... gains at least six digits a term.
// The arc sine is atan(|x| / sqrt(1 - x^2)) with x's sign, pi/2 at |x| = 1 and
// NaN beyond. 1 - x^2 is formed as (1 - |x|)(1 + |x|), which keeps its
// relative accuracy near |x| = 1 where the difference of 1 and x^2 would cancel.
#include "arith/arith.h"
#include "funcs/constants.h"
#include "base/tq_state.h"
#include "funcs/funcs.h"
#include "trig.h"
#include "trig_support.h"

namespace {
// Guard bytes: each of the ten or so halvings of the angle rounds a square
// root and a quotient, which must stay below the last place.
constexpr int32_t kGuardBytes = 8;
}  // namespace

int32_t n_Atan(TqNum x, TqNum &r) {
    if (int32_t st = trig_CommonChecks(x, r)) return st;
    TqPrecisionScope prec;
    prec.raise(kGuardBytes);
    const int32_t sign = x.V.Sign;
    x.V.Sign = 1;
    TqNum a = trig_Zero(x.V.NumType);
    const int32_t status = n_Atan_Core(std::move(x), a);
    if (!trig_IsZero(a)) a.V.Sign = sign;
    trig_Assign(r, a);
    prec.finish(r);
    return status;
}

int32_t n_Atan_Core(TqNum x, TqNum &r) {
    const int32_t kind = x.V.NumType;
    const TqNum one = trig_Const(TQ_CONST_1, kind);
    TqNum t = trig_Zero(kind), u = trig_Zero(kind);
    int32_t status = 0;
    if (trig_Greater(x, one)) {
        status |= n_Div(one, x, t);
        status |= n_Atan_Core(std::move(t), u);
        status |= n_Sub(trig_Const(TQ_CONST_PI_2, kind), u, r);
    } else if (trig_Greater(x, trig_Const(TQ_CONST_0_001, kind))) {
        TqNum w = trig_Zero(kind);
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

int32_t n_Atan_Series(TqNum x, TqNum &r) {
    TqPrecisionScope prec;
    prec.raise(2);
    const int32_t kind = x.V.NumType;
    TqNum power = x, sum = x, x2 = trig_Zero(kind), term = trig_Zero(kind), previous = trig_Zero(kind);
    TqNum divisor = trig_Zero(kind);
    int32_t status = n_Sqr(x, x2);
    uint32_t k = 1;
    bool subtract = true;
    TqTermPrecision termPrec(gTq_Prec_Bytes_Internal);
    for (;;) {
        status |= n_Mul(power, termPrec.enter(sum, power, x2), power);
        k += 2;
        divisor.MantN = tq_Word(k);
        status |= n_Div(power, divisor, term);
        termPrec.leave();
        previous = sum;
        status |= subtract ? n_Sub(sum, term, sum) : n_Add(sum, term, sum);
        subtract = !subtract;
        if (trig_Converged(prec, sum, previous) || k > static_cast<uint32_t>(tq_Series_MaxK)) break;
    }
    trig_Assign(r, sum);
    prec.finish(r);
    return status;
}

int32_t n_Asin(TqNum x, TqNum &r) {
    if (int32_t st = trig_CommonChecks(x, r)) return st;
    const int32_t kind = x.V.NumType;
    const int32_t sign = x.V.Sign;
    x.V.Sign = 1;
    const TqNum one = trig_Const(TQ_CONST_1, kind);
    if (trig_Greater(x, one)) return trig_SetNaN(r);
    TqPrecisionScope prec;
    prec.raise(kGuardBytes);
    TqNum a = trig_Zero(kind);
    int32_t status = 0;
    if (trig_Equal(x, one)) {
        status |= n_GetConst(TQ_CONST_PI_2, a);
    } else {
        TqNum below = trig_Zero(kind), above = trig_Zero(kind), t = trig_Zero(kind);
        status |= n_Sub(one, x, below);
        status |= n_Add(one, x, above);
        status |= n_Mul(below, above, below);
        status |= n_Sqrt(below, below);
        status |= n_Div(std::move(x), below, t);
        status |= n_Atan(std::move(t), a);
    }
    if (!trig_IsZero(a)) a.V.Sign = sign;
    trig_Assign(r, a);
    prec.finish(r);
    return status;
}
