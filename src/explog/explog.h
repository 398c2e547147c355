// Exponentials and logarithms of decimal and binary floats.
#pragma once
#include "base/tq_types.h"

int32_t n_Exp(TqNum x, TqNum &r);
int32_t n_Exp2(TqNum x, TqNum &r);
int32_t n_Exp10(TqNum x, TqNum &r);
// r = e^y for a small y, summed 8 bytes above the working precision.
int32_t n_Exp_Taylor(TqNum y, TqNum &r);
// r = x^n for an integer n >= 0 given as a magnitude (whole words).
int32_t n_PowMant(TqNum x, TqStr n, TqNum &r);

int32_t n_Log(TqNum x, TqNum &r);
int32_t n_Log2(TqNum x, TqNum &r);
int32_t n_Log10(TqNum x, TqNum &r);
// r = ln m for m close to 1, by 2 atanh((m - 1) / (m + 1)).
int32_t n_Log_Taylor(TqNum m, TqNum &r);
