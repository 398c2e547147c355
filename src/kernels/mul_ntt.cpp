// Multiplication and squaring by number-theoretic transforms (contracts in
// limbs.h).
//
// The operands' limbs are the coefficients of two polynomials; their product
// is a cyclic convolution of power-of-two length L >= (number of product
// coefficients), computed modulo three primes of the form c 2^e + 1 and put
// together by the Chinese remainder theorem (Garner's steps). Two widths:
//  - 32-bit limbs (every build; the path when gTq_Kernel_Limb64 is 0): primes
//    below 2^31, only 32 x 32 -> 64-bit products. A coefficient of the product
//    is below min(na, nb) 2^64 and the primes' product is about 2^89, so the
//    result is exact while the transform length is at most 2^24, the largest
//    power of two dividing p - 1 for all three primes.
//  - 64-bit limbs (x86-64 with 128-bit products): primes below 2^62,
//    coefficients of two words, half the transform length; a coefficient is
//    below 2^(128 + 24), far under the primes' product of about 2^186.
// Both widths give the exact product, so the words are the same; tq_NttFits
// applies the 32-bit limit to both so that the dispatch does not depend on the
// path.
//
// Arithmetic modulo p is in Montgomery form with R = 2^(limb bits). The
// forward transform is decimation in frequency (natural order in,
// bit-reversed out), the inverse decimation in time (bit-reversed in, natural
// out), so no permutation pass is needed; the inverse reuses the forward
// twiddles through w^-j = -w^(len - j).
//
// Memory: three residue arrays of L limbs, one transform of the second
// operand (multiplication only) and one twiddle table of L limbs; nothing is
// kept between calls.
#include <algorithm>
#include <memory>

#include "limbs.h"

