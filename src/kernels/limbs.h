// The word-vector primitives: the one low-level layer every magnitude
// operation of the library is built on.
//
// A magnitude is a little-endian array of 32-bit words (least significant
// first). A magnitude string (TqStr) holds such an array, its byte length a
// multiple of 4; "trimmed" means no zero word at the top, zero being one zero
// word. Three levels live here:
//
//  1. tq_*N: loops over raw 32-bit word arrays given by a pointer and a word
//     count. On x86-64 they run two words at a time as one 64-bit limb (the
//     word layout is also the 64-bit limb layout; an odd count leaves one
//     32-bit word at the top) with 64 x 64 -> 128-bit products, and with
//     MULX/ADCX/ADOX assembly where the processor has it. Elsewhere, and
//     whenever gTq_Kernel_Limb64 is 0, the portable 32-bit loops run. Both
//     paths give the same words in every case.
//  2. tqL_*: the same kind of loops written once for a limb type L, uint32_t
//     or (where the compiler has a 128-bit product) uint64_t, for the
//     division, modular and decimal-cut kernels that run whole on one limb
//     width. On a little-endian machine 2k words and k 64-bit limbs are the
//     same bytes, so both widths read and write magnitude strings directly.
//     Code on 32-bit word arrays calls level 1, not tqL_*<uint32_t>.
//  3. tq_* on TqStr: trimming, zero and one tests, comparison, and the
//     in-place steps the signed operations need.
//
// Aliasing, unless an entry says otherwise: a result may be the same array as
// an operand of the same length (exactly, not shifted); the products require
// a result that overlaps neither operand.
//
// Preconditions are checked by TQ_REQUIRE, active in the sanitizer build
// (TARQ_SANITIZE) and compiled out otherwise.
#pragma once
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "base/tq_state.h"
#include "base/tq_types.h"

#ifndef TQ_HAVE_LIMB64
#if defined(__x86_64__) && defined(__SIZEOF_INT128__)
#define TQ_HAVE_LIMB64 1
#else
#define TQ_HAVE_LIMB64 0
#endif
#endif

