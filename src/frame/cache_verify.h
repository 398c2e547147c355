// Plausibility of cache-file contents, independent of the file's digest.
#pragma once
#include "numbers/pow10.h"
#include "base/tq_types.h"

// True when the 32 entries are the powers 10^(2^i) of one table precision:
// exact entries exactly, cut entries in their length and leading bits.
bool tq_Pow10_Plausible(const TqPow10Entry *entries);
// True when a constant-cache entry is empty or holds the constant of its slot.
bool tq_ConstEntry_Plausible(int32_t slot, const TqNum &entry);
