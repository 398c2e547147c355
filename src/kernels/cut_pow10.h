// The decimal cut's division: a magnitude divided by a power of ten and
// rounded to nearest, an exact half rounding down (the quotient goes up only
// when the remainder exceeds half of the power of ten).
#pragma once
#include "base/tq_types.h"

// 10^k for 0 <= k < tq_Pow10Small_Count as n trimmed words, built on first use
// and read-only afterwards (safe from any thread).
constexpr int32_t tq_Pow10Small_Count = 160;
const uint32_t *tq_Pow10Small(int32_t k, int32_t &n);

// 5^k x 2^s for 1 <= k <= tq_Pow5Top as n limbs of L (uint32_t, or uint64_t
// where the 64-bit limbs are compiled in), s making the top limb's top bit
// set; built on first use and read-only afterwards (safe from any thread).
constexpr int32_t tq_Pow5Top = 220;  // 5^220 < 2^512
template <class L> const L *tq_Pow5Norm(int32_t k, int32_t &n, int &s);

// The number of decimal digits of the nonzero magnitude w[0..n) (w[n - 1]
// non-zero) when it is below 10^(tq_Pow10Small_Count - 1); -1 otherwise.
int32_t tq_DecimalDigitsSmall(const uint32_t *w, int32_t n);

// floor(k log10 2), exact for 0 <= k < 70,777 (the multiplier is log10 2
// rounded down to 32 fraction bits).
inline int32_t tq_FloorLog10Pow2(int64_t k) { return static_cast<int32_t>((k * 1292913986ll) >> 32); }

// Bits of the n significant words w (n >= 1, w[n - 1] non-zero).
inline int32_t tq_BitLength(const uint32_t *w, int32_t n) { return 32 * (n - 1) + (32 - __builtin_clz(w[n - 1])); }

// M = round(M / 10^d) for d >= 1 and a trimmed M: a short M (up to 16 limbs)
// beyond one limb's digits in one division by 5^d (d up to tq_Pow5Top) after
// a shift by d bits, otherwise in passes of
// divisions by a power of ten that fits one limb (d up to 4 x 19, 4 x 9),
// through reciprocals computed once. Returns false, M untouched, for larger
// d: the caller then passes 10^d to tq_DivPow10RoundBy. M leaves trimmed.
bool tq_DivPow10Round(TqStr &M, int32_t d);

// The same on the trimmed magnitude w[0..n), n >= 1, in place: w must be
// 8-byte aligned (it is read as 64-bit limbs) with room for n + 2 words; n
// leaves as the trimmed length.
bool tq_DivPow10RoundN(uint32_t *w, int32_t &n, int32_t d);

// M = round(M / D) for D = 10^d, d >= 1, both trimmed: through a cached
// reciprocal of D when D and the quotient are long enough and the
// approximation decides, else by the exact division. M leaves trimmed.
void tq_DivPow10RoundBy(TqStr &M, const TqStr &D);
