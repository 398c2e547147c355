// The decimal cut by a large power of ten through a cached reciprocal.
#pragma once
#include "base/tq_types.h"

// For trimmed magnitudes M and D (D the power of ten of the cut): when both
// the divisor and the quotient have at least gTq_Threshold_CutRecip words and
// an approximate quotient settles floor(M / D) and whether the remainder
// exceeds D / 2, sets Q to that quotient (trimmed), roundUp to 1 when the
// remainder exceeds half of D (0 otherwise, an exact half included) and
// returns true. Returns false, leaving Q and roundUp alone, when the sizes are
// too small or the approximation lies too close to an integer or to a half:
// the caller then divides exactly.
bool tq_CutByPow10Recip(const TqStr &M, const TqStr &D, TqStr &Q, int32_t &roundUp);
