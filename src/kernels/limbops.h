// Loops on raw limb arrays for the division, power and decimal-expansion
// kernels, written once for two limb widths: 32-bit limbs (the words of a
// magnitude string, available everywhere) and 64-bit limbs (two words at a
// time, where the compiler offers a 128-bit product). On a little-endian
// machine an array of 2k words and an array of k 64-bit limbs are the same
// bytes, so both widths read and write magnitude strings directly.
//
// Arrays are least significant limb first. Unless said otherwise a result
// may coincide with an operand of the same length but not overlap it
// partially.
#pragma once
#include <cstdint>

#include "frame/tq_state.h"
#include "frame/tq_types.h"

#ifndef TQ_HAVE_LIMB64
#if defined(__x86_64__) && defined(__SIZEOF_INT128__)
#define TQ_HAVE_LIMB64 1
#else
#define TQ_HAVE_LIMB64 0
#endif
#endif

template <class L> struct TqWide;
template <> struct TqWide<uint32_t> { typedef uint64_t T; };
#if TQ_HAVE_LIMB64
template <> struct TqWide<uint64_t> { typedef unsigned __int128 T; };
#endif

template <class L> constexpr int tqL_LimbBits = static_cast<int>(sizeof(L) * 8);

// 1 when the 64-bit limb loops are compiled in and switched on.
inline bool tqL_UseLimb64() {
#if TQ_HAVE_LIMB64
    return gTq_Kernel_Limb64 != 0;
#else
    return false;
#endif
}

// Full product a x b as (hi, lo).
template <class L> inline void tqL_MulWide(L a, L b, L &hi, L &lo) {
    typedef typename TqWide<L>::T W;
    W p = static_cast<W>(a) * b;
    lo = static_cast<L>(p);
    hi = static_cast<L>(p >> tqL_LimbBits<L>);
}

// Compares a and b of n limbs: -1, 0 or +1 as a <, =, > b.
template <class L> inline int tqL_Cmp(const L *a, const L *b, int32_t n) {
    for (int32_t i = n - 1; i >= 0; --i)
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    return 0;
}

// r = a + b over n limbs; returns the carry.
template <class L> inline L tqL_AddN(L *r, const L *a, const L *b, int32_t n) {
    L c = 0;
    for (int32_t i = 0; i < n; ++i) {
        L x = a[i], s = x + b[i];
        L c1 = s < x;
        L t = s + c;
        c = c1 | (t < s);
        r[i] = t;
    }
    return c;
}

// r = a - b over n limbs; returns the borrow.
template <class L> inline L tqL_SubN(L *r, const L *a, const L *b, int32_t n) {
    L c = 0;
    for (int32_t i = 0; i < n; ++i) {
        L x = a[i], y = b[i];
        L d = x - y;
        L c1 = x < y;
        L t = d - c;
        c = c1 | (d < c);
        r[i] = t;
    }
    return c;
}

// r += v over n limbs (v a single limb); returns the carry out.
template <class L> inline L tqL_Add1(L *r, int32_t n, L v) {
    for (int32_t i = 0; i < n && v; ++i) {
        L s = r[i] + v;
        v = s < v;
        r[i] = s;
    }
    return v;
}

// r -= v over n limbs; returns the borrow out.
template <class L> inline L tqL_Sub1(L *r, int32_t n, L v) {
    for (int32_t i = 0; i < n && v; ++i) {
        L x = r[i];
        r[i] = x - v;
        v = x < v;
    }
    return v;
}

// r = a x q over n limbs; returns the high limb.
template <class L> inline L tqL_Mul1(L *r, const L *a, int32_t n, L q) {
    typedef typename TqWide<L>::T W;
    L c = 0;
    for (int32_t i = 0; i < n; ++i) {
        W p = static_cast<W>(a[i]) * q + c;
        r[i] = static_cast<L>(p);
        c = static_cast<L>(p >> tqL_LimbBits<L>);
    }
    return c;
}

// r += a x q over n limbs; returns the carry limb.
template <class L> inline L tqL_AddMul1(L *r, const L *a, int32_t n, L q) {
    typedef typename TqWide<L>::T W;
    L c = 0;
    for (int32_t i = 0; i < n; ++i) {
        W p = static_cast<W>(a[i]) * q + c + r[i];
        r[i] = static_cast<L>(p);
        c = static_cast<L>(p >> tqL_LimbBits<L>);
    }
    return c;
}

