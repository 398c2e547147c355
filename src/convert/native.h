// Native machine values to and from the library's number texts.
#pragma once
#include <cstdint>

#include "base/tq_types.h"

// The value with 18 significant digits, e.g. "1.00000000000000006*d-01".
TqStr n_PrintNativeFloat(long double x);
TqStr n_PrintNativeInt(int64_t x);
// A scientific text with marker "*d" to the nearest extended float.
long double n_ReadNativeFloat(const TqStr &scientific);
// The same text to the nearest double (one rounding, no extended intermediate).
double n_ReadNativeDouble(const TqStr &scientific);
