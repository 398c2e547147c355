// The start-up cache files: 1 the constants file, 2 the tables file.
#pragma once
#include <cstdint>

// 0 on success, 1 on any failure.
int32_t n_Cache_Read(int32_t which);
// 0 on success, 1 when disk caching is off, 64 when writing fails.
int32_t n_Cache_Save(int32_t which, int32_t atUnload);
