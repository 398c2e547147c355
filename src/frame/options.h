// The numbered options of TQ_SETOPTION and TQ_GETOPTION.
#pragma once
#include <cstdint>

int32_t n_SetOption(int32_t code, int32_t value);
int32_t n_GetOption(int32_t code);
// Builds the small-primes table (option 1) with count entries.
void n_BuildSmallPrimes(int32_t count);
// Option 9: chooses the cache directory and reads both cache files.
int32_t n_SetCacheDirectory(int32_t value);
