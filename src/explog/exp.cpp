// Exponentials e^x, 2^x and 10^x of decimal and binary floats, and the powers
// with a whole-word integer exponent behind them.
//
// e^x: x = N L + y with L = ln 256 (binary) or ln 10 (decimal) and N the
// nearest integer to x / L (halves toward zero), so that the factor e^(N L)
// is a plain exponent change of N. Binary: e^y is found in fixed point on
// bare words (expBinary): y / 2^s, the series of funcs/series.h, s squarings,
// with s near 0.6 sqrt(bits) to balance squarings against terms. Decimal: y
// is converted to a binary float, e^y found as above and converted back
// (n_Exp itself goes through funcs/dec_via_bin.h; this path serves the
// power's e^(y ln x) and the arguments too far out to convert, whose e^y is
// 1 or out of range). The reduction runs 8 bytes above the working
// precision, the fixed-point evaluation with its own guard bits above the
// bits the cut keeps, and the result is cut once at the end, where its 64-bit exponent decides overflow and underflow exactly. Only
// a multiple N so far outside the exponent range that no cut could bring the
// result back is refused before any work (tq_Err_ExpRange).
// The steps between the checks and the cut work on finite floats of bounded
// size (y reduced, N below 2^31, e^y near 1), where no operation can fail:
// their statuses are dropped, marked (void).
#include <cmath>

#include "arith/arith.h"
#include "convert/convert.h"
#include "funcs/constants.h"
#include "funcs/dec_via_bin.h"
#include "funcs/funcs.h"
#include "funcs/series.h"
#include "funcs/series_split.h"
#include "numbers/num_util.h"
#include "numbers/precision.h"
#include "explog.h"
#include "numbers/number.h"
#include "numbers/pow10.h"
#include "kernels/divmod.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"
#include "base/tq_state.h"

namespace {

constexpr int32_t kGuardBytes = 8;


// Kind and special-value checks of n_Exp: -1 to go on.
int32_t expChecks(const TqNum &x, TqNum &r) {
    if (r.V.NumType != x.V.NumType || !tq_IsFloatKind(x.V.NumType)) return tq_RaiseErr(tq_Err_Type);
    r.V.Sign = 1;
    switch (x.V.Special) {
        case tq_Special_PosInf:
            tq_SetSpecial(r, tq_Special_PosInf);
            return tq_RaiseErr(tq_Err_Special);
        case tq_Special_NegInf:
            n_SetZero(r);
            return 0;
        case tq_Special_NaN:
            tq_SetSpecial(r, tq_Special_NaN);
            tq_RaiseErr(tq_Err_Invalid);
            return tq_RaiseErr(tq_Err_Special);
        default:
            r.V.Special = 0;
            return -1;
    }
}

// e^y of a binary float with |y| <= 3 to `bits` bits (not cut), in fixed
// point: T = |y| / 2^s, the series of e^T (or e^-T), then s squarings.
// Losses, in bits below `bits`: the series 4 K + 2 units (K < 2^12 terms: 14
// bits), T's truncation one unit, each squaring one unit, all of them doubled
// by every later squaring (s bits), and e^y down to e^-3 (5 bits) below the
// integer word; 24 guard bits cover the first and last with room, so the
// relative error stays below 2^-(bits + 4). `bits` is what the caller's cut
// keeps, not the raised precision of the reduction: the fixed point carries
// its own guard.
void expBinary(const TqNum &y, int32_t bits, TqNum &out) {
    // Squarings against terms: each squaring is one full product, and s
    // squarings save about bits / s terms, each about a third of a product in
    // the plain loop and much less by rectangular splitting (measured best:
    // s near 0.6 sqrt(bits) and 0.3 sqrt(bits)).
    const double f = bits >= 32 * gTq_Series_RectWords ? 0.3 : 0.6;
    int32_t s = static_cast<int32_t>(f * std::sqrt(static_cast<double>(bits)));
    if (s < 4) s = 4;
    const int32_t W = (bits + s + 24 + 31) / 32;
    TqStr T, S;
    if (tq_IsZeroNum(y) || !tq_FixedFromBin(y, s, W, T)) T.assign(4 * static_cast<size_t>(W + 1), '\0');
    tq_SeriesSum(y.V.Sign < 0 ? tq_Series_ExpNeg : tq_Series_Exp, T, W, S);
    for (int32_t i = 0; i < s; ++i) tq_FixedSqr(S, W, S);
    tq_BinFromFixed(std::move(S), W, out);
}

// The value of an integer-valued finite float below 2^62 in magnitude.
int64_t toInt64(const TqNum &v) {
    TqStr m = v.MantN;
    tq_Trim(m);
    if (v.V.NumType == TarqBinFloat) {
        if (v.V.Expo < 0)
            m = tq_Len(m) > -v.V.Expo ? m.substr(static_cast<size_t>(-v.V.Expo)) : tq_Word(0);
        else
            m.insert(0, static_cast<size_t>(v.V.Expo), '\0');
    } else if (v.V.NumType == TarqDecFloat && v.V.Expo != 0) {
        TqStr p10, q, rem;
        n_Pow10_Integer(v.V.Expo < 0 ? -v.V.Expo : v.V.Expo, p10);
        tq_Trim(p10);
        if (v.V.Expo < 0) {
            h_DivMod(m, p10, 0, q, rem);
            m = q;
        } else {
            int32_t trim = 1;
            h_Mul(m, p10, trim, m);
        }
    }
    while (m.size() % 4) m += '\0';
    tq_Trim(m);
    uint64_t acc = 0;
    for (int32_t i = (tq_NWords(m) < 2 ? tq_NWords(m) : 2) - 1; i >= 0; --i) acc = (acc << 32) | tq_W(m)[i];
    const int64_t s = static_cast<int64_t>(acc & 0x3FFFFFFFFFFFFFFFull);
    return v.V.Sign < 0 ? -s : s;
}

// N = x / L rounded to the nearest integer, halves toward zero; false when
// |N| is certainly beyond the signed 32-bit range.
bool nearestMultiple(const TqNum &x, const TqNum &L, int64_t &N) {
    const int32_t kind = x.V.NumType;
    TqNum q = x;
    (void)n_Div(x, L, q);  // an x so small that q underflows gives N = 0, as it should
    if (tq_ApproxLog2(q) > 40) return false;
    const int32_t sign = q.V.Sign;
    q.V.Sign = 1;
    TqNum n = q, f = q;
    (void)n_Fix(q, n);
    (void)n_Frac(q, f);
    N = tq_IsZeroNum(n) ? 0 : toInt64(n);
    if (tq_CmpNum(f, tq_ConstNum(TQ_CONST_0_5, kind)) > 0) ++N;
    if (sign < 0) N = -N;
    return true;
}

// N certainly out of range whatever e^y and the cut do: the result's
// exponent lies within a few units and the magnitude's length (at most 3 P
// digits or P bytes at P working bytes) of N.
bool beyondReach(int64_t N) {
    const int64_t margin = 3 * int64_t(gTq_Prec_Bytes_Internal) + 64;
    return N > INT32_MAX + margin || N < INT32_MIN - int64_t(64);
}

// e^x out of range: +inf for a positive x, zero for a negative one.
int32_t rangeError(const TqNum &x, TqNum &r) {
    n_Trace("Error in n_Exp: NN should not be longer than %tq_ExpNorm_BinFl bytes!");
    return tq_SetOutOfRange(r, x.V.Sign > 0, 1);
}

}  // namespace