// r -= a x q over n limbs; returns the borrow limb. Two limbs per step: both
// products are formed before the carry chain that links them.
template <class L> inline L tqL_SubMul1(L *r, const L *a, int32_t n, L q) {
    typedef typename TqWide<L>::T W;
    const int B = tqL_LimbBits<L>;
    L c = 0;
    int32_t i = 0;
    for (; i + 2 <= n; i += 2) {
        const W p0 = static_cast<W>(a[i]) * q, p1 = static_cast<W>(a[i + 1]) * q;
        L l0 = static_cast<L>(p0), h0 = static_cast<L>(p0 >> B);
        L l1 = static_cast<L>(p1), h1 = static_cast<L>(p1 >> B);
        l0 += c;
        h0 += l0 < c;
        const L x0 = r[i];
        r[i] = x0 - l0;
        h0 += x0 < l0;
        l1 += h0;
        h1 += l1 < h0;
        const L x1 = r[i + 1];
        r[i + 1] = x1 - l1;
        h1 += x1 < l1;
        c = h1;
    }
    if (i < n) {
        const W p = static_cast<W>(a[i]) * q + c;
        const L lo = static_cast<L>(p);
        c = static_cast<L>(p >> B);
        const L x = r[i];
        r[i] = x - lo;
        c += x < lo;
    }
    return c;
}

// r = a << s over n limbs, 0 < s < limb bits; returns the bits shifted out.
template <class L> inline L tqL_ShiftLeft(L *r, const L *a, int32_t n, int s) {
    L out = a[n - 1] >> (tqL_LimbBits<L> - s);
    for (int32_t i = n - 1; i > 0; --i) r[i] = (a[i] << s) | (a[i - 1] >> (tqL_LimbBits<L> - s));
    r[0] = a[0] << s;
    return out;
}

// r = a >> s over n limbs, 0 < s < limb bits.
template <class L> inline void tqL_ShiftRight(L *r, const L *a, int32_t n, int s) {
    for (int32_t i = 0; i + 1 < n; ++i) r[i] = (a[i] >> s) | (a[i + 1] << (tqL_LimbBits<L> - s));
    r[n - 1] = a[n - 1] >> s;
}

template <class L> inline int tqL_LeadingZeros(L x) {
    int n = 0;
    for (L bit = static_cast<L>(1) << (tqL_LimbBits<L> - 1); !(x & bit); bit >>= 1) ++n;
    return n;
}

// floor((B^2 - 1) / d) - B for a normalised limb d (top bit set), B = 2^bits.
template <class L> inline L tqL_RecipLimb(L d) {
    typedef typename TqWide<L>::T W;
    W num = (static_cast<W>(static_cast<L>(~d)) << tqL_LimbBits<L>) | static_cast<L>(~static_cast<L>(0));
    return static_cast<L>(num / d);
}

// floor((B^3 - 1) / (d1 B + d0)) - B for a normalised two-limb divisor: the
// reciprocal that lets tqL_Div3By2 replace each hardware division by two
// products.
template <class L> inline L tqL_Recip3By2(L d1, L d0) {
    L v = tqL_RecipLimb(d1);
    L p = d1 * v;
    p += d0;
    if (p < d0) {
        --v;
        if (p >= d1) {
            --v;
            p -= d1;
        }
        p -= d1;
    }
    L t1, t0;
    tqL_MulWide(v, d0, t1, t0);
    p += t1;
    if (p < t1) {
        --v;
        if (p > d1 || (p == d1 && t0 >= d0)) --v;
    }
    return v;
}

// Divides (u2 u1 u0) by (d1 d0), which is normalised, with (u2 u1) < (d1 d0);
// returns the quotient limb and leaves the remainder in (r1 r0).
template <class L> inline L tqL_Div3By2(L u2, L u1, L u0, L d1, L d0, L v, L &r1, L &r0) {
    typedef typename TqWide<L>::T W;
    const int B = tqL_LimbBits<L>;
    W qq = static_cast<W>(v) * u2 + ((static_cast<W>(u2) << B) | u1);
    L q1 = static_cast<L>(qq >> B), q0 = static_cast<L>(qq);
    L r1t = u1 - q1 * d1;
    W t = static_cast<W>(d0) * q1;
    W r = ((static_cast<W>(r1t) << B) | u0) - t - ((static_cast<W>(d1) << B) | d0);
    ++q1;
    L rh = static_cast<L>(r >> B);
    if (rh >= q0) {
        --q1;
        r += (static_cast<W>(d1) << B) | d0;
    }
    W d = (static_cast<W>(d1) << B) | d0;
    if (r >= d) {
        ++q1;
        r -= d;
    }
    r1 = static_cast<L>(r >> B);
    r0 = static_cast<L>(r);
    return q1;
}

// Divides (u1 u0) by the normalised limb d with u1 < d, using v = tqL_RecipLimb(d).
template <class L> inline L tqL_Div2By1(L u1, L u0, L d, L v, L &r) {
    typedef typename TqWide<L>::T W;
    const int B = tqL_LimbBits<L>;
    W qq = static_cast<W>(v) * u1 + ((static_cast<W>(u1) << B) | u0);
    L q1 = static_cast<L>(qq >> B) + 1, q0 = static_cast<L>(qq);
    L rr = u0 - q1 * d;
    if (rr > q0) {
        --q1;
        rr += d;
    }
    if (rr >= d) {
        ++q1;
        rr -= d;
    }
    r = rr;
    return q1;
}
