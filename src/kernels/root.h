// Integer square and n-th roots of magnitudes.
#pragma once
#include "base/tq_types.h"

// C = floor(sqrt(A)); R = A - C^2 when wantRem is non-zero. Both trimmed.
void h_Sqrt(TqStr A, int32_t wantRem, TqStr &C, TqStr &R);
// C = floor(sqrt(A 2^e)) for an even e >= 0, trimmed; *exact (when given)
// tells whether A 2^e is C^2.
void h_SqrtShifted(const TqStr &A, int64_t e, TqStr &C, bool *exact = nullptr);
// The same for A the w words at A (high zero words allowed; C must not hold them).
void h_SqrtWords(const uint32_t *A, int32_t w, int64_t e, TqStr &C, bool *exact = nullptr);
// C = sqrt(A 2^e) / 2^k rounded to the nearest integer, a half going up, for
// an even e >= 0 and k >= 0; trimmed.
void h_SqrtNearest(const TqStr &A, int64_t e, int64_t k, TqStr &C);
// The same for A the w words at A (high zero words allowed).
void h_SqrtNearestWords(const uint32_t *A, int32_t w, int64_t e, int64_t k, TqStr &C);
// q = u / d to within one (the exact quotient, one above or one below) for
// a normalised d of dn >= 3 words and u of un words whose top dn words are
// below d, as the square root's top step takes it (the upper half of a long
// quotient exact); false when it cannot tell. u is overwritten.
bool h_DivWithinOne(uint32_t *u, int32_t un, const uint32_t *d, int32_t dn, uint32_t *q);
// C = floor(A^(1/n)) for n >= 1; R = A - C^n when wantRem is non-zero.
void h_Root(TqStr A, int32_t n, int32_t wantRem, TqStr &C, TqStr &R);
// Bit length of a magnitude (0 for zero).
int32_t h_BitLength(const TqStr &A);
