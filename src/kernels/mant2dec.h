// Decimal expansion of a magnitude.
#pragma once
#include <vector>

#include "base/tq_types.h"

// S = the decimal digits of M, most significant first, without leading
// zeros; zero (and the empty string) give "0".
void h_Mant2Dec(TqStr M, TqStr &S);
// Prepends the digits of M to S. level = -1 (the top call) writes them
// without leading zeros and sets level to the split level it chose; a level
// L >= 0 writes exactly 9 x 2^L digits (M must be below 10^(9 x 2^L)).
void h_Mant2Dec_Rec(TqStr M, int32_t &level, TqStr &S);

// The one process-wide cache of exact powers of ten, shared by the decimal
// expansion and the digit conversions: PowTable(0) = PowTable(1) = 10^9 and
// PowTable(j) = PowTable(j-1)^2, so PowTable(j) = 10^(9 x 2^(j-1)) for j >= 1.
// Built up to index 14 by the first conversion; PowTableTop is the highest
// index filled (0 before the first conversion). It only grows.
struct TqPowCache {
    std::vector<TqStr> PowTable;
    std::vector<int32_t> PowTableLen;
    int32_t PowTableTop = 0;
};
const TqPowCache &h_Mant2Dec_Cache();
// 10^(9 x 2^j) for j >= 0, trimmed: PowTable(j + 1), the cache grown to it.
const TqStr &h_Pow10Pow2(int32_t j);
