// The parse dispatcher: the special texts, then the route of each kind. The
// float kinds read text of the other radix family through a temporary of the
// other float kind and convert it; fractions read numerator and denominator as
// big integers, the sign being the product of both signs.
#include "convert.h"
#include "numbers/number.h"
#include "base/tq_state.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"

// One side of a fraction text as an exact rational: a whole number in any
// radix, or a text with a point or an exponent read as the float it writes
// (uncut, so exact) and turned into num/den.
static int32_t parseRational(const TqStr &text, TqNum &r) {
    const bool radixText = text.find('&') != TqStr::npos;
    if (text.find('.') == TqStr::npos && text.find('*') == TqStr::npos) {
        r.DenN = tq_Word(1);
        return n_Convert_String2TarqBigInt(text, r.V, r.MantN);
    }
    TqNum f;
    f.V.InUse = 1;
    if (int32_t st = radixText ? n_Convert_RadixString2TarqBinFloat(text, f.V, f.MantN)
                               : n_Convert_DecString2TarqDecFloat(text, f.V, f.MantN))
        return st;
    return radixText ? n_Convert_TarqBinFloat2TarqFraction(f, r) : n_Convert_TarqDecFloat2TarqFraction(f, r);
}

// "a/b" (or "a"): the quotient of two exact rationals. Two whole numbers are
// stored as written ("6/4"); a side with a point or an exponent gives a reduced
// quotient. The sign is the product of both signs.
static int32_t parseFraction(TqStr text, TarqVar &v, TqStr &MantN, TqStr &DenN) {
    if (text.find('/') == TqStr::npos) text += "/1";
    const size_t s1 = text.find('/');
    size_t s2 = text.find('/', s1 + 1);
    if (s2 == TqStr::npos) s2 = text.size();
    TqStr sNum = text.substr(0, s1), sDen = text.substr(s1 + 1, s2 - s1 - 1);
    n_Trace(" sNum:" + sNum);
    n_Trace(" sDen:" + sDen);
    TqNum num, den;
    num.V = den.V = v;
    const int32_t stDen = parseRational(sDen, den);
    const int32_t stNum = stDen ? 0 : parseRational(sNum, num);
    v.NumType = TarqFraction;
    v.Expo = 0;
    if (stDen || stNum) return stDen ? stDen : stNum;
    v.Sign = num.V.Sign * den.V.Sign;
    const bool reduce = tq_NWords(num.DenN) > 1 || tq_W(num.DenN)[0] != 1 || tq_NWords(den.DenN) > 1 ||
                        tq_W(den.DenN)[0] != 1;
    int32_t trim = 1;
    h_Mul(std::move(num.MantN), den.DenN, trim, MantN);
    trim = 1;
    h_Mul(std::move(num.DenN), std::move(den.MantN), trim, DenN);
    tq_Trim(MantN);
    tq_Trim(DenN);
    if (reduce && !tq_IsZero(DenN)) n_ReduceFraction(MantN, DenN);
    return 0;
}

// Runs a conversion from the other float kind into the caller's record and
// strings (the route of a text written in the other kind's radix).
template <class Convert>
static int32_t convertInto(const TqNum &from, TarqVar &v, TqStr &MantN, TqStr &DenN, Convert convert) {
    TqNum out;
    out.V = v;
    out.DenN = std::move(DenN);
    const int32_t st = convert(from, out);
    v = out.V;
    MantN = std::move(out.MantN);
    DenN = std::move(out.DenN);
    return st;
}

int32_t n_Convert_String2TarqVar(const TqStr &text, TarqVar &v, TqStr &MantN, TqStr &DenN, int32_t kind) {
    if (text == "*+inf" || text == "*-inf" || text == "*NaN") {
        v.Special = text == "*+inf" ? tq_Special_PosInf : text == "*-inf" ? tq_Special_NegInf : tq_Special_NaN;
        return 0;
    }
    v.Special = tq_Special_None;
    const bool radixText = text.find('&') != TqStr::npos;
    switch (kind) {
        case TarqDecFloat: {
            if (radixText) {
                TqNum tmp;
                if (int32_t st = n_Convert_RadixString2TarqBinFloat(text, tmp.V, tmp.MantN)) return st;
                const int32_t st = convertInto(tmp, v, MantN, DenN, [](const TqNum &a, TqNum &b) {
                    return n_Convert_TarqBinFloat2TarqDecFloat(a, b);
                });
                if (st) return st;
            } else if (int32_t st = n_Convert_DecString2TarqDecFloat(text, v, MantN)) {
                return st;
            }
            n_ReducePrecision(v, MantN);
            return 0;
        }
        case TarqBinFloat: {
            if (!radixText) {
                TqNum tmp;
                if (int32_t st = n_Convert_DecString2TarqDecFloat(text, tmp.V, tmp.MantN)) return st;
                const int32_t st = convertInto(tmp, v, MantN, DenN, [](const TqNum &a, TqNum &b) {
                    return n_Convert_TarqDecFloat2TarqBinFloat(a, b);
                });
                if (st) return st;
            } else if (int32_t st = n_Convert_RadixString2TarqBinFloat(text, v, MantN)) {
                return st;
            }
            n_Mant_StripLowZeroWords(v, MantN);
            n_ReducePrecision(v, MantN);
            return 0;
        }
        case TarqBigInt:
            return n_Convert_String2TarqBigInt(text, v, MantN);
        case TarqFraction:
            return parseFraction(text, v, MantN, DenN);
        case TarqText:
            v.NumType = TarqText;
            v.Expo = 0;
            MantN = text;
            return 0;
        default:
            return tq_RaiseErr(tq_Err_Kind);
    }
}
