// Power series in fixed point (see series.h).
#include "series.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/cancel.h"
#include "kernels/limbs.h"

int32_t gTq_Series_RectWords = 24;

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

namespace {

// log2 of a fixed-point fraction T (W words), -infinity for zero.
double log2Fixed(const uint32_t *t, int32_t W) {
    const int32_t n = sigWords(t, W);
    if (n == 0) return -1e300;
    const double lead = static_cast<double>(t[n - 1]) * 4294967296.0 + (n > 1 ? t[n - 2] : 0);
    return std::log2(lead) + 32.0 * (n - 2 - W);
}

// The terms the sum needs: P(k) below a byte under one unit from K on
// (followed in doubles), and log2 P(k) for each k <= K; empty beyond 2^20
// terms (the plain loop then stops by itself).
std::vector<double> termSizes(const TqSeries &s, double log2T, int32_t W) {
    std::vector<double> lp{0.0};
    for (uint32_t k = 0; lp.back() > -32.0 * W - 8; ++k) {
        if (k >= (1u << 20)) return {};
        const double d = (static_cast<double>(s.a1) * k + s.b1) * (static_cast<double>(s.a2) * k + s.b2);
        lp.push_back(lp.back() + log2T - std::log2(d));
    }
    return lp;
}

// Top w + 1 words of a W + 1 word fixed-point value: the same value with w
// fraction words.
TqStr topWords(const TqStr &v, int32_t W, int32_t w) {
    return v.substr(4 * static_cast<size_t>(W - w), 4 * static_cast<size_t>(w + 1));
}

// v (w + 1 words) with w2 >= w fraction words: low zero words put below.
TqStr widen(const TqStr &v, int32_t w, int32_t w2) { return TqStr(4 * static_cast<size_t>(w2 - w), '\0') + v; }

// The sum by rectangular splitting (Smith's concurrent series): the powers
// T, ..., T^m once, then the blocks of m terms from the last to the first by
// Horner's rule, S_i = (block i) + T^m / (d(im) ... d(im + m - 1)) S_(i+1),
// written so that every step is a one-word division or an addition of whole
// numbers and each block costs one full product:
//   d series:  H_m = T^m S_(i+1),  H_(r-1) = T^(r-1) +- H_r / d(im + r - 1),  S_i = H_0
//   e series:  S_i = T^m S_(i+1) + sum over r < m of sgn(r) T^r / e(im + r)
// m is even, so that T^m carries the sign +1 in an alternating series, and
// the running values stay positive (the terms fall). Block i, whose first
// term lies b_i bits below 1, is computed with b_i / 32 fewer fraction words:
// its errors are scaled down by 2^-b_i when it joins the sum. Each step's
// truncation is at most a unit of its block, and the Horner steps divide the
// errors carried, so the bound of the plain loop holds.
void seriesRect(const TqSeries &series, const TqStr &T, int32_t W, const std::vector<double> &lp, TqStr &S) {
    const bool eSeries = series.a3 != 0 || series.b3 != 1;
    const int32_t K = static_cast<int32_t>(lp.size()) - 1;
    int32_t m = static_cast<int32_t>(std::sqrt(static_cast<double>(K) * (eSeries ? 1.0 : 0.5)));
    // At most 64 powers are kept (27 MB at the highest precision).
    m = std::min(64, std::max(2, m + (m & 1)));
    const size_t bytes = 4 * static_cast<size_t>(W + 1);
    std::vector<TqStr> pw(static_cast<size_t>(m) + 1);
    pw[0].assign(bytes, '\0');
    tq_W(pw[0])[W] = 1;
    pw[1] = T.substr(0, 4 * static_cast<size_t>(W)) + TqStr(4, '\0');
    for (int32_t r = 2; r <= m; ++r) {
        if (r % 2 == 0) {
            tq_FixedSqr(pw[static_cast<size_t>(r / 2)], W, pw[static_cast<size_t>(r)]);
        } else {
            tq_FixedMul(pw[static_cast<size_t>(r - 1)], pw[1], W, pw[static_cast<size_t>(r)]);
        }
    }
    const int32_t blocks = (K + m - 1) / m;
    TqStr sum, term, prod;
    int32_t sumW = 0;
    for (int32_t i = blocks - 1; i >= 0; --i) {
        tq_CheckCancel();
        const uint32_t k0 = static_cast<uint32_t>(i) * static_cast<uint32_t>(m);
        const int32_t drop = std::max(0, static_cast<int32_t>(-lp[k0]) - 40) / 32;
        const int32_t w = std::max(2, W - drop);
        const int32_t mm = std::min(m, K - static_cast<int32_t>(k0));
        TqStr acc;
        // T^m S_(i+1) at this block's precision (none for the last block).
        if (i < blocks - 1) tq_FixedMul(topWords(pw[static_cast<size_t>(m)], W, w), widen(sum, sumW, w), w, acc);
        if (!eSeries) {
            int32_t r = mm;
            if (i == blocks - 1) acc = topWords(pw[static_cast<size_t>(--r)], W, w);
            for (; r >= 1; --r) {
                uint32_t *a = tq_W(acc);
                divTwoFactors(a, w + 1, series, k0 + static_cast<uint32_t>(r) - 1);
                TqStr p = topWords(pw[static_cast<size_t>(r - 1)], W, w);
                if (series.alternating) {
                    tq_SubN(tq_W(p), tq_W(p), a, w + 1);
                } else {
                    tq_AddN(tq_W(p), tq_W(p), a, w + 1);
                }
                acc = std::move(p);
            }
        } else {
            if (i == blocks - 1) acc.assign(4 * static_cast<size_t>(w + 1), '\0');
            TqStr neg(4 * static_cast<size_t>(w + 1), '\0');
            term.assign(neg.size(), '\0');
            for (int32_t r = 0; r < mm; ++r) {
                const TqStr p = topWords(pw[static_cast<size_t>(r)], W, w);
                const uint32_t k = k0 + static_cast<uint32_t>(r);
                tq_DivWordN(tq_W(term), tq_W(p), w + 1, series.a3 * k + series.b3);
                uint32_t *into = series.alternating && (r & 1) ? tq_W(neg) : tq_W(acc);
                tq_AddN(into, into, tq_W(term), w + 1);
            }
            tq_SubN(tq_W(acc), tq_W(acc), tq_W(neg), w + 1);
        }
        sum = std::move(acc);
        sumW = w;
    }
    S = widen(sum, sumW, W);
}

}  // namespace

