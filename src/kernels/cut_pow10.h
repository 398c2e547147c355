// The decimal cut's division: a magnitude divided by a power of ten and
// rounded to nearest, an exact half rounding down (the quotient goes up only
// when the remainder exceeds half of the power of ten).
#pragma once
#include "base/tq_types.h"

// 10^k for 0 <= k < tq_Pow10Small_Count as n trimmed words, built on first use
// and read-only afterwards (safe from any thread).
constexpr int32_t tq_Pow10Small_Count = 160;
const uint32_t *tq_Pow10Small(int32_t k, int32_t &n);

// The number of decimal digits of the nonzero magnitude w[0..n) (w[n - 1]
// non-zero) when it is below 10^(tq_Pow10Small_Count - 1); -1 otherwise.
int32_t tq_DecimalDigitsSmall(const uint32_t *w, int32_t n);

// M = round(M / 10^d) for d >= 1 and a trimmed M (d at most 4 x 19 digits
// with 64-bit limbs, 4 x 9 with 32-bit ones): a short M beyond one limb's
// digits in one schoolbook division by the normalised power, otherwise in
// passes of divisions by a power of ten that fits one limb, through
// reciprocals computed once. Returns false,
// M untouched, when d needs more passes: the caller then passes 10^d to
// tq_DivPow10RoundBy. M leaves trimmed.
bool tq_DivPow10Round(TqStr &M, int32_t d);

// The same on the trimmed magnitude w[0..n), n >= 1, in place: w must be
// 8-byte aligned (it is read as 64-bit limbs) with room for n + 2 words; n
// leaves as the trimmed length.
bool tq_DivPow10RoundN(uint32_t *w, int32_t &n, int32_t d);

// M = round(M / D) for D = 10^d, d >= 1, both trimmed: through a cached
// reciprocal of D when D and the quotient are long enough and the
// approximation decides, else by the exact division. M leaves trimmed.
void tq_DivPow10RoundBy(TqStr &M, const TqStr &D);