// A kernel's precondition: stops the process with the failed condition in the
// checked build, costs nothing in the others.
#if defined(TARQ_CHECKED)
#define TQ_REQUIRE(cond)                                                                                  \
    do {                                                                                                  \
        if (!(cond)) {                                                                                    \
            std::fprintf(stderr, "%s:%d: kernel precondition failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                                 \
        }                                                                                                 \
    } while (0)
#else
#define TQ_REQUIRE(cond) ((void)0)
#endif

// True when the byte ranges [r, r + rBytes) and [a, a + aBytes) do not
// overlap (for the preconditions of the products).
inline bool tq_Disjoint(const void *r, int64_t rBytes, const void *a, int64_t aBytes) {
    const auto x = reinterpret_cast<uintptr_t>(r), y = reinterpret_cast<uintptr_t>(a);
    return x + static_cast<uintptr_t>(rBytes) <= y || y + static_cast<uintptr_t>(aBytes) <= x;
}

// gTq_Kernel_Limb64 (tq_state.h) selects the 64-bit limb loops where the
// build has them; tests set it to 0 to run the portable path on the same
// machine.

// 1 when the 64-bit loops may use their assembly forms (the row loop needs
// MULX, ADCX and ADOX; set at load from the processor's feature bits). Tests
// set it to 0 to run the portable 64-bit loops as well.
extern int32_t gTq_Kernel_Adx;

// ------------------------------------------------------------ 1. word arrays

// r = a + b over n words; returns the carry out (0 or 1). n may be 0.
uint32_t tq_AddN(uint32_t *r, const uint32_t *a, const uint32_t *b, int32_t n);
// r = a - b over n words; returns the borrow out (0 or 1). n may be 0.
uint32_t tq_SubN(uint32_t *r, const uint32_t *a, const uint32_t *b, int32_t n);
// r = a + c over n words (c is 0 or 1); returns the carry out. When r != a the
// whole range is written; when r == a it stops as soon as the carry is gone.
uint32_t tq_Add1(uint32_t *r, const uint32_t *a, int32_t n, uint32_t c);
// r = a - c over n words (c is 0 or 1); returns the borrow out. Same early exit.
uint32_t tq_Sub1(uint32_t *r, const uint32_t *a, int32_t n, uint32_t c);
// r = 2 a over n words; returns the bit shifted out of the top.
uint32_t tq_Lsh1N(uint32_t *r, const uint32_t *a, int32_t n);
// r = a div 2 over n words; returns the bit shifted out of the bottom.
uint32_t tq_Rsh1N(uint32_t *r, const uint32_t *a, int32_t n);
// Compares a and b, both n words: +1 when a > b, -1 when a < b, 0 when equal.
int32_t tq_CmpN(const uint32_t *a, const uint32_t *b, int32_t n);
// r = a x w over n words; returns the word carried out of the top.
uint32_t tq_MulWordN(uint32_t *r, const uint32_t *a, int32_t n, uint32_t w);
// r = a div w over n words (w != 0); returns a mod w.
uint32_t tq_DivWordN(uint32_t *r, const uint32_t *a, int32_t n, uint32_t w);

// r = a x b by rows; r holds na + nb words and overlaps neither operand.
// na, nb >= 1. Rows of zero multiplier words are skipped.
void tq_MulBasecase(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb);
// r (na + nb words) = the sum of the terms a[i] b[j] B^(i + j) of place
// i + j >= c, and of some below it, each once (so r <= a x b); by rows
// like tq_MulBasecase, each row starting at place c. r overlaps neither
// operand.
void tq_MulBasecaseHigh(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb, int32_t c);
// r = a x a (2n words), each cross product formed once and doubled.
void tq_SqrBasecase(uint32_t *r, const uint32_t *a, int32_t n);

// Steps the Karatsuba depth counter. The threaded multiplication updates it
// from several threads, so every access is atomic (relaxed: the value only
// indents a diagnostic line).
inline void tq_DepthAdd(int32_t d) {
    std::atomic_ref<int32_t>(gTq_Karatsuba_Depth).fetch_add(d, std::memory_order_relaxed);
}
inline int32_t tq_Depth() { return std::atomic_ref<int32_t>(gTq_Karatsuba_Depth).load(std::memory_order_relaxed); }

// The Karatsuba combination: r holds z0 (2h words) followed by z2 (n2 >= 1
// words) and nothing else; adds (z0 + z2 + mSign M) x^h into r, where M has
// 2h words and mSign is +1, -1 or 0 (M absent). The caller guarantees that
// the coefficient is not negative and that the sum fits in 2h + n2 words. T
// is scratch of 2h + 1 words, used only when n2 < h.
void tq_KaratsubaCombine(uint32_t *r, int32_t h, int32_t n2, const uint32_t *M, int32_t mSign, uint32_t *T);

// r = a x b with the fastest algorithm for the sizes (schoolbook, Karatsuba,
// Toom-3 or the transform, by the shorter operand's length against
// gTq_Threshold_Mul_Karatsuba2Way, gTq_Threshold_Mul_Toom3 and
// gTq_Threshold_Mul_Ntt; unbalanced operands cut into pieces where that is
// cheaper); r holds na + nb words and overlaps neither operand. na, nb >= 1.
void tq_MulWords(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb);
// r (na + nb words) from word D up (1 <= D < na + nb) = the words of a x b
// from D up, short of the exact ones by at most min(na, nb) units of the
// lowest; the words below D hold partial sums of no meaning. The short
// product: only the partial products of place D - 1 and above are formed
// (about half of those below word na + nb - D when the shorter operand
// reaches D). r overlaps neither operand.
void tq_MulHigh(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb, int32_t D);
// r = a x a (2n words) with the fastest algorithm for the size (thresholds
// gTq_Threshold_Square_Karatsuba, _Toom3 and _Ntt).
void tq_SqrWords(uint32_t *r, const uint32_t *a, int32_t n);

// The algorithms behind the two dispatches, each with the same contract as
// its dispatch (sub-products go back through the dispatch).
void tq_MulKaratsuba(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb);
void tq_SqrKaratsuba(uint32_t *r, const uint32_t *a, int32_t n);
// Toom-Cook 3-way: na, nb >= 5 (n >= 5 for the square).
void tq_MulToom3(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb);
void tq_SqrToom3(uint32_t *r, const uint32_t *a, int32_t n);
// Number-theoretic transform: only where tq_NttFits(na, nb) (the product's
// coefficients must fit the transform's length and modulus, up to about 2^24
// words).
bool tq_NttFits(int32_t na, int32_t nb);
// The dispatch's choice of the transform for a product of na x nb words whose
// shorter operand has `shorter` words: from the threshold (bytes) on, but
// below twice the threshold only when the product fills at least 70% of the
// power-of-two transform (the transform's cost doubles at each power of two,
// Toom-3's grows smoothly).
bool tq_NttPays(int32_t shorter, int32_t na, int32_t nb, int32_t threshold);
void tq_MulNtt(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb);
void tq_SqrNtt(uint32_t *r, const uint32_t *a, int32_t n);

// ------------------------------------------------- 2. limb-width templates

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

// Runs f(L{}) for the limb type in force: uint64_t when the 64-bit loops are
// compiled in and switched on, else uint32_t. The kernels that run whole on
// one limb width enter through here.
template <class F> inline void tqL_OnLimbWidth(F &&f) {
#if TQ_HAVE_LIMB64
    if (tqL_UseLimb64()) {
        f(uint64_t{});
        return;
    }
#endif
    f(uint32_t{});
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

// x != 0.
template <class L> inline int tqL_LeadingZeros(L x) {
    if constexpr (sizeof(L) == 8)
        return __builtin_clzll(x);
    else
        return __builtin_clz(x);
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

// ------------------------------------------------------ 3. magnitude strings

// Number of words below the zero words at the top (0 for zero).
inline int32_t tq_SigWords(const TqStr &m) {
    int32_t n = tq_NWords(m);
    const uint32_t *w = tq_W(m);
    while (n > 0 && w[n - 1] == 0) --n;
    return n;
}
// Number of bytes below the zero bytes at the top (0 for zero).
int32_t tq_SigBytes(const TqStr &m);
// Drops the zero words at the top; zero (or an empty string) becomes one zero
// word. Bytes beyond the last whole word are dropped.
void tq_Trim(TqStr &m);
// True when every word is zero (also for the empty string).
bool tq_IsZero(const TqStr &m);
// True when the value is 1 (zero words at the top allowed).
bool tq_IsOne(const TqStr &m);
// Compares two magnitudes of any word lengths (zero words at the top count
// for nothing): -1, 0 or +1 as x <, =, > y.
int32_t tq_Cmp(const TqStr &x, const TqStr &y);
// M = M x w in place, trimmed.
void tq_MulWord(TqStr &M, uint32_t w);
// M = M div w in place (w != 0), trimmed; returns M mod w.
uint32_t tq_DivWord(TqStr &M, uint32_t w);

// Working words for one kernel call: on the stack up to N, on the heap beyond,
// so that small operands never allocate. The words start uninitialised, on
// the heap too (no pass that zeroes them: the square root's work area is
// some 12 times its root's length).
template <class T, size_t N>
class tq_Scratch {
public:
    explicit tq_Scratch(size_t n) {
        if (n > N) big_.reset(new T[n]);
    }
    tq_Scratch(const tq_Scratch &) = delete;
    tq_Scratch &operator=(const tq_Scratch &) = delete;
    T *data() { return big_ ? big_.get() : small_; }

private:
    T small_[N];
    std::unique_ptr<T[]> big_;
};
