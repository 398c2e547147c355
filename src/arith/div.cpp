// Division and reciprocal on every number kind: C = A / B (n_Div) and
// C = 1 / A (n_Reciprocal). A float division widens the dividend until one
// integer division of the magnitudes carries the working precision plus at
// least one guard word, then cuts the quotient; big integers truncate toward
// zero; fractions cross-multiply and reduce. Float exponents are formed in 64
// bits; a quotient beyond their range is an infinity or zero with
// tq_Err_ExpRange. Division by zero gives an
// infinity signed by the dividend; a finite value over an infinity is zero.
#include <utility>

#include "arith.h"
#include "small_float.h"
#include "numbers/num_util.h"
#include "numbers/number.h"
#include "numbers/pow10.h"
#include "kernels/addsub.h"
#include "kernels/divmod.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"

namespace {

constexpr double kLog10Of256 = 2.40823996531184952;

// The Special of a quotient from a division-table code other than 0 and -1.
int32_t divSpecial(int32_t code, const TarqVar &b) {
    if (code == -2) return b.Sign == 1 ? tq_Special_PosInf : tq_Special_NegInf;
    if (code == -3) return b.Sign == 1 ? tq_Special_NegInf : tq_Special_PosInf;
    return code;
}

void quotient(TqStr x, TqStr y, TqStr &q) {
    TqStr rem;
    h_DivMod(std::move(x), std::move(y), 0, q, rem);
    tq_Trim(q);
}

// Words w0.. of a trimmed magnitude below which all words are zero (0 for
// zero): the count n_Mant_StripLowZeroWords would move to the exponent.
int32_t lowZeroWords(const TqStr &m, int32_t n) {
    int32_t k = 0;
    while (k < n && tq_W(m)[k] == 0) ++k;
    return k < n ? k : 0;
}

// Binary float: i zero bytes below the dividend make the quotient P + 4 or
// P + 8 bytes long, at least 8P + 1 bits: the truncated quotient then rounds
// correctly in the cut.
int64_t divBinFloat(const TqNum &a, const TqNum &b, TqNum &r) {
    const int32_t na = tq_SigWords(a.MantN), nb = tq_SigWords(b.MantN);
    const int32_t za = lowZeroWords(a.MantN, na), zb = lowZeroWords(b.MantN, nb);
    const int32_t lenA = 4 * (na - za), lenB = 4 * (nb - zb);
    int32_t i = gTq_Prec_Bytes_Internal + lenB + 4 - lenA;
    if (i < 0) {
        n_Trace("n_Div: Numerator can be shortened and still satisfy precision (to be implemented)!!");
        i = 0;
    }
    if (i % tq_ExpNorm_BinFl != 0) {
        n_Trace("a7wheq98 - Error: i must be a multiple of %tq_ExpNorm_BinFl !!");
        TqStr x;
        x.reserve(static_cast<size_t>(i + lenA + 4));
        x.append(static_cast<size_t>(i), '\0');
        x.append(a.MantN, static_cast<size_t>(4 * za), static_cast<size_t>(lenA));
        if (x.size() % 4) x.append(4 - x.size() % 4, '\0');
        quotient(std::move(x), b.MantN.substr(static_cast<size_t>(4 * zb), static_cast<size_t>(lenB)), r.MantN);
    } else {
        // The dividend's words above i / 4 zero words, read in place.
        h_DivQuot(tq_W(a.MantN) + za, na - za, i / 4, tq_W(b.MantN) + zb, nb - zb, r.MantN);
    }
    return (int64_t(a.V.Expo) + 4 * za - i) - (int64_t(b.V.Expo) + 4 * zb);
}

// Decimal float: the dividend is multiplied by powers of ten until it is the
// working precision plus three guard words longer than the divisor, so that
// the quotient (at least P + 7 bytes, whatever the top words hold) is longer
// than the P + 4 bytes the cut keeps: the cut, which rounds, not the
// truncating division, decides the last digit.
int64_t divDecFloat(const TqNum &a, const TqNum &b, TqNum &r) {
    const int32_t P = gTq_Prec_Bytes_Internal + 12;
    TqStr x = a.MantN;
    tq_Trim(x);
    const int32_t lenB = 4 * tq_SigWords(b.MantN);
    int64_t expo = a.V.Expo;
    while (tq_Len(x) - lenB < P) {
        const int32_t d = lenB + P - tq_Len(x);
        const int32_t k = static_cast<int32_t>(d * kLog10Of256);
        n_MulPow10(x, k);
        expo -= k;
    }
    h_DivQuot(tq_W(x), tq_NWords(x), 0, tq_W(b.MantN), tq_NWords(b.MantN), r.MantN);
    return expo - b.V.Expo;
}

void divFraction(const TqNum &a, const TqNum &b, TqNum &r) {
    int32_t trim = 1;
    h_Mul(a.MantN, b.DenN, trim, r.MantN);
    trim = 1;
    h_Mul(a.DenN, b.MantN, trim, r.DenN);
    tq_Trim(r.MantN);
    tq_Trim(r.DenN);
    n_ReduceFraction(r.MantN, r.DenN);
}

}  // namespace

