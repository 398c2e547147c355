// Decimal-float functions through the binary kind.
//
// The series, reductions and iterations run several times faster on binary
// floats than on decimal ones, whose every product is cut by a power of ten.
// So a decimal x = M 10^e is converted once to a binary float of A bytes
// (relative error below 2^-8A), f runs on it at the working precision P and
// hands back its result before its own cut (the raised precision or the
// fixed point it was found at), within 2^-(8P + 4) of f of the binary
// argument; that result is converted once and cut by the decimal cut. One
// unit of the last of the D = floor(8P log10 2) digits the precision names is
// at least 2^-8P of the value, so the evaluation adds below 1/16 of a unit:
// the binary function runs at the same size as for a binary x, not at the
// some ten digits more that the decimal cut keeps, which come out close to
// the true value but not all exact.
//
// The conversion's error reaches the result multiplied by f's condition
// number c = |x f'(x) / f(x)|, so A is P + 4 bytes (a word below the bits
// the result keeps) plus log2 c bits in whole words:
//   sqrt, atan        c <= 1
//   exp               |x|
//   ln, log2, log10   1 / |ln x|, from d = x - 1 formed exactly when x is near 1
//   asin              about 1 / sqrt(2 (1 - |x|)), from 1 - |x| formed exactly
//   sin, cos          |x| / |f(x)|       tan   |x| (|tan x| + 1 / |tan x|)
// The trigonometric condition depends on how close x lies to a multiple of
// pi/2, known only once f(x) is: it is judged from the binary result, and when
// it exceeds the guard given, f runs again with that many bits more. A result
// that the conversion's error swamped shows a condition near 2^8A and so
// always runs again; one that passes the test is accurate to the guard.
//
// The square root, correctly rounded and cut by its own end, runs at A
// bytes. It takes out the even part of the exponent first,
// sqrt(M 10^(2j)) = sqrt(M) 10^j, so that its binary argument is the integer
// M (or 10 M), exact and free of a quotient.
#include "dec_via_bin.h"

#include <cmath>

#include "arith/arith.h"
#include "base/tq_state.h"
#include "constants.h"
#include "convert/convert.h"
#include "explog/explog.h"
#include "funcs.h"
#include "kernels/limbs.h"
#include "numbers/num_util.h"
#include "numbers/number.h"
#include "numbers/precision.h"
#include "trig/trig.h"
#include "trig/trig_support.h"

namespace {

constexpr int32_t kMaxRuns = 6;

using BinFn = int32_t (*)(TqNum, TqNum &);

// The binary function whose result comes back uncut, within 2^-(8 P + 4)
// relative at P working bytes; the square root, correctly rounded at any
// precision, comes back cut.
BinFn binaryOf(TqDecFn f) {
    switch (f) {
        case TqDecFn::Sqrt: return n_Sqrt;
        case TqDecFn::Exp: return n_Exp_Uncut;
        case TqDecFn::Log: return n_Log_Uncut;
        case TqDecFn::Log2: return n_Log2_Uncut;
        case TqDecFn::Log10: return n_Log10_Uncut;
        case TqDecFn::Sin: return n_Sin_Uncut;
        case TqDecFn::Cos: return n_Cos_Uncut;
        case TqDecFn::Tan: return n_Tan_Uncut;
        case TqDecFn::Atan: return n_Atan_Uncut;
        default: return n_Asin_Uncut;
    }
}

// log2 |a - b| of two decimal floats, -inf when equal.
double log2Distance(const TqNum &a, const TqNum &b) {
    TqNum d = a;
    (void)n_Sub(a, b, d);  // finite: only the size is read
    return tq_IsZeroNum(d) ? -INFINITY : tq_ApproxLog2(d);
}

bool isLog(TqDecFn f) { return f == TqDecFn::Log || f == TqDecFn::Log2 || f == TqDecFn::Log10; }
bool isTrig(TqDecFn f) { return f == TqDecFn::Sin || f == TqDecFn::Cos || f == TqDecFn::Tan; }

// log2 of the condition number known before f runs; NaN when x lies outside
// the domain this path takes (left to the caller).
double conditionBefore(TqDecFn f, const TqNum &x, double lx) {
    if (isLog(f)) {
        if (x.V.Sign < 0 || tq_IsOneNum(x)) return NAN;
        // |ln x| >= |x - 1| / 1.1 within 2^(+-0.1) of 1.
        return std::fabs(lx) < 0.1 ? 0.2 - log2Distance(x, tq_IntNum(TarqDecFloat, 1)) : 0;
    }
    if (f == TqDecFn::Asin) {
        const TqNum one = tq_IntNum(TarqDecFloat, 1);
        TqNum ax = x;
        ax.V.Sign = 1;
        if (tq_CmpNum(ax, one) >= 0) return NAN;
        return lx > -1 ? 1 - 0.5 * log2Distance(one, ax) : 0;
    }
    if (f == TqDecFn::Sqrt && x.V.Sign < 0) return NAN;
    // Arguments the binary function refuses for their size alone (e^x beyond
    // 2^42, the reduction of trigonometric arguments beyond its limit) need
    // no guard: the refusal comes before any work.
    if (f == TqDecFn::Exp) return lx > 64 ? 0 : lx > 0 ? lx : 0;
    if (isTrig(f)) return lx > tq_Trig_MaxArgBits ? 0 : lx > 0 ? lx : 0;
    return 0;
}

// log2 of the condition number judged from the binary result y. For
// |x| <= 1 it needs no look: |x| / |sin x| stays below 1.19, |x| / |cos x|
// below 1.86 and |x| (|tan x| + 1 / |tan x|) below 2^1.64, under the two bits
// every run allows beyond its guard.
double conditionAfter(TqDecFn f, double lx, const TqNum &y, double before) {
    if (!isTrig(f) || lx <= 0) return before;
    if (y.V.Special != 0) return before;
    const double ly = tq_IsZeroNum(y) ? -INFINITY : tq_ApproxLog2(y);
    const double c = f == TqDecFn::Tan ? lx + std::fabs(ly) + 1 : lx - ly;
    return c > before ? c : before;
}

// x's exponent lies beyond +-2^30, where the conversion would need 10^|e|.
// The answers need no evaluation there: |x| below 10^-2^30 makes the next
// term of every series some 2^31 digits smaller than the first, so sin x,
// tan x, atan x and asin x are x and cos x is 1 at any precision; |x| above
// 10^2^30 lies far beyond the reduction's limit of the sine, cosine and
// tangent (refused), gives atan x = +-pi/2 (1/x below every last place) and
// asin x outside its domain. The exponential's far arguments are decided by
// n_Exp itself. False for the functions that handle such x exactly on their
// own (roots and logarithms).
bool farArgument(TqDecFn f, const TqNum &x, TqNum &r, int32_t &st) {
    const bool tiny = x.V.Expo < 0;
    st = 0;
    switch (f) {
        case TqDecFn::Sin:
        case TqDecFn::Cos:
        case TqDecFn::Tan:
            if (!tiny) {
                trig_SetNaN(r);
                st = tq_RaiseErr(tq_Err_ExpRange);
                return true;
            }
            break;
        case TqDecFn::Atan:
            if (!tiny) {
                TqPrecisionScope wp;
                wp.raise(8);
                TqNum a = tq_ConstNum(TQ_CONST_PI_2, TarqDecFloat);
                a.V.Sign = x.V.Sign;
                tq_Assign(r, a);
                wp.finish(r);
                return true;
            }
            break;
        case TqDecFn::Asin:
            if (!tiny) {
                st = trig_SetNaN(r);
                return true;
            }
            break;
        default:
            return false;
    }
    tq_Assign(r, f == TqDecFn::Cos ? tq_ConstNum(TQ_CONST_1, TarqDecFloat) : x);
    tq_Finish(r);
    return true;
}

}  // namespace

