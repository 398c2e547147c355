// The decimal cut's division by 10^d with its rounding, at every size: for the
// short cuts one schoolbook division by the normalised power (short
// magnitudes) or passes of one-limb divisions through reciprocals computed once,
// the cached reciprocal of 10^d (cut_recip.cpp) or the exact division for the
// long ones; and the small powers of ten that count a magnitude's digits.
#include "cut_pow10.h"

#include <vector>

#include "cut_recip.h"
#include "div_core.h"
#include "divmod.h"
#include "limbs.h"

namespace {

// ------------------------------------------------------- small powers of ten

struct Pow10Small {
    std::vector<uint32_t> Words;              // every power, one after another
    int32_t Start[tq_Pow10Small_Count + 1];  // power k is Words[Start[k] .. Start[k + 1])
};

const Pow10Small &pow10Small() {
    // Never destroyed; built once (the initialisation of a local static is
    // thread-safe).
    static const Pow10Small *t = [] {
        auto *p = new Pow10Small;
        std::vector<uint32_t> x{1};
        for (int32_t k = 0; k < tq_Pow10Small_Count; ++k) {
            p->Start[k] = static_cast<int32_t>(p->Words.size());
            p->Words.insert(p->Words.end(), x.begin(), x.end());
            const uint32_t c = tq_MulWordN(x.data(), x.data(), static_cast<int32_t>(x.size()), 10);
            if (c) x.push_back(c);
        }
        p->Start[tq_Pow10Small_Count] = static_cast<int32_t>(p->Words.size());
        return p;
    }();
    return *t;
}

// ------------------------------------------- one-limb divisions by 10^k

// 10^k normalised for the limb division: d = 10^k x 2^s (top bit set) and its
// reciprocal v.
template <class L> struct Pow10Limb {
    L P, D, V;
    int S;
};

template <class L> constexpr int32_t kLimbDigits = sizeof(L) == 8 ? 19 : 9;

template <class L> const Pow10Limb<L> &pow10Limb(int32_t k) {
    static const Pow10Limb<L> *t = [] {
        auto *p = new Pow10Limb<L>[kLimbDigits<L> + 1];
        L x = 1;
        for (int32_t i = 1; i <= kLimbDigits<L>; ++i) {
            x *= 10;
            const int s = tqL_LeadingZeros(x);
            const L d = static_cast<L>(x << s);
            p[i] = {x, d, tqL_RecipLimb(d), s};
        }
        return p;
    }();
    return t[k];
}

// Pads the magnitude w[0..n) with a zero word to whole limbs of L and returns
// the limb count.
template <class L> int32_t toLimbs(uint32_t *w, int32_t &n) {
    constexpr int32_t per = static_cast<int32_t>(sizeof(L) / 4);
    if (n % per) w[n++] = 0;
    return n / per;
}

// Drops the zero words at the top of w[0..n); zero keeps one word.
void trimWords(const uint32_t *w, int32_t &n) {
    while (n > 1 && w[n - 1] == 0) --n;
}

// Limb counts from which the one-limb division runs as three interleaved chains.
constexpr int32_t kCutSplitLimbs = 8;

// Divides U = M x 2^s (u the n limbs of M, U's top limb r < d) by the
// normalised limb d in place, leaving the remainder in r. Each division by a
// reciprocal waits for the one before it, so the work runs as three
// independent chains side by side: the high n - k limbs of U (quotient QA,
// remainder rA), the low k limbs from remainder 0 (QL, rB), and B^k / d
// (quotient w, remainder e). Then U = QA d B^k + rA (w d + e) + QL d + rB, so
// the quotient is QA B^k + QL + rA w + (rA e + rB) div d.
template <class L> void cutSplit(L *u, int32_t n, int s, L d, L v, L &r) {
    const int B = tqL_LimbBits<L>;
    const int32_t k = n / 2;
    const L below = u[k - 1];  // the high chain's last limb needs it unchanged
    auto limb = [&](int32_t i, L lower) -> L { return s ? static_cast<L>((u[i] << s) | (lower >> (B - s))) : u[i]; };
    constexpr int32_t kStack = 64;
    L wBuf[kStack];
    std::vector<L> wHeap;
    L *w = wBuf;
    if (k > kStack) {
        wHeap.resize(static_cast<size_t>(k));
        w = wHeap.data();
    }
    L rA = r, rB = 0, rC = 1;
    int32_t ia = n - 1;
    if (n - k > k) {
        u[ia] = tqL_Div2By1(rA, limb(ia, u[ia - 1]), d, v, rA);
        --ia;
    }
    for (int32_t j = k - 1; j >= 0; --j, --ia) {
        const L la = limb(ia, ia == k ? below : u[ia - 1]);
        const L lb = limb(j, j ? u[j - 1] : 0);
        u[ia] = tqL_Div2By1(rA, la, d, v, rA);
        u[j] = tqL_Div2By1(rB, lb, d, v, rB);
        w[j] = tqL_Div2By1(rC, static_cast<L>(0), d, v, rC);
    }
    tqL_Add1(u + k, n - k, tqL_AddMul1(u, w, k, rA));
    L hi, lo;
    tqL_MulWide(rA, rC, hi, lo);
    lo += rB;
    hi += lo < rB;
    L rh;
    const L qh = tqL_Div2By1(static_cast<L>(0), hi, d, v, rh);
    const L ql = tqL_Div2By1(rh, lo, d, v, r);
    tqL_Add1(u, n, ql);
    tqL_Add1(u + 1, n - 1, qh);
}

// w = floor(w / 10^k) in place for 10^k that fits one limb. Returns the
// remainder.
template <class L> L divByPow10Limb(uint32_t *w, int32_t &n, const Pow10Limb<L> &p) {
    L *u = reinterpret_cast<L *>(w);
    const int32_t nl = toLimbs<L>(w, n);
    const int B = tqL_LimbBits<L>;
    const int s = p.S;
    // Divides w x 2^s by d: the same quotient, the remainder times 2^s.
    L r = s ? static_cast<L>(u[nl - 1] >> (B - s)) : 0;
    if (nl < kCutSplitLimbs) {
        for (int32_t i = nl - 1; i >= 0; --i) {
            const L limb = s ? static_cast<L>((u[i] << s) | (i ? u[i - 1] >> (B - s) : 0)) : u[i];
            u[i] = tqL_Div2By1(r, limb, p.D, p.V, r);
        }
    } else {
        cutSplit(u, nl, s, p.D, p.V, r);
    }
    trimWords(w, n);
    return static_cast<L>(r >> s);
}

// Adds 1 to the magnitude w[0..n) in place, growing it by a word on a final
// carry.
void incWords(uint32_t *w, int32_t &n) {
    for (int32_t i = 0; i < n; ++i)
        if (++w[i] != 0) return;
    w[n++] = 1;
}

// Adds 1 to a magnitude in place, growing it by a word on a final carry.
void incMag(TqStr &m) {
    const size_t n = m.size() / 4;
    uint32_t *w = tq_W(m);
    for (size_t i = 0; i < n; ++i)
        if (++w[i] != 0) return;
    m += tq_Word(1);
}

// The cut by 10^d of a short magnitude beyond one limb's digits is one
// division (cutOnce); otherwise it runs in passes of at most kLimbDigits digits: floor divisions
// compose, floor(floor(M / a) / b) = floor(M / ab), so each pass divides the
// quotient of the one before. With the remainders r1 .. rk of the passes the
// dropped fraction is rk / pk + r(k-1) / (p(k-1) pk) + ..., and as pk is even
// it exceeds one half exactly when rk > pk / 2, or rk = pk / 2 and a lower
// remainder is non-zero.
constexpr int32_t kCutPasses = 4;
// 10^k of two limbs or more (k up to kCutPasses one-limb powers), normalised
// for the schoolbook division: D = 10^k x 2^s in N limbs, and H = D / 2
// (10^k is even), the remainder's threshold for rounding up.
constexpr int32_t kNormLimbs = 4;  // 10^76 < 2^256, 10^36 < 2^128
template <class L> struct Pow10Norm {
    L D[kNormLimbs], H[kNormLimbs];
    int32_t N;
    int S;
};

template <class L> const Pow10Norm<L> &pow10Norm(int32_t k) {
    static const Pow10Norm<L> *t = [] {
        constexpr int32_t top = kLimbDigits<L> * kCutPasses;
        auto *p = new Pow10Norm<L>[top + 1]();
        L x[kNormLimbs + 1] = {1};
        int32_t n = 1;
        for (int32_t i = 1; i <= top; ++i) {
            L c = tqL_Mul1(x, x, n, static_cast<L>(10));
            if (c) x[n++] = c;
            if (n < 2) continue;
            Pow10Norm<L> &e = p[i];
            e.N = n;
            e.S = tqL_LeadingZeros(x[n - 1]);
            if (e.S)
                tqL_ShiftLeft(e.D, x, n, e.S);
            else
                for (int32_t j = 0; j < n; ++j) e.D[j] = x[j];
            tqL_ShiftRight(e.H, e.D, n, 1);
        }
        return p;
    }();
    return t[k];
}

// Magnitudes of up to this many limbs are cut in one division.
constexpr int32_t kOnceLimbs = 16;

// w = round(w / 10^d) in one schoolbook division by the normalised power of
// two limbs or more: a short w, d beyond one limb's digits.
template <class L> void cutOnce(uint32_t *w, int32_t &n, int32_t d) {
    const Pow10Norm<L> &p = pow10Norm<L>(d);
    const int B = tqL_LimbBits<L>;
    const int32_t nl = toLimbs<L>(w, n);
    const L *m = reinterpret_cast<const L *>(w);
    L u[kOnceLimbs + kNormLimbs + 1], q[kOnceLimbs + kNormLimbs + 1];
    // u = w x 2^s, one limb longer, and at least N + 1 limbs.
    const int s = p.S;
    u[nl] = s ? static_cast<L>(m[nl - 1] >> (B - s)) : 0;
    for (int32_t i = nl - 1; i >= 0; --i) u[i] = s ? static_cast<L>((m[i] << s) | (i ? m[i - 1] >> (B - s) : 0)) : m[i];
    int32_t un = nl + 1;
    while (un < p.N + 1) u[un++] = 0;
    tq_DivSchool<L>(u, un, p.D, p.N, q);
    // The remainder (times 2^s) is in u[0..N): up only beyond the half.
    const bool up = tqL_Cmp(u, p.H, p.N) > 0;
    constexpr int32_t per = static_cast<int32_t>(sizeof(L) / 4);
    const uint32_t *qw = reinterpret_cast<const uint32_t *>(q);
    n = (un - p.N) * per;
    for (int32_t i = 0; i < n; ++i) w[i] = qw[i];
    trimWords(w, n);
    if (up) incWords(w, n);
}

template <class L> void cutByPow10Limbs(uint32_t *w, int32_t &n, int32_t d) {
    constexpr int32_t per = static_cast<int32_t>(sizeof(L) / 4);
    if (d > kLimbDigits<L> && n <= kOnceLimbs * per) return cutOnce<L>(w, n, d);
    bool lowerNonZero = false;
    for (;;) {
        const int32_t c = d < kLimbDigits<L> ? d : kLimbDigits<L>;
        const Pow10Limb<L> &p = pow10Limb<L>(c);
        const L r = divByPow10Limb<L>(w, n, p);
        d -= c;
        if (d > 0) {
            lowerNonZero = lowerNonZero || r != 0;
            continue;
        }
        if (r > p.P / 2 || (r == p.P / 2 && lowerNonZero)) incWords(w, n);
        return;
    }
}

}  // namespace

