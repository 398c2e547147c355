// Conversion of angles between radians, degrees and grads.
#pragma once
#include "base/tq_types.h"

// Codes: 1 radians to degrees, 2 degrees to radians, 3 radians to grads,
// 4 grads to radians.
[[nodiscard]] int32_t n_ConvertUnits(int32_t code, TqNum x, TqNum &r);
