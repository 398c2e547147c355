// h_PowMod and its two forms: R = B^E mod M by sliding windows over the
// exponent (h_SlidingWindow), with a table of the odd powers B, B^3, ...,
// B^(2^k - 1). Odd moduli run in Montgomery form on raw limbs (every step a
// product plus a word-level reduction, no division); other moduli reduce
// every product by long division on raw limbs. B, E and M are copies; R is
// trimmed.
#include <cstring>

#include "div_core.h"
#include "divmod.h"
#include "limbs.h"
#include "montgomery.h"
#include "mul.h"
#include "pow.h"

// Runs the records from the most significant down: start from the table entry
// of the top window, then square for every bit and multiply by the table entry
// of every window. sq(x) and mul(x, i) update x in place.
template <class V, class Sq, class Mul>
static void evaluate(const std::vector<TqWindowRec> &recs, V &x, Sq sq, Mul mul) {
    for (int32_t r = static_cast<int32_t>(recs.size()) - 2; r >= 0; --r) {
        for (int32_t b = 0; b < recs[r].Length; ++b) sq(x);
        if (recs[r].Kind == 1) mul(x, recs[r].Value);
    }
}

// Products reduced modulo m by long division on raw limbs: the modulus is
// normalised once, and each product (below m^2) is shifted by the same amount
// and divided in place.
template <class L> struct PlainReducer {
    int32_t n;
    int s;
    std::vector<L> d, u, q, prod;
    explicit PlainReducer(const TqStr &M) {
        constexpr size_t LB = sizeof(L);
        n = static_cast<int32_t>((M.size() + LB - 1) / LB);
        d.assign(n, 0);
        std::memcpy(d.data(), M.data(), M.size());
        s = tqL_LeadingZeros(d[n - 1]);
        if (s) tqL_ShiftLeft(d.data(), d.data(), n, s);
        u.assign(2 * n + 1, 0);
        q.assign(n + 1, 0);
        prod.assign(2 * n, 0);
    }
    // r = prod mod m (prod holds 2n limbs below m^2).
    void reduce(L *r) {
        u[2 * n] = s ? tqL_ShiftLeft(u.data(), prod.data(), 2 * n, s) : 0;
        if (!s) std::memcpy(u.data(), prod.data(), prod.size() * sizeof(L));
        tq_DivAny(u.data(), 2 * n + 1, d.data(), n, q.data());
        if (s)
            tqL_ShiftRight(r, u.data(), n, s);
        else
            std::memcpy(r, u.data(), static_cast<size_t>(n) * sizeof(L));
    }
    void mul(L *r, const L *a, const L *b) {
        constexpr int32_t per = static_cast<int32_t>(sizeof(L) / 4);
        tq_MulWords(reinterpret_cast<uint32_t *>(prod.data()), reinterpret_cast<const uint32_t *>(a), n * per,
                    reinterpret_cast<const uint32_t *>(b), n * per);
        reduce(r);
    }
    void sqr(L *r, const L *a) {
        constexpr int32_t per = static_cast<int32_t>(sizeof(L) / 4);
        tq_SqrWords(reinterpret_cast<uint32_t *>(prod.data()), reinterpret_cast<const uint32_t *>(a), n * per);
        reduce(r);
    }
};

template <class L> static void powModPlain(const TqStr &B, const TqStr &E, const TqStr &M, TqStr &R) {
    PlainReducer<L> red(M);
    const int32_t n = red.n;
    const int32_t k = h_WindowWidth(tq_Len(E));
    std::vector<TqWindowRec> recs;
    h_SlidingWindow(E, k, recs);
    const size_t entries = static_cast<size_t>(1) << (k - 1);  // odd powers 1, 3, ..
    std::vector<L> tab(entries * n, 0), b2(n), x(n);
    TqStr bm;
    h_Mod(B, M, bm);
    std::memcpy(tab.data(), bm.data(), bm.size());
    red.sqr(b2.data(), tab.data());
    for (size_t i = 1; i < entries; ++i) red.mul(&tab[i * n], &tab[(i - 1) * n], b2.data());
    const L *top = &tab[static_cast<size_t>(recs.back().Value / 2) * n];
    x.assign(top, top + n);
    evaluate(
        recs, x, [&](std::vector<L> &v) { red.sqr(v.data(), v.data()); },
        [&](std::vector<L> &v, int32_t i) { red.mul(v.data(), v.data(), &tab[static_cast<size_t>(i / 2) * n]); });
    TqStr r(reinterpret_cast<const char *>(x.data()), static_cast<size_t>(n) * sizeof(L));
    tq_Trim(r);
    R = std::move(r);
}

