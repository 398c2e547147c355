// Small helpers shared by the conversion files: magnitude comparison and zero
// test, the cache of powers 10^(9 * 2^j) used by the digit conversions in both
// directions, and the scoped lowering of the working precision.
#include <vector>

#include "convert.h"
#include "frame/number.h"
#include "frame/precision.h"
#include "frame/tq_state.h"
#include "kernels/mul.h"
#include "kernels/pow.h"

int32_t n_CmpMag(const TqStr &a, const TqStr &b) {
    int32_t na = tq_NWords(a), nb = tq_NWords(b);
    const uint32_t *x = tq_W(a), *y = tq_W(b);
    while (na > 0 && x[na - 1] == 0) --na;
    while (nb > 0 && y[nb - 1] == 0) --nb;
    if (na != nb) return na < nb ? -1 : 1;
    for (int32_t i = na - 1; i >= 0; --i)
        if (x[i] != y[i]) return x[i] < y[i] ? -1 : 1;
    return 0;
}

bool n_MagIsZero(const TqStr &m) {
    const uint32_t *w = tq_W(m);
    for (int32_t i = 0; i < tq_NWords(m); ++i)
        if (w[i]) return false;
    return true;
}

const TqStr &n_Pow10Pow2(int32_t j) {
    // Never destroyed: the powers live until the process ends.
    static auto *cache = new std::vector<TqStr>();
    if (cache->empty()) cache->push_back(tq_Word(1000000000u));
    while (static_cast<int32_t>(cache->size()) <= j) {
        TqStr sq;
        h_Square(cache->back(), sq);
        cache->push_back(std::move(sq));
    }
    return (*cache)[j];
}

TqPrecisionScope::TqPrecisionScope() : bytes(gTq_Prec_Bytes_Internal), digits(gTq_Prec_Digits_Internal) {}

TqPrecisionScope::~TqPrecisionScope() {
    gTq_Prec_Bytes_Internal = bytes;
    gTq_Prec_Digits_Internal = digits;
}

void TqPrecisionScope::lower(int32_t newBytes) {
    gTq_Prec_Bytes_Internal = newBytes;
    gTq_Prec_Digits_Internal = n_DigitsForBytes(newBytes);
}

bool n_Pow10_Exact(int64_t n, TqStr &R) {
    if (n < 0 || static_cast<double>(n) * 0.41524 > static_cast<double>(tq_MaxExactBytes)) return false;
    static const uint32_t small[10] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};
    if (n < 10) {
        R = tq_Word(small[n]);
        return true;
    }
    h_Pow(tq_Word(10), tq_Word(static_cast<uint32_t>(n)), R);
    n_TrimMag(R);
    return true;
}
