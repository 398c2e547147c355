// Schoolbook long division on raw limbs (see div_core.h). Each quotient limb
// comes from the top three limbs of the running remainder and the top two of
// the divisor through a precomputed reciprocal; the estimate is then exact or
// one too large, and one add-back corrects it.
#include "div_core.h"

namespace {
// The steps of both entries below, inlined into each: a call between them
// costs a short quotient a few percent.
template <class L> [[gnu::always_inline]] inline void schoolSteps(L *u, int32_t un, const L *d, int32_t dn, L v, L *q) {
    TQ_REQUIRE(dn >= 2 && un >= dn && (d[dn - 1] >> (tqL_LimbBits<L> - 1)) == 1);
    const L d1 = d[dn - 1], d0 = d[dn - 2];
    for (int32_t j = un - dn - 1; j >= 0; --j) {
        L *w = u + j;  // the window w[0..dn] holds a value below d x B
        const L u2 = w[dn], u1 = w[dn - 1];
        L qj;
        if (u2 == d1 && u1 == d0) {
            // The top limbs match: B - 1 is then the exact quotient limb, and
            // the borrow of the product cancels the top limb.
            qj = static_cast<L>(~static_cast<L>(0));
            tqL_SubMul1(w, d, dn, qj);
        } else {
            qj = tq_DivStep3By2(w, d, dn, 0, v);
        }
        w[dn] = 0;
        q[j] = qj;
    }
}

}  // namespace

template <class L> void tq_DivSchool(L *u, int32_t un, const L *d, int32_t dn, L *q) {
    TQ_REQUIRE(dn >= 2);
    schoolSteps(u, un, d, dn, tqL_Recip3By2(d[dn - 1], d[dn - 2]), q);
}

template <class L> void tq_DivSchoolBy(L *u, int32_t un, const L *d, int32_t dn, L v, L *q) {
    schoolSteps(u, un, d, dn, v, q);
}

template <class L> L tq_DivSchool1(L *u, int32_t un, L d, L *q) {
    TQ_REQUIRE(un >= 1 && (d >> (tqL_LimbBits<L> - 1)) == 1);
    const L v = tqL_RecipLimb(d);
    L r = u[un - 1];
    u[un - 1] = 0;
    for (int32_t j = un - 2; j >= 0; --j) {
        q[j] = tqL_Div2By1(r, u[j], d, v, r);
        u[j] = 0;
    }
    u[0] = r;
    return r;
}

template <class L> void tq_DivAny(L *u, int32_t un, const L *d, int32_t dn, L *q) {
    TQ_REQUIRE(dn >= 1 && (d[dn - 1] >> (tqL_LimbBits<L> - 1)) == 1);
    constexpr int32_t per = static_cast<int32_t>(sizeof(L) / 4);
    if (un <= dn) return;
    if (dn == 1) {
        tq_DivSchool1(u, un, d[0], q);
    } else if (dn * per >= gTq_Threshold_Div_DC && (un - dn) * per >= gTq_Threshold_Div_DC) {
        tq_DivLarge(u, un, d, dn, q);
    } else {
        tq_DivSchool(u, un, d, dn, q);
    }
}

template void tq_DivSchool<uint32_t>(uint32_t *, int32_t, const uint32_t *, int32_t, uint32_t *);
template void tq_DivSchoolBy<uint32_t>(uint32_t *, int32_t, const uint32_t *, int32_t, uint32_t, uint32_t *);
template uint32_t tq_DivSchool1<uint32_t>(uint32_t *, int32_t, uint32_t, uint32_t *);
template void tq_DivAny<uint32_t>(uint32_t *, int32_t, const uint32_t *, int32_t, uint32_t *);
#if TQ_HAVE_LIMB64
template void tq_DivSchool<uint64_t>(uint64_t *, int32_t, const uint64_t *, int32_t, uint64_t *);
template void tq_DivSchoolBy<uint64_t>(uint64_t *, int32_t, const uint64_t *, int32_t, uint64_t, uint64_t *);
template uint64_t tq_DivSchool1<uint64_t>(uint64_t *, int32_t, uint64_t, uint64_t *);
template void tq_DivAny<uint64_t>(uint64_t *, int32_t, const uint64_t *, int32_t, uint64_t *);
#endif
