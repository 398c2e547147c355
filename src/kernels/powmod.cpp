// h_PowMod and its two forms: R = B^E mod M by sliding windows over the
// exponent (h_SlidingWindow), with a table of the odd powers B, B^3, ...,
// B^(2^k - 1). Odd moduli run in Montgomery form on raw limbs (every step a
// product plus a word-level reduction, no division); other moduli reduce
// every product by long division. B, E and M are copies; R is trimmed.
#include <cstring>

#include "divmod.h"
#include "montgomery.h"
#include "mul.h"
#include "pow.h"

static void trimMag(TqStr &s) {
    size_t n = s.size() / 4;
    while (n > 1 && tq_W(s)[n - 1] == 0) --n;
    s.resize((n ? n : 1) * 4);
}

static bool isZero(const TqStr &s) {
    for (int32_t i = 0; i < tq_NWords(s); ++i)
        if (tq_W(s)[i]) return false;
    return true;
}

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

void h_PowMod_Plain(TqStr B, TqStr E, TqStr M, TqStr &R) {
    if (isZero(E)) {
        R = tq_Word(1);
        return;
    }
    trimMag(M);
    const int32_t k = h_WindowWidth(tq_Len(E));
    std::vector<TqWindowRec> recs;
    h_SlidingWindow(E, k, recs);
    std::vector<TqStr> T(static_cast<size_t>(1) << k);
    TqStr B2, x;
    h_Mod(B, M, T[1]);
    h_Square(T[1], B2);
    h_Mod(B2, M, B2);
    for (size_t i = 3; i < T.size(); i += 2) {
        int32_t trim = 1;
        h_Mul(B2, T[i - 2], trim, T[i]);
        h_Mod(T[i], M, T[i]);
    }
    x = T[recs.back().Value];
    evaluate(
        recs, x,
        [&](TqStr &v) {
            h_Square(v, v);
            h_Mod(v, M, v);
        },
        [&](TqStr &v, int32_t i) {
            int32_t trim = 1;
            h_Mul(v, T[i], trim, v);
            h_Mod(v, M, v);
        });
    trimMag(x);
    R = std::move(x);
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
    trimMag(r);
    R = std::move(r);
}

void h_PowMod_Montgomery(TqStr B, TqStr E, TqStr M, TqStr &R) {
    if (isZero(E)) {
        R = tq_Word(1);
        return;
    }
    trimMag(M);
#if TQ_HAVE_LIMB64
    if (tqL_UseLimb64()) {
        powModMont<uint64_t>(B, E, M, R);
        return;
    }
#endif
    powModMont<uint32_t>(B, E, M, R);
}

void h_PowMod(TqStr B, TqStr E, TqStr M, TqStr &R) {
    trimMag(M);
    if (isZero(E)) {
        R = tq_Word(1);
    } else if (isZero(M)) {
        R = tq_Word(0);
    } else if (tq_W(M)[0] & 1) {
        h_PowMod_Montgomery(std::move(B), std::move(E), std::move(M), R);
    } else {
        h_PowMod_Plain(std::move(B), std::move(E), std::move(M), R);
    }
}
