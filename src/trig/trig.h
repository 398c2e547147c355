// Sine, cosine, tangent, arc tangent and arc sine of decimal and binary floats
// (radians), to the working precision. Inputs by value, result by reference,
// 32-bit status.
#pragma once
#include "frame/tq_types.h"

int32_t n_Sin(TqNum x, TqNum &r);
int32_t n_Cos(TqNum x, TqNum &r);
int32_t n_Tan(TqNum x, TqNum &r);
int32_t n_Atan(TqNum x, TqNum &r);
int32_t n_Asin(TqNum x, TqNum &r);

// The series: sine and cosine for small |x|, arc tangent for 0 <= x <= 0.001.
int32_t n_Sin_Taylor(TqNum x, TqNum &r);
int32_t n_Cos_Taylor(TqNum x, TqNum &r);
int32_t n_Atan_Series(TqNum x, TqNum &r);
// Arc tangent of a non-negative x by halving the angle down to the series.
int32_t n_Atan_Core(TqNum x, TqNum &r);

// Reductions to |x| <= about pi/2; flag (+1/-1) is the sign the result takes.
// The sine reduction keeps the sign of x in the flag, the cosine's ignores it.
int32_t n_Sin_Reduction(TqNum &x, int32_t &flag);
int32_t n_Cos_Reduction(TqNum &x, int32_t &flag);
