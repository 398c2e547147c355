// Multiplication and squaring by number-theoretic transforms (contracts in
// limbs.h).
//
// The operands' 32-bit words are the coefficients of two polynomials; their
// product is a cyclic convolution of power-of-two length L >= na + nb - 1,
// computed modulo three primes below 2^31 of the form c 2^e + 1 and put
// together by the Chinese remainder theorem. A coefficient of the product is
// below min(na, nb) 2^64, and the three primes' product is about 2^89, so the
// result is exact while the transform length is at most 2^24 words (the
// largest power of two dividing p - 1 for all three primes), which
// tq_NttFits checks.
//
// Arithmetic modulo p is in Montgomery form with R = 2^32 and only 32 x 32 ->
// 64-bit products, so the 32-bit and 64-bit builds run the same operations
// and give the same words. The forward transform is decimation in frequency
// (natural order in, bit-reversed out), the inverse decimation in time
// (bit-reversed in, natural out), so no permutation pass is needed; the
// inverse reuses the forward twiddles through w^-j = -w^(len - j).
//
// Memory: three residue arrays of L words, one transform of the second
// operand (multiplication only) and one twiddle table of L words; nothing is
// kept between calls.
#include <algorithm>
#include <memory>

#include "limbs.h"

namespace {

struct Prime {
    uint32_t p;
    uint32_t g;      // a primitive root modulo p
    uint32_t ninv;   // -p^-1 mod 2^32
    uint32_t r2;     // 2^64 mod p
};

constexpr uint32_t negInverse(uint32_t p) {
    uint32_t inv = p;  // correct to 3 bits; each step doubles them
    for (int i = 0; i < 5; ++i) inv *= 2 - p * inv;
    return 0u - inv;
}

constexpr Prime makePrime(uint32_t p, uint32_t g) {
    const uint64_t r = (uint64_t{1} << 32) % p;
    return Prime{p, g, negInverse(p), static_cast<uint32_t>(r * r % p)};
}

constexpr Prime kPrimes[3] = {makePrime(2013265921u, 31), makePrime(469762049u, 3), makePrime(754974721u, 11)};
constexpr int kMaxLog = 24;

// a b R^-1 mod p for a, b < p (or a < 2^32 with b < p), fully reduced.
inline uint32_t mmul(uint32_t a, uint32_t b, const Prime &P) {
    const uint64_t t = static_cast<uint64_t>(a) * b;
    const uint32_t m = static_cast<uint32_t>(t) * P.ninv;
    const uint32_t u = static_cast<uint32_t>((t + static_cast<uint64_t>(m) * P.p) >> 32);
    return u >= P.p ? u - P.p : u;
}
inline uint32_t madd(uint32_t a, uint32_t b, uint32_t p) {
    const uint32_t s = a + b;
    return s >= p ? s - p : s;
}
inline uint32_t msub(uint32_t a, uint32_t b, uint32_t p) { return a >= b ? a - b : a + p - b; }

// Montgomery form of the ordinary residue x (any 32-bit x).
inline uint32_t toMont(uint32_t x, const Prime &P) { return mmul(x, P.r2, P); }

uint32_t mpow(uint32_t base, uint64_t e, const Prime &P) {  // base and result in Montgomery form
    uint32_t r = toMont(1, P);
    for (; e; e >>= 1) {
        if (e & 1) r = mmul(r, base, P);
        base = mmul(base, base, P);
    }
    return r;
}

// tw[len + j] = w^j for j < len, w a primitive (2 len)-th root of unity, for
// every power of two len < L (Montgomery form).
void twiddles(uint32_t *tw, int32_t L, const Prime &P) {
    for (int32_t len = 1; len < L; len <<= 1) {
        const uint32_t w = mpow(toMont(P.g, P), (P.p - 1) / (2 * static_cast<uint64_t>(len)), P);
        uint32_t x = toMont(1, P);
        for (int32_t j = 0; j < len; ++j) {
            tw[len + j] = x;
            x = mmul(x, w, P);
        }
    }
}

void forward(uint32_t *x, int32_t L, const uint32_t *tw, const Prime &P) {
    const uint32_t p = P.p;
    for (int32_t len = L / 2; len >= 1; len >>= 1) {
        const uint32_t *w = tw + len;
        for (int32_t i = 0; i < L; i += 2 * len) {
            uint32_t *lo = x + i, *hi = x + i + len;
            for (int32_t j = 0; j < len; ++j) {
                const uint32_t u = lo[j], v = hi[j];
                lo[j] = madd(u, v, p);
                hi[j] = mmul(msub(u, v, p), w[j], P);
            }
        }
    }
}

// The inverse transform times L.
void inverse(uint32_t *x, int32_t L, const uint32_t *tw, const Prime &P) {
    const uint32_t p = P.p;
    for (int32_t len = 1; len < L; len <<= 1) {
        const uint32_t *w = tw + len;
        for (int32_t i = 0; i < L; i += 2 * len) {
            uint32_t *lo = x + i, *hi = x + i + len;
            {
                const uint32_t u = lo[0], v = hi[0];
                lo[0] = madd(u, v, p);
                hi[0] = msub(u, v, p);
            }
            // hi[j] w^-j = -(hi[j] w^(len - j)).
            for (int32_t j = 1; j < len; ++j) {
                const uint32_t u = lo[j], v = mmul(hi[j], w[len - j], P);
                lo[j] = msub(u, v, p);
                hi[j] = madd(u, v, p);
            }
        }
    }
}

// The words of a into f (Montgomery form), zero up to L.
void load(uint32_t *f, const uint32_t *a, int32_t n, int32_t L, const Prime &P) {
    for (int32_t i = 0; i < n; ++i) f[i] = toMont(a[i], P);
    std::fill(f + n, f + L, 0u);
}

// Divides the inverse transform by L and leaves ordinary residues.
void unload(uint32_t *f, int32_t n, int32_t L, const Prime &P) {
    // L^-1 mod p as an ordinary residue: mmul by it removes L and R at once.
    uint32_t inv = 1;
    for (int32_t l = 1; l < L; l <<= 1) inv = (inv & 1) ? static_cast<uint32_t>((inv + uint64_t{P.p}) / 2) : inv / 2;
    for (int32_t i = 0; i < n; ++i) f[i] = mmul(f[i], inv, P);
}

int32_t transformLength(int32_t words) {
    int32_t L = 1;
    while (L < words) L <<= 1;
    return L;
}

// r[0, n) = the number whose coefficients are x1 mod p1, x2 mod p2, x3 mod p3,
// by Garner's steps; every value stays below 2^96.
void recombine(uint32_t *r, int32_t n, const uint32_t *f1, const uint32_t *f2, const uint32_t *f3, int32_t coeffs) {
    const Prime &P1 = kPrimes[0], &P2 = kPrimes[1], &P3 = kPrimes[2];
    // Montgomery forms of the constants, so that mmul multiplies ordinary
    // residues by them.
    auto constant = [](uint64_t c, const Prime &P) { return toMont(static_cast<uint32_t>(c % P.p), P); };
    auto inverseOf = [](uint64_t c, const Prime &P) {  // c^-1 mod P.p, ordinary residue
        const uint32_t x = mpow(toMont(static_cast<uint32_t>(c % P.p), P), P.p - 2, P);
        return mmul(x, 1, P);
    };
    const uint32_t inv12 = toMont(inverseOf(P1.p, P2), P2);
    const uint64_t p12 = static_cast<uint64_t>(P1.p) * P2.p;
    const uint32_t inv123 = toMont(inverseOf(p12, P3), P3);
    const uint32_t p1in3 = constant(P1.p, P3);
    const uint32_t p12lo = static_cast<uint32_t>(p12), p12hi = static_cast<uint32_t>(p12 >> 32);
    const uint64_t M = 0xFFFFFFFFu;
    uint64_t c = 0;  // the carry into the next word (below 2^58)
    for (int32_t i = 0; i < n; ++i) {
        uint64_t lo = 0, hiMul = 0, midMul = 0;
        if (i < coeffs) {
            const uint32_t x1 = f1[i];
            const uint32_t x2 = mmul(msub(f2[i], x1 % P2.p, P2.p), inv12, P2);
            uint32_t t = msub(f3[i], x1 % P3.p, P3.p);
            t = msub(t, mmul(x2, p1in3, P3), P3.p);
            const uint32_t x3 = mmul(t, inv123, P3);
            lo = x1 + static_cast<uint64_t>(x2) * P1.p;  // below p1 p2 < 2^62
            midMul = static_cast<uint64_t>(x3) * p12lo;
            hiMul = static_cast<uint64_t>(x3) * p12hi;
        }
        // value + carry = lo + midMul + hiMul 2^32 + c = s0 + (s1 + hiMulHigh 2^32) 2^32
        const uint64_t s0 = (lo & M) + (midMul & M) + (c & M);
        const uint64_t s1 = (lo >> 32) + (midMul >> 32) + (hiMul & M) + (c >> 32) + (s0 >> 32);
        r[i] = static_cast<uint32_t>(s0);
        c = s1 + ((hiMul >> 32) << 32);
    }
}

}  // namespace

