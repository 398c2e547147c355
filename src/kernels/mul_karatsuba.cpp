// Karatsuba multiplication: the string entry, the range helper, and the word
// recursion tq_MulKaratsuba (contracts in mul.h and limbs.h). The string
// entries multiply through the dispatch tq_MulWords, so large operands take
// Toom-3 or the transform there.
//
// The recursion works in the subtractive form: with A = A0 + A1 x^h and
// B = B0 + B1 x^h (h = the longer operand's word count halved, rounded up),
// z0 = A0 B0, z2 = A1 B1 and M = |A0 - A1| |B0 - B1|; the middle coefficient
// A0 B1 + A1 B0 = z0 + z2 - sA sB M, where sA, sB are the signs of the
// differences. Every value stays an unsigned magnitude. Halves are addressed
// in place; the whole recursion shares one scratch area allocated at its
// entry. Odd word counts split unevenly (the high half one word shorter), so
// no operand is ever padded. When the shorter operand does not reach above
// the split point, the longer one is cut into pieces of the shorter one's
// length and the balanced products are accumulated, which costs about
// (la / lb) balanced products instead of one product of the longer length
// squared.
//
// The string entry reports the result at the common length N of its contract
// (the value is the same however it is computed).
#include <algorithm>
#include <memory>

#include "addsub.h"
#include "base/tq_state.h"
#include "limbs.h"
#include "mul.h"

// Base case size in words: operands of at most this many words (the shorter
// one) go to the schoolbook rows. At least one word, so the recursion ends
// whatever the threshold holds.
static int32_t baseWords() {
    const int32_t t = gTq_Threshold_Mul_Karatsuba2Way / 4;
    return t < 1 ? 1 : t;
}

// The split point: half the longer operand, rounded up, and on the 64-bit
// path rounded up to a whole limb so that the halves stay limb-aligned.
static int32_t splitPoint(int32_t na, int32_t nb) {
    int32_t h = (na + 1) / 2;
    if (gTq_Kernel_Limb64 && (h & 1) && h + 1 < nb) ++h;
    return h;
}

// Scratch words the recursion needs for na x nb (na >= nb), mirroring mulRec.
static size_t mulScratch(int32_t na, int32_t nb, int32_t base) {
    if (nb <= base) return 0;
    const int32_t h = splitPoint(na, nb);
    if (nb <= h) {
        size_t inner = mulScratch(nb, nb, base);
        const int32_t last = na % nb;
        if (last) inner = std::max(inner, mulScratch(nb, last, base));
        return static_cast<size_t>(2 * nb + 2) + inner;
    }
    const int32_t s = na - h, t = nb - h;
    return static_cast<size_t>(4 * h + 2) + std::max(mulScratch(h, h, base), mulScratch(s, t, base));
}

// |X0 - X1| into d (h words), where X0 = x[0, h) and X1 = x[h, h + s), s <= h.
// Returns +1 when X0 > X1, -1 when X0 < X1, 0 when equal.
static int32_t absDiff(uint32_t *d, const uint32_t *x, int32_t h, int32_t s) {
    const uint32_t *x1 = x + h;
    int32_t c = 0;
    for (int32_t i = h - 1; i >= s; --i)
        if (x[i]) {
            c = 1;
            break;
        }
    if (!c) c = tq_CmpN(x, x1, s);
    if (c > 0) {
        tq_Sub1(d + s, x + s, h - s, tq_SubN(d, x, x1, s));
    } else if (c < 0) {
        tq_SubN(d, x1, x, s);
        std::fill(d + s, d + h, 0u);
    }
    return c;
}

static void mulRec(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb, uint32_t *ws,
                   int32_t base);

// p[0, n) += v for a small v, the carry running upward.
static void addSmall(uint32_t *p, int32_t n, uint32_t v) {
    for (int32_t i = 0; i < n && v; ++i) {
        const uint64_t x = static_cast<uint64_t>(p[i]) + v;
        p[i] = static_cast<uint32_t>(x);
        v = static_cast<uint32_t>(x >> 32);
    }
}

void tq_KaratsubaCombine(uint32_t *r, int32_t h, int32_t n2, const uint32_t *M, int32_t mSign, uint32_t *T) {
    TQ_REQUIRE(h >= 1 && n2 >= 1 && mSign >= -1 && mSign <= 1);
    if (n2 >= h) {
        // With z0 = z0L + z0H x^h and z2 = z2L + z2H x^h, adding (z0 + z2) x^h
        // to r = z0L | z0H | z2L | z2H leaves X + z0L at word h and X + z2H at
        // word 2h, X = z0H + z2L: three passes of h words instead of four.
        uint32_t *X = r + 2 * h;
        const uint32_t cx = tq_AddN(X, r + h, X, h);
        const uint32_t c2 = cx + tq_AddN(r + h, X, r, h);
        const int32_t hi = n2 - h;  // words of z2H
        int32_t c3 = static_cast<int32_t>(cx + tq_Add1(X + hi, X + hi, h - hi, tq_AddN(X, X, r + 3 * h, hi)));
        if (mSign > 0)
            c3 += static_cast<int32_t>(tq_AddN(r + h, r + h, M, 2 * h));
        else if (mSign < 0)
            c3 -= static_cast<int32_t>(tq_SubN(r + h, r + h, M, 2 * h));
        addSmall(r + 2 * h, n2, c2);
        if (c3 > 0)
            addSmall(r + 3 * h, hi, static_cast<uint32_t>(c3));
        else if (c3 < 0)
            tq_Sub1(r + 3 * h, r + 3 * h, hi, 1);
        return;
    }
    // A short z2: form T = z0 + z2 +/- M (2h + 1 words), then add it at word h.
    uint32_t c = tq_AddN(T, r, r + 2 * h, n2);
    T[2 * h] = tq_Add1(T + n2, r + n2, 2 * h - n2, c);
    if (mSign < 0)
        T[2 * h] -= tq_SubN(T, T, M, 2 * h);
    else if (mSign > 0)
        T[2 * h] += tq_AddN(T, T, M, 2 * h);
    // Above the product's top the coefficient is zero.
    const int32_t avail = h + n2;
    const int32_t len = std::min(2 * h + 1, avail);
    c = tq_AddN(r + h, r + h, T, len);
    tq_Add1(r + h + len, r + h + len, avail - len, c);
}

