// Shared helpers on number records: the cut to the working precision,
// canonical zero, low-word stripping of binary floats and fraction reduction.
#pragma once
#include "base/tq_types.h"

// The cut to the working precision P (gTq_Prec_Bytes_Internal bytes), the
// library's one rounding of float results. Other kinds are left alone.
//   Binary float: keeps 8P significant bits counted from the leading one bit
//     and rounds to nearest on the first dropped bit, a half going up (a
//     carry out of the top adds a word). Whole words below the kept bits are
//     dropped into Expo; dropped bits of the lowest kept word are cleared.
//   Decimal float: when the magnitude is longer than P bytes, keeps the
//     K = floor(2.408 (P + 4)) leading digits and up to three more (so that
//     Expo lands on a multiple of 4), K following from P and the value alone;
//     rounds to nearest with an exact half rounding down (the quotient goes
//     up only when the remainder exceeds half of the dropped power of ten).
//     A magnitude of at most P bytes is exact and is not cut.
// Exponents: a binary float's Expo (bytes) must come in as a multiple of 4
// and stays one (a trace line warns otherwise); a decimal float's Expo
// (digits) leaves as a multiple of 4, an uncut magnitude being multiplied
// exactly by the missing power of ten. The magnitude may keep high zero
// words; Sign and Special are untouched.
void n_ReducePrecision(TarqVar &v, TqStr &MantN);
// K of the decimal cut at the working precision: floor(2.408 (P + 4)).
int64_t n_DecCutDigits();
// Makes v canonical zero of its kind: Sign +1, Expo 0, Special 0, magnitude
// one zero word, denominator one word 1 (InUse and NumType are kept).
void n_SetZero(TqNum &v);
// Strips high zero words; canonical zero (returns 1) when nothing is left.
int32_t n_NormaliseZero(TarqVar &v, TqStr &MantN);
void n_Mant_StripLowZeroWords(TarqVar &v, TqStr &MantN);
// Divides numerator and denominator by their gcd while reduction is on.
void n_ReduceFraction(TqStr &num, TqStr &den);
