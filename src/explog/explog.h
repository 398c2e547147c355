// Exponentials and logarithms of decimal and binary floats.
#pragma once
#include "base/tq_types.h"

[[nodiscard]] int32_t n_Exp(TqNum x, TqNum &r);
// e^x = r * radix^scale (256 or 10; scale a multiple of 4 for binary floats),
// r not yet cut, within 2^-(8 P + 4) of it at P working bytes (a decimal r
// within the same of 8 bytes more): the caller's cut
// (tq_FinishExpo) decides overflow and underflow at its own precision. A
// result certainly out of range, a special value or an error comes back as
// n_Exp gives it, with scale 0.
[[nodiscard]] int32_t n_Exp_Scaled(TqNum x, TqNum &r, int64_t &scale);
// e^x of a binary x as n_Exp_Scaled leaves it, the scale folded into the
// exponent (see n_Sin_Uncut); a scale beyond the exponent range is cut
// to the infinity or zero n_Exp gives.
[[nodiscard]] int32_t n_Exp_Uncut(TqNum x, TqNum &r);
[[nodiscard]] int32_t n_Exp2(TqNum x, TqNum &r);
[[nodiscard]] int32_t n_Exp10(TqNum x, TqNum &r);
// r = x^n for an integer n >= 0 given as a magnitude (whole words).
[[nodiscard]] int32_t n_PowMant(TqNum x, TqStr n, TqNum &r);

[[nodiscard]] int32_t n_Log(TqNum x, TqNum &r);
[[nodiscard]] int32_t n_Log2(TqNum x, TqNum &r);
[[nodiscard]] int32_t n_Log10(TqNum x, TqNum &r);
// The logarithms of a binary x left at the 8 bytes above the working
// precision they are found at instead of cut: within 2^-(8 P + 4) of the exact
// value, relative to it, at P working bytes (see n_Sin_Uncut).
[[nodiscard]] int32_t n_Log_Uncut(TqNum x, TqNum &r);
[[nodiscard]] int32_t n_Log2_Uncut(TqNum x, TqNum &r);
[[nodiscard]] int32_t n_Log10_Uncut(TqNum x, TqNum &r);
// r = ln x for a positive binary float x by the arithmetic-geometric mean,
// 8 + extraBytes bytes above the working precision (not cut).
void n_LogAgm(const TqNum &x, int32_t extraBytes, TqNum &r);
// r = ln m for m close to 1, by 2 atanh((m - 1) / (m + 1)).
[[nodiscard]] int32_t n_Log_Taylor(TqNum m, TqNum &r);
