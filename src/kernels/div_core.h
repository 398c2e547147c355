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

// The reciprocal the short division below takes for the normalised d[0..dn):
// of its one limb, or of its top two.
template <class L> inline L tq_DivRecip(const L *d, int32_t dn) {
    return dn == 1 ? tqL_RecipLimb(d[0]) : tqL_Recip3By2(d[dn - 1], d[dn - 2]);
}
// Short division without the usual preconditions: u[0..un) (un >= 1, any
// top limbs, room for max(un, dn) + 1 limbs) by the normalised d[0..dn) with
// v = tq_DivRecip(d, dn). Writes the quotient to q (distinct from u; room for
// un limbs) trimmed to its significant limbs, at least one, and returns their
// count; the remainder is left in u[0..dn). The top limbs start the running
// remainder when they are below d, so no step yields a zero top limb; one and
// two-limb divisors run their steps inline.
template <class L> inline int32_t tq_DivRem(L *u, int32_t un, const L *d, int32_t dn, L v, L *q);
// One schoolbook step on the window w[0..dn] (its value below d x B, its
// top limbs not both equal to d's): the quotient limb from the 3-by-2 estimate
// by v = tqL_Recip3By2 of d's top limbs, w[0..dn) less that limb times d (the
// products of the divisor limbs from k0 up only; k0 = 0 for the exact step)
// and at most one add-back, which corrects an estimate one too large.
// Returns the quotient limb; w[dn] is left for the caller to clear.
template <class L> [[gnu::always_inline]] inline L tq_DivStep3By2(L *w, const L *d, int32_t dn, int32_t k0, L v) {
    L r1, r0;
    L qj = tqL_Div3By2(w[dn], w[dn - 1], w[dn - 2], d[dn - 1], d[dn - 2], v, r1, r0);
    const L cy = tqL_SubMul1(w + k0, d + k0, dn - 2 - k0, qj);
    const L b1 = r0 < cy;
    r0 -= cy;
    const L b2 = r1 < b1;
    r1 -= b1;
    w[dn - 2] = r0;
    w[dn - 1] = r1;
    if (b2) {
        tqL_AddN(w + k0, w + k0, d + k0, dn - k0);
        --qj;
    }
    return qj;
}
// Divide-and-conquer division (recursive blocks with products by tq_MulWords), for
// divisors and quotients of gTq_Threshold_Div_DC words and more; identical
// results to tq_DivSchool.
template <class L> void tq_DivLarge(L *u, int32_t un, const L *d, int32_t dn, L *q);
// Picks one of the above by size.
template <class L> void tq_DivAny(L *u, int32_t un, const L *d, int32_t dn, L *q);

// r = a x b (na + nb limbs, r distinct from a and b), by the multiplication
// kernels (tq_MulWords).
template <class L> void tq_MulLimbs(L *r, const L *a, int32_t na, const L *b, int32_t nb);

template <class L> inline int32_t tq_DivRem(L *u, int32_t un, const L *d, int32_t dn, L v, L *q) {
    TQ_REQUIRE(un >= 1 && dn >= 1 && (d[dn - 1] >> (tqL_LimbBits<L> - 1)) == 1);
    while (un > 1 && u[un - 1] == 0) --un;
    while (un < dn) u[un++] = 0;
    int32_t qn;
    if (dn == 1) {
        const L d0 = d[0];
        L r = 0;
        int32_t i = un - 1;
        if (u[i] < d0) r = u[i--];
        qn = i + 1;
        for (; i >= 0; --i) q[i] = tqL_Div2By1(r, u[i], d0, v, r);
        u[0] = r;
    } else if (dn == 2) {
        const L d1 = d[1], d0 = d[0];
        L r1 = 0, r0;
        int32_t i = un - 1;
        if (u[i] < d1 || (u[i] == d1 && u[i - 1] < d0)) {
            r1 = u[i--];
        }
        r0 = u[i--];
        qn = i + 1;
        for (; i >= 0; --i) q[i] = tqL_Div3By2(r1, r0, u[i], d1, d0, v, r1, r0);
        u[0] = r0;
        u[1] = r1;
    } else if (dn == 3) {
        // The schoolbook step of tq_DivSchoolBy with the window in registers:
        // (r2 r1 r0 u[i]) by (d2 d1 d0), the quotient limb from the top three
        // by the top two, then q d0 taken off the low two.
        const L d2 = d[2], d1 = d[1], d0 = d[0];
        L r2 = 0, r1, r0;
        int32_t i = un - 1;
        if (tqL_Cmp(u + un - 3, d, 3) < 0) r2 = u[i--];
        r1 = u[i--];
        r0 = u[i--];
        qn = i + 1;
        for (; i >= 0; --i) {
            L qj;
            if (r2 == d2 && r1 == d1) {
                qj = static_cast<L>(~static_cast<L>(0));
                L w[4] = {u[i], r0, r1, r2};
                tqL_SubMul1(w, d, 3, qj);
                r2 = w[2];
                r1 = w[1];
                r0 = w[0];
            } else {
                L s1, s0, ph, pl;
                qj = tqL_Div3By2(r2, r1, r0, d2, d1, v, s1, s0);
                tqL_MulWide(qj, d0, ph, pl);
                const L x = u[i];
                const L b0 = x < pl;
                r0 = x - pl;
                const L t = s0 - ph;
                const L b1 = (s0 < ph) | (t < b0);
                r1 = t - b0;
                r2 = s1 - b1;
                if (s1 < b1) {
                    const L w[3] = {r0, r1, r2};
                    L o[3];
                    tqL_AddN(o, w, d, 3);
                    r0 = o[0];
                    r1 = o[1];
                    r2 = o[2];
                    --qj;
                }
            }
            q[i] = qj;
        }
        u[0] = r0;
        u[1] = r1;
        u[2] = r2;
    } else {
        // A zero limb on top when the top dn limbs are not below d.
        if (tqL_Cmp(u + un - dn, d, dn) >= 0) u[un++] = 0;
        tq_DivSchoolBy(u, un, d, dn, v, q);
        qn = un - dn;
    }
    while (qn > 1 && q[qn - 1] == 0) --qn;
    if (qn == 0) q[qn++] = 0;
    return qn;
}
