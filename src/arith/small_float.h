// Float addition, multiplication and division on short operands: the
// magnitudes are worked in word arrays on the stack and the result is stored
// once, so the everyday call at a few dozen digits touches no heap beyond the
// result's own buffer. Each gives exactly the words, exponent and sign of the
// general path in add_sub.cpp, mul.cpp and div.cpp (the same products, the
// same widened quotients, the same cut; a decimal quotient is rounded in its
// division to the same words).
//
// The callers have settled kinds, special values and zero operands: both
// operands are finite, non-zero floats of r's kind. Each returns false, with r
// untouched, when the operands, the precision or the exponents lie outside
// what the arrays hold (long magnitudes, far exponents, binary exponents off
// the word grid); the caller then takes the general path.
#pragma once
#include "base/tq_types.h"

// r = a + b with b's sign given as bSign (the subtraction passes it flipped).
// The caller has ruled out the case where one operand alone decides the sum.
bool tq_SmallAdd(const TqNum &a, const TqNum &b, int32_t bSign, TqNum &r);
bool tq_SmallMul(const TqNum &a, const TqNum &b, TqNum &r);
bool tq_SmallDiv(const TqNum &a, const TqNum &b, TqNum &r);

// For the sum of two non-zero floats of one kind: 0 when both count, 1 when B
// is so much smaller than A that it stays below a quarter of the unit of the
// last place the cut keeps (it cannot change the rounded sum: A alone is the
// result), 2 the other way round.
int32_t tq_FloatShortcut(const TqNum &a, const TqNum &b);

// The whole operations A + B, A - B, A x B, A / B for the export frame: true
// when both operands are finite, non-zero (add and sub; mul and div decline
// zeros in the checks above) short floats of r's kind and the result is
// stored; false, r untouched, for every other case. r may be a or b: the
// operands are read whole before r is written.
bool tq_SmallAddAny(const TqNum &a, const TqNum &b, TqNum &r);
bool tq_SmallSubAny(const TqNum &a, const TqNum &b, TqNum &r);
bool tq_SmallMulAny(const TqNum &a, const TqNum &b, TqNum &r);
bool tq_SmallDivAny(const TqNum &a, const TqNum &b, TqNum &r);