int32_t n_DivRef(const TqNum &a, const TqNum &b, TqNum &r) {
    const int32_t kind = a.V.NumType;
    if (b.V.NumType != kind || r.V.NumType != kind || !tq_IsNumericKind(kind)) return tq_RaiseErr(tq_Err_Type);
    n_SetZero(r);

    const int32_t code = gTq_SpecialTable_Div[a.V.Special & 3][b.V.Special & 3];
    if (code == -1) return 0;
    if (code != 0) return tq_SpecialResult(r, divSpecial(code, b.V), code == tq_Special_NaN);

    if (tq_IsZero(b.MantN)) return tq_SpecialResult(r, tq_InfOfSign(a.V.Sign), false);
    if (tq_IsZero(a.MantN)) return 0;
    if (tq_IsFloatKind(kind) && tq_SmallDiv(a, b, r)) return 0;

    int64_t expo = 0;  // of a float quotient, in 64 bits
    switch (kind) {
        case TarqBinFloat: expo = divBinFloat(a, b, r); break;
        case TarqDecFloat: expo = divDecFloat(a, b, r); break;
        case TarqBigInt: quotient(a.MantN, b.MantN, r.MantN); break;
        default: divFraction(a, b, r); break;
    }
    r.V.Sign = tq_ProductSign(a.V.Sign, b.V.Sign);
    return tq_FinishResult(r, expo);
}

int32_t n_Div(TqNum a, TqNum b, TqNum &r) { return n_DivRef(a, b, r); }

int32_t n_Reciprocal(TqNum a, TqNum &r) {
    const int32_t kind = a.V.NumType;
    if (r.V.NumType != kind || !tq_IsNumericKind(kind)) return tq_RaiseErr(tq_Err_Type);
    n_SetZero(r);

    const int32_t code = gTq_SpecialTable_Div[0][a.V.Special & 3];
    if (code == -1) return 0;
    if (code != 0) return tq_SpecialResult(r, code, code == tq_Special_NaN);
    if (n_NormaliseZero(a.V, a.MantN)) return tq_SpecialResult(r, tq_Special_PosInf, false);

    switch (kind) {
        case TarqFraction:
            tq_MoveInto(r, a);
            r.MantN.swap(r.DenN);
            tq_Trim(r.MantN);
            tq_Trim(r.DenN);
            return 0;
        case TarqBigInt:
            if (tq_IsOne(a.MantN)) tq_MoveInto(r, a);
            return 0;
        default: {
            TqNum one;
            one.V = TarqVar{1, 1, 0, kind, 0};
            tq_SetOne(one.MantN);
            tq_SetOne(one.DenN);
            return n_DivRef(one, a, r);
        }
    }
}
