// Power series in fixed point (see series.h).
#include "series.h"

#include <algorithm>

#include "kernels/limbs.h"

namespace {

// Word count below the zero words at the top of w[0, n).
int32_t sigWords(const uint32_t *w, int32_t n) {
    while (n > 0 && w[n - 1] == 0) --n;
    return n;
}

// w[0, n) /= (a k + b), skipped when the factor is 1.
void divFactor(uint32_t *w, int32_t n, uint32_t a, uint32_t b, uint32_t k) {
    const uint32_t f = a * k + b;
    if (f != 1) tq_DivWordN(w, w, n, f);
}

// w[0, n) /= (a1 k + b1)(a2 k + b2): one division while the product fits in
// a word.
void divTwoFactors(uint32_t *w, int32_t n, const TqSeries &s, uint32_t k) {
    const uint64_t f1 = static_cast<uint64_t>(s.a1) * k + s.b1, f2 = static_cast<uint64_t>(s.a2) * k + s.b2;
    if (f1 * f2 <= 0xFFFFFFFFu) {
        if (f1 * f2 != 1) tq_DivWordN(w, w, n, static_cast<uint32_t>(f1 * f2));
        return;
    }
    divFactor(w, n, s.a1, s.b1, k);
    divFactor(w, n, s.a2, s.b2, k);
}

}  // namespace

void tq_SeriesSum(const TqSeries &series, const TqStr &T, int32_t W, TqStr &S, int32_t *terms) {
    TQ_REQUIRE(W >= 1 && tq_NWords(T) >= W);
    const uint32_t *t = tq_W(T);
    // The sum: P(0) / e(0) = 1 / e(0).
    S.assign(4 * static_cast<size_t>(W + 1), '\0');
    uint32_t *s = tq_W(S);
    s[W] = 1;
    if (series.b3 != 1) tq_DivWordN(s, s, W + 1, series.b3);
    // P(1) = T / d(0).
    TqStr pBuf(T.data(), 4 * static_cast<size_t>(W)), termBuf(pBuf.size(), '\0');
    TqStr prodBuf(8 * static_cast<size_t>(W) + 8, '\0');
    uint32_t *p = tq_W(pBuf), *term = tq_W(termBuf), *prod = tq_W(prodBuf);
    int32_t n = sigWords(p, W);
    if (n) divTwoFactors(p, n, series, 0);
    n = sigWords(p, n);
    uint32_t k = 1;
    while (n > 0 && k < 0x7FFFFFFFu) {
        // The term P(k) / e(k) into the sum.
        const uint32_t *add = p;
        if (series.a3 != 0 || series.b3 != 1) {
            tq_DivWordN(term, p, n, series.a3 * k + series.b3);
            add = term;
        }
        if (series.alternating && (k & 1)) {
            tq_Sub1(s + n, s + n, W + 1 - n, tq_SubN(s, s, add, n));
        } else {
            tq_Add1(s + n, s + n, W + 1 - n, tq_AddN(s, s, add, n));
        }
        // P(k + 1) = P(k) T / d(k) from the top m = n + 1 words of T: the
        // product's word i sits at unit position i + W - m, so the new P(k + 1)
        // is product words m .. m + n (it is below P(k), so n words hold it).
        const int32_t m = std::min(n + 1, W);
        tq_MulWords(prod, p, n, t + (W - m), m);
        std::copy(prod + m, prod + m + n, p);
        n = sigWords(p, n);
        if (n) divTwoFactors(p, n, series, k);
        n = sigWords(p, n);
        ++k;
    }
    if (terms) *terms = static_cast<int32_t>(k);
}

void tq_FixedMul(const TqStr &A, const TqStr &B, int32_t W, TqStr &R) {
    TQ_REQUIRE(tq_NWords(A) == W + 1 && tq_NWords(B) == W + 1);
    TqStr prod(8 * static_cast<size_t>(W + 1), '\0');
    tq_MulWords(tq_W(prod), tq_W(A), W + 1, tq_W(B), W + 1);
    R.assign(prod, 4 * static_cast<size_t>(W), 4 * static_cast<size_t>(W + 1));
}

void tq_FixedSqr(const TqStr &A, int32_t W, TqStr &R) {
    TQ_REQUIRE(tq_NWords(A) == W + 1);
    TqStr prod(8 * static_cast<size_t>(W + 1), '\0');
    tq_SqrWords(tq_W(prod), tq_W(A), W + 1);
    R.assign(prod, 4 * static_cast<size_t>(W), 4 * static_cast<size_t>(W + 1));
}

bool tq_FixedFromBin(const TqNum &x, int32_t shift, int32_t W, TqStr &F) {
    // |x| 2^(32 W - shift) = M 2^(32 (Expo / 4 + W) - shift): whole words by
    // position, the bits below a word by a right shift.
    const int32_t words = x.V.Expo / 4 + W - (shift + 31) / 32;
    const int bits = (32 - shift % 32) % 32;  // left shift after placing
    const int32_t n = tq_NWords(x.MantN);
    TqStr out(4 * static_cast<size_t>(W + 2), '\0');
    uint32_t *o = tq_W(out);
    const uint32_t *m = tq_W(x.MantN);
    // Word i of M lands at word i + words of the result before the bit shift.
    for (int32_t i = 0; i < n; ++i) {
        const int64_t at = static_cast<int64_t>(i) + words;
        if (at < 0) continue;
        if (at >= W + 1) {
            if (m[i]) return false;
            continue;
        }
        o[at] = m[i];
    }
    if (bits) {
        // The word below the lowest placed one supplies the bits shifted in.
        const int64_t below = -static_cast<int64_t>(words) - 1;
        const uint32_t in = below >= 0 && below < n ? m[below] : 0;
        if (tqL_ShiftLeft<uint32_t>(o, o, W + 2, bits)) return false;
        o[0] |= in >> (32 - bits);
        if (o[W + 1]) return false;
    }
    out.resize(4 * static_cast<size_t>(W + 1));
    F = std::move(out);
    return true;
}

void tq_BinFromFixed(TqStr F, int32_t W, TqNum &x) {
    x.V.Sign = 1;
    x.V.Special = 0;
    x.V.NumType = TarqBinFloat;
    x.V.Expo = -4 * W;
    x.MantN = std::move(F);
    x.DenN = tq_Word(1);
}
