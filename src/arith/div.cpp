// Division and reciprocal on every number kind: C = A / B (n_Div) and
// C = 1 / A (n_Reciprocal). A float division widens the dividend until one
// integer division of the magnitudes carries the working precision plus at
// least one guard word, then cuts the quotient; big integers truncate toward
// zero; fractions cross-multiply and reduce. Division by zero gives an
// infinity signed by the dividend; a finite value over an infinity is zero.
#include <utility>

#include "arith.h"
#include "arith_util.h"
#include "frame/number.h"
#include "frame/pow10.h"
#include "kernels/divmod.h"
#include "kernels/mul.h"
#include "mag_ops.h"

namespace {

constexpr double kLog10Of256 = 2.40823996531184952;

// The Special of a quotient from a division-table code other than 0 and -1.
int32_t divSpecial(int32_t code, const TarqVar &b) {
    if (code == -2) return b.Sign == 1 ? tq_Special_PosInf : tq_Special_NegInf;
    if (code == -3) return b.Sign == 1 ? tq_Special_NegInf : tq_Special_PosInf;
    return code;
}

void quotient(TqStr &x, TqStr &y, TqStr &q) {
    TqStr rem;
    h_DivMod(std::move(x), std::move(y), 0, q, rem);
    mg_Trim(q);
}

// Binary float: i zero bytes below the dividend make the quotient P + 4 or
// P + 8 bytes long, one guard word or more beyond the precision.
void divBinFloat(TqNum &a, TqNum &b, TqNum &r) {
    n_Mant_StripLowZeroWords(a.V, a.MantN);
    n_Mant_StripLowZeroWords(b.V, b.MantN);
    int32_t i = gTq_Prec_Bytes_Internal + tq_Len(b.MantN) + 4 - tq_Len(a.MantN);
    if (i < 0) {
        n_Trace("n_Div: Numerator can be shortened and still satisfy precision (to be implemented)!!");
        i = 0;
    }
    if (i % tq_ExpNorm_BinFl != 0) n_Trace("a7wheq98 - Error: i must be a multiple of %tq_ExpNorm_BinFl !!");
    if (i > 0) a.MantN.insert(0, static_cast<size_t>(i), '\0');
    a.V.Expo -= i;
    quotient(a.MantN, b.MantN, r.MantN);
    r.V.Expo = a.V.Expo - b.V.Expo;
}

// Decimal float: the dividend is multiplied by powers of ten until it is a
// working precision longer than the divisor.
void divDecFloat(TqNum &a, TqNum &b, TqNum &r) {
    const int32_t P = gTq_Prec_Bytes_Internal;
    while (tq_Len(a.MantN) - tq_Len(b.MantN) < P) {
        const int32_t d = tq_Len(b.MantN) + P - tq_Len(a.MantN);
        const int32_t k = static_cast<int32_t>(d * kLog10Of256);
        TarqVar pv;
        TqStr p;
        n_Pow10_Lookup(k, pv, p);
        mg_Trim(p);
        int32_t trim = 1;
        h_Mul(std::move(a.MantN), std::move(p), trim, a.MantN);
        if (pv.Expo > 0) a.MantN.insert(0, static_cast<size_t>(pv.Expo), '\0');
        if (a.MantN.size() % 4) a.MantN.append(4 - a.MantN.size() % 4, '\0');
        mg_Trim(a.MantN);
        a.V.Expo -= k;
    }
    quotient(a.MantN, b.MantN, r.MantN);
    r.V.Expo = a.V.Expo - b.V.Expo;
}

void divFraction(TqNum &a, TqNum &b, TqNum &r) {
    int32_t trim = 1;
    h_Mul(std::move(a.MantN), b.DenN, trim, r.MantN);
    trim = 1;
    h_Mul(std::move(a.DenN), std::move(b.MantN), trim, r.DenN);
    mg_Trim(r.MantN);
    mg_Trim(r.DenN);
    n_ReduceFraction(r.MantN, r.DenN);
}

}  // namespace

int32_t n_Div(TqNum a, TqNum b, TqNum &r) {
    const int32_t kind = a.V.NumType;
    if (b.V.NumType != kind || r.V.NumType != kind || !a_IsNumeric(kind)) return tq_RaiseErr(tq_Err_Type);
    a_SetZero(r);

    const int32_t code = gTq_SpecialTable_Div[a.V.Special & 3][b.V.Special & 3];
    if (code == -1) return 0;
    if (code != 0) return a_SetSpecial(r, divSpecial(code, b.V), code == tq_Special_NaN);

    if (n_NormaliseZero(b.V, b.MantN)) return a_SetSpecial(r, a_InfOfSign(a.V.Sign), false);
    if (n_NormaliseZero(a.V, a.MantN)) return 0;
    if (kind == TarqFraction) {
        mg_Trim(a.DenN);
        mg_Trim(b.DenN);
    }

    switch (kind) {
        case TarqBinFloat: divBinFloat(a, b, r); break;
        case TarqDecFloat: divDecFloat(a, b, r); break;
        case TarqBigInt: quotient(a.MantN, b.MantN, r.MantN); break;
        default: divFraction(a, b, r); break;
    }
    r.V.Sign = a_ProductSign(a.V.Sign, b.V.Sign);
    a_Finish(r);
    return 0;
}

int32_t n_Reciprocal(TqNum a, TqNum &r) {
    const int32_t kind = a.V.NumType;
    if (r.V.NumType != kind || !a_IsNumeric(kind)) return tq_RaiseErr(tq_Err_Type);
    a_SetZero(r);

    const int32_t code = gTq_SpecialTable_Div[0][a.V.Special & 3];
    if (code == -1) return 0;
    if (code != 0) return a_SetSpecial(r, code, code == tq_Special_NaN);
    if (n_NormaliseZero(a.V, a.MantN)) return a_SetSpecial(r, tq_Special_PosInf, false);

    switch (kind) {
        case TarqFraction:
            a_MoveInto(r, a);
            r.MantN.swap(r.DenN);
            mg_Trim(r.MantN);
            mg_Trim(r.DenN);
            return 0;
        case TarqBigInt:
            if (mg_IsOne(a.MantN)) a_MoveInto(r, a);
            return 0;
        default: {
            TqNum one;
            one.V = TarqVar{1, 1, 0, kind, 0};
            a_SetOne(one.MantN);
            a_SetOne(one.DenN);
            return n_Div(std::move(one), std::move(a), r);
        }
    }
}
