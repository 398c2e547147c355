// The integer square root of word arrays, by divide and conquer with
// remainder, on the limb width in force (32-bit words, or 64-bit limbs where
// the build has them: the same bytes, so the input and the root are read and
// written in place).
//
// The root of a normalised a of 2n limbs splits into a high half s' of h
// limbs and a low half q of l = n/2 limbs: s' and r' = a_hi - s'^2 come from
// the top 2h limbs, q from (r' B^l + a1) / (2 s'), the remainder from
// r = u B^l + a0 - q^2, corrected once when negative (the split root is then
// one too large). A root of n limbs costs about one division and one square
// of n/2 limbs, plus the same for the top half. One limb comes from a double
// estimate: on 32-bit words directly, on 64-bit limbs after one integer
// Newton step (the double's 53 bits leave the 64-bit root some 2^11 off).
#include <cmath>
#include <cstring>

#include "div_core.h"
#include "limbs.h"
#include "root.h"

namespace {

template <class L> constexpr int32_t kPer = static_cast<int32_t>(sizeof(L) / 4);

// The 32-bit word view of a limb array, for the word loops of limbs.h.
template <class L> uint32_t *words(L *x) { return reinterpret_cast<uint32_t *>(x); }
template <class L> const uint32_t *words(const L *x) { return reinterpret_cast<const uint32_t *>(x); }

template <class L> uint32_t addN(L *r, const L *a, const L *b, int32_t n) {
    return tq_AddN(words(r), words(a), words(b), n * kPer<L>);
}
template <class L> uint32_t subN(L *r, const L *a, const L *b, int32_t n) {
    return tq_SubN(words(r), words(a), words(b), n * kPer<L>);
}
template <class L> void add1(L *r, int32_t n, uint32_t c) { tq_Add1(words(r), words(r), n * kPer<L>, c); }
template <class L> void sub1(L *r, int32_t n, uint32_t c) { tq_Sub1(words(r), words(r), n * kPer<L>, c); }

// s = floor(sqrt(a1 B + a0)) for a1 >= B/4, r = (a1 B + a0) - s^2 in two limbs.
void sqrtTwo(uint32_t a1, uint32_t a0, uint32_t &s, uint32_t *r) {
    const uint64_t A = static_cast<uint64_t>(a1) << 32 | a0;
    uint64_t x = static_cast<uint64_t>(std::sqrt(static_cast<double>(A)));
    if (x > 0xFFFFFFFFu) x = 0xFFFFFFFFu;
    while (x * x > A) --x;
    while (x < 0xFFFFFFFFu && (x + 1) * (x + 1) <= A) ++x;
    const uint64_t rem = A - x * x;
    s = static_cast<uint32_t>(x);
    r[0] = static_cast<uint32_t>(rem);
    r[1] = static_cast<uint32_t>(rem >> 32);
}

#if TQ_HAVE_LIMB64
// (hi B + lo) / d and its remainder for hi < d: one hardware division (the
// 64-bit limbs are built for x86-64 only).
inline uint64_t divTwoByOne(uint64_t hi, uint64_t lo, uint64_t d, uint64_t &rem) {
    uint64_t q;
    __asm__("divq %4" : "=a"(q), "=d"(rem) : "a"(lo), "d"(hi), "rm"(d));
    return q;
}

void sqrtTwo(uint64_t a1, uint64_t a0, uint64_t &s, uint64_t *r) {
    typedef unsigned __int128 U;
    const U A = static_cast<U>(a1) << 64 | a0;
    const double d = std::sqrt(static_cast<double>(a1) * 18446744073709551616.0 + static_cast<double>(a0));
    // d lies within 2^12 of the root, which is at least 2^63: one Newton
    // step x/2 + (A/2)/x from there (one hardware division, as A/2 is below
    // x B) lands within two below the root's floor or on it.
    uint64_t x = d >= 18446744073709551615.0 ? ~uint64_t{0} : static_cast<uint64_t>(d);
    if (x < (uint64_t{1} << 63)) x = uint64_t{1} << 63;
    uint64_t dr;
    uint64_t y = (x >> 1) + divTwoByOne(a1 >> 1, a1 << 63 | a0 >> 1, x, dr);
    while (static_cast<U>(y) * y > A) --y;
    while (y != ~uint64_t{0} && static_cast<U>(y + 1) * (y + 1) <= A) ++y;
    const U rem = A - static_cast<U>(y) * y;
    s = y;
    r[0] = static_cast<uint64_t>(rem);
    r[1] = static_cast<uint64_t>(rem >> 64);
}
// The two-limb root of sqrtRem below in 128-bit registers: s' and r' from
// the top two limbs, q = (r' B + a1) / (2 s') by one wide division, r =
// u B + a0 - q^2 with the same corrections, none of the word loops.
void sqrtFour(uint64_t *s, uint64_t *r, const uint64_t *a) {
    typedef unsigned __int128 U;
    uint64_t sh, rh[2];
    sqrtTwo(a[3], a[2], sh, rh);
    // (r' B + a1) / 2 fits in 128 bits as r' <= 2 s' < 2^65; its top limb
    // reaches s' only for r' = 2 s'.
    const U half = static_cast<U>(rh[1]) << 127 | static_cast<U>(rh[0]) << 63 | a[1] >> 1;
    const uint64_t hh = static_cast<uint64_t>(half >> 64);
    U q, u;
    if (hh < sh) {
        uint64_t rem;
        q = divTwoByOne(hh, static_cast<uint64_t>(half), sh, rem);
        u = static_cast<U>(rem) << 1 | (a[1] & 1);  // below 2 s'
    } else {
        q = half / sh;
        u = (half % sh) << 1 | (a[1] & 1);
    }
    // q <= B + 1; a q of B or more is too large (the root is below
    // (s' + 1) B): take B - 1 and move the difference into u.
    while (q >> 64) {
        --q;
        u += static_cast<U>(sh) << 1;
    }
    U S = static_cast<U>(sh) << 64 | static_cast<uint64_t>(q);
    // r = u B + a0 - q^2 as a signed 192-bit value (hi, lo); u < 2^67.
    U lo = u << 64 | a[0];
    int64_t hi = static_cast<int64_t>(u >> 64);
    const U q2 = q * q;
    hi -= lo < q2;
    lo -= q2;
    while (hi < 0) {  // r += 2S - 1, S -= 1
        const U twoS = S << 1;
        hi += static_cast<int64_t>(S >> 127);
        lo += twoS;
        hi += lo < twoS;
        hi -= lo == 0;
        lo -= 1;
        S -= 1;
    }
    s[0] = static_cast<uint64_t>(S);
    s[1] = static_cast<uint64_t>(S >> 64);
    r[0] = static_cast<uint64_t>(lo);
    r[1] = static_cast<uint64_t>(lo >> 64);
    r[2] = static_cast<uint64_t>(hi);
}

// Short multi-limb sums in 128-bit steps: r = x + y (or - y) over k limbs,
// the carry (borrow) out returned.
uint64_t add64(uint64_t *r, const uint64_t *x, const uint64_t *y, int k) {
    uint64_t c = 0;
    for (int i = 0; i < k; ++i) {
        const unsigned __int128 t = static_cast<unsigned __int128>(x[i]) + y[i] + c;
        r[i] = static_cast<uint64_t>(t);
        c = static_cast<uint64_t>(t >> 64);
    }
    return c;
}
uint64_t sub64(uint64_t *r, const uint64_t *x, const uint64_t *y, int k) {
    uint64_t b = 0;
    for (int i = 0; i < k; ++i) {
        const unsigned __int128 t = static_cast<unsigned __int128>(x[i]) - y[i] - b;
        r[i] = static_cast<uint64_t>(t);
        b = static_cast<uint64_t>(t >> 64) & 1;
    }
    return b;
}

// The three-limb root, the same way on the stack: s' and r' from sqrtFour,
// the one quotient limb from the top two limbs of (r' B + a1) / 2 over the
// top limb of s' (at most two too large, as s' is normalised), put right by
// the remainder, which the root's remainder then continues.
void sqrtSix(uint64_t *s, uint64_t *r, const uint64_t *a) {
    typedef unsigned __int128 U;
    uint64_t sh[2], rh[3];
    sqrtFour(sh, rh, a + 2);
    // N = (r' B + a1) / 2 in three limbs (r' <= 2 s' < 2^129).
    const uint64_t N[3] = {a[1] >> 1 | rh[0] << 63, rh[0] >> 1 | rh[1] << 63, rh[1] >> 1 | rh[2] << 63};
    // A q of B or more is too large (the root is below (s' + 1) B).
    uint64_t rem, q = N[2] >= sh[1] ? ~uint64_t{0} : divTwoByOne(N[2], N[1], sh[1], rem);
    // R = N - q s' (signed, four limbs), raised by s' while negative.
    uint64_t R[4], qs[4];
    const U p0 = static_cast<U>(q) * sh[0], p1 = static_cast<U>(q) * sh[1] + static_cast<uint64_t>(p0 >> 64);
    qs[0] = static_cast<uint64_t>(p0);
    qs[1] = static_cast<uint64_t>(p1);
    qs[2] = static_cast<uint64_t>(p1 >> 64);
    qs[3] = 0;
    const uint64_t N4[4] = {N[0], N[1], N[2], 0};
    sub64(R, N4, qs, 4);
    const uint64_t D[4] = {sh[0], sh[1], 0, 0};
    while (R[3] >> 63) {
        add64(R, R, D, 4);
        --q;
    }
    // r = u B + a0 - q^2 with u = 2R + (a1 & 1): five limbs, signed.
    uint64_t t[5] = {a[0], R[0] << 1 | (a[1] & 1), R[1] << 1 | R[0] >> 63, R[2] << 1 | R[1] >> 63,
                     R[3] << 1 | R[2] >> 63};
    const U q2 = static_cast<U>(q) * q;
    const uint64_t Q2[5] = {static_cast<uint64_t>(q2), static_cast<uint64_t>(q2 >> 64), 0, 0, 0};
    sub64(t, t, Q2, 5);
    uint64_t S[5] = {q, sh[0], sh[1], 0, 0};
    while (t[4] >> 63) {  // negative: r += 2S - 1, S -= 1
        uint64_t twoS[5] = {S[0] << 1, S[1] << 1 | S[0] >> 63, S[2] << 1 | S[1] >> 63, S[2] >> 63, 0};
        add64(t, t, twoS, 5);
        const uint64_t one[5] = {1, 0, 0, 0, 0};
        sub64(t, t, one, 5);
        sub64(S, S, one, 3);
    }
    std::memcpy(s, S, 3 * sizeof(uint64_t));
    std::memcpy(r, t, 4 * sizeof(uint64_t));
}
#endif

// True when the low `bits` bits of x (bits >= 1) hold a value of 2 or more.
bool lowBitsAbove1(const uint32_t *x, int32_t bits) {
    for (int32_t i = 0; 32 * i < bits; ++i) {
        uint32_t v = x[i];
        if (bits - 32 * i < 32) v &= (1u << (bits - 32 * i)) - 1;
        if (i == 0) v &= ~1u;
        if (v) return true;
    }
    return false;
}

// True when the low `bits` bits of x (bits >= 2) hold a value from 2 to
// 2^bits - 2: the bits above then stay the same for x - 2 up to x + 1.
bool lowBitsInside(const uint32_t *x, int32_t bits) {
    if (!lowBitsAbove1(x, bits)) return false;
    for (int32_t i = 0; 32 * i < bits; ++i) {
        uint32_t v = ~x[i];
        if (bits - 32 * i < 32) v &= (1u << (bits - 32 * i)) - 1;
        if (i == 0) v &= ~1u;
        if (v) return true;
    }
    return false;
}

// The quotient of u (un limbs) by the normalised d (dn >= 3 limbs, the top
// dn limbs of u below d) to within one, into q (un - dn limbs), by long
// division that leaves out every product below limb dn - 2 of u: quotient
// limb j subtracts only the divisor limbs from dn - 2 - j up, about half of
// the work. What is left out adds below B^(dn - 1) per limb to the running
// remainder, less than d over all limbs while the quotient is shorter than
// B/2 limbs, so the quotient is the exact one, one above or one below it.
// False (q unusable) when a running remainder's top limbs reach d's, where
// the limb estimate no longer holds; u is overwritten.
template <class L> bool divWithinOne(L *u, int32_t un, const L *d, int32_t dn, L *q) {
    const L d1 = d[dn - 1], d0 = d[dn - 2];
    const L v = tqL_Recip3By2(d1, d0);
    for (int32_t j = un - dn - 1; j >= 0; --j) {
        L *w = u + j;
        const L u2 = w[dn], u1 = w[dn - 1];
        if (u2 > d1 || (u2 == d1 && u1 >= d0)) return false;
        const int32_t k0 = j >= dn - 2 ? 0 : dn - 2 - j;  // the first divisor limb used
        q[j] = tq_DivStep3By2(w, d, dn, k0, v);
        w[dn] = 0;
    }
    return true;
}

// s = floor(sqrt(a)) (n limbs) and r = a - s^2 (n + 1 limbs, at most 2s) for
// a of 2n limbs whose top limb is at least B/4. w is scratch of 4n + 8 limbs
// per level of the recursion. With lazy > 0 (at most the low half's bits)
// the caller reads only the root's bits from `lazy` up: the split root
// s' B^l + q, which is the floor or one above it, is then taken as it is
// when its low `lazy` bits hold 2 or more, as the floor has the same bits
// from there up; neither the square of q nor r is formed, and false is
// returned.
// The top step's quotient within one: divisors from kSplitWords words on
// take the upper half of the quotient by the exact division (divide and
// conquer at these sizes) and only the lower half by the long division
// within one, which the exact remainder of the upper half starts; beyond
// kApproxDivWords the exact division alone is faster (measured at 3,000 to
// 50,000 digits).
constexpr int32_t kSplitWords = 192, kApproxDivWords = 1600;

template <class L> bool quotientWithinOne(L *u, int32_t un, const L *d, int32_t dn, L *q) {
    const int32_t qn = un - dn;
    int32_t m = qn;  // the quotient limbs left to the long division within one
    if (dn * kPer<L> >= kSplitWords && qn * kPer<L> >= kSplitWords) {
        m = qn / 2;
        tq_DivAny(u + m, un - m, d, dn, q + m);
    }
    return divWithinOne(u, m + dn, d, dn, q);
}

template <class L> bool sqrtRem(L *s, L *r, const L *a, int32_t n, L *w, int32_t lazy = 0) {
    if (n == 1) {
        sqrtTwo(a[1], a[0], s[0], r);
        return true;
    }
#if TQ_HAVE_LIMB64
    if constexpr (sizeof(L) == 8) {
        if (n == 2) {
            sqrtFour(s, r, a);
            return true;
        }
        if (n == 3) {
            sqrtSix(s, r, a);
            return true;
        }
    }
#endif
    const int32_t l = n / 2, h = n - l;
    L *sh = s + l;                  // s', h limbs, top bit set
    L *num = w;                     // r' B^l + a1: h + l + 1 limbs
    L *qq = num + (h + l + 1);      // 2q or 2q + 1: l + 1 limbs
    L *u = qq + (l + 1);            // h + 2 limbs
    L *t = u + (h + 2);             // n + 2 limbs
    L *q2 = t + (n + 2);            // 2l limbs
    sqrtRem(sh, num + l, a + 2 * l, h, q2 + 2 * l);
    std::memcpy(num, a + l, sizeof(L) * static_cast<size_t>(l));
    // A lazy root first tries a quotient within one (q then within one, the
    // floor within two below and one above the split root): it is taken
    // when the low bits leave no doubt either way, else the exact division
    // follows on a copy of the numerator.
    if (lazy > 0 && h >= 3 && h * kPer<L> <= kApproxDivWords) {
        std::memcpy(t, num, sizeof(L) * static_cast<size_t>(h + l + 1));
        if (quotientWithinOne(t, h + l + 1, sh, h, qq)) {
            tqL_ShiftRight(qq, qq, l + 1, 1);
            if (qq[l] != 0) std::memset(qq, 0xFF, sizeof(L) * static_cast<size_t>(l));
            std::memcpy(s, qq, sizeof(L) * static_cast<size_t>(l));
            if (lowBitsInside(words(s), lazy)) return false;
        }
    }
    // r' <= 2 s' keeps the top h limbs of num below s', as the division needs.
    tq_DivAny(num, h + l + 1, sh, h, qq);
    std::memcpy(u, num, sizeof(L) * static_cast<size_t>(h));
    u[h] = u[h + 1] = 0;
    if (qq[0] & 1) u[h] = addN(u, u, sh, h);
    tqL_ShiftRight(qq, qq, l + 1, 1);
    // q <= B^l + 1; a q of B^l or more is certainly too large (the root is
    // below (s' + 1) B^l): take B^l - 1 and move the difference into u.
    while (qq[l] != 0) {
        sub1(qq, l + 1, 1);
        for (int32_t k = 0; k < 2; ++k) add1(u + h, 2, addN(u, u, sh, h));
    }
    std::memcpy(s, qq, sizeof(L) * static_cast<size_t>(l));
    if (lazy > 0 && lowBitsAbove1(words(s), lazy)) return false;  // the split root is the floor or one above
    std::memcpy(t, a, sizeof(L) * static_cast<size_t>(l));
    std::memcpy(t + l, u, sizeof(L) * static_cast<size_t>(h + 2));
    if (l * kPer<L> <= 8)  // a few words: the rows directly, past the dispatch
        tq_SqrBasecase(words(q2), words(qq), l * kPer<L>);
    else
        tq_SqrWords(words(q2), words(qq), l * kPer<L>);
    sub1(t + 2 * l, n + 2 - 2 * l, subN(t, t, q2, 2 * l));
    while (t[n + 1] >> (tqL_LimbBits<L> - 1)) {  // negative: r += 2s - 1, s -= 1
        for (int32_t k = 0; k < 2; ++k) add1(t + n, 2, addN(t, t, s, n));
        sub1(t, n + 2, 1);
        sub1(s, n, 1);
    }
    std::memcpy(r, t, sizeof(L) * static_cast<size_t>(n + 1));
    return true;
}

// The root of X = A 2^e (A the w words given, top word non-zero; e even)
// divided by 2^k, to the floor or (nearest) to the nearest integer with a
// half going up, into C: X in the fewest pairs of limbs, shifted left by an
// even number of bits 2c so that the top limb is at least B/4, and the floor
// S of that root, whose bits from p = c + k up are C's floor. The bit below
// them, S's bit p - 1, rounds: as the exact root lies in [S, S + 1) and the
// boundary (C + 1/2) 2^p is an integer, it rounds as the exact root would.
// Without such a bit (p = 0), the root lies above S + 1/2 exactly when
// X - S^2 > S. Roots of kLazyLimbs limbs and more that are rounded at the
// 17th bit or higher skip the last remainder when they can (see sqrtRem).
// The floor with the exact flag takes the same shortcut on long roots: X
// gets kExactGuard more bits below (the root kExactGuard / 2 more), and a
// root whose bits below the kept ones hold 2 or more is above the floor of
// the kept bits, so X is no square; only roots whose bits below are 0 or 1
// (the squares, and about one in 2^(kExactGuard / 2 - 1) others) pay for
// the remainder.
constexpr int32_t kLazyLimbs = 8;
constexpr int64_t kExactGuard = 64;

template <class L>
void sqrtShifted(const uint32_t *A, int32_t w, int64_t e, int64_t k, bool nearest, TqStr &C, bool *exact = nullptr) {
    constexpr int32_t per = kPer<L>, limbBits = tqL_LimbBits<L>;
    const bool guarded = exact && !nearest &&
                         32 * static_cast<int64_t>(w) + e >= 2 * static_cast<int64_t>(kLazyLimbs) * limbBits;
    if (guarded) {
        e += kExactGuard;
        k += kExactGuard / 2;
    }
    const int64_t xBits = 32 * static_cast<int64_t>(w - 1) + (32 - tqL_LeadingZeros(A[w - 1])) + e;
    const int32_t n = static_cast<int32_t>((xBits + 2 * limbBits - 1) / (2 * limbBits));
    const int32_t c = static_cast<int32_t>((2 * static_cast<int64_t>(limbBits) * n - xBits) / 2);
    const int64_t up = e + 2 * c;  // bits below A in the 2n limbs
    const int32_t upWords = static_cast<int32_t>(up / 32), upBits = static_cast<int32_t>(up % 32);
    // a, s and r, then 4m + 8 limbs for each level m of the recursion: the
    // levels' m fall as ceil(m / 2), so they add up to below 2n + levels.
    int32_t levels = 1;
    for (int32_t m = n; m > 1; m -= m / 2) ++levels;
    tq_Scratch<L, 2048 / per> work(static_cast<size_t>(4 * n + 1) + static_cast<size_t>(8 * n + 12 * levels));
    L *a = work.data();
    L *s = a + 2 * n, *r = s + n, *scratch = r + n + 1;
    uint32_t *aw = words(a);
    const int32_t top = 2 * n * per - upWords - w;  // zero words above A (0 or 1)
    std::memset(aw, 0, 4 * static_cast<size_t>(upWords));
    std::memcpy(aw + upWords, A, 4 * static_cast<size_t>(w));
    if (top > 0) std::memset(aw + upWords + w, 0, 4 * static_cast<size_t>(top));
    if (upBits) tqL_ShiftLeft(a, a, 2 * n, upBits);
    const int64_t p = c + k;
    int32_t lazy = 0;
    if (nearest && n >= kLazyLimbs && p > 16 && p - 1 <= (n / 2) * limbBits) lazy = static_cast<int32_t>(p - 1);
    if (guarded && n >= kLazyLimbs && p <= (n / 2) * limbBits) lazy = static_cast<int32_t>(p);
    const bool settled = !sqrtRem(s, r, a, n, scratch, lazy);
    uint32_t *sw = words(s);
    const int32_t sWords = n * per;
    uint32_t round = 0;
    if (nearest) {
        if (p > 32 * static_cast<int64_t>(sWords))
            round = 0;
        else if (p > 0)
            round = (sw[(p - 1) / 32] >> ((p - 1) % 32)) & 1u;
        else
            round = r[n] != 0 || tqL_Cmp(r, s, n) > 0;
    }
    // The root is exact when r = 0 and the shift drops only zero bits (p of
    // them); a root settled without its remainder is not.
    if (exact) {
        bool zero = !settled;
        for (int32_t i = 0; i <= n && zero; ++i) zero = r[i] == 0;
        for (int64_t i = 0; i < p && zero; ++i) zero = !((sw[i / 32] >> (i % 32)) & 1u);
        *exact = zero;
    }
    const int32_t pw = static_cast<int32_t>(p / 32), pb = static_cast<int32_t>(p % 32);
    int32_t cn = sWords - pw;
    if (cn <= 0) {
        C = tq_Word(round);
        return;
    }
    uint32_t *cw = sw + pw;
    if (pb) tqL_ShiftRight(cw, cw, cn, pb);
    if (round && tq_Add1(cw, cw, cn, 1)) {
        C.assign(reinterpret_cast<const char *>(cw), 4 * static_cast<size_t>(cn));
        C += tq_Word(1);
        return;
    }
    while (cn > 1 && cw[cn - 1] == 0) --cn;
    // A buffer that holds the root is kept (the output's old digits are not
    // copied); a new one gets room for a word more (the float root's shift).
    C.clear();
    if (C.capacity() < 4 * static_cast<size_t>(cn)) C.reserve(4 * static_cast<size_t>(cn + 1));
    C.assign(reinterpret_cast<const char *>(cw), 4 * static_cast<size_t>(cn));
}

}  // namespace

