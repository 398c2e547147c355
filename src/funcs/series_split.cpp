// atanh(1/n) and pi by binary splitting.
//
// atanh(1/n): with m = n^2 the sum is
// (1/n) sum_k 1 / ((2k + 1) m^k); for a range [a, b) of k the splitting keeps
//   B = prod (2k + 1),  Q = prod q(k) (q(0) = 1, q(k) = m otherwise),
//   T = B Q S,  S = sum over k in [a, b) of 1 / ((2k + 1) q(a) ... q(k)),
// a single term being B = 2k + 1, Q = q(k), T = 1, and two neighbouring
// ranges joining as B = Bl Br, Q = Ql Qr, T = Tl Br Qr + Bl Tr.
//
// pi (Chudnovsky): for a range [a, b) of k >= 1 the splitting keeps
//   P = prod p(k),  p(k) = -(6k - 5)(2k - 1)(6k - 1),
//   Q = prod q(k),  q(k) = k^3 640320^3 / 24,
//   R = sum over k of P(a, k + 1) Q(k + 1, b) (13591409 + 545140134 k),
// a single term being P = p(k), Q = q(k), R = p(k) (13591409 + 545140134 k),
// two neighbouring ranges joining as P = Pl Pr, Q = Ql Qr, R = Qr Rl + Pl Rr;
// then pi = 426880 sqrt(10005) Q / (13591409 Q + R) over [1, N). Each term
// adds about 14.18 digits.
//
// e = 1 + sum over k >= 1 of 1 / k!: for a range (a, b] of k the splitting
// keeps Q = (a + 1) ... b and T = Q sum over k in (a, b] of a! / k!, a single
// term being Q = b, T = 1, two neighbouring ranges joining as Q = Ql Qr,
// T = Tl Qr + Tr; then e = (Q + T) / Q over (0, N].
// The final divisions and products work on finite binary floats well inside
// the exponent range and cannot fail: their statuses are dropped, marked
// (void).
#include "series_split.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "arith/arith.h"
#include "base/cancel.h"
#include "funcs.h"
#include "base/tq_state.h"
#include "kernels/addsub.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"
#include "numbers/num_util.h"
#include "numbers/number.h"

namespace {

// x y, trimmed, by the word dispatch (Karatsuba, Toom-3 or the transform by
// size: the joins near the top of a splitting multiply thousands of words).
TqStr product(const TqStr &x, const TqStr &y) {
    const int32_t nx = std::max(tq_SigWords(x), 1), ny = std::max(tq_SigWords(y), 1);
    TqStr r(4 * static_cast<size_t>(nx + ny), '\0');
    tq_MulWords(tq_W(r), tq_W(x), nx, tq_W(y), ny);
    tq_Trim(r);
    return r;
}

// A magnitude of one or two words.
TqStr mag64(uint64_t v) {
    TqStr r(8, '\0');
    tq_W(r)[0] = static_cast<uint32_t>(v);
    tq_W(r)[1] = static_cast<uint32_t>(v >> 32);
    tq_Trim(r);
    return r;
}

// The splitting of atanh(1/n). Q of a range is a power of m, so it is not
// carried: Q = m^(b - a) (m^(b - 1) from a = 0), each power formed once and
// shared by the ranges of its length. A join then costs four products:
// Br m^(b - mid), Tl times that, Bl Tr and Bl Br.
struct AtanhSplit {
    uint32_t m;
    std::map<int64_t, TqStr> powers;

    const TqStr &power(int64_t e) {
        auto it = powers.find(e);
        if (it != powers.end()) return it->second;
        TqStr p = e == 1 ? tq_Word(m) : e % 2 ? product(power(e - 1), tq_Word(m)) : product(power(e / 2), power(e / 2));
        return powers.emplace(e, std::move(p)).first->second;
    }

