// The decimal cut's division: a magnitude divided by a power of ten and
// rounded to nearest, an exact half rounding down (the quotient goes up only
// when the remainder exceeds half of the power of ten).
#pragma once
#include "base/tq_types.h"
#include "limbs.h"

// 10^k for 0 <= k < tq_Pow10Small_Count as n trimmed words, built on first use
// and read-only afterwards (safe from any thread).
constexpr int32_t tq_Pow10Small_Count = 160;
const uint32_t *tq_Pow10Small(int32_t k, int32_t &n);

// 5^k x 2^s for 1 <= k <= tq_Pow5Top as n limbs of L (uint32_t, or uint64_t
// where the 64-bit limbs are compiled in), s making the top limb's top bit
// set; built on first use and read-only afterwards (safe from any thread).
constexpr int32_t tq_Pow5Top = 220;  // 5^220 < 2^512
template <class L> const L *tq_Pow5Norm(int32_t k, int32_t &n, int &s);

// The same power as a record for the limb division: D = 5^k x 2^S in N limbs
// (top bit set) and the reciprocal V of its top limb (N = 1) or top two.
template <class L> struct TqPow5Norm {
    L D[64 / sizeof(L)];  // 512 bits
    L V;
    int32_t N;
    int S;
};
// Builds the table of the records for k = 1 .. tq_Pow5Top (out of line, once).
template <class L> const TqPow5Norm<L> *tq_BuildPow5Norm();
template <class L> inline const TqPow5Norm<L> &tq_Pow5NormAt(int32_t k) {
    // Never destroyed; the initialisation of a local static is thread-safe.
    static const TqPow5Norm<L> *const t = tq_BuildPow5Norm<L>();
    return t[k];
}

// The steps of the cut below: for i from i0 down to 0, the quotient limb of
// (r1 r0 u) by D = p.D[1..0] written over m[i], where u is limb i of M >> h
// ((m[i + 1] m[i]) >> h, the raw m[i + 1] passed in as above, before m[i + 1]
// was written) and (r1 r0) < D the running remainder, left in place after the
// last step. On x86-64 the loop runs as one block of instructions: the
// divisor and its reciprocal read from the table, the remainder and the shift
// in registers, D taken off the remainder beside the products by the
// estimate, and the first correction of the 3-by-2 estimate free of branches
// (taken about half the time, a branch would be mispredicted as often): both
// remainders formed, one kept. Each step waits for the remainder of the one
// before, so the steps' latency is what these choices shorten.
template <class L>
[[gnu::always_inline]] inline void tq_CutSteps(L *m, int32_t i0, L &r1, L &r0, L above, int h, const TqPow5Norm<L> &p) {
#if TQ_HAVE_LIMB64 && defined(__x86_64__) && defined(__GNUC__)
    if constexpr (sizeof(L) == 8) {
        int64_t i = i0;
        L u, q0, ax, dx;
        __asm__(
            "1:\n\t"
            "movq (%[m],%[i],8), %[u]\n\t"
            "shrdq %%cl, %[above], %[u]\n\t"  // u = (above m[i]) >> h
            "movq (%[m],%[i],8), %[above]\n\t"
            "movq %[v], %%rax\n\t"
            "mulq %[r1]\n\t"
            "addq %[r0], %%rax\n\t"
            "adcq %[r1], %%rdx\n\t"  // (q1 q0) = v r1 + (r1 r0)
            "movq %%rax, %[q0]\n\t"
            "movq %%rdx, %[r1]\n\t"  // r1 holds q1 from here
            "imulq %[d1], %%rdx\n\t"
            "subq %[d0], %[u]\n\t"   // (r0 u) less D, beside the products by q1
            "sbbq %[d1], %[r0]\n\t"
            "subq %%rdx, %[r0]\n\t"  // less q1 d1 on the top limb
            "movq %[d0], %%rax\n\t"
            "mulq %[r1]\n\t"
            "subq %%rax, %[u]\n\t"
            "sbbq %%rdx, %[r0]\n\t"  // less q1 d0: the remainder for q1 + 1
            "movq %[u], %%rax\n\t"
            "movq %[r0], %%rdx\n\t"
            "addq %[d0], %%rax\n\t"
            "adcq %[d1], %%rdx\n\t"  // and the one for q1, D added back
            "cmpq %[q0], %[r0]\n\t"  // top limb below q0: q1 + 1 stands
            "cmovaeq %%rax, %[u]\n\t"
            "cmovaeq %%rdx, %[r0]\n\t"
            "adcq $0, %[r1]\n\t"
            "cmpq %[d0], %[u]\n\t"  // the rare last correction: remainder >= D
            "movq %[r0], %%rax\n\t"
            "sbbq %[d1], %%rax\n\t"
            "jae 3f\n"
            "2:\n\t"
            "movq %[r1], (%[m],%[i],8)\n\t"
            "movq %[r0], %[r1]\n\t"
            "movq %[u], %[r0]\n\t"
            "subq $1, %[i]\n\t"
            "jns 1b\n\t"
            "jmp 4f\n"
            "3:\n\t"
            "addq $1, %[r1]\n\t"
            "subq %[d0], %[u]\n\t"
            "sbbq %[d1], %[r0]\n\t"
            "jmp 2b\n"
            "4:"
            : [i] "+&r"(i), [r1] "+&r"(r1), [r0] "+&r"(r0), [above] "+&r"(above), [u] "=&r"(u), [q0] "=&r"(q0),
              "=&a"(ax), "=&d"(dx)
            : [m] "r"(m), "c"(h), [d1] "m"(p.D[1]), [d0] "m"(p.D[0]), [v] "m"(p.V)
            : "cc", "memory");
        return;
    }
#endif
    const L d1 = p.D[1], d0 = p.D[0], v = p.V;
    for (int32_t i = i0; i >= 0; --i) {
        const L w = m[i];
        m[i] = tqL_Div3By2(r1, r0, static_cast<L>((w >> h) | (above << (tqL_LimbBits<L> - h))), d1, d0, v, r1, r0);
        above = w;
    }
}

