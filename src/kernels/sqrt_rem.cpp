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
void sqrtTwo(uint64_t a1, uint64_t a0, uint64_t &s, uint64_t *r) {
    typedef unsigned __int128 U;
    const U A = static_cast<U>(a1) << 64 | a0;
    const double d = std::sqrt(static_cast<double>(a1) * 18446744073709551616.0 + static_cast<double>(a0));
    // d lies within 2^12 of the root, which is at least 2^63: one Newton step
    // from there gives at most one above the floor of the root (never below).
    U x = d >= 18446744073709551615.0 ? ~uint64_t{0} : static_cast<uint64_t>(d);
    if (x < (U{1} << 63)) x = U{1} << 63;
    x = (x + A / x) >> 1;
    uint64_t y = x > ~uint64_t{0} ? ~uint64_t{0} : static_cast<uint64_t>(x);
    while (static_cast<U>(y) * y > A) --y;
    while (y != ~uint64_t{0} && static_cast<U>(y + 1) * (y + 1) <= A) ++y;
    const U rem = A - static_cast<U>(y) * y;
    s = y;
    r[0] = static_cast<uint64_t>(rem);
    r[1] = static_cast<uint64_t>(rem >> 64);
}
#endif

// s = floor(sqrt(a)) (n limbs) and r = a - s^2 (n + 1 limbs, at most 2s) for
// a of 2n limbs whose top limb is at least B/4. w is scratch of 4n + 8 limbs
// per level of the recursion.
template <class L> void sqrtRem(L *s, L *r, const L *a, int32_t n, L *w) {
    if (n == 1) {
        sqrtTwo(a[1], a[0], s[0], r);
        return;
    }
    const int32_t l = n / 2, h = n - l;
    L *sh = s + l;                  // s', h limbs, top bit set
    L *num = w;                     // r' B^l + a1: h + l + 1 limbs
    L *qq = num + (h + l + 1);      // 2q or 2q + 1: l + 1 limbs
    L *u = qq + (l + 1);            // h + 2 limbs
    L *t = u + (h + 2);             // n + 2 limbs
    L *q2 = t + (n + 2);            // 2l limbs
    sqrtRem(sh, num + l, a + 2 * l, h, q2 + 2 * l);
    std::memcpy(num, a + l, sizeof(L) * static_cast<size_t>(l));
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
    std::memcpy(t, a, sizeof(L) * static_cast<size_t>(l));
    std::memcpy(t + l, u, sizeof(L) * static_cast<size_t>(h + 2));
    tq_SqrWords(words(q2), words(qq), l * kPer<L>);
    sub1(t + 2 * l, n + 2 - 2 * l, subN(t, t, q2, 2 * l));
    while (t[n + 1] >> (tqL_LimbBits<L> - 1)) {  // negative: r += 2s - 1, s -= 1
        for (int32_t k = 0; k < 2; ++k) add1(t + n, 2, addN(t, t, s, n));
        sub1(t, n + 2, 1);
        sub1(s, n, 1);
    }
    std::memcpy(r, t, sizeof(L) * static_cast<size_t>(n + 1));
}

// floor(sqrt(X)) into C for X = A 2^e (A the w words given, top word
// non-zero; e even): X in the fewest pairs of limbs, shifted left by an even
// number of bits 2c so that the top limb is at least B/4; the root of that,
// shifted right by c. The bit the shift drops is the root's first bit below
// the point; without one (c = 0), sqrt(X) lies above C + 1/2 exactly when
// X - C^2 > C.
template <class L> void sqrtShifted(const uint32_t *A, int32_t w, int64_t e, TqStr &C, int32_t *half) {
    constexpr int32_t per = kPer<L>, limbBits = tqL_LimbBits<L>;
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
    sqrtRem(s, r, a, n, scratch);
    if (half) {
        if (c > 0)
            *half = static_cast<int32_t>((words(s)[(c - 1) / 32] >> ((c - 1) % 32)) & 1u);
        else
            *half = r[n] != 0 || tqL_Cmp(r, s, n) > 0;
    }
    if (c) tqL_ShiftRight(s, s, n, c);
    int32_t sn = n * per;
    while (sn > 1 && words(s)[sn - 1] == 0) --sn;
    C.assign(reinterpret_cast<const char *>(s), 4 * static_cast<size_t>(sn));
}

}  // namespace

void h_SqrtShifted(const TqStr &A, int64_t e, TqStr &C, int32_t *half) {
    int32_t w = tq_NWords(A);
    while (w > 0 && tq_W(A)[w - 1] == 0) --w;
    if (w == 0) {
        C = tq_Word(0);
        if (half) *half = 0;
        return;
    }
    tqL_OnLimbWidth([&](auto limb) { sqrtShifted<decltype(limb)>(tq_W(A), w, e, C, half); });
}
