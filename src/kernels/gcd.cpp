// h_Gcd: greatest common divisor of two magnitudes. Operands are copies; the
// result is trimmed; gcd(0, B) = B and gcd(0, 0) = 0.
//
// Euclid's algorithm, accelerated after Lehmer: the quotients of the first
// Euclid steps depend only on the leading bits, so they are run on the top
// 62 bits of both operands with small cofactors, and the combined step (a
// 2 x 2 matrix of cofactors below 2^30) is applied to the whole operands in
// one pass. When the leading bits do not decide a single step, or the
// operands differ much in length, one full division step (h_DivMod's limb
// loops) is taken instead; the last two words are finished in 64-bit
// arithmetic. The steps are exact Euclid steps, so the result is that of the
// plain remainder sequence.
#include <cstring>
#include <vector>

#include "div_core.h"
#include "divmod.h"

namespace {

typedef std::vector<uint32_t> Words;

void trimWords(Words &w) {
    while (!w.empty() && w.back() == 0) w.pop_back();
}

int32_t bitLength(const Words &w) {
    if (w.empty()) return 0;
    return static_cast<int32_t>(w.size()) * 32 - tqL_LeadingZeros(w.back());
}

// The 62 bits of w from bit position shift upward.
int64_t bitsAt(const Words &w, int32_t shift) {
    const int32_t i = shift / 32, s = shift % 32, n = static_cast<int32_t>(w.size());
    const uint64_t lo = (static_cast<uint64_t>(i + 1 < n ? w[i + 1] : 0) << 32) | (i < n ? w[i] : 0);
    const uint64_t hi = i + 2 < n ? w[i + 2] : 0;
    const uint64_t r = s ? (lo >> s) | (hi << (64 - s)) : lo;
    return static_cast<int64_t>(r & ((uint64_t{1} << 62) - 1));
}

// a mod b (b non-zero, trimmed) replaces a.
void modInPlace(Words &a, const Words &b) {
    if (a.size() < b.size()) return;
    TqStr A(reinterpret_cast<const char *>(a.data()), a.size() * 4);
    TqStr B(reinterpret_cast<const char *>(b.data()), b.size() * 4);
    TqStr q, r;
    h_DivMod(std::move(A), std::move(B), 1, q, r);
    a.assign(tq_W(r), tq_W(r) + tq_NWords(r));
    trimWords(a);
}

// r = x a + y b over n words (the result is known to be non-negative).
void combine(Words &r, const Words &a, const Words &b, int64_t x, int64_t y, size_t n) {
    r.assign(n, 0);
    int64_t carry = 0;
    for (size_t i = 0; i < n; ++i) {
        const int64_t ai = i < a.size() ? a[i] : 0, bi = i < b.size() ? b[i] : 0;
        const int64_t acc = x * ai + y * bi + carry;
        r[i] = static_cast<uint32_t>(acc);
        carry = acc >> 32;  // arithmetic shift: floor division
    }
    trimWords(r);
}

uint64_t toU64(const Words &w) {
    uint64_t v = 0;
    for (size_t i = w.size(); i-- > 0;) v = (v << 32) | w[i];
    return v;
}

}  // namespace

void h_Gcd(TqStr A, TqStr B, TqStr &R) {
    Words a(tq_W(A), tq_W(A) + tq_NWords(A)), b(tq_W(B), tq_W(B) + tq_NWords(B));
    trimWords(a);
    trimWords(b);
    if (a.size() < b.size() || (a.size() == b.size() && tq_CmpN(a.data(), b.data(), static_cast<int32_t>(a.size())) < 0))
        a.swap(b);
    constexpr int64_t kLimit = int64_t{1} << 30;
    Words na, nb;
    while (!b.empty() && a.size() > 2) {
        const int32_t shift = bitLength(a) - 62;
        int64_t ah = bitsAt(a, shift), bh = bitsAt(b, shift);
        int64_t x0 = 1, y0 = 0, x1 = 0, y1 = 1;  // a' = x0 a + y0 b, b' = x1 a + y1 b
        while (true) {
            const int64_t d0 = bh + x1, d1 = bh + y1, n0 = ah + x0, n1 = ah + y0;
            if (d0 <= 0 || d1 <= 0 || n0 < 0 || n1 < 0) break;
            const int64_t q = n0 / d0;
            if (q != n1 / d1 || q >= kLimit) break;
            const int64_t tx = x0 - q * x1, ty = y0 - q * y1;
            if (tx >= kLimit || tx <= -kLimit || ty >= kLimit || ty <= -kLimit) break;
            x0 = x1;
            y0 = y1;
            x1 = tx;
            y1 = ty;
            const int64_t t = ah - q * bh;
            ah = bh;
            bh = t;
        }
        if (y0 == 0) {
            // No step decided by the leading bits: one full division step.
            modInPlace(a, b);
            a.swap(b);
            continue;
        }
        combine(na, a, b, x0, y0, a.size());
        combine(nb, a, b, x1, y1, a.size());
        a.swap(na);
        b.swap(nb);
    }
    if (!b.empty() && a.size() <= 2) {
        uint64_t u = toU64(a), v = toU64(b);
        while (v) {
            const uint64_t t = u % v;
            u = v;
            v = t;
        }
        a = {static_cast<uint32_t>(u), static_cast<uint32_t>(u >> 32)};
        trimWords(a);
    }
    TqStr r(a.empty() ? 4 : a.size() * 4, '\0');
    if (!a.empty()) std::memcpy(r.data(), a.data(), a.size() * 4);
    R = std::move(r);
}
