// Sums of series by binary splitting: the terms of a range are gathered into
// exact integers and the two halves of a range joined by a few full
// products, so that a sum to n digits costs about log n multiplications of
// n-digit numbers instead of one pass over n digits per term.
#pragma once
#include "base/tq_types.h"

// atanh(1/n) = sum over k >= 0 of 1 / ((2k + 1) n^(2k + 1)) as a binary float
// of the working precision (2 <= n, n^2 below 2^32).
TqNum n_AtanhInverse_Split(uint32_t n);

// pi by the Chudnovsky series as a binary float of the working precision.
TqNum n_Pi_Chudnovsky();

// e = sum over k >= 0 of 1 / k! as a binary float of the working precision.
TqNum n_E_Split();
