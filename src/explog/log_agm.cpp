// The natural logarithm of a positive binary float by the arithmetic-geometric
// mean, for high precisions.
//
// For s > 2^(p/2) the mean M = AGM(1, 4/s) gives ln s = pi / (2M) with a
// relative error below 2^-p, and the mean doubles its correct bits with each
// step (a <- (a + b)/2, b <- sqrt(a b)), so about log2(p) steps of one product
// and one square root each. x is scaled to s = x 2^k with k - 2 a multiple of
// 32, so that 4/s is 1/x with its exponent lowered by whole words; then
// ln x = pi / (2M) - k ln 2. The subtraction cancels the bits of k ln 2 above
// the result (about log2 p); the whole computation runs 8 bytes above the
// working precision plus what the caller adds for a result much smaller than 1.
// The steps work on finite positive binary floats near 1 (a, b, their mean)
// and on constants, where no operation can fail: their statuses are dropped,
// marked (void).
#include "explog.h"

#include <cmath>

#include "arith/arith.h"
#include "base/cancel.h"
#include "base/tq_state.h"
#include "funcs/constants.h"
#include "funcs/funcs.h"
#include "numbers/num_util.h"
#include "numbers/precision.h"

namespace {

constexpr int32_t kAgmGuardBytes = 8;

}  // namespace

void n_LogAgm(const TqNum &x, int32_t extraBytes, TqNum &r) {
    TqPrecisionScope wp;
    const int32_t W = wp.savedBytes() + kAgmGuardBytes + extraBytes;
    wp.set(W);
    const int64_t bits = 8 * static_cast<int64_t>(gTq_Prec_Bytes_Internal);
    int64_t k = bits / 2 + 16 - static_cast<int64_t>(std::floor(tq_ApproxLog2(x)));
    if (k < 2) k = 2;
    k = 2 + (k - 2 + 31) / 32 * 32;
    const TqNum one = tq_IntNum(TarqBinFloat, 1);
    TqNum a = one, b = one, t = one;
    (void)n_Div(one, x, b);
    b.V.Expo -= static_cast<int32_t>((k - 2) / 8);
    for (int32_t i = 0; i < tq_MaxRounds; ++i) {
        tq_CheckCancel();
        (void)n_Sub(a, b, t);
        if (tq_IsZeroNum(t) || tq_ApproxLog2(t) < tq_ApproxLog2(a) - static_cast<double>(bits) / 2 - 8) break;
        (void)n_Mul(a, b, t);
        (void)n_Add(a, b, a);
        (void)n_DivBy2(a, a);
        (void)n_Sqrt(t, b);
    }
    (void)n_Add(a, b, a);  // 2M
    (void)n_Div(tq_ConstNum(TQ_CONST_PI, TarqBinFloat), a, a);
    (void)n_Mul(tq_IntNum(TarqBinFloat, k), tq_ConstNum(TQ_CONST_LN2, TarqBinFloat), t);
    (void)n_Sub(a, t, r);
}