void h_SqrtWords(const uint32_t *A, int32_t w, int64_t e, TqStr &C, bool *exact) {
    while (w > 0 && A[w - 1] == 0) --w;
    if (w == 0) {
        C = tq_Word(0);
        if (exact) *exact = true;
        return;
    }
    tqL_OnLimbWidth([&](auto limb) { sqrtShifted<decltype(limb)>(A, w, e, 0, false, C, exact); });
}

bool h_DivWithinOne(uint32_t *u, int32_t un, const uint32_t *d, int32_t dn, uint32_t *q) {
    return quotientWithinOne(u, un, d, dn, q);
}

void h_SqrtShifted(const TqStr &A, int64_t e, TqStr &C, bool *exact) { h_SqrtWords(tq_W(A), tq_NWords(A), e, C, exact); }

void h_SqrtNearest(const TqStr &A, int64_t e, int64_t k, TqStr &C) { h_SqrtNearestWords(tq_W(A), tq_NWords(A), e, k, C); }

void h_SqrtNearestWords(const uint32_t *A, int32_t w, int64_t e, int64_t k, TqStr &C) {
    while (w > 0 && A[w - 1] == 0) --w;
    if (w == 0) {
        C = tq_Word(0);
        return;
    }
    tqL_OnLimbWidth([&](auto limb) { sqrtShifted<decltype(limb)>(A, w, e, k, true, C); });
}
