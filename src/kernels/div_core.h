// Division on raw limb arrays, shared by h_DivMod, the modular powers and the
// decimal expansion. L is uint32_t or (where the compiler has 128-bit
// products) uint64_t; see limbs.h.
//
// All divisors are normalised (top bit of the top limb set) and the dividend's
// top dn limbs are below the divisor, so the quotient has un - dn limbs. The
// remainder replaces the low dn limbs of the dividend; its limbs above are
// cleared.
#pragma once
#include <cstdint>

#include "limbs.h"

// Schoolbook long division by a divisor of dn >= 2 limbs, one 3-by-2 limb
// division by reciprocal per quotient limb.
template <class L> void tq_DivSchool(L *u, int32_t un, const L *d, int32_t dn, L *q);
// The same with v = tqL_Recip3By2 of the divisor's top two limbs given, for
// divisors used again and again.
template <class L> void tq_DivSchoolBy(L *u, int32_t un, const L *d, int32_t dn, L v, L *q);
// The same for a one-limb divisor; returns the remainder (also left in u[0]).
template <class L> L tq_DivSchool1(L *u, int32_t un, L d, L *q);
// Divide-and-conquer division (recursive blocks with products by tq_MulWords), for
// divisors and quotients of gTq_Threshold_Div_DC words and more; identical
// results to tq_DivSchool.
template <class L> void tq_DivLarge(L *u, int32_t un, const L *d, int32_t dn, L *q);
// Picks one of the above by size.
template <class L> void tq_DivAny(L *u, int32_t un, const L *d, int32_t dn, L *q);

// r = a x b (na + nb limbs, r distinct from a and b), by the multiplication
// kernels (tq_MulWords).
template <class L> void tq_MulLimbs(L *r, const L *a, int32_t na, const L *b, int32_t nb);
