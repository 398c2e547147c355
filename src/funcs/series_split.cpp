// atanh(1/n) by binary splitting. With m = n^2 the sum is
// (1/n) sum_k 1 / ((2k + 1) m^k); for a range [a, b) of k the splitting keeps
//   B = prod (2k + 1),  Q = prod q(k) (q(0) = 1, q(k) = m otherwise),
//   T = B Q S,  S = sum over k in [a, b) of 1 / ((2k + 1) q(a) ... q(k)),
// a single term being B = 2k + 1, Q = q(k), T = 1, and two neighbouring
// ranges joining as B = Bl Br, Q = Ql Qr, T = Tl Br Qr + Bl Tr.
#include "series_split.h"

#include <cmath>

#include "arith/arith.h"
#include "base/tq_state.h"
#include "kernels/addsub.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"
#include "numbers/num_util.h"
#include "numbers/number.h"

namespace {

struct Range {
    TqStr B, Q, T;
};

TqStr product(const TqStr &x, const TqStr &y) {
    TqStr r;
    int32_t trim = 1;
    h_Mul(x, y, trim, r);
    tq_Trim(r);
    return r;
}

Range split(uint32_t m, int64_t a, int64_t b) {
    if (b - a == 1) return Range{tq_Word(static_cast<uint32_t>(2 * a + 1)), tq_Word(a == 0 ? 1 : m), tq_Word(1)};
    const int64_t mid = a + (b - a) / 2;
    Range l = split(m, a, mid), r = split(m, mid, b);
    Range j;
    h_Add(product(product(l.T, r.B), r.Q), product(l.B, r.T), j.T);
    tq_Trim(j.T);
    j.B = product(l.B, r.B);
    j.Q = product(l.Q, r.Q);
    return j;
}

// An exact integer magnitude as a binary float cut to the working precision.
TqNum binFloat(TqStr mag) {
    TqNum v = tq_IntNum(TarqBinFloat, 0);
    v.MantN = std::move(mag);
    n_ReducePrecision(v.V, v.MantN);
    return v;
}

}  // namespace

TqNum n_AtanhInverse_Split(uint32_t n) {
    const uint32_t m = n * n;
    // The terms from K on add less than 2 / m^K, below the last of the
    // 8W + 8 bits the sum (between 1 and 2) is wanted to.
    const double bits = 8.0 * gTq_Prec_Bytes_Internal + 8;
    const int64_t K = static_cast<int64_t>(std::ceil(bits / std::log2(static_cast<double>(m)))) + 2;
    Range s = split(m, 0, K);
    TqNum num = binFloat(std::move(s.T));
    TqNum den = binFloat(product(product(s.B, s.Q), tq_Word(n)));
    TqNum r = tq_IntNum(TarqBinFloat, 0);
    n_Div(num, den, r);
    return r;
}
