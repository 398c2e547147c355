// Working precision and the precision parameter sets.
#pragma once
#include <cstdint>

#include "tq_types.h"

// The core of a precision change: mode 1 digits, 3 bytes, otherwise bits.
// Returns digits for mode 1, bits otherwise.
int32_t n_SetPrecision_Core(int32_t mode, int32_t amount);
// The whole TQ_SETPRECISION step without the lock: core, then sets 1..3.
int32_t n_SetPrecision_Export(int32_t mode, int32_t amount);

void n_PrecisionSets_Create();
int32_t n_PrecisionParameters_Store(int32_t index);
int32_t n_PrecisionParameters_Store();
int32_t n_PrecisionParameters_Retrieve(int32_t index);
int32_t n_PrecisionParameters_FreeSet(int32_t index);
int32_t n_PrecisionSets_Highest();

// trunc(log10(256) * bytes)
int32_t n_DigitsForBytes(int32_t bytes);