int32_t n_PowMant(TqNum x, TqStr n, TqNum &r) {
    const int32_t kind = x.V.NumType;
    if (r.V.NumType != kind || kind < TarqDecFloat || kind > TarqFraction || n.empty() || n.size() % 4)
        return tq_RaiseErr(tq_Err_Type);
    tq_Trim(n);
    int32_t top = tq_NWords(n) * 32 - 1;
    while (top >= 0 && !((tq_W(n)[top / 32] >> (top % 32)) & 1u)) --top;
    if (top < 0) {
        (void)n_GetConst(TQ_CONST_1, r);  // a known code
        return 0;
    }
    switch (x.V.Special) {
        case tq_Special_PosInf:
            tq_SetSpecial(r, tq_Special_PosInf);
            return tq_RaiseErr(tq_Err_Special);
        case tq_Special_NegInf:
            r.V.Sign = 1;
            tq_SetSpecial(r, (tq_W(n)[0] & 1u) ? tq_Special_NegInf : tq_Special_PosInf);
            return 0;
        case tq_Special_NaN:
            tq_SetSpecial(r, tq_Special_NaN);
            tq_RaiseErr(tq_Err_Invalid);
            return tq_RaiseErr(tq_Err_Special);
        default:
            break;
    }
    TqNum acc = x;
    int32_t status = 0;
    for (int32_t i = top - 1; i >= 0; --i) {
        status |= n_Sqr(acc, acc);
        if ((tq_W(n)[i / 32] >> (i % 32)) & 1u) status |= n_Mul(acc, x, acc);
    }
    const int32_t inUse = r.V.InUse;
    r = std::move(acc);
    r.V.InUse = inUse;
    return status;
}

