// Signed multiplication and squaring on every number kind: C = A x B (n_Mul)
// and C = A x A (n_Sqr). Specials follow the multiplication table (a finite
// zero counts as positive, so 0 x inf is an infinity); float products add the
// exponents in 64 bits and are cut to the working precision, an exponent out
// of range giving an infinity or zero with tq_Err_ExpRange; fraction products
// are reduced. A zero product is canonical zero.
#include <algorithm>
#include <utility>

#include "arith.h"
#include "small_float.h"
#include "numbers/num_util.h"
#include "numbers/number.h"
#include "kernels/limbs.h"

namespace {

// The Special of a product from a multiplication-table code.
int32_t mulSpecial(int32_t code, const TarqVar &a, const TarqVar &b) {
    switch (code) {
        case -2: return a.Sign == 1 ? tq_Special_PosInf : tq_Special_NegInf;
        case -3: return a.Sign == 1 ? tq_Special_NegInf : tq_Special_PosInf;
        case -4: return b.Sign == 1 ? tq_Special_PosInf : tq_Special_NegInf;
        case -5: return b.Sign == 1 ? tq_Special_NegInf : tq_Special_PosInf;
        default: return code;
    }
}

// R = X x Y from words xo.. and yo.. of the operands (the words below are
// zero and skipped), straight into R's buffer; R is trimmed.
void mulMag(const TqStr &X, int32_t xo, const TqStr &Y, int32_t yo, TqStr &R) {
    const int32_t nx = std::max(tq_SigWords(X), 1) - xo, ny = std::max(tq_SigWords(Y), 1) - yo;
    R.resize(static_cast<size_t>(nx + ny) * 4);
    tq_MulWords(tq_W(R), tq_W(X) + xo, nx, tq_W(Y) + yo, ny);
    tq_Trim(R);
}

// R = X x X straight into R's buffer; R is trimmed.
void sqrMag(const TqStr &X, TqStr &R) {
    const int32_t n = std::max(tq_SigWords(X), 1);
    R.resize(static_cast<size_t>(2 * n) * 4);
    tq_SqrWords(tq_W(R), tq_W(X), n);
    tq_Trim(R);
}

// Number of zero words at the bottom of a non-zero magnitude (0 for zero).
int32_t lowZeroWords(const TqStr &m) {
    const int32_t n = tq_SigWords(m);
    int32_t k = 0;
    while (k < n && tq_W(m)[k] == 0) ++k;
    return k < n ? k : 0;
}

}  // namespace

int32_t n_MulRef(const TqNum &a, const TqNum &b, TqNum &r) {
    const int32_t kind = a.V.NumType;
    if (b.V.NumType != kind || r.V.NumType != kind || !tq_IsNumericKind(kind)) return tq_RaiseErr(tq_Err_Type);
    tq_CopyRecord(r.V, a.V);

    const int32_t code = gTq_SpecialTable_Mul[a.V.Special & 3][b.V.Special & 3];
    if (code != 0) return tq_SpecialResult(r, mulSpecial(code, a.V, b.V), code == tq_Special_NaN);
    if (tq_IsFloatKind(kind) && tq_SmallMul(a, b, r)) return 0;

    int64_t expo = 0;  // of a float product, in 64 bits
    switch (kind) {
        case TarqBinFloat: {
            // Low zero words only lengthen the product; they move to the exponent.
            const int32_t za = lowZeroWords(a.MantN), zb = lowZeroWords(b.MantN);
            mulMag(a.MantN, za, b.MantN, zb, r.MantN);
            expo = int64_t(a.V.Expo) + b.V.Expo + 4 * (za + zb);
            break;
        }
        case TarqDecFloat:
            mulMag(a.MantN, 0, b.MantN, 0, r.MantN);
            expo = int64_t(a.V.Expo) + b.V.Expo;
            break;
        case TarqBigInt:
            mulMag(a.MantN, 0, b.MantN, 0, r.MantN);
            r.V.Expo = 0;
            break;
        default:
            mulMag(a.MantN, 0, b.MantN, 0, r.MantN);
            mulMag(a.DenN, 0, b.DenN, 0, r.DenN);
            r.V.Expo = 0;
            n_ReduceFraction(r.MantN, r.DenN);
            break;
    }
    if (kind != TarqFraction) tq_SetOne(r.DenN);
    r.V.Sign = tq_ProductSign(a.V.Sign, b.V.Sign);
    return tq_FinishResult(r, expo);
}

int32_t n_Mul(TqNum a, TqNum b, TqNum &r) { return n_MulRef(a, b, r); }

int32_t n_Sqr(TqNum a, TqNum &r) {
    const int32_t kind = a.V.NumType;
    if (r.V.NumType != kind || !tq_IsNumericKind(kind)) return tq_RaiseErr(tq_Err_Type);
    tq_CopyRecord(r.V, a.V);
    r.V.Sign = 1;

    const int32_t s = a.V.Special & 3;
    const int32_t code = gTq_SpecialTable_Mul[s][s];
    if (code != 0) return tq_SpecialResult(r, code, code == tq_Special_NaN);

    r.V.Special = 0;
    sqrMag(a.MantN, r.MantN);
    if (kind == TarqFraction) {
        sqrMag(a.DenN, r.DenN);
        n_ReduceFraction(r.MantN, r.DenN);
    } else {
        tq_SetOne(r.DenN);
    }
    if (tq_IsFloatKind(kind)) return tq_FinishExpo(r, 2 * int64_t(a.V.Expo));
    r.V.Expo = 0;
    tq_Finish(r);
    return 0;
}
