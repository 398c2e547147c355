// The decimal cut's division by 10^d with its rounding, at every size: for the
// short cuts one division by 5^d after a shift by d bits (short magnitudes) or
// passes of one-limb divisions through reciprocals computed once,
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
// division by 5^d (cutPow5); otherwise it runs in passes of at most
// kLimbDigits digits: floor divisions compose, floor(floor(M / a) / b) =
// floor(M / ab), so each pass divides the quotient of the one before. With the
// remainders r1 .. rk of the passes the dropped fraction is rk / pk +
// r(k-1) / (p(k-1) pk) + ..., and as pk is even it exceeds one half exactly
// when rk > pk / 2, or rk = pk / 2 and a lower remainder is non-zero.
constexpr int32_t kCutPasses = 4;

template <class L> constexpr int32_t kPow5Limbs = 64 / static_cast<int32_t>(sizeof(L));  // 512 bits

// The largest d with 5^d below 2^512.
constexpr int32_t kPow5Top = tq_Pow5Top;

// Magnitudes of up to this many limbs are cut in one division.
constexpr int32_t kOnceLimbs = 16;

// w = round(w / 10^d) in one division by 5^d: 10^d = 2^d 5^d, so with
// D = 5^d 2^S and h = d - S the quotient is floor(floor(w / 2^h) / D) (for
// h < 0, floor(w 2^-h / D)): the power of two becomes a shift of the
// dividend. The remainder R of that division and the h bits shifted out, X,
// make up the dropped part R 2^h + X, which exceeds half of 10^d = D 2^(h-1)
// exactly when 2R + (X's top bit) > D, or equal with a lower bit of X set
// (for h <= 0 when 2R > D). An exact half rounds down.
template <class L> [[gnu::flatten, gnu::always_inline]] inline void cutPow5(uint32_t *w, int32_t &n, int32_t d) {
    const TqPow5Norm<L> &p = tq_Pow5NormAt<L>(d);
    const int B = tqL_LimbBits<L>;
    int32_t nl = toLimbs<L>(w, n);
    const int32_t N = p.N;
    L *m = reinterpret_cast<L *>(w);
    const int h = d - p.S;
    if (N == 2 && h > 0 && h < B) {
        while (nl > 1 && m[nl - 1] == 0) --nl;
        // The top limb is non-zero (or the only one): at most its upper word is.
        n = tq_CutPow5Two<L>(m, nl, p, h) * static_cast<int32_t>(sizeof(L) / 4);
        if (n > 1 && w[n - 1] == 0) --n;
        return;
    }
    L u[kOnceLimbs + kPow5Limbs<L> + 2];
    int32_t un;
    L half = 0;
    bool below = false;
    if (h > 0) {
        // u = m >> h; the bit h - 1 of m is the half bit, the ones under it
        // decide an exact half.
        const int32_t wl = h / B, hl = (h - 1) / B;
        const int bits = h % B, hb = (h - 1) % B;
        half = (m[hl] >> hb) & 1;
        below = (m[hl] & ((L(1) << hb) - 1)) != 0;
        for (int32_t i = 0; i < hl && !below; ++i) below = m[i] != 0;
        un = nl - wl;
        if (un <= 0) {
            u[0] = 0;
            un = 1;
        } else if (bits) {
            for (int32_t i = 0; i + 1 < un; ++i) u[i] = static_cast<L>((m[i + wl] >> bits) | (m[i + wl + 1] << (B - bits)));
            u[un - 1] = m[nl - 1] >> bits;
        } else {
            for (int32_t i = 0; i < un; ++i) u[i] = m[i + wl];
        }
    } else if (h < 0) {
        const int s = -h;  // below B: S < B
        u[nl] = static_cast<L>(m[nl - 1] >> (B - s));
        for (int32_t i = nl - 1; i > 0; --i) u[i] = static_cast<L>((m[i] << s) | (m[i - 1] >> (B - s)));
        u[0] = static_cast<L>(m[0] << s);
        un = nl + 1;
    } else {
        for (int32_t i = 0; i < nl; ++i) u[i] = m[i];
        un = nl;
    }
    // The quotient goes straight into w (u holds all that is left of it):
    // below w, it fits w's limbs. The remainder, N limbs, in u[0..N).
    const int32_t qn = tq_DivRem<L>(u, un, p.D, N, p.V, m);
    // Up when 2R + half > D, or equal and a lower bit is set.
    bool up = (u[N - 1] >> (B - 1)) != 0;
    if (!up && N == 2) {
        // The two-limb divisor of the everyday cut: 2R + half in registers.
        const L t1 = static_cast<L>((u[1] << 1) | (u[0] >> (B - 1))), t0 = static_cast<L>((u[0] << 1) | half);
        up = t1 > p.D[1] || (t1 == p.D[1] && (t0 > p.D[0] || (t0 == p.D[0] && below)));
    } else if (!up) {
        L t[kPow5Limbs<L>];
        for (int32_t i = N - 1; i > 0; --i) t[i] = static_cast<L>((u[i] << 1) | (u[i - 1] >> (B - 1)));
        t[0] = static_cast<L>((u[0] << 1) | half);
        const int c = tqL_Cmp(t, p.D, N);
        up = c > 0 || (c == 0 && below);
    }
    n = qn * static_cast<int32_t>(sizeof(L) / 4);
    trimWords(w, n);
    if (up) incWords(w, n);
}