int32_t n_Exp_Scaled(TqNum x, TqNum &r, int64_t &scale) {
    scale = 0;
    const int32_t st = expChecks(x, r);
    if (st >= 0) return st;
    const int32_t kind = x.V.NumType;
    // A decimal x below 10^-1073741824 leaves 1 at any precision; x / ln 10
    // and y / 1000 would leave the exponent range.
    if (tq_IsZeroNum(x) || (kind == TarqDecFloat && x.V.Expo < INT32_MIN / 2)) {
        (void)n_GetConst(TQ_CONST_1, r);  // a known code
        return 0;
    }
    n_SetZero(r);
    if (kind == TarqBinFloat && tq_IsOneNum(x)) {
        // e itself: its factorial series by binary splitting.
        TqNum e;
        {
            TqPrecisionScope wp;
            wp.raise(kGuardBytes);
            e = n_E_Split();
        }
        // Left at the guard bytes, as every other result here: the caller cuts.
        r.V.Expo = e.V.Expo;
        r.MantN = std::move(e.MantN);
        return 0;
    }
    // Beyond 2^40 multiples of the radix step the result is out of range.
    if (tq_ApproxLog2(x) > 42) return rangeError(x, r);
    TqNum s = x;
    int64_t N = 0;
    // Bits e^y must carry: what the cut keeps for a binary result; for a
    // decimal one, whose cut keeps digits beyond the bytes in force, the
    // raised precision.
    const int32_t bits = 8 * (gTq_Prec_Bytes_Internal + (kind == TarqBinFloat ? 0 : kGuardBytes));
    {
        TqPrecisionScope wp;
        wp.set(gTq_Prec_Bytes_Internal + kGuardBytes);
        if (kind == TarqDecFloat) n_Trace("Flag - A");
        TqNum y = x;
        if (kind == TarqBinFloat) {
            // N from log2 |x| (good to about 15 digits, so N is off by less
            // than 0.02 for |x| < 2^42 and |y| stays below 2.9), and no
            // reduction at all for |x| < 2.7.
            const double lx = tq_ApproxLog2(x);
            const double q = std::exp2(lx) / 5.5451774444795623;  // |x| / ln 256
            N = lx < 1.4 ? 0 : static_cast<int64_t>(std::llround(q));
            if (x.V.Sign < 0) N = -N;
            if (beyondReach(N)) return rangeError(x, r);
        } else {
            const TqNum L = tq_ConstNum(TQ_CONST_LN10, kind);
            if (!nearestMultiple(x, L, N) || beyondReach(N)) return rangeError(x, r);
        }
        if (N != 0) {
            const TqNum L = tq_ConstNum(kind == TarqBinFloat ? TQ_CONST_LN256 : TQ_CONST_LN10, kind);
            TqNum u = x;
            (void)n_Mul(tq_IntNum(kind, N), L, u);
            (void)n_Sub(x, u, y);
        }
        if (kind == TarqBinFloat) {
            expBinary(y, bits, s);
        } else {
            // |y| <= ln 10 / 2: one conversion each way around the binary
            // series, both with the guard bytes in force.
            TqNum b = tq_IntNum(TarqBinFloat, 0);
            expBinary(n_DecToBin_Approx(y), bits, b);
            s = n_BinToDec_Approx(b);
        }
    }
    if (kind == TarqBinFloat && N % 4 != 0) {
        // A binary exponent stays a multiple of 4: the magnitude takes the
        // remaining bytes.
        const int32_t m = static_cast<int32_t>(((N % 4) + 4) % 4);
        N -= m;
        s.MantN = TqStr(static_cast<size_t>(m), '\0') + s.MantN + TqStr(static_cast<size_t>(4 - m), '\0');
        // The bytes put above may form a zero top word, which the cut would
        // count as precision.
        tq_Trim(s.MantN);
    }
    r.V.Sign = 1;
    r.V.Special = 0;
    r.V.Expo = s.V.Expo;
    r.MantN = std::move(s.MantN);
    r.DenN = tq_Word(1);
    scale = N;
    n_Trace(">>>>>>n_Exp done");
    return 0;
}

int32_t n_Exp(TqNum x, TqNum &r) {
    if (int32_t st; n_DecViaBin(TqDecFn::Exp, x, r, st)) return st;
    int64_t scale = 0;
    const int32_t st = n_Exp_Scaled(x, r, scale);
    if (st) return st;
    return tq_FinishExpo(r, r.V.Expo + scale);
}

int32_t n_Exp_Uncut(TqNum x, TqNum &r) {
    int64_t scale = 0;
    const int32_t st = n_Exp_Scaled(std::move(x), r, scale);
    if (st != 0 || r.V.Special != 0 || scale == 0) return st;
    const int64_t e = r.V.Expo + scale;
    // Beyond the exponent range the cut decides (infinity or zero).
    if (e > INT32_MAX || e < INT32_MIN) return tq_FinishExpo(r, e);
    r.V.Expo = static_cast<int32_t>(e);
    return 0;
}

int32_t n_Exp2(TqNum x, TqNum &r) {
    TqNum base = tq_IntNum(x.V.NumType, 2);
    return n_Pow(base, x, r);
}

int32_t n_Exp10(TqNum x, TqNum &r) {
    TqNum base = tq_IntNum(x.V.NumType, 10);
    return n_Pow(base, x, r);
}
