// Divide-and-conquer long division on raw limbs (see div_core.h), for large
// divisors. A block of k quotient limbs is found from the top 2k limbs of the
// window and the top k limbs of the divisor (recursively, halving k), then
// the product of that estimate with the divisor's remaining limbs is
// subtracted; the estimate is at most two too large, and each excess costs
// one add-back of the divisor. The work is that of a few products of half
// size per level, so the division inherits the speed of the multiplication
// kernels.
#include <cstring>
#include <vector>

#include "base/cancel.h"
#include "div_core.h"
#include "limbs.h"

template <class L> void tq_MulLimbs(L *r, const L *a, int32_t na, const L *b, int32_t nb) {
    constexpr int32_t per = static_cast<int32_t>(sizeof(L) / 4);
    tq_MulWords(reinterpret_cast<uint32_t *>(r), reinterpret_cast<const uint32_t *>(a), na * per,
                reinterpret_cast<const uint32_t *>(b), nb * per);
}

template <class L> static L divBlock(L *w, const L *d, int32_t dn, int32_t k, L *q);

// Divides w (2n limbs) by d (n limbs): q gets n limbs, the returned limb is
// the quotient's bit above them (0 or 1); the remainder is left in w[0..n).
template <class L> static L div2nBy1n(L *w, const L *d, int32_t n, L *q) {
    constexpr int32_t per = static_cast<int32_t>(sizeof(L) / 4);
    if (n * per < gTq_Threshold_Div_DC || n < 4) return divBlock(w, d, n, n, q);
    const int32_t lo = n / 2, hi = n - lo;
    const L qh = divBlock(w + lo, d, n, hi, q + lo);
    divBlock(w, d, n, lo, q);  // its top n limbs are now below d: no extra bit
    return qh;
}

// Divides the window w (dn + k limbs, k <= dn) by d (dn limbs): q gets k
// limbs, the returned limb is the quotient bit above them; the remainder is
// left in w[0..dn) and the limbs above are cleared.
template <class L> static L divBlock(L *w, const L *d, int32_t dn, int32_t k, L *q) {
    tq_CheckCancel();  // between products: no worker thread runs here
    constexpr int32_t per = static_cast<int32_t>(sizeof(L) / 4);
    if (k * per < gTq_Threshold_Div_DC || k < 4 || dn < 2) {
        L qh = 0;
        if (tqL_Cmp(w + k, d, dn) >= 0) {
            tqL_SubN(w + k, w + k, d, dn);
            qh = 1;
        }
        if (dn == 1)
            tq_DivSchool1(w, k + 1, d[0], q);
        else
            tq_DivSchool(w, dn + k, d, dn, q);
        return qh;
    }
    if (k == dn) return div2nBy1n(w, d, dn, q);

    // Estimate from the top k limbs of d, then subtract q x (low dn - k limbs).
    const int32_t lo = dn - k;
    L qh = div2nBy1n(w + lo, d + lo, k, q);
    std::vector<L> t(static_cast<size_t>(dn));
    tq_MulLimbs(t.data(), q, k, d, lo);
    L cy = tqL_SubN(w, w, t.data(), dn);
    if (qh) cy += tqL_SubN(w + k, w + k, d, lo);
    w[dn] = 0;
    while (cy) {
        qh -= tqL_Sub1(q, k, static_cast<L>(1));
        cy -= tqL_AddN(w, w, d, dn);
    }
    for (int32_t i = dn; i < dn + k; ++i) w[i] = 0;
    return qh;
}

template <class L> void tq_DivLarge(L *u, int32_t un, const L *d, int32_t dn, L *q) {
    TQ_REQUIRE(dn >= 2 && un > dn && (d[dn - 1] >> (tqL_LimbBits<L> - 1)) == 1);
    const int32_t qn = un - dn;
    int32_t pos = qn;
    const int32_t first = qn % dn;
    if (first) {
        pos -= first;
        divBlock(u + pos, d, dn, first, q + pos);
    }
    while (pos > 0) {
        pos -= dn;
        divBlock(u + pos, d, dn, dn, q + pos);
    }
}

template void tq_MulLimbs<uint32_t>(uint32_t *, const uint32_t *, int32_t, const uint32_t *, int32_t);
template void tq_DivLarge<uint32_t>(uint32_t *, int32_t, const uint32_t *, int32_t, uint32_t *);
#if TQ_HAVE_LIMB64
template void tq_MulLimbs<uint64_t>(uint64_t *, const uint64_t *, int32_t, const uint64_t *, int32_t);
template void tq_DivLarge<uint64_t>(uint64_t *, int32_t, const uint64_t *, int32_t, uint64_t *);
#endif