// False, w untouched, when d is beyond both ways.
template <class L> [[gnu::always_inline]] inline bool cutByPow10Limbs(uint32_t *w, int32_t &n, int32_t d) {
    constexpr int32_t per = static_cast<int32_t>(sizeof(L) / 4);
    if (d > kLimbDigits<L> && d <= kPow5Top && n <= kOnceLimbs * per) {
        cutPow5<L>(w, n, d);
        return true;
    }
    if (d > kLimbDigits<L> * kCutPasses) return false;
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
        return true;
    }
}

}  // namespace

// Built once, out of line: the lookup stays a few instructions.
template <class L> [[gnu::noinline]] const TqPow5Norm<L> *tq_BuildPow5Norm() {
    auto *p = new TqPow5Norm<L>[kPow5Top + 1]();
    L x[kPow5Limbs<L> + 1] = {1};
    int32_t n = 1;
    for (int32_t i = 1; i <= kPow5Top; ++i) {
        const L c = tqL_Mul1(x, x, n, static_cast<L>(5));
        if (c) x[n++] = c;
        TqPow5Norm<L> &e = p[i];
        e.N = n;
        e.S = tqL_LeadingZeros(x[n - 1]);
        if (e.S)
            tqL_ShiftLeft(e.D, x, n, e.S);
        else
            for (int32_t j = 0; j < n; ++j) e.D[j] = x[j];
        e.V = tq_DivRecip(e.D, n);
    }
    return p;
}
template const TqPow5Norm<uint32_t> *tq_BuildPow5Norm<uint32_t>();
#if TQ_HAVE_LIMB64
template const TqPow5Norm<uint64_t> *tq_BuildPow5Norm<uint64_t>();
#endif

template <class L> const L *tq_Pow5Norm(int32_t k, int32_t &n, int &s) {
    const TqPow5Norm<L> &p = tq_Pow5NormAt<L>(k);
    n = p.N;
    s = p.S;
    return p.D;
}
template const uint32_t *tq_Pow5Norm<uint32_t>(int32_t, int32_t &, int &);
#if TQ_HAVE_LIMB64
template const uint64_t *tq_Pow5Norm<uint64_t>(int32_t, int32_t &, int &);
#endif

const uint32_t *tq_Pow10Small(int32_t k, int32_t &n) {
    const Pow10Small &t = pow10Small();
    n = t.Start[k + 1] - t.Start[k];
    return t.Words.data() + t.Start[k];
}

int32_t tq_DecimalDigitsSmall(const uint32_t *w, int32_t n) {
    // 2^(bits - 1) <= M < 2^bits: M has floor((bits - 1) log10 2) + 1 digits
    // or one more, and 10^that settles it.
    const int32_t lo = tq_FloorLog10Pow2(tq_BitLength(w, n) - 1) + 1;
    if (lo >= tq_Pow10Small_Count - 1) return -1;  // long magnitudes: no table answer
    int32_t m;
    const uint32_t *p = tq_Pow10Small(lo, m);
    return n < m || (n == m && tq_CmpN(w, p, n) < 0) ? lo : lo + 1;
}

bool tq_DivPow10RoundN(uint32_t *w, int32_t &n, int32_t d) {
#if TQ_HAVE_LIMB64
    if (tqL_UseLimb64()) return cutByPow10Limbs<uint64_t>(w, n, d);
#endif
    return cutByPow10Limbs<uint32_t>(w, n, d);
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
