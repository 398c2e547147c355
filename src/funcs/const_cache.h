// The constant cache of the computed constants 1..10: two stores of 21 entries
// (slots 0..19 used; slot 2 * (code - 1) for a binary float, one more for a
// decimal float). The working store holds each constant cut to the precision
// at which it was last used; the persistent store holds the longest value
// computed or read from the constants cache file, which carries it between
// processes. Both live until the process ends (never destroyed, so the unload
// step can still save them).
#pragma once
#include "base/tq_types.h"

constexpr int32_t tq_ConstCache_Entries = 21;

TqNum *tq_ConstCache_Working();     // tq_ConstCache_Entries entries
TqNum *tq_ConstCache_Persistent();  // tq_ConstCache_Entries entries

// Empties both stores (every entry an empty magnitude, NumType 0).
void tq_ConstCache_Clear();
