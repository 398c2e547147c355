// Integer square and n-th roots of magnitudes.
#pragma once
#include "base/tq_types.h"

// C = floor(sqrt(A)); R = A - C^2 when wantRem is non-zero. Both trimmed.
void h_Sqrt(TqStr A, int32_t wantRem, TqStr &C, TqStr &R);
// C = floor(sqrt(A 2^(32 z))) for z >= 0 zero words below A, trimmed.
void h_SqrtShifted(const TqStr &A, int32_t z, TqStr &C);
// C = floor(A^(1/n)) for n >= 1; R = A - C^n when wantRem is non-zero.
void h_Root(TqStr A, int32_t n, int32_t wantRem, TqStr &C, TqStr &R);
// Bit length of a magnitude (0 for zero).
int32_t h_BitLength(const TqStr &A);
