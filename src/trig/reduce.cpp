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
// Far reductions of decimal arguments run on binary floats.
#include "arith/arith.h"
#include "base/tq_state.h"
#include "convert/convert.h"
#include "funcs/constants.h"
#include "numbers/num_util.h"
#include "numbers/precision.h"
#include "numbers/number.h"
#include "trig.h"

namespace {

// Bits of r wanted beyond the evaluation precision, and the bits the product
// k pi/2 and the subtraction may lose.
constexpr int32_t kGuardBits = 64;
// A decimal argument is reduced by the decimal pi/2 while that is needed at
// most this many bits beyond the working precision (computing a decimal pi is
// slow at great lengths, converting r back costs a little at any length).
constexpr int32_t kDecimalReachBits = 128;

// k mod 4 of a non-negative integer-valued float k: k - 4 fix(k / 4), exact at
// the reduction's precision.
uint32_t quarterTurns(const TqNum &k) {
    if (k.V.NumType == TarqBinFloat) {
        // k = M 256^Expo with Expo a multiple of 4: the units are in word
        // -Expo / 4 of M (none when Expo > 0, a multiple of 2^32).
        const int32_t at = -k.V.Expo / 4;
        if (k.V.Expo > 0 || at >= tq_NWords(k.MantN)) return 0;
        return tq_W(k.MantN)[at] & 3u;
    }
    // Exact on a finite integer-valued k: no step can fail.
    TqNum q = k, t = k;
    (void)n_DivBy2(k, q);
    (void)n_DivBy2(q, q);
    (void)n_Fix(q, q);
    (void)n_MulBy2(q, q);
    (void)n_MulBy2(q, q);
    (void)n_Sub(k, q, t);
    const int32_t kind = k.V.NumType;
    if (tq_CmpNum(t, tq_ConstNum(TQ_CONST_1, kind)) == 0) return 1;
    if (tq_CmpNum(t, tq_ConstNum(TQ_CONST_2, kind)) == 0) return 2;
    if (tq_CmpNum(t, tq_ConstNum(TQ_CONST_3, kind)) == 0) return 3;
    return 0;
}

// A decimal ax = M 10^e as a binary float at the working precision: M and
// 10^|e| are exact integers, so one product or quotient rounds it once.
int32_t toBinary(const TqNum &ax, TqNum &x) {
    TqNum m = tq_IntNum(TarqBinFloat, 0), p = m;
    m.MantN = ax.MantN;
    const int32_t e = ax.V.Expo;
    if (!n_Pow10_Exact(e < 0 ? -static_cast<int64_t>(e) : e, p.MantN)) return tq_RaiseErr(tq_Err_ExpRange);
    x = m;
    return e < 0 ? n_Div(std::move(m), std::move(p), x) : n_Mul(std::move(m), std::move(p), x);
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
    const bool decimal = ax.V.NumType == TarqDecFloat;
    const int32_t want = 8 * gTq_Prec_Bytes_Internal + kGuardBits;  // relative bits r must carry
    int32_t extra = 0;
    for (int32_t round = 0; round < 8; ++round) {
        // Absolute accuracy of r: 2^(lx + 4 - 8 bytes).
        const int32_t bytes = (static_cast<int32_t>(lx) + want + extra) / 8 + 8;
        TqPrecisionScope wp;
        wp.set(bytes);
        // A decimal argument that needs pi/2 far beyond the working precision
        // is reduced as a binary float: pi in binary is cheap at any length,
        // and the conversion costs no more than the rounding of k pi/2 here.
        const bool viaBinary = decimal && lx + extra > kDecimalReachBits;
        const int32_t kind = viaBinary ? TarqBinFloat : ax.V.NumType;
        TqNum x = ax;
        int32_t status = viaBinary ? toBinary(ax, x) : 0;
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
            if (viaBinary) {
                TqNum d = ax;
                status = n_Convert_TarqBinFloat2TarqDecFloat(r, d);
                r = std::move(d);
            }
            n_ReducePrecision(r.V, r.MantN);  // back to the caller's precision
            return status;
        }
        extra += static_cast<int32_t>(want - have) + 32;
    }
    return 0;
}
