// Integer roots of magnitudes.
//
// h_Sqrt(A) = floor(sqrt(A)) by the divide-and-conquer square root with
// remainder: the root of the top half of A gives the top half of the root,
// one division by it the bottom half, and one square the remainder (a root
// of n words costs about one division and one square of n/2 words, plus the
// same for the top half).
// h_Root(A, n) = floor(A^(1/n)): the start value comes from a double estimate
// of the root, raised slightly so that it is never below the root; from there
// the integer Newton step y = ((n-1)x + A div x^(n-1)) div n falls quadratically
// to floor(A^(1/n)) (the step never goes below that floor). A power x^(n-1)
// that is certainly larger than A is never formed: its quotient is zero.
// Results are trimmed magnitudes; A may be untrimmed.
#include "root.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "addsub.h"
#include "div_core.h"
#include "divmod.h"
#include "limbs.h"
#include "mul.h"
#include "pow.h"

namespace {

// a + b and a - b (a >= b), trimmed.
TqStr addMag(const TqStr &a, const TqStr &b) {
    TqStr r;
    tq_AddSub(a, b, 0, r);
    return r;
}
TqStr subMag(const TqStr &a, const TqStr &b) {
    TqStr r;
    tq_AddSub(a, b, 1, r);
    return r;
}

// a x m and a div d, trimmed.
TqStr mulSmall(TqStr a, uint32_t m) {
    tq_MulWord(a, m);
    return a;
}
TqStr divSmall(TqStr a, uint32_t d) {
    tq_DivWord(a, d);
    return a;
}

TqStr powSmall(const TqStr &x, uint32_t e) {
    TqStr r;
    h_Pow(x, tq_Word(e), r);
    tq_Trim(r);
    return r;
}

// A div x^(n-1), without forming a power that is certainly above A.
TqStr quotientByPower(const TqStr &A, const TqStr &x, int32_t n) {
    const int64_t bx = h_BitLength(x), ba = h_BitLength(A);
    if (n == 1) return A;
    if (static_cast<int64_t>(n - 1) * (bx - 1) > ba) return tq_Word(0);
    TqStr q, rem;
    h_DivMod(A, powSmall(x, static_cast<uint32_t>(n - 1)), 0, q, rem);
    tq_Trim(q);
    return q;
}

// One Newton step of the n-th root (n >= 2 here).
TqStr rootStep(const TqStr &A, const TqStr &x, int32_t n) {
    TqStr t = mulSmall(x, static_cast<uint32_t>(n - 1));
    t = addMag(t, quotientByPower(A, x, n));
    return divSmall(t, static_cast<uint32_t>(n));
}

// num (nn words) divided by d (dn words, top bit set): the quotient's
// nn - dn words go to q, the remainder replaces num's low dn words and the
// words above are cleared; num's top dn words must lie below d. Divisors of a
// few words and up run on the 64-bit limb loops when those are switched on,
// through copies in whole 64-bit limbs (a zero word below both when dn is
// odd keeps the divisor's top bit set).
void divideWords(uint32_t *num, int32_t nn, const uint32_t *d, int32_t dn, uint32_t *q) {
#if TQ_HAVE_LIMB64
    if (dn >= 6 && tqL_UseLimb64()) {
        const int32_t p = dn % 2, dn64 = (dn + p) / 2, un64 = (nn + p + 1) / 2, qn64 = un64 - dn64;
        std::vector<uint64_t> buf(static_cast<size_t>(dn64 + un64 + qn64), 0);
        uint64_t *d64 = buf.data(), *u64 = d64 + dn64, *q64 = u64 + un64;
        std::memcpy(reinterpret_cast<char *>(d64) + 4 * p, d, 4 * static_cast<size_t>(dn));
        std::memcpy(reinterpret_cast<char *>(u64) + 4 * p, num, 4 * static_cast<size_t>(nn));
        tq_DivAny(u64, un64, d64, dn64, q64);
        std::memcpy(q, q64, 4 * static_cast<size_t>(nn - dn));
        std::memcpy(num, reinterpret_cast<const char *>(u64) + 4 * p, 4 * static_cast<size_t>(dn));
        std::memset(num + dn, 0, 4 * static_cast<size_t>(nn - dn));
        return;
    }
#endif
    tq_DivAny(num, nn, d, dn, q);
}

// The square root with remainder of a normalised a of 2n words (top word at
// least 2^30), by splitting the root into a high half s' of h words and a low
// half q of l = n/2 words: s' and r' = A_hi - s'^2 from the top 2h words, then
// q from (r' B^l + a1) / (2 s'), the remainder r = u B^l + a0 - q^2, corrected
// once when negative (the split root is then one too large). s gets n words,
// r the n + 1 words of a - s^2 (at most 2s). w is scratch of 4n + 8 words per
// level of the recursion.
void sqrtRemDC(uint32_t *s, uint32_t *r, const uint32_t *a, int32_t n, uint32_t *w) {
    if (n == 1) {
        const uint64_t A = static_cast<uint64_t>(a[1]) << 32 | a[0];
        uint64_t x = static_cast<uint64_t>(std::sqrt(static_cast<double>(A)));
        if (x > 0xFFFFFFFFu) x = 0xFFFFFFFFu;
        while (x * x > A) --x;
        while (x < 0xFFFFFFFFu && (x + 1) * (x + 1) <= A) ++x;
        const uint64_t rem = A - x * x;
        s[0] = static_cast<uint32_t>(x);
        r[0] = static_cast<uint32_t>(rem);
        r[1] = static_cast<uint32_t>(rem >> 32);
        return;
    }
    const int32_t l = n / 2, h = n - l;
    uint32_t *sh = s + l;                  // s', h words, top bit set
    uint32_t *num = w;                     // r' B^l + a1: h + l + 1 words
    uint32_t *qq = num + (h + l + 1);      // 2q or 2q + 1: l + 1 words
    uint32_t *u = qq + (l + 1);            // h + 2 words
    uint32_t *t = u + (h + 2);             // n + 2 words
    uint32_t *q2 = t + (n + 2);            // 2l words
    sqrtRemDC(sh, num + l, a + 2 * l, h, q2 + 2 * l);
    std::memcpy(num, a + l, 4 * static_cast<size_t>(l));
    // r' <= 2 s' keeps the top h words of num below s', as the division needs.
    divideWords(num, h + l + 1, sh, h, qq);
    std::memcpy(u, num, 4 * static_cast<size_t>(h));
    u[h] = u[h + 1] = 0;
    if (qq[0] & 1) u[h] = tq_AddN(u, u, sh, h);
    tqL_ShiftRight(qq, qq, l + 1, 1);
    // q <= B^l + 1; a q of B^l or more is certainly too large (the root is
    // below (s' + 1) B^l): take B^l - 1 and move the difference into u.
    while (qq[l] != 0) {
        tq_Sub1(qq, qq, l + 1, 1);
        for (int32_t k = 0; k < 2; ++k) tq_Add1(u + h, u + h, 2, tq_AddN(u, u, sh, h));
    }
    std::memcpy(s, qq, 4 * static_cast<size_t>(l));
    std::memcpy(t, a, 4 * static_cast<size_t>(l));
    std::memcpy(t + l, u, 4 * static_cast<size_t>(h + 2));
    tq_SqrWords(q2, qq, l);
    tq_Sub1(t + 2 * l, t + 2 * l, n + 2 - 2 * l, tq_SubN(t, t, q2, 2 * l));
    while (t[n + 1] >> 31) {  // negative: r += 2s - 1, s -= 1
        for (int32_t k = 0; k < 2; ++k) tq_Add1(t + n, t + n, 2, tq_AddN(t, t, s, n));
        tq_Sub1(t, t, n + 2, 1);
        tq_Sub1(s, s, n, 1);
    }
    std::memcpy(r, t, 4 * static_cast<size_t>(n + 1));
}

// floor(sqrt(A 2^(32 z))) into C (trimmed): A with z zero words below,
// shifted left by an even number of bits 2c (one more zero word below when
// the length is odd, then the top word raised to at least 2^30), the root of
// that shifted right by c.
void sqrtShifted(const TqStr &A, int32_t z, TqStr &C) {
    int32_t w = tq_NWords(A);
    while (w > 0 && tq_W(A)[w - 1] == 0) --w;
    if (w == 0) {
        C = tq_Word(0);
        return;
    }
    const int32_t pad = (w + z) % 2, n = (w + z + pad) / 2;
    const int32_t bits = tqL_LeadingZeros(tq_W(A)[w - 1]) & ~1;
    const int32_t c = 16 * pad + bits / 2;
    const size_t need = static_cast<size_t>(2 * n + n + n + 1) + static_cast<size_t>(8 * n + 320);
    tq_Scratch<uint32_t, 640> work(need);
    uint32_t *a = work.data();
    uint32_t *s = a + 2 * n, *r = s + n, *scratch = r + n + 1;
    std::memset(a, 0, 4 * static_cast<size_t>(z + pad));
    std::memcpy(a + z + pad, tq_W(A), 4 * static_cast<size_t>(w));
    if (bits) tqL_ShiftLeft(a, a, 2 * n, bits);
    sqrtRemDC(s, r, a, n, scratch);
    if (c) tqL_ShiftRight(s, s, n, c);
    int32_t sn = n;
    while (sn > 1 && s[sn - 1] == 0) --sn;
    C.assign(reinterpret_cast<const char *>(s), 4 * static_cast<size_t>(sn));
}

TqStr sqrtNoRem(const TqStr &A) {
    TqStr C;
    sqrtShifted(A, 0, C);
    return C;
}

// A start value not below A^(1/n), from the top 64 bits of A.
TqStr rootStart(const TqStr &A, int32_t n) {
    const int32_t bits = h_BitLength(A);
    // A = top * 2^shift with top holding (up to) the leading 64 bits.
    const int32_t shift = bits > 64 ? bits - 64 : 0;
    uint64_t top = 0;
    for (int32_t i = bits - 1; i >= shift; --i)
        top = (top << 1) | ((tq_W(A)[i / 32] >> (i % 32)) & 1u);
    const double log2A = std::log2(static_cast<double>(top) + 1.0) + shift;
    const double log2Root = log2A / n;
    if (log2Root < 52) {
        double est = std::exp2(log2Root);
        uint64_t v = static_cast<uint64_t>(est * (1 + 1e-12)) + 2;
        TqStr r(8, '\0');
        std::memcpy(r.data(), &v, 8);
        tq_Trim(r);
        return r;
    }
    // Leading 48 bits of the root, raised by a margin far above the double's
    // error, then scaled to the root's size.
    const int64_t e = static_cast<int64_t>(std::floor(log2Root)) - 47;
    const double lead = std::exp2(log2Root - static_cast<double>(e));
    uint64_t v = static_cast<uint64_t>(lead * (1 + 1e-6)) + 2;
    TqStr m(8, '\0');
    std::memcpy(m.data(), &v, 8);
    TqStr r(static_cast<size_t>(e / 32) * 4, '\0');
    r += m;
    // the remaining e mod 32 bits
    r = mulSmall(r, 1u << (e % 32));
    return r;
}

}  // namespace

