// Helpers shared by the signed operations: kind tests, canonical zero,
// special results and the sign rule of products and quotients. Results keep
// their InUse field and reuse their string buffers.
#pragma once
#include "base/tq_state.h"
#include "base/tq_types.h"
#include "numbers/number.h"  // n_SetZero

inline bool a_IsNumeric(int32_t kind) { return kind >= TarqDecFloat && kind <= TarqFraction; }
inline bool a_IsFloat(int32_t kind) { return kind == TarqDecFloat || kind == TarqBinFloat; }

// A denominator (or magnitude) of one word 1.
inline void a_SetOne(TqStr &d) {
    d.assign(4, '\0');
    tq_W(d)[0] = 1;
}

// Makes r the special value s (1 +inf, 2 -inf, 3 NaN) on a zero magnitude and
// raises the error bits: tq_Err_Invalid as well when invalid is set. Returns
// tq_Err_Special.
inline int32_t a_SetSpecial(TqNum &r, int32_t s, bool invalid) {
    n_SetZero(r);
    r.V.Special = s;
    if (invalid) tq_RaiseErr(tq_Err_Invalid);
    return tq_RaiseErr(tq_Err_Special);
}

// Copies the numeric fields of a record (not InUse).
inline void a_CopyRecord(TarqVar &dst, const TarqVar &src) {
    dst.Sign = src.Sign;
    dst.Expo = src.Expo;
    dst.NumType = src.NumType;
    dst.Special = src.Special;
}

// Moves a whole number into r, keeping r's InUse.
inline void a_MoveInto(TqNum &r, TqNum &a) {
    a_CopyRecord(r.V, a.V);
    r.MantN.swap(a.MantN);
    r.DenN.swap(a.DenN);
}

// +inf or -inf by a sign.
inline int32_t a_InfOfSign(int32_t sign) { return sign == 1 ? tq_Special_PosInf : tq_Special_NegInf; }

// Sign of a product or quotient.
inline int32_t a_ProductSign(int32_t sa, int32_t sb) { return sa == sb ? 1 : -1; }

// 10^d for d = 0..9.
extern const uint32_t a_Pow10Word[10];
// M = M x 10^d (d >= 0), trimmed: by one-word products up to 72 digits
// (eight of them at most), from the powers-of-ten lookup beyond.
void a_MulPow10(TqStr &M, int32_t d);

// Canonical zero when the magnitude is zero (kept denominator); trims.
int32_t a_Normalise(TqNum &r);
// Zero normalisation, then the cut to the working precision (floats only).
void a_Finish(TqNum &r);
// a_Finish for a float whose exponent e was computed in 64 bits: a result
// beyond the 32-bit exponent range becomes the infinity of its sign (status
// tq_Err_ExpRange | tq_Err_Special) or, below it, zero (tq_Err_ExpRange);
// never a wrapped exponent. Returns 0 otherwise.
int32_t a_FinishExpo(TqNum &r, int64_t e);
