// Sine, cosine, tangent, arc tangent and arc sine of decimal and binary floats
// (radians), to the working precision. Inputs by value, result by reference,
// 32-bit status.
#pragma once
#include "base/tq_types.h"

[[nodiscard]] int32_t n_Sin(TqNum x, TqNum &r);
[[nodiscard]] int32_t n_Cos(TqNum x, TqNum &r);
[[nodiscard]] int32_t n_Tan(TqNum x, TqNum &r);
[[nodiscard]] int32_t n_Atan(TqNum x, TqNum &r);
[[nodiscard]] int32_t n_Asin(TqNum x, TqNum &r);

// The same functions of a binary x, the result handed back as the last step
// of the evaluation left it (8 bytes above the working precision, or the
// fixed point's words) instead of cut: within 2^-(8 P + 4) of the exact value,
// relative to it, at P working bytes. For a caller that rounds the result
// once more, to another kind, and wants that rounding alone to count.
[[nodiscard]] int32_t n_Sin_Uncut(TqNum x, TqNum &r);
[[nodiscard]] int32_t n_Cos_Uncut(TqNum x, TqNum &r);
[[nodiscard]] int32_t n_Tan_Uncut(TqNum x, TqNum &r);
[[nodiscard]] int32_t n_Atan_Uncut(TqNum x, TqNum &r);
[[nodiscard]] int32_t n_Asin_Uncut(TqNum x, TqNum &r);

// The arc tangent's series of a binary 0 <= x <= 1/2, in fixed point.
[[nodiscard]] int32_t n_Atan_Series(TqNum x, TqNum &r);
// Arc tangent of a non-negative binary x by halving the angle down to the
// series.
[[nodiscard]] int32_t n_Atan_Core(TqNum x, TqNum &r);

// ax = k pi/2 + r for a finite ax >= 0, k the nearest integer, r to the full
// relative precision in force (returned cut to it) and quadrant = k mod 4.
// Arguments of more than tq_Trig_MaxArgBits bits above the binary point are
// refused (tq_Err_ExpRange): their reduction would need pi to as many bits.
[[nodiscard]] int32_t n_Trig_Reduction(const TqNum &ax, TqNum &r, uint32_t &quadrant);
constexpr int32_t tq_Trig_MaxArgBits = 1 << 20;