// na >= nb words, nb <= ceil(na / 2): balanced products of nb-word pieces.
static void mulPieces(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb, uint32_t *ws,
                      int32_t base) {
    mulRec(r, a, nb, b, nb, ws, base);
    uint32_t *tmp = ws, *inner = ws + 2 * nb + 2;
    for (int32_t off = nb; off < na; off += nb) {
        const int32_t len = std::min(nb, na - off);
        mulRec(tmp, b, nb, a + off, len, inner, base);
        // r[off, off + nb) holds the top of the product so far; above it
        // nothing is written yet.
        uint32_t c = tq_AddN(r + off, r + off, tmp, nb);
        std::copy(tmp + nb, tmp + nb + len, r + off + nb);
        tq_Add1(r + off + nb, r + off + nb, len, c);
    }
}

static void mulRec(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb, uint32_t *ws,
                   int32_t base) {
    if (na < nb) {
        std::swap(a, b);
        std::swap(na, nb);
    }
    if (nb <= base) {
        tq_MulBasecase(r, a, na, b, nb);
        return;
    }
    const int32_t h = splitPoint(na, nb);
    if (nb <= h) {
        mulPieces(r, a, na, b, nb, ws, base);
        return;
    }
    tq_DepthAdd(1);
    const int32_t s = na - h, t = nb - h;
    uint32_t *M = ws, *dA = ws + 2 * h, *dB = ws + 3 * h, *inner = ws + 4 * h + 2;

    const int32_t sA = absDiff(dA, a, h, s);
    const int32_t sB = sA ? absDiff(dB, b, h, t) : 0;
    if (sB) mulRec(M, dA, h, dB, h, inner, base);
    mulRec(r, a, h, b, h, inner, base);                  // z0 in r[0, 2h)
    mulRec(r + 2 * h, a + h, s, b + h, t, inner, base);  // z2 in r[2h, 2h + s + t)

    // The middle coefficient z0 + z2 - sA sB M, added at word h. The
    // differences are no longer needed: their room serves as scratch.
    tq_KaratsubaCombine(r, h, s + t, M, sB == 0 ? 0 : sA == sB ? -1 : 1, ws + 2 * h);
    tq_DepthAdd(-1);
}

void tq_MulKaratsuba(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb) {
    TQ_REQUIRE(na >= 1 && nb >= 1 && tq_Disjoint(r, 4 * int64_t{na + nb}, a, 4 * int64_t{na}) &&
               tq_Disjoint(r, 4 * int64_t{na + nb}, b, 4 * int64_t{nb}));
    if (na < nb) {
        std::swap(a, b);
        std::swap(na, nb);
    }
    const int32_t base = baseWords();
    if (nb <= base) {
        tq_MulBasecase(r, a, na, b, nb);
        return;
    }
    std::unique_ptr<uint32_t[]> ws(new uint32_t[mulScratch(na, nb, base) + 4]);
    mulRec(r, a, na, b, nb, ws.get(), base);
}

int32_t h_Mul_Karatsuba2Way_CommonLength(int32_t la, int32_t lb) {
    // A threshold below one word would never end the halving.
    const int32_t T = std::max(gTq_Threshold_Mul_Karatsuba2Way, 4);
    int32_t L = std::max(la, lb), c = 0;
    while (L > T) {
        L /= 2;
        ++c;
        if (L % 4) L = (L / 4 + 1) * 4;
    }
    return L << c;
}

void h_Mul_Karatsuba2Way(TqStr A, TqStr B, int32_t &trim, TqStr &R) {
    const int32_t la = tq_Len(A), lb = tq_Len(B), T = gTq_Threshold_Mul_Karatsuba2Way;
    if (la <= T || lb <= T) {
        int32_t one = 1;
        h_Mul_schoolbook(A, B, one, R);
        return;
    }
    const int32_t N = h_Mul_Karatsuba2Way_CommonLength(la, lb);
    // A and B are this call's own copies, so R is never an operand here.
    R.assign(static_cast<size_t>(N) * 2, '\0');
    tq_MulWords(tq_W(R), tq_W(A), la / 4, tq_W(B), lb / 4);
    if (trim) h_Trim(R);
}

void h_Mul_Karatsuba2Way_helper(const void *A, const void *B, int32_t n, void *R) {
    if (n % 4)
        n_Trace("h_Mul_Karatsuba2Way_helper: Error 2: (Lenh1 MOD lWordLength) <> 0" + std::to_string(n / 2));
    const int32_t w = n / 4;
    unsigned char *rb = static_cast<unsigned char *>(R);
    std::fill(rb + 8 * w, rb + 2 * n, static_cast<unsigned char>(0));
    if (w == 0) return;
    tq_DepthAdd(1);
    tq_MulWords(static_cast<uint32_t *>(R), static_cast<const uint32_t *>(A), w, static_cast<const uint32_t *>(B), w);
    tq_DepthAdd(-1);
}