    // B and T of [a, b).
    std::pair<TqStr, TqStr> split(int64_t a, int64_t b) {
        tq_CheckCancel();
        const uint64_t b0 = static_cast<uint64_t>(2 * a + 1);
        if (b - a == 1) return {mag64(b0), tq_Word(1)};
        if (b - a == 2 && a > 0) return {mag64(b0 * (b0 + 2)), mag64((b0 + 2) * m + b0)};
#ifdef __SIZEOF_INT128__
        // Four terms in 128 bits while 2k + 1 < 2^14 and m < 2^28, so that
        // T < 2^126: most of the ranges, without a product of magnitudes.
        if (b - a == 4 && a > 0 && b0 + 6 < (1u << 14) && m < (1u << 28)) {
            using u128 = unsigned __int128;
            const uint64_t Bl = b0 * (b0 + 2), Br = (b0 + 4) * (b0 + 6);
            const uint64_t Tl = (b0 + 2) * m + b0, Tr = (b0 + 6) * m + (b0 + 4);
            const u128 T = static_cast<u128>(Tl) * Br * m * m + static_cast<u128>(Bl) * Tr;
            TqStr t(16, '\0');
            for (int32_t i = 0; i < 4; ++i) tq_W(t)[i] = static_cast<uint32_t>(T >> (32 * i));
            tq_Trim(t);
            return {mag64(Bl * Br), std::move(t)};
        }
#endif
        // Halves of a multiple of four terms, so that the ranges below end in
        // the four-term ranges.
        const int64_t half = (b - a) / 2, mid = a + (b - a > 4 ? (half + 3) / 4 * 4 : half);
        auto [Bl, Tl] = split(a, mid);
        auto [Br, Tr] = split(mid, b);
        TqStr BrQr = product(Br, power(b - mid));
        TqStr B = product(Bl, std::move(Br)), T;
        h_Add(product(std::move(Tl), std::move(BrQr)), product(std::move(Bl), std::move(Tr)), T);
        tq_Trim(T);
        return {std::move(B), std::move(T)};
    }
};

// An exact integer magnitude as a binary float cut to the working precision.
TqNum binFloat(TqStr mag) {
    TqNum v = tq_IntNum(TarqBinFloat, 0);
    v.MantN = std::move(mag);
    n_ReducePrecision(v.V, v.MantN);
    return v;
}

// A signed integer: sign and magnitude.
struct SInt {
    int32_t sign = 1;
    TqStr mag;
};

SInt mulS(const SInt &x, const SInt &y) { return SInt{x.sign * y.sign, product(x.mag, y.mag)}; }

SInt addS(const SInt &x, const SInt &y) {
    SInt r;
    const int32_t yLarger = tq_AddSub(x.mag, y.mag, x.sign != y.sign, r.mag);
    r.sign = x.sign == y.sign || !yLarger ? x.sign : y.sign;
    if (tq_IsZero(r.mag)) r.sign = 1;
    return r;
}

struct PqrRange {
    SInt P, R;
    TqStr Q;
};

// P, Q and R of [a, b); P only when wantP (a range that ends the series, on
// the right edge of the splitting, never needs its P: the product of the two
// longest factors saved at every level).
PqrRange splitPi(int64_t a, int64_t b, bool wantP) {
    tq_CheckCancel();
    if (b - a == 1) {
        const uint64_t k = static_cast<uint64_t>(a);
        PqrRange t;
        t.P = SInt{-1, product(mag64((6 * k - 5) * (2 * k - 1)), mag64(6 * k - 1))};
        t.Q = product(mag64(10939058860032000ull), mag64(k * k * k));
        t.R = mulS(t.P, SInt{1, mag64(13591409 + 545140134 * k)});
        return t;
    }
    const int64_t mid = a + (b - a) / 2;
    PqrRange l = splitPi(a, mid, true), r = splitPi(mid, b, wantP);
    PqrRange j;
    j.R = addS(SInt{l.R.sign, product(r.Q, std::move(l.R.mag))}, mulS(l.P, r.R));
    if (wantP) j.P = SInt{l.P.sign * r.P.sign, product(std::move(l.P.mag), std::move(r.P.mag))};
    j.Q = product(std::move(l.Q), std::move(r.Q));
    return j;
}

struct QtRange {
    TqStr Q, T;
};

// `leaf` terms of (a, b] at most are summed in 64-bit words: with Q below
// b^leaf < 2^63 and T < 2Q, T k + 1 and Q k never overflow.
QtRange splitE(int64_t a, int64_t b, int64_t leaf) {
    tq_CheckCancel();
    if (b - a <= leaf) {
        uint64_t Q = 1, T = 0;
        for (int64_t k = a + 1; k <= b; ++k) {
            T = T * static_cast<uint64_t>(k) + 1;
            Q *= static_cast<uint64_t>(k);
        }
        return QtRange{mag64(Q), mag64(T)};
    }
    const int64_t mid = a + (b - a) / 2;
    QtRange l = splitE(a, mid, leaf), r = splitE(mid, b, leaf);
    QtRange j;
    h_Add(product(std::move(l.T), r.Q), r.T, j.T);
    tq_Trim(j.T);
    j.Q = product(std::move(l.Q), std::move(r.Q));
    return j;
}

}  // namespace

