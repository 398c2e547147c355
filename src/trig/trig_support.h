// Helpers shared by the trigonometric operations: comparisons, the NaN
// result and the common argument checks.
#pragma once
#include "base/tq_types.h"
#include "tarq.h"  // the constant codes

// a > b and a = b by the comparison of numbers (a - b at the current
// working precision).
bool trig_Greater(const TqNum &a, const TqNum &b);
bool trig_Equal(const TqNum &a, const TqNum &b);
// Result NaN, error bits 1 and 8 raised; returns tq_Err_Invalid.
int32_t trig_SetNaN(TqNum &r);
// The checks every trigonometric operation starts with: kinds (status 2) and
// special inputs (NaN result, status 1). Returns 0 when the operation may go on.
int32_t trig_CommonChecks(const TqNum &x, TqNum &r);