bool n_DecViaBin(TqDecFn f, const TqNum &x, TqNum &r, int32_t &st) {
    if (x.V.NumType != TarqDecFloat || r.V.NumType != TarqDecFloat || x.V.Special != 0 || tq_IsZeroNum(x))
        return false;
    if (x.V.Expo > (1 << 30) || x.V.Expo < -(1 << 30)) return farArgument(f, x, r, st);
    const double lx = tq_ApproxLog2(x);
    double cond = conditionBefore(f, x, lx);
    if (std::isnan(cond)) return false;
    const int32_t P = gTq_Prec_Bytes_Internal;
    // The argument converted: x itself, or for the square root M' 10^0 with
    // x = M' 10^(2j), M' = M or 10 M.
    const TqNum *argp = &x;
    TqNum scaled;
    int32_t halfExpo = 0;
    if (f == TqDecFn::Sqrt) {
        scaled = x;
        int64_t e = scaled.V.Expo;
        if (e % 2 != 0) {
            tq_MulWord(scaled.MantN, 10);
            --e;
        }
        halfExpo = static_cast<int32_t>(e / 2);
        scaled.V.Expo = 0;
        argp = &scaled;
    }
    const TqNum &arg = *argp;
    TqNum y;
    for (int32_t run = 0;; ++run) {
        // Whole words for what the condition may take, beyond the word the
        // argument carries below the working precision.
        const int32_t extra = (static_cast<int32_t>(std::ceil(cond / 8)) + 3) / 4 * 4;
        const double spare = 8.0 * extra;
        TqNum b;
        {
            TqPrecisionScope wp;
            wp.set(P + 4 + extra);
            b = n_DecToBin_Approx(arg);
            // The root, cut by its own end, runs where its argument was cut.
            if (f != TqDecFn::Sqrt) wp.restore();
            y = tq_IntNum(TarqBinFloat, 0);
            st = binaryOf(f)(std::move(b), y);
        }
        if (st != 0 || run + 1 == kMaxRuns) break;
        const double after = conditionAfter(f, lx, y, cond);
        if (after <= spare + 2) break;
        // Swamped results (|y| near the conversion's error) ask for as many
        // bits more as the argument had; a second run there has its true size.
        cond = std::isinf(after) ? spare + 8.0 * (P + 4 + extra) : after + 8;
    }
    st |= n_BinToDec(y, r, halfExpo);
    return true;
}
