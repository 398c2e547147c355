// Number theory on big integers: greatest common divisor, least common
// multiple, modular inverse and the extended Euclidean algorithm.
#pragma once
#include "base/tq_types.h"

// C = gcd(|A|, |B|), never negative.
[[nodiscard]] int32_t n_Gcd(TqNum A, TqNum B, TqNum &C);
// C = |A| * |B| / gcd(|A|, |B|); 0 when both are 0.
[[nodiscard]] int32_t n_Lcm(TqNum A, TqNum B, TqNum &C);
// C = A^-1 mod M; tq_Err_NoInverse when gcd(A, M) is not 1 or M is 0.
[[nodiscard]] int32_t n_ModInv(TqNum A, TqNum M, TqNum &C);
// X, Y, G with A * X + B * Y = G, where |G| = gcd(|A|, |B|).
[[nodiscard]] int32_t n_ExtEuclid(TqNum A, TqNum B, TqNum &X, TqNum &Y, TqNum &G);