void tq_SeriesSum(const TqSeries &series, const TqStr &T, int32_t W, TqStr &S, int32_t *terms) {
    TQ_REQUIRE(W >= 1 && tq_NWords(T) >= W);
    if (W >= gTq_Series_RectWords) {
        const double l2 = log2Fixed(tq_W(T), W);
        if (l2 > -32.0 * W) {
            const std::vector<double> lp = termSizes(series, l2, W);
            if (lp.size() > 8) {
                seriesRect(series, T, W, lp, S);
                if (terms) *terms = static_cast<int32_t>(lp.size()) - 1;
                return;
            }
        }
    }
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
        tq_CheckCancel();
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

namespace {

// The double-length product of two W + 1 word values, on the stack up to
// kStackWords words (the everyday precisions), on the heap above.
constexpr int32_t kStackWords = 64;
struct ProductBuffer {
    uint32_t local[2 * kStackWords];
    std::vector<uint32_t> heap;
    uint32_t *get(int32_t W) {
        if (W + 1 <= kStackWords) return local;
        heap.assign(2 * static_cast<size_t>(W + 1), 0);
        return heap.data();
    }
};

// R = the upper W + 1 words of the product, the value's W fraction words.
void keepTop(const uint32_t *prod, int32_t W, TqStr &R) {
    R.assign(reinterpret_cast<const char *>(prod + W), 4 * static_cast<size_t>(W + 1));
}

}  // namespace

void tq_FixedMul(const TqStr &A, const TqStr &B, int32_t W, TqStr &R) {
    TQ_REQUIRE(tq_NWords(A) == W + 1 && tq_NWords(B) == W + 1);
    ProductBuffer buf;
    uint32_t *prod = buf.get(W);
    tq_MulWords(prod, tq_W(A), W + 1, tq_W(B), W + 1);
    keepTop(prod, W, R);
}

void tq_FixedSqr(const TqStr &A, int32_t W, TqStr &R) {
    TQ_REQUIRE(tq_NWords(A) == W + 1);
    ProductBuffer buf;
    uint32_t *prod = buf.get(W);
    tq_SqrWords(prod, tq_W(A), W + 1);
    keepTop(prod, W, R);
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
