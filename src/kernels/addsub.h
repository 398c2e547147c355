// Magnitude addition, subtraction, comparison, single-bit shifts, unit steps
// and trimming, on whole magnitude strings and on raw word ranges.
//
// Magnitudes are little-endian 32-bit words, least significant first; every
// length is a byte count and a multiple of 4 (h_PadToWord excepted). A
// shorter operand counts as extended with zero words at its top. The string
// kernels resize their result and accept a result that is the same string as
// an operand.
#pragma once
#include <cstdint>

#include "base/tq_types.h"

// Trimming rule: drop zero words from the top; zero (or an empty string)
// becomes one zero word.
void h_Trim(TqStr &s);

// +1 when A < B, -1 when A > B, 0 when equal (+1 means the first is smaller).
int32_t h_Compare_Ptr(const void *A, int32_t lenA, const void *B, int32_t lenB);
// 1 when A < B, else 0.
int32_t h_IsSmaller(const TqStr &A, const TqStr &B);
// 1 when A holds only zero words or is empty, else 0.
int32_t h_IsZero(const TqStr &A);

// R = X + Y, untrimmed: the longer length, one word more after a final carry.
void h_Add(const TqStr &X, const TqStr &Y, TqStr &R);
// R = X - Y over the longer length (requires X >= Y; otherwise the result
// wraps modulo 2^(8 x length) without report). Trimmed when trim is non-zero.
void h_Sub(const TqStr &X, const TqStr &Y, int32_t trim, TqStr &R);

// D = X + Y in memory, D holding the longer length. A carry out of the top is
// written as the word 1 just past the longer operand (the caller reserves that
// word) and reported in carry. D may be X or Y itself.
void h_Add_Ptr1(const void *X, int32_t lenX, const void *Y, int32_t lenY, void *D, uint8_t &carry);
// D = X - Y in memory (callers pass lenX >= lenY and X >= Y). A borrow out of
// the top leaves the wrapped difference, sets borrow to 1 and passes two
// diagnostic lines to the trace.
void h_Sub_Ptr1(const void *X, int32_t lenX, const void *Y, int32_t lenY, void *D, uint8_t &borrow);

// R = 2 X (one word longer when a bit leaves the top).
void h_ShiftLeft1(const TqStr &X, TqStr &R);
// R = X div 2, trimmed; bit = the bit shifted out, as a 4-byte word 0 or 1.
void h_ShiftRight1(const TqStr &X, TqStr &R, TqStr &bit);
// R = X + 1 (one word longer on a final carry).
void h_Inc(const TqStr &X, TqStr &R);
// R = X - 1, trimmed (requires X >= 1; zero wraps to all 0xFFFFFFFF words).
void h_Dec(const TqStr &X, TqStr &R);
// R = X extended with zero bytes to a multiple of 4 bytes; 1 when bytes were
// added, else 0.
int32_t h_PadToWord(const TqStr &X, TqStr &R);
// 1 when bit 0 of X is set, else 0 (0 for an empty string).
int32_t h_IsOdd(const TqStr &X);

// R = X x 2^(32 sx) + Y x 2^(32 sy) when sub is 0. When sub is non-zero,
// R = |X' - Y'| for the shifted values X', Y', and the result is 1 when Y'
// was the larger, else 0. Zero words at the top of X and Y are ignored; R
// must be neither of them and comes out trimmed. sx, sy >= 0.
int32_t tq_AddShifted(const TqStr &X, int32_t sx, const TqStr &Y, int32_t sy, int32_t sub, TqStr &R);
// R = X + Y or |X - Y| (same rules, no shifts).
inline int32_t tq_AddSub(const TqStr &X, const TqStr &Y, int32_t sub, TqStr &R) { return tq_AddShifted(X, 0, Y, 0, sub, R); }