TqNum n_E_Split() {
    // The terms from N + 1 on add less than 2 / (N + 1)!, below the last of
    // the 8W + 8 bits wanted: N is the first with log2 N! above them.
    const double bits = 8.0 * gTq_Prec_Bytes_Internal + 8;
    int64_t N = 1;
    for (double l2 = 0; l2 < bits + 2; l2 += std::log2(static_cast<double>(++N))) {
    }
    // The longest run of terms whose product of indices stays below 2^63.
    int64_t leaf = 1;
    for (double l2 = std::log2(static_cast<double>(N)); (leaf + 1) * l2 < 63;) ++leaf;
    QtRange s = splitE(0, N, leaf);
    TqStr num;
    h_Add(s.Q, s.T, num);
    tq_Trim(num);
    TqNum r = tq_IntNum(TarqBinFloat, 0);
    (void)n_Div(binFloat(std::move(num)), binFloat(std::move(s.Q)), r);
    return r;
}

TqNum n_Pi_Chudnovsky() {
    const double bits = 8.0 * gTq_Prec_Bytes_Internal + 8;
    const int64_t N = static_cast<int64_t>(std::ceil(bits / 47.11)) + 2;
    PqrRange s = splitPi(1, N, false);
    // 13591409 Q + R is positive: the terms fall by a factor above 10^14.
    const SInt den = addS(SInt{1, product(s.Q, tq_Word(13591409))}, s.R);
    TqNum root = tq_IntNum(TarqBinFloat, 0), num = binFloat(std::move(s.Q)), r = root;
    (void)n_Sqrt(tq_IntNum(TarqBinFloat, 10005), root);
    (void)n_Mul(num, root, num);
    (void)n_Mul(num, tq_IntNum(TarqBinFloat, 426880), num);
    (void)n_Div(num, binFloat(den.mag), r);
    return r;
}

TqNum n_AtanhInverse_Split(uint32_t n) {
    const uint32_t m = n * n;
    // The terms from K on add less than 2 / m^K, below the last of the
    // 8W + 8 bits the sum (between 1 and 2) is wanted to.
    const double bits = 8.0 * gTq_Prec_Bytes_Internal + 8;
    const int64_t K = static_cast<int64_t>(std::ceil(bits / std::log2(static_cast<double>(m)))) + 2;
    AtanhSplit sp{m, {}};
    auto [B, T] = sp.split(0, K);
    TqNum num = binFloat(std::move(T));
    // The denominator B m^(K - 1) n from its factors cut to the working
    // precision: their exact product is longer than the quotient needs.
    TqNum den = binFloat(product(std::move(B), tq_Word(n))), r = tq_IntNum(TarqBinFloat, 0);
    (void)n_Mul(den, binFloat(sp.power(K - 1)), den);
    (void)n_Div(num, den, r);
    return r;
}
