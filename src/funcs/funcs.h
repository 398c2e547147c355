// Roots, powers and the helpers the elementary functions share.
#pragma once
#include "base/tq_types.h"

// C = sqrt(A): floats through the inverse square root, big integers exactly.
[[nodiscard]] int32_t n_Sqrt(TqNum a, TqNum &c);
// Y = 1 / sqrt(X) for a positive finite float X, at the working precision.
[[nodiscard]] int32_t n_InverseSquareRoot(TqNum x, TqNum &y);
// Y = 1 / sqrt(X) left at the Newton precision (working precision + 12 bytes);
// the working precision is unchanged when it returns.
void n_InverseSquareRoot_Newton(const TqNum &x, TqNum &y);
// C = the n-th root of A truncated toward zero, R = A - C^n (big integers).
[[nodiscard]] int32_t n_Root(TqNum a, TqNum n, int32_t wantRem, TqNum &c, TqNum &r);
// C = A^B.
[[nodiscard]] int32_t n_Pow(TqNum a, TqNum b, TqNum &c);
// C = A^E mod M (big integers).
[[nodiscard]] int32_t n_PowMod(TqNum a, TqNum e, TqNum m, TqNum &c);