int32_t h_BitLength(const TqStr &A) {
    for (int32_t i = tq_NWords(A) - 1; i >= 0; --i) {
        const uint32_t w = tq_W(A)[i];
        if (w) return i * 32 + (32 - __builtin_clz(w));
    }
    return 0;
}

void h_SqrtShifted(const TqStr &A, int32_t z, TqStr &C) { sqrtShifted(A, z, C); }

void h_Sqrt(TqStr A, int32_t wantRem, TqStr &C, TqStr &R) {
    tq_Trim(A);
    TqStr x = sqrtNoRem(A);
    if (wantRem) {
        TqStr sq;
        h_Square(x, sq);
        tq_Trim(sq);
        R = subMag(A, sq);
    }
    C = std::move(x);
}

void h_Root(TqStr A, int32_t n, int32_t wantRem, TqStr &C, TqStr &R) {
    tq_Trim(A);
    TqStr x;
    if (n <= 1 || tq_IsZero(A)) {
        x = n <= 1 ? A : tq_Word(0);
    } else if (n == 2) {
        x = sqrtNoRem(A);
    } else {
        x = rootStart(A, n);
        TqStr y = rootStep(A, x, n);
        int32_t rounds = 0;
        // y < x while above the floor of the root; the first y >= x ends it.
        while (tq_Cmp(y, x) < 0 && ++rounds <= 2000000) {
            x = std::move(y);
            y = rootStep(A, x, n);
        }
    }
    if (wantRem) {
        TqStr p = (n <= 1) ? x : powSmall(x, static_cast<uint32_t>(n));
        R = subMag(A, p);
    }
    C = std::move(x);
}
