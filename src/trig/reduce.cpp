// Reduction of a sine, cosine or tangent argument by quarter turns.
//
// |x| = k pi/2 + r with k the nearest integer to |x| / (pi/2), so that
// |r| <= about pi/4. The subtraction cancels the bits of |x| above the binary
// point and, near a multiple of pi/2, as many more as r is small: pi/2 is
// therefore carried to the working precision plus the bits of |x| above the
// point plus guard bits, and when r comes out smaller than that allows, the
// reduction is done again with the precision raised by the bits it lost. A
// value with P bytes cannot lie closer to a multiple of pi/2 than a few words
// beyond its own length, so a second round is rare and a third rarer still.
// Decimal arguments are evaluated as binary ones (funcs/dec_via_bin.h) and
// never come here.
#include "arith/arith.h"
#include "base/tq_state.h"
#include "funcs/constants.h"
#include "numbers/num_util.h"
#include "numbers/precision.h"
#include "numbers/number.h"
#include "trig.h"

namespace {

// Bits of r wanted beyond the evaluation precision, and the bits the product
// k pi/2 and the subtraction may lose.
constexpr int32_t kGuardBits = 64;
// k mod 4 of a non-negative integer-valued binary float k = M 256^Expo with
// Expo a multiple of 4: the units are in word -Expo / 4 of M (none when
// Expo > 0, a multiple of 2^32).
uint32_t quarterTurns(const TqNum &k) {
    const int32_t at = -k.V.Expo / 4;
    if (k.V.Expo > 0 || at >= tq_NWords(k.MantN)) return 0;
    return tq_W(k.MantN)[at] & 3u;
}

}  // namespace

int32_t n_Trig_Reduction(const TqNum &ax, TqNum &r, uint32_t &quadrant) {
    quadrant = 0;
    r = ax;
    if (tq_IsZeroNum(ax)) return 0;
    const double lx = tq_ApproxLog2(ax);
    // |x| < 2^-0.3486 < pi/4 (log2(pi/4) = -0.34850, and lx is good to about
    // 15 digits): k = 0, nothing to take away.
    if (lx < -0.3486) return 0;
    if (lx > tq_Trig_MaxArgBits) return tq_RaiseErr(tq_Err_ExpRange);
    const int32_t want = 8 * gTq_Prec_Bytes_Internal + kGuardBits;  // relative bits r must carry
    int32_t extra = 0;
    for (int32_t round = 0; round < 8; ++round) {
        // Absolute accuracy of r: 2^(lx + 4 - 8 bytes).
        const int32_t bytes = (static_cast<int32_t>(lx) + want + extra) / 8 + 8;
        TqPrecisionScope wp;
        wp.set(bytes);
        const int32_t kind = ax.V.NumType;
        const TqNum &x = ax;
        int32_t status = 0;
        const TqNum halfPi = tq_ConstNum(TQ_CONST_PI_2, kind);
        TqNum q = x, k = x, kp = x;
        r = x;
        status |= n_Div(x, halfPi, q);
        status |= n_Add(q, tq_ConstNum(TQ_CONST_0_5, kind), q);
        status |= n_Fix(q, k);
        status |= n_Mul(k, halfPi, kp);
        status |= n_Sub(x, kp, r);
        if (status) return status;
        quadrant = quarterTurns(k);
        if (tq_IsZeroNum(r)) {
            extra += want + 64;
            continue;
        }
        const double have = tq_ApproxLog2(r) - (lx + 4 - 8.0 * gTq_Prec_Bytes_Internal);
        if (have >= want) {
            wp.restore();
            n_ReducePrecision(r.V, r.MantN);  // back to the caller's precision
            return status;
        }
        extra += static_cast<int32_t>(want - have) + 32;
    }
    return 0;
}