namespace {

template <class L> struct Prime {
    L p;
    L g;     // a primitive root modulo p
    L ninv;  // -p^-1 mod 2^bits
    L r2;    // 2^(2 bits) mod p
};

template <class L> constexpr L negInverse(L p) {
    L inv = p;  // correct to 3 bits; each step doubles them
    for (int i = 0; i < 6; ++i) inv *= 2 - p * inv;
    return L(0) - inv;
}

template <class L> constexpr Prime<L> makePrime(L p, L g) {
    typedef typename TqWide<L>::T W;
    const W r = (W(1) << tqL_LimbBits<L>) % p;
    return Prime<L>{p, g, negInverse<L>(p), static_cast<L>(r * r % p)};
}

template <class L> struct Primes;
template <> struct Primes<uint32_t> {
    static constexpr Prime<uint32_t> P[3] = {makePrime<uint32_t>(2013265921u, 31), makePrime<uint32_t>(469762049u, 3),
                                             makePrime<uint32_t>(754974721u, 11)};
};
#if TQ_HAVE_LIMB64
template <> struct Primes<uint64_t> {
    static constexpr Prime<uint64_t> P[3] = {makePrime<uint64_t>(4611615649683210241u, 11),
                                             makePrime<uint64_t>(4611613450659954689u, 3),
                                             makePrime<uint64_t>(4611549678985543681u, 19)};
};
#endif
constexpr int kMaxLog = 24;

// a b R^-1 mod p for a < 2^bits and b < p, fully reduced (p < R / 2, so
// nothing overflows and one subtraction suffices).
template <class L> inline L mmul(L a, L b, const Prime<L> &P) {
    typedef typename TqWide<L>::T W;
    const W t = static_cast<W>(a) * b;
    const L m = static_cast<L>(t) * P.ninv;
    const L u = static_cast<L>((t + static_cast<W>(m) * P.p) >> tqL_LimbBits<L>);
    return u >= P.p ? u - P.p : u;
}
template <class L> inline L madd(L a, L b, L p) {
    const L s = a + b;
    return s >= p ? s - p : s;
}
template <class L> inline L msub(L a, L b, L p) { return a >= b ? a - b : a + p - b; }

// Montgomery form of the ordinary residue x (any limb value).
template <class L> inline L toMont(L x, const Prime<L> &P) { return mmul(x, P.r2, P); }
template <class L> inline L fromMont(L x, const Prime<L> &P) { return mmul<L>(x, 1, P); }

template <class L> L mpow(L base, uint64_t e, const Prime<L> &P) {  // Montgomery form in and out
    L r = toMont<L>(1, P);
    for (; e; e >>= 1) {
        if (e & 1) r = mmul(r, base, P);
        base = mmul(base, base, P);
    }
    return r;
}

// tw[len + j] = w^j for j < len, w a primitive (2 len)-th root of unity, for
// every power of two len < n (Montgomery form).
template <class L> void twiddles(L *tw, int32_t n, const Prime<L> &P) {
    for (int32_t len = 1; len < n; len <<= 1) {
        const L w = mpow(toMont(P.g, P), static_cast<uint64_t>((P.p - 1) / (2 * static_cast<uint64_t>(len))), P);
        L x = toMont<L>(1, P);
        for (int32_t j = 0; j < len; ++j) {
            tw[len + j] = x;
            x = mmul(x, w, P);
        }
    }
}

template <class L> void forward(L *x, int32_t n, const L *tw, const Prime<L> &P) {
    const L p = P.p;
    for (int32_t len = n / 2; len >= 1; len >>= 1) {
        const L *w = tw + len;
        for (int32_t i = 0; i < n; i += 2 * len) {
            L *lo = x + i, *hi = x + i + len;
            for (int32_t j = 0; j < len; ++j) {
                const L u = lo[j], v = hi[j];
                lo[j] = madd(u, v, p);
                hi[j] = mmul(msub(u, v, p), w[j], P);
            }
        }
    }
}

// The inverse transform times n.
template <class L> void inverse(L *x, int32_t n, const L *tw, const Prime<L> &P) {
    const L p = P.p;
    for (int32_t len = 1; len < n; len <<= 1) {
        const L *w = tw + len;
        for (int32_t i = 0; i < n; i += 2 * len) {
            L *lo = x + i, *hi = x + i + len;
            {
                const L u = lo[0], v = hi[0];
                lo[0] = madd(u, v, p);
                hi[0] = msub(u, v, p);
            }
            // hi[j] w^-j = -(hi[j] w^(len - j)).
            for (int32_t j = 1; j < len; ++j) {
                const L u = lo[j], v = mmul(hi[j], w[len - j], P);
                lo[j] = msub(u, v, p);
                hi[j] = madd(u, v, p);
            }
        }
    }
}

// Limb i of the word array a of n words (the top limb may be half a word).
template <class L> inline L limbAt(const uint32_t *a, int32_t n, int32_t i) {
    if constexpr (sizeof(L) == 4) {
        return a[i];
    } else {
        const int32_t w = 2 * i;
        return w + 1 < n ? (static_cast<L>(a[w + 1]) << 32) | a[w] : a[w];
    }
}
template <class L> constexpr int32_t limbsOf(int32_t words) {
    return sizeof(L) == 4 ? words : (words + 1) / 2;
}

// The limbs of a into f (Montgomery form), zero up to n.
template <class L> void load(L *f, const uint32_t *a, int32_t words, int32_t n, const Prime<L> &P) {
    const int32_t k = limbsOf<L>(words);
    for (int32_t i = 0; i < k; ++i) f[i] = toMont(limbAt<L>(a, words, i), P);
    std::fill(f + k, f + n, L(0));
}

// Divides the inverse transform by n and leaves ordinary residues.
template <class L> void unload(L *f, int32_t count, int32_t n, const Prime<L> &P) {
    // n^-1 mod p as an ordinary residue: mmul by it removes n and R at once.
    L inv = 1;
    for (int32_t l = 1; l < n; l <<= 1) inv = (inv & 1) ? (inv >> 1) + (P.p >> 1) + 1 : inv >> 1;
    for (int32_t i = 0; i < count; ++i) f[i] = mmul(f[i], inv, P);
}

int32_t transformLength(int32_t count) {
    int32_t n = 1;
    while (n < count) n <<= 1;
    return n;
}

// r[0, words) = the number whose limb coefficients are given modulo the
// three primes (count of them, the rest zero), by Garner's steps.
template <class L> void recombine(uint32_t *r, int32_t words, const L *f1, const L *f2, const L *f3, int32_t count) {
    typedef typename TqWide<L>::T W;
    constexpr int B = tqL_LimbBits<L>;
    const Prime<L> &P1 = Primes<L>::P[0], &P2 = Primes<L>::P[1], &P3 = Primes<L>::P[2];
    // c^-1 mod P.p in Montgomery form, so that mmul multiplies an ordinary
    // residue by c^-1.
    auto inverseOf = [](W c, const Prime<L> &P) {
        const L x = mpow(toMont(static_cast<L>(c % P.p), P), static_cast<uint64_t>(P.p - 2), P);
        return toMont(fromMont(x, P), P);
    };
    const L inv12 = inverseOf(P1.p, P2);
    const W p12 = static_cast<W>(P1.p) * P2.p;
    const L inv123 = inverseOf(p12, P3);
    const L p1in3 = toMont(static_cast<L>(P1.p % P3.p), P3);
    const L p12lo = static_cast<L>(p12), p12hi = static_cast<L>(p12 >> B);
    const W M = static_cast<L>(~L(0));
    W c = 0;  // the carry into the next limb
    const int32_t limbs = limbsOf<L>(words);
    for (int32_t i = 0; i < limbs; ++i) {
        W lo = 0, hiMul = 0, midMul = 0;
        if (i < count) {
            const L x1 = f1[i];
            const L x2 = mmul(msub(f2[i], static_cast<L>(x1 % P2.p), P2.p), inv12, P2);
            L t = msub(f3[i], static_cast<L>(x1 % P3.p), P3.p);
            t = msub(t, mmul(x2, p1in3, P3), P3.p);
            const L x3 = mmul(t, inv123, P3);
            lo = x1 + static_cast<W>(x2) * P1.p;  // below p1 p2 < 2^(2 B - 2)
            midMul = static_cast<W>(x3) * p12lo;
            hiMul = static_cast<W>(x3) * p12hi;
        }
        // value + carry = lo + midMul + hiMul R + c = s0 + (s1 + hiMulHigh R) R
        const W s0 = (lo & M) + (midMul & M) + (c & M);
        const W s1 = (lo >> B) + (midMul >> B) + (hiMul & M) + (c >> B) + (s0 >> B);
        const L limb = static_cast<L>(s0);
        c = s1 + ((hiMul >> B) << B);
        if constexpr (sizeof(L) == 4) {
            r[i] = limb;
        } else {
            r[2 * i] = static_cast<uint32_t>(limb);
            if (2 * i + 1 < words) r[2 * i + 1] = static_cast<uint32_t>(limb >> 32);
        }
    }
}

template <class L> void mulNtt(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb) {
    const int32_t ka = limbsOf<L>(na), kb = limbsOf<L>(nb), count = ka + kb - 1, n = transformLength(count);
    const size_t ns = static_cast<size_t>(n);
    std::unique_ptr<L[]> mem(new L[5 * ns]);
    L *res = mem.get(), *fb = res + 3 * ns, *tw = fb + ns;
    for (int k = 0; k < 3; ++k) {
        const Prime<L> &P = Primes<L>::P[k];
        L *fa = res + k * ns;
        twiddles(tw, n, P);
        load(fa, a, na, n, P);
        load(fb, b, nb, n, P);
        forward(fa, n, tw, P);
        forward(fb, n, tw, P);
        for (int32_t i = 0; i < n; ++i) fa[i] = mmul(fa[i], fb[i], P);
        inverse(fa, n, tw, P);
        unload(fa, count, n, P);
    }
    recombine(r, na + nb, res, res + ns, res + 2 * ns, count);
}

template <class L> void sqrNtt(uint32_t *r, const uint32_t *a, int32_t na) {
    const int32_t ka = limbsOf<L>(na), count = 2 * ka - 1, n = transformLength(count);
    const size_t ns = static_cast<size_t>(n);
    std::unique_ptr<L[]> mem(new L[4 * ns]);
    L *res = mem.get(), *tw = res + 3 * ns;
    for (int k = 0; k < 3; ++k) {
        const Prime<L> &P = Primes<L>::P[k];
        L *fa = res + k * ns;
        twiddles(tw, n, P);
        load(fa, a, na, n, P);
        forward(fa, n, tw, P);
        for (int32_t i = 0; i < n; ++i) fa[i] = mmul(fa[i], fa[i], P);
        inverse(fa, n, tw, P);
        unload(fa, count, n, P);
    }
    recombine(r, 2 * na, res, res + ns, res + 2 * ns, count);
}

}  // namespace

bool tq_NttFits(int32_t na, int32_t nb) {
    return na >= 1 && nb >= 1 && int64_t{na} + nb - 1 <= (int64_t{1} << kMaxLog);
}

void tq_MulNtt(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb) {
    TQ_REQUIRE(tq_NttFits(na, nb) && tq_Disjoint(r, 4 * int64_t{na + nb}, a, 4 * int64_t{na}) &&
               tq_Disjoint(r, 4 * int64_t{na + nb}, b, 4 * int64_t{nb}));
    tqL_OnLimbWidth([&](auto limb) { mulNtt<decltype(limb)>(r, a, na, b, nb); });
}

void tq_SqrNtt(uint32_t *r, const uint32_t *a, int32_t n) {
    TQ_REQUIRE(tq_NttFits(n, n) && tq_Disjoint(r, 8 * int64_t{n}, a, 4 * int64_t{n}));
    tqL_OnLimbWidth([&](auto limb) { sqrNtt<decltype(limb)>(r, a, n); });
}
