// Shared helpers on number records: the cut to the working precision,
// canonical zero, low-word stripping of binary floats and fraction reduction.
#pragma once
#include "base/tq_types.h"

void n_ReducePrecision(TarqVar &v, TqStr &MantN);
// Strips high zero words; canonical zero (returns 1) when nothing is left.
int32_t n_NormaliseZero(TarqVar &v, TqStr &MantN);
void n_Mant_StripLowZeroWords(TarqVar &v, TqStr &MantN);
// Divides numerator and denominator by their gcd while reduction is on.
void n_ReduceFraction(TqStr &num, TqStr &den);
