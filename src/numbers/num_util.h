// The helpers every operation on numbers shares: numbers from integers,
// special results, kind and exact tests, records moved keeping InUse, the
// final cut with its exponent range, and size estimates.
#pragma once
#include <string>

#include "base/tq_state.h"  // the error and special codes
#include "base/tq_types.h"
#include "numbers/number.h"  // n_SetZero

// A finite number of the given kind holding the integer v (Sign from v).
TqNum tq_IntNum(int32_t kind, int64_t v);
// Iterations and series stop at the latest after this many rounds.
constexpr int32_t tq_MaxRounds = 2000000;
// A number of the given kind holding only a special value (1..3).
TqNum tq_SpecialNum(int32_t kind, int32_t special);
void tq_SetSpecial(TqNum &v, int32_t special);
// A float result beyond the exponent range: the infinity of the sign when it
// is too large, else zero; raises and returns tq_Err_ExpRange (with
// tq_Err_Special for the infinity).
int32_t tq_SetOutOfRange(TqNum &v, bool tooLarge, int32_t sign);

inline bool tq_IsFloatKind(int32_t kind) { return kind == TarqDecFloat || kind == TarqBinFloat; }
inline bool tq_IsNumericKind(int32_t kind) { return kind >= TarqDecFloat && kind <= TarqFraction; }

// A denominator (or magnitude) of one word 1, in d's own buffer.
inline void tq_SetOne(TqStr &d) {
    d.assign(4, '\0');
    tq_W(d)[0] = 1;
}
// Makes r the special value s (1 +inf, 2 -inf, 3 NaN) on a zero magnitude and
// raises the error bits: tq_Err_Invalid as well when invalid is set. Returns
// tq_Err_Special.
int32_t tq_SpecialResult(TqNum &r, int32_t s, bool invalid);
// +inf or -inf by a sign.
inline int32_t tq_InfOfSign(int32_t sign) { return sign == 1 ? tq_Special_PosInf : tq_Special_NegInf; }
// Sign of a product or quotient.
inline int32_t tq_ProductSign(int32_t sa, int32_t sb) { return sa == sb ? 1 : -1; }

// Copies the numeric fields of a record (not InUse).
inline void tq_CopyRecord(TarqVar &dst, const TarqVar &src) {
    dst.Sign = src.Sign;
    dst.Expo = src.Expo;
    dst.NumType = src.NumType;
    dst.Special = src.Special;
}
// r takes a's value, keeping its own InUse: by moving a's strings, or by copy.
inline void tq_MoveInto(TqNum &r, TqNum &a) {
    tq_CopyRecord(r.V, a.V);
    r.MantN.swap(a.MantN);
    r.DenN.swap(a.DenN);
}
inline void tq_Assign(TqNum &r, const TqNum &v) {
    const int32_t inUse = r.V.InUse;
    r = v;
    r.V.InUse = inUse;
}

// Zero normalisation, then the cut to the working precision (floats only).
void tq_Finish(TqNum &r);
// tq_Finish for a float whose exponent e was computed in 64 bits: a result
// beyond the 32-bit exponent range becomes the infinity of its sign (status
// tq_Err_ExpRange | tq_Err_Special) or, below it, zero (tq_Err_ExpRange);
// never a wrapped exponent. Returns 0 otherwise.
int32_t tq_FinishExpo(TqNum &r, int64_t e);
// The end of a signed operation: tq_FinishExpo(r, e) for a float, tq_Finish
// (and status 0) for the exact kinds, which have no exponent.
inline int32_t tq_FinishResult(TqNum &r, int64_t e) {
    if (tq_IsFloatKind(r.V.NumType)) return tq_FinishExpo(r, e);
    tq_Finish(r);
    return 0;
}
// Finite and zero.
bool tq_IsZeroNum(const TqNum &v);
// Finite and exactly +1.
bool tq_IsOneNum(const TqNum &v);
// Finite and negative (not zero).
bool tq_IsNegNum(const TqNum &v);
// log2 |v| of a finite non-zero float or integer, to about 15 digits.
double tq_ApproxLog2(const TqNum &v);

// Cuts a copy of v at the given precision in bytes and reports whether a and b
// agree there (magnitude and exponent).
bool tq_SameAtPrecision(const TqNum &a, const TqNum &b, int32_t bytes);

// Diagnostic helpers: a number in decimal and hexadecimal, built only while
// a trace sink listens.
void tq_TraceNumber(const TqNum &v);
std::string tq_MagHex(const TqStr &m);