void h_PowMod_Plain(TqStr B, TqStr E, TqStr M, TqStr &R) {
    if (tq_IsZero(E)) {
        R = tq_Word(1);
        return;
    }
    tq_Trim(M);
    if (tq_IsZero(M)) {
        R = tq_Word(0);
        return;
    }
    tqL_OnLimbWidth([&](auto limb) { powModPlain<decltype(limb)>(B, E, M, R); });
}

template <class L> static void powModMont(const TqStr &B, const TqStr &E, const TqStr &M, TqStr &R) {
    constexpr size_t LB = sizeof(L);
    const int32_t n = static_cast<int32_t>((M.size() + LB - 1) / LB);
    std::vector<L> m(n, 0), t(2 * n + 2, 0);
    std::memcpy(m.data(), M.data(), M.size());
    const L minv = tq_MontInvLimb(m[0]);

    // B in Montgomery form: B x B^n mod M, by one division.
    TqStr bm;
    h_Mod(TqStr(static_cast<size_t>(n) * LB, '\0') + B, M, bm);
    const int32_t k = h_WindowWidth(tq_Len(E));
    std::vector<TqWindowRec> recs;
    h_SlidingWindow(E, k, recs);
    const size_t entries = static_cast<size_t>(1) << (k - 1);  // odd powers 1, 3, ..
    std::vector<L> tab(entries * n, 0), b2(n), x(n);
    std::memcpy(tab.data(), bm.data(), bm.size());
    tq_MontSqr(b2.data(), tab.data(), m.data(), n, minv, t.data());
    for (size_t i = 1; i < entries; ++i)
        tq_MontMul(&tab[i * n], &tab[(i - 1) * n], b2.data(), m.data(), n, minv, t.data());

    const L *top = &tab[static_cast<size_t>(recs.back().Value / 2) * n];
    x.assign(top, top + n);
    evaluate(
        recs, x, [&](std::vector<L> &v) { tq_MontSqr(v.data(), v.data(), m.data(), n, minv, t.data()); },
        [&](std::vector<L> &v, int32_t i) {
            tq_MontMul(v.data(), v.data(), &tab[static_cast<size_t>(i / 2) * n], m.data(), n, minv, t.data());
        });
    // Leave Montgomery form: multiply by 1.
    std::vector<L> one(n, 0);
    one[0] = 1;
    tq_MontMul(x.data(), x.data(), one.data(), m.data(), n, minv, t.data());
    TqStr r(reinterpret_cast<const char *>(x.data()), static_cast<size_t>(n) * LB);
    tq_Trim(r);
    R = std::move(r);
}

void h_PowMod_Montgomery(TqStr B, TqStr E, TqStr M, TqStr &R) {
    if (tq_IsZero(E)) {
        R = tq_Word(1);
        return;
    }
    tq_Trim(M);
    if (!(tq_W(M)[0] & 1)) {
        // Montgomery needs an odd modulus; even ones (and zero) take the
        // plain reduction.
        h_PowMod_Plain(std::move(B), std::move(E), std::move(M), R);
        return;
    }
    tqL_OnLimbWidth([&](auto limb) { powModMont<decltype(limb)>(B, E, M, R); });
}

void h_PowMod(TqStr B, TqStr E, TqStr M, TqStr &R) {
    tq_Trim(M);
    if (tq_IsZero(E)) {
        R = tq_Word(1);
    } else if (tq_IsZero(M)) {
        R = tq_Word(0);
    } else if (tq_W(M)[0] & 1) {
        h_PowMod_Montgomery(std::move(B), std::move(E), std::move(M), R);
    } else {
        h_PowMod_Plain(std::move(B), std::move(E), std::move(M), R);
    }
}
