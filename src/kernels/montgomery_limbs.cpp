// Montgomery multiplication on raw limbs (see montgomery.h). The product is
// formed in full (squares with each cross product once, doubled), then reduced
// limb by limb (REDC): each step adds the multiple of m that clears the lowest
// limb. The result below 2m loses m once if needed.
#include "montgomery.h"

template <class L> L tq_MontInvLimb(L m0) {
    // Newton's iteration x <- x (2 - m0 x) doubles the correct low bits; m0 is
    // its own inverse modulo 8.
    L x = m0;
    for (int i = 0; i < 6; ++i) x *= static_cast<L>(2) - m0 * x;
    return static_cast<L>(0) - x;
}

// t holds 2n limbs (plus one spare); leaves t x R^-1 mod m in r.
template <class L> static void redc(L *r, L *t, const L *m, int32_t n, L minv) {
    L top = 0;  // carries that leave the 2n-limb window
    for (int32_t i = 0; i < n; ++i) {
        const L q = t[i] * minv;
        const L c = tqL_AddMul1(t + i, m, n, q);
        top += tqL_Add1(t + i + n, n - i, c);
    }
    if (top || tqL_Cmp(t + n, m, n) >= 0)
        tqL_SubN(r, t + n, m, n);
    else
        for (int32_t i = 0; i < n; ++i) r[i] = t[n + i];
}

template <class L> void tq_MontMul(L *r, const L *a, const L *b, const L *m, int32_t n, L minv, L *t) {
    TQ_REQUIRE(n >= 1 && (m[0] & 1));
    for (int32_t i = 0; i < n; ++i) t[i] = 0;
    t[n] = tqL_Mul1(t, a, n, b[0]);
    for (int32_t i = 1; i < n; ++i) t[n + i] = tqL_AddMul1(t + i, a, n, b[i]);
    redc(r, t, m, n, minv);
}

template <class L> void tq_MontSqr(L *r, const L *a, const L *m, int32_t n, L minv, L *t) {
    TQ_REQUIRE(n >= 1 && (m[0] & 1));
    typedef typename TqWide<L>::T W;
    const int B = tqL_LimbBits<L>;
    // Cross products a[i] a[j], i < j, then doubled, then the squares added.
    for (int32_t i = 0; i < 2 * n; ++i) t[i] = 0;
    for (int32_t i = 0; i + 1 < n; ++i) t[i + n] = tqL_AddMul1(t + 2 * i + 1, a + i + 1, n - i - 1, a[i]);
    // The last cross row ends at 2n - 2; the top limb stays 0 before doubling.
    tqL_ShiftLeft(t, t, 2 * n, 1);
    L c = 0;
    for (int32_t i = 0; i < n; ++i) {
        W p = static_cast<W>(a[i]) * a[i];
        W s = static_cast<W>(t[2 * i]) + static_cast<L>(p) + c;
        t[2 * i] = static_cast<L>(s);
        W s2 = static_cast<W>(t[2 * i + 1]) + static_cast<L>(p >> B) + static_cast<L>(s >> B);
        t[2 * i + 1] = static_cast<L>(s2);
        c = static_cast<L>(s2 >> B);
    }
    redc(r, t, m, n, minv);
}

template uint32_t tq_MontInvLimb<uint32_t>(uint32_t);
template void tq_MontMul<uint32_t>(uint32_t *, const uint32_t *, const uint32_t *, const uint32_t *, int32_t, uint32_t,
                                   uint32_t *);
template void tq_MontSqr<uint32_t>(uint32_t *, const uint32_t *, const uint32_t *, int32_t, uint32_t, uint32_t *);
#if TQ_HAVE_LIMB64
template uint64_t tq_MontInvLimb<uint64_t>(uint64_t);
template void tq_MontMul<uint64_t>(uint64_t *, const uint64_t *, const uint64_t *, const uint64_t *, int32_t, uint64_t,
                                   uint64_t *);
template void tq_MontSqr<uint64_t>(uint64_t *, const uint64_t *, const uint64_t *, int32_t, uint64_t, uint64_t *);
#endif
