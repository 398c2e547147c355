// Word-level helpers of the signed operations: they work on raw word arrays
// or write straight into a result string that the caller owns, so that an
// addition or a cut allocates nothing beyond the result's own growth.
// Magnitudes are little-endian 32-bit words; "trimmed" means no zero word at
// the top (zero is one zero word). No helper here knows signs or exponents.
#pragma once
#include <cstdint>

#include "frame/tq_types.h"

// Adds c (0 or 1) into r[0..n) in place; returns the carry out of the top.
uint32_t mg_Add1N(uint32_t *r, int32_t n, uint32_t c);
// Subtracts c (0 or 1) from r[0..n) in place; returns the borrow out of the top.
uint32_t mg_Sub1N(uint32_t *r, int32_t n, uint32_t c);
// r[0..n) = x[0..n) * w; returns the top word. r may be x.
uint32_t mg_MulWordN(uint32_t *r, const uint32_t *x, int32_t n, uint32_t w);
// Compares x and y of n words each: -1, 0 or +1 for x <, =, > y.
int32_t mg_CmpN(const uint32_t *x, const uint32_t *y, int32_t n);

// Number of words without the zero words at the top (0 for zero).
int32_t mg_SigWords(const TqStr &m);
// Number of bytes without the zero bytes at the top (0 for zero).
int32_t mg_SigBytes(const TqStr &m);
bool mg_IsZero(const TqStr &m);
bool mg_IsOne(const TqStr &m);
// Compares two magnitudes of any lengths: -1, 0, +1.
int32_t mg_Cmp(const TqStr &x, const TqStr &y);
// Removes zero words at the top; zero stays one zero word.
void mg_Trim(TqStr &m);

// R = X * 2^(32 sx) + Y * 2^(32 sy) when sub is 0. When sub is non-zero,
// R = |X' - Y'| for the shifted values X', Y', and the result is 1 when Y'
// was the larger, else 0. X and Y must be trimmed and R must not be either of
// them; R is trimmed.
int32_t mg_AddShifted(const TqStr &X, int32_t sx, const TqStr &Y, int32_t sy, int32_t sub, TqStr &R);
// R = X + Y or |X - Y| (same rules as above, no shifts).
inline int32_t mg_AddSub(const TqStr &X, const TqStr &Y, int32_t sub, TqStr &R) {
    return mg_AddShifted(X, 0, Y, 0, sub, R);
}

// M = M * w in place (M trimmed stays trimmed).
void mg_MulWord(TqStr &M, uint32_t w);
// M = 2 M in place.
void mg_ShiftLeft1(TqStr &M);
// M = M div 2 in place, trimmed; returns the bit shifted out.
uint32_t mg_ShiftRight1(TqStr &M);
// M = M + 1 and M = M - 1 (M >= 1) in place, trimmed.
void mg_Inc(TqStr &M);
void mg_Dec(TqStr &M);
