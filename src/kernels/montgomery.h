// Word-level Montgomery multiplication on raw limbs, used by the odd-modulus
// modular power. For a modulus m of n limbs (odd) and R = B^n (B the limb
// base): tq_MontMul gives a x b x R^-1 mod m for a, b < m.
#pragma once
#include "limbs.h"

// -m^-1 mod B for odd m0 (the low limb of the modulus).
template <class L> L tq_MontInvLimb(L m0);
// r = a x b x R^-1 mod m; r may alias a or b; t is scratch of 2n + 2 limbs.
template <class L> void tq_MontMul(L *r, const L *a, const L *b, const L *m, int32_t n, L minv, L *t);
// r = a x a x R^-1 mod m; the same contract.
template <class L> void tq_MontSqr(L *r, const L *a, const L *m, int32_t n, L minv, L *t);