// The everyday decimal cut on limbs: m[0..nl) (nl >= 1, m[nl - 1] non-zero)
// becomes round(M / 10^d), an exact half rounding down, for the d whose 5^d
// takes two limbs: p = tq_Pow5NormAt<L>(d) with p.N = 2 and h = d - p.S in
// 1 .. B - 1 (B the limb's bits). 10^d = 2^h D with D = 5^d 2^S, so the
// quotient is floor(floor(M / 2^h) / D): the shifted dividend is formed limb
// by limb inside the 3-by-2 division steps, the raw limb above carried in a
// register, and the quotient written over m from the top down. With R the
// remainder and X the h bits shifted out, the dropped part R 2^h + X exceeds
// half of 10^d = D 2^(h-1) exactly when 2R + (X's top bit) > D, or equal with
// a lower bit of X set. Returns the quotient's limb count (room for one limb
// more than nl is needed for a final carry); its top limb is non-zero unless
// the quotient is zero.
template <class L> [[gnu::always_inline]] inline int32_t tq_CutPow5Two(L *m, int32_t nl, const TqPow5Norm<L> &p, int h) {
    constexpr int B = tqL_LimbBits<L>;
    const int ls = B - h;
    const L d1 = p.D[1], d0 = p.D[0];
    const L half = (m[0] >> (h - 1)) & 1;
    const bool below = (m[0] & ((L(1) << (h - 1)) - 1)) != 0;
    // The top limb of M >> h, and the one under it.
    int32_t i = nl - 1;
    L t = m[i] >> h, above = m[i];
    if (t == 0 && i > 0) {
        --i;
        t = static_cast<L>((m[i] >> h) | (above << ls));
        above = m[i];
    }
    L r1 = 0, r0;
    int32_t qn;
    if (i == 0) {
        r0 = t;
        m[0] = 0;
        qn = 1;
    } else {
        const L raw = m[i - 1], t1 = static_cast<L>((raw >> h) | (above << ls));
        if (t < d1 || (t == d1 && t1 < d0)) {
            r1 = t;
            r0 = t1;
            above = raw;
            i -= 2;
        } else {
            r0 = t;
            i -= 1;
        }
        // The first step divides at least D: its quotient limb, the top one,
        // is non-zero.
        qn = i + 1;
        if (i >= 0)
            tq_CutSteps(m, i, r1, r0, above, h, p);
        else
            m[qn++] = 0;
    }
    // Up when 2R + half > D, or equal and a lower bit is set.
    bool up = (r1 >> (B - 1)) != 0;
    if (!up) {
        const L t1 = static_cast<L>((r1 << 1) | (r0 >> (B - 1))), t0 = static_cast<L>((r0 << 1) | half);
        up = t1 > d1 || (t1 == d1 && (t0 > d0 || (t0 == d0 && below)));
    }
    if (up && tqL_Add1(m, qn, L{1})) m[qn++] = 1;
    return qn;
}

// The number of decimal digits of the nonzero magnitude w[0..n) (w[n - 1]
// non-zero) when it is below 10^(tq_Pow10Small_Count - 1); -1 otherwise.
int32_t tq_DecimalDigitsSmall(const uint32_t *w, int32_t n);

// floor(k log10 2), exact for 0 <= k < 70,777 (the multiplier is log10 2
// rounded down to 32 fraction bits).
inline int32_t tq_FloorLog10Pow2(int64_t k) { return static_cast<int32_t>((k * 1292913986ll) >> 32); }

// Bits of the n significant words w (n >= 1, w[n - 1] non-zero).
inline int32_t tq_BitLength(const uint32_t *w, int32_t n) { return 32 * (n - 1) + (32 - __builtin_clz(w[n - 1])); }

// M = round(M / 10^d) for d >= 1 and a trimmed M: a short M (up to 16 limbs)
// beyond one limb's digits in one division by 5^d (d up to tq_Pow5Top) after
// a shift by d bits, otherwise in passes of
// divisions by a power of ten that fits one limb (d up to 4 x 19, 4 x 9),
// through reciprocals computed once. Returns false, M untouched, for larger
// d: the caller then passes 10^d to tq_DivPow10RoundBy. M leaves trimmed.
bool tq_DivPow10Round(TqStr &M, int32_t d);

// The same on the trimmed magnitude w[0..n), n >= 1, in place: w must be
// 8-byte aligned (it is read as 64-bit limbs) with room for n + 2 words; n
// leaves as the trimmed length.
bool tq_DivPow10RoundN(uint32_t *w, int32_t &n, int32_t d);

// M = round(M / D) for D = 10^d, d >= 1, both trimmed: through a cached
// reciprocal of D when D and the quotient are long enough and the
// approximation decides, else by the exact division. M leaves trimmed.
void tq_DivPow10RoundBy(TqStr &M, const TqStr &D);