const uint32_t *tq_Pow10Small(int32_t k, int32_t &n) {
    const Pow10Small &t = pow10Small();
    n = t.Start[k + 1] - t.Start[k];
    return t.Words.data() + t.Start[k];
}

int32_t tq_DecimalDigitsSmall(const uint32_t *w, int32_t n) {
    const int32_t bits = 32 * (n - 1) + (32 - __builtin_clz(w[n - 1]));
    // 2^(bits - 1) <= M, and 0.30102 is below log10 2: M has at least
    // floor((bits - 1) 0.30102) + 1 digits, and at most one more than that
    // estimate far below 10^160. The first power of ten above M settles it.
    const int64_t estimate = int64_t(bits - 1) * 30102 / 100000 + 1;
    if (estimate >= tq_Pow10Small_Count) return -1;  // long magnitudes: no table answer
    int32_t digits = static_cast<int32_t>(estimate);
    for (; digits < tq_Pow10Small_Count; ++digits) {
        int32_t m;
        const uint32_t *p = tq_Pow10Small(digits, m);
        if (n < m || (n == m && tq_CmpN(w, p, n) < 0)) return digits;
    }
    return -1;
}

bool tq_DivPow10RoundN(uint32_t *w, int32_t &n, int32_t d) {
#if TQ_HAVE_LIMB64
    if (tqL_UseLimb64()) {
        if (d > kLimbDigits<uint64_t> * kCutPasses) return false;
        cutByPow10Limbs<uint64_t>(w, n, d);
        return true;
    }
#endif
    if (d > kLimbDigits<uint32_t> * kCutPasses) return false;
    cutByPow10Limbs<uint32_t>(w, n, d);
    return true;
}

bool tq_DivPow10Round(TqStr &M, int32_t d) {
    int32_t n = tq_NWords(M);
    M.resize(static_cast<size_t>(4 * (n + 2)));
    const bool done = tq_DivPow10RoundN(tq_W(M), n, d);
    M.resize(static_cast<size_t>(4 * n));
    return done;
}

void tq_DivPow10RoundBy(TqStr &M, const TqStr &D) {
    TqStr q;
    int32_t up = 0;
    if (tq_CutByPow10Recip(M, D, q, up)) {
        if (up) incMag(q);
        M = std::move(q);
        return;
    }
    TqStr rem;
    h_DivMod(M, D, 1, q, rem);
    // Up only beyond the exact half: compare 2 rem with D.
    tq_Trim(rem);
    const int32_t nr = tq_NWords(rem);
    TqStr twice(static_cast<size_t>(4 * (nr + 1)), '\0');
    tq_W(twice)[nr] = tq_Lsh1N(tq_W(twice), tq_W(rem), nr);
    if (tq_Cmp(twice, D) > 0) incMag(q);
    tq_Trim(q);
    M = std::move(q);
}
