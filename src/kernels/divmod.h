// Magnitude division, remainder and greatest common divisor.
#pragma once
#include "base/tq_types.h"

// Q = X div Y and Rem = X mod Y, both trimmed. Rem is the remainder whatever
// wantRem says. A zero divisor gives Q = 0 and Rem = X (callers never pass
// one).
void h_DivMod(TqStr X, TqStr Y, int32_t wantRem, TqStr &Q, TqStr &Rem);
// Q = X div Y (trimmed) for X the words x[0..nx) above z zero words and Y the
// words y[0..ny), read in place (high zero words ignored; Q's buffer may hold
// neither); no remainder is formed and small operands do not touch the heap.
// A zero divisor gives 0.
void h_DivQuot(const uint32_t *x, int32_t nx, int32_t z, const uint32_t *y, int32_t ny, TqStr &Q);
// The same into the words q (room for nx + z - ny + 4 words): returns the
// quotient's trimmed length (1 for zero).
int32_t h_DivQuotN(const uint32_t *x, int32_t nx, int32_t z, const uint32_t *y, int32_t ny, uint32_t *q);
// Rem = X mod Y, trimmed.
void h_Mod(TqStr X, TqStr Y, TqStr &Rem);
// R = w x Y for the single word w of W: lenY + 4 bytes, trimmed when trim is
// non-zero. R may be Y.
void h_MulWord(const TqStr &W, const TqStr &Y, int32_t &trim, TqStr &R);
// R = gcd(A, B), trimmed; gcd(0, B) = B and gcd(0, 0) = 0.
void h_Gcd(TqStr A, TqStr B, TqStr &R);
