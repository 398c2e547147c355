// Karatsuba squaring: the string entry h_Square_Karatsuba and the word
// recursion tq_SqrKaratsuba behind it (contracts in mul.h and limbs.h).
//
// With A = A0 + A1 x^h (h = the word count halved, rounded up), z0 = A0^2,
// z2 = A1^2 and M = (A0 - A1)^2, the middle coefficient 2 A0 A1 is
// z0 + z2 - M, which is never negative. Halves are addressed in place and
// the recursion shares one scratch area allocated at its entry. Operands of
// at most gTq_Threshold_Square_Karatsuba bytes are squared by the schoolbook
// rows (up to gTq_Threshold_Square_Comba bytes) or the column kernel.
#include <algorithm>
#include <memory>

#include "addsub.h"
#include "base/tq_state.h"
#include "limbs.h"
#include "mul.h"

static void sqrBase(uint32_t *r, const uint32_t *a, int32_t n) {
    if (n * 4 <= gTq_Threshold_Square_Comba)
        tq_MulBasecase(r, a, n, a, n);
    else
        tq_SqrBasecase(r, a, n);
}

static int32_t baseWords() {
    const int32_t t = gTq_Threshold_Square_Karatsuba / 4;
    return t < 1 ? 1 : t;
}

// Half the length, rounded up, and on the 64-bit path to a whole limb.
static int32_t splitPoint(int32_t n) {
    int32_t h = (n + 1) / 2;
    if (gTq_Kernel_Limb64 && (h & 1) && h + 1 < n) ++h;
    return h;
}

static size_t sqrScratch(int32_t n, int32_t base) {
    if (n <= base) return 0;
    const int32_t h = splitPoint(n);
    return static_cast<size_t>(3 * h + 2) + std::max(sqrScratch(h, base), static_cast<size_t>(2 * h + 2));
}

static void sqrRec(uint32_t *r, const uint32_t *a, int32_t n, uint32_t *ws, int32_t base) {
    if (n <= base) {
        sqrBase(r, a, n);
        return;
    }
    const int32_t h = splitPoint(n), s = n - h;
    const uint32_t *a1 = a + h;
    uint32_t *T = ws, *d = ws + 2 * h + 1, *inner = ws + 3 * h + 2;

    // d = |A0 - A1| (h words); A1 has s <= h words.
    int32_t c = 0;
    for (int32_t i = h - 1; i >= s && !c; --i)
        if (a[i]) c = 1;
    if (!c) c = tq_CmpN(a, a1, s);
    if (c > 0) {
        tq_Sub1(d + s, a + s, h - s, tq_SubN(d, a, a1, s));
    } else if (c < 0) {
        tq_SubN(d, a1, a, s);
        std::fill(d + s, d + h, 0u);
    }
    if (c) sqrRec(T, d, h, inner, base);  // M in T[0, 2h)
    sqrRec(r, a, h, inner, base);           // z0 in r[0, 2h)
    sqrRec(r + 2 * h, a1, s, inner, base);  // z2 in r[2h, 2n)

    // The middle coefficient z0 + z2 - M, added at word h; the recursion's
    // scratch is free again and serves the combination.
    tq_KaratsubaCombine(r, h, 2 * s, T, c ? -1 : 0, inner);
}

void tq_SqrKaratsuba(uint32_t *r, const uint32_t *a, int32_t n) {
    TQ_REQUIRE(n >= 1 && tq_Disjoint(r, 8 * int64_t{n}, a, 4 * int64_t{n}));
    const int32_t base = baseWords();
    if (n <= base) {
        sqrBase(r, a, n);
        return;
    }
    std::unique_ptr<uint32_t[]> ws(new uint32_t[sqrScratch(n, base) + 4]);
    tq_DepthAdd(1);
    sqrRec(r, a, n, ws.get(), base);
    tq_DepthAdd(-1);
}

void h_Square_Karatsuba(TqStr A, int32_t &trim, TqStr &R) {
    const int32_t n = tq_NWords(A);
    // Above the threshold an odd word count is reported at one word more,
    // as the recursion's first split extends it.
    const int32_t reported = (tq_Len(A) > gTq_Threshold_Square_Karatsuba && (n & 1)) ? n + 1 : n;
    R.assign(static_cast<size_t>(reported) * 8, '\0');  // A is this call's own copy
    if (n > 0) tq_SqrWords(tq_W(R), tq_W(A), n);
    if (trim) h_Trim(R);
}
