// The square root of a float, used by the arc tangent's halving step and the
// arc sine. Defined with the roots of the arithmetic.
#pragma once
#include "frame/tq_types.h"

int32_t n_Sqrt(TqNum a, TqNum &r);