bool tq_NttFits(int32_t na, int32_t nb) {
    return na >= 1 && nb >= 1 && int64_t{na} + nb - 1 <= (int64_t{1} << kMaxLog);
}

void tq_MulNtt(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb) {
    TQ_REQUIRE(tq_NttFits(na, nb) && tq_Disjoint(r, 4 * int64_t{na + nb}, a, 4 * int64_t{na}) &&
               tq_Disjoint(r, 4 * int64_t{na + nb}, b, 4 * int64_t{nb}));
    const int32_t coeffs = na + nb - 1, L = transformLength(coeffs);
    const size_t Ls = static_cast<size_t>(L);
    std::unique_ptr<uint32_t[]> mem(new uint32_t[5 * Ls]);
    uint32_t *res = mem.get(), *fb = res + 3 * Ls, *tw = fb + Ls;
    for (int k = 0; k < 3; ++k) {
        const Prime &P = kPrimes[k];
        uint32_t *fa = res + k * Ls;
        twiddles(tw, L, P);
        load(fa, a, na, L, P);
        load(fb, b, nb, L, P);
        forward(fa, L, tw, P);
        forward(fb, L, tw, P);
        for (int32_t i = 0; i < L; ++i) fa[i] = mmul(fa[i], fb[i], P);
        inverse(fa, L, tw, P);
        unload(fa, coeffs, L, P);
    }
    recombine(r, na + nb, res, res + Ls, res + 2 * Ls, coeffs);
}

void tq_SqrNtt(uint32_t *r, const uint32_t *a, int32_t n) {
    TQ_REQUIRE(tq_NttFits(n, n) && tq_Disjoint(r, 8 * int64_t{n}, a, 4 * int64_t{n}));
    const int32_t coeffs = 2 * n - 1, L = transformLength(coeffs);
    const size_t Ls = static_cast<size_t>(L);
    std::unique_ptr<uint32_t[]> mem(new uint32_t[4 * Ls]);
    uint32_t *res = mem.get(), *tw = res + 3 * Ls;
    for (int k = 0; k < 3; ++k) {
        const Prime &P = kPrimes[k];
        uint32_t *fa = res + k * Ls;
        twiddles(tw, L, P);
        load(fa, a, n, L, P);
        forward(fa, L, tw, P);
        for (int32_t i = 0; i < L; ++i) fa[i] = mmul(fa[i], fa[i], P);
        inverse(fa, L, tw, P);
        unload(fa, coeffs, L, P);
    }
    recombine(r, 2 * n, res, res + Ls, res + 2 * Ls, coeffs);
}
