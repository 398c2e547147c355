// Natural, binary and decimal logarithms of decimal and binary floats.
//
// ln x is found on x's magnitude M read as a binary float: M / 256^L, shifted
// left by z bits into [0.5, 1), brought to at least about 0.96875 by one
// product with 1.0625^k (exactly 17^k / 2^(4k)), then ln m = 2 atanh((m - 1) /
// (m + 1)) by the shared series in fixed point; the scalings come back as
// - k ln 1.0625 + (8 (L + e) - z) ln 2 (binary) or, for a decimal float
// M * 10^e, as ln M converted to decimal plus e ln 10. Arguments already
// within [0.96875, 1.0625] go straight to the series, so results near zero
// keep their relative accuracy. From about 1,600 digits the arithmetic-geometric
// mean (log_agm.cpp) takes the place of the reduction and the series, for
// binary x directly and for decimal x on m. Everything runs 8 bytes above the
// working precision and is cut once at the end.
// Every step works on finite floats of bounded size (m near 1, logarithms of
// at most 2^31 bytes of exponent), where no operation can fail: their
// statuses are dropped, marked (void).
#include "explog.h"

#include <cmath>
#include <utility>

#include "arith/arith.h"
#include "convert/convert.h"
#include "funcs/constants.h"
#include "funcs/dec_via_bin.h"
#include "funcs/series.h"
#include "numbers/num_util.h"
#include "numbers/precision.h"
#include "numbers/number.h"
#include "numbers/pow10.h"
#include "base/tq_state.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"
#include "kernels/root.h"

namespace {

constexpr int32_t kGuardBytes = 8;


// Cuts the raised-precision result t to the working precision into r.
int32_t cutInto(TqNum &t, TqNum &r) {
    n_ReducePrecision(t.V, t.MantN);
    n_NormaliseZero(t.V, t.MantN);
    r.V.Sign = t.V.Sign;
    r.V.Expo = t.V.Expo;
    r.MantN = std::move(t.MantN);
    r.DenN = tq_Word(1);
    return 0;
}

// The checks shared by the logarithms: -1 to go on, else the status.
int32_t logChecks(const TqNum &x, TqNum &r) {
    if (r.V.NumType != x.V.NumType || !tq_IsFloatKind(x.V.NumType)) return tq_RaiseErr(tq_Err_Type);
    r.V.Sign = 1;
    if (x.V.Special == tq_Special_PosInf) {
        tq_SetSpecial(r, tq_Special_PosInf);
        return tq_RaiseErr(tq_Err_Special);
    }
    if (x.V.Special != 0) {
        tq_SetSpecial(r, tq_Special_NaN);
        tq_RaiseErr(tq_Err_Invalid);
        return tq_RaiseErr(tq_Err_Special);
    }
    if (tq_IsZeroNum(x) || x.V.Sign < 0) {
        tq_SetSpecial(r, tq_IsZeroNum(x) ? tq_Special_NegInf : tq_Special_NaN);
        tq_RaiseErr(tq_Err_Special);
        return tq_RaiseErr(tq_Err_Invalid);
    }
    r.V.Special = 0;
    return -1;
}

// 2 atanh((m - 1) / (m + 1)) at the current precision (not cut), for m in
// [0.5, 2]: y = (m - 1) / (m + 1) in m's kind, atanh(y) / y by the shared
// series on T = y^2 in fixed point (|y| <= 1/3, so T <= 1/9), then 2 y S. The
// fixed point carries 64 bits beyond the precision; y keeps its relative
// accuracy, so a result near zero does too.
void logSeries(const TqNum &m, TqNum &out, int32_t *rounds) {
    const int32_t kind = m.V.NumType;
    TqNum one = tq_IntNum(kind, 1), num = m, den = m, y = m;
    (void)n_Sub(m, one, num);
    (void)n_Add(m, one, den);
    (void)n_Div(num, den, y);
    if (tq_IsZeroNum(y)) {
        out = std::move(y);
        return;
    }
    const int32_t W = (8 * gTq_Prec_Bytes_Internal + 64 + 31) / 32;
    TqNum yb = tq_IntNum(TarqBinFloat, 0);
    if (kind == TarqBinFloat)
        yb = y;
    else
        (void)n_Convert_TarqDecFloat2TarqBinFloat(y, yb);
    TqStr F, T, S;
    tq_FixedFromBin(yb, 0, W, F);
    tq_FixedSqr(F, W, T);
    int32_t terms = 0;
    tq_SeriesSum(tq_Series_AtanhOverX, T, W, S, &terms);
    *rounds += terms;
    TqNum sum = tq_IntNum(TarqBinFloat, 0);
    tq_BinFromFixed(std::move(S), W, sum);
    if (kind != TarqBinFloat) sum = n_BinToDec_Approx(sum);
    (void)n_Mul(y, sum, out);
    (void)n_MulBy2(out, out);
}

// m (1.0625)^k for m in [0.5, 1), with k the least number of factors (by a
// double estimate) that brings m to about 0.96875 or above: one product by
// the exact 17^k / 2^(4k).
TqNum towardOne(const TqNum &m, int32_t *k) {
    const double need = std::log2(0.96875) - tq_ApproxLog2(m);
    int32_t n = need > 0 ? static_cast<int32_t>(std::ceil(need / std::log2(1.0625))) : 0;
    if (n > 12) n = 12;  // m >= 0.5 needs at most 12
    *k = n;
    if (n == 0) return m;
    uint64_t p = 1;
    for (int32_t i = 0; i < n; ++i) p *= 17;
    const int32_t c = (4 * n + 31) / 32, r = 32 * c - 4 * n;  // 17^n 2^r / 2^(32 c)
    TqStr f(12, '\0');
    tq_W(f)[0] = static_cast<uint32_t>(p << r);
    tq_W(f)[1] = static_cast<uint32_t>((p << r) >> 32);
    tq_W(f)[2] = r ? static_cast<uint32_t>(p >> (64 - r)) : 0;
    tq_Trim(f);
    TqNum factor = tq_IntNum(TarqBinFloat, 1);
    factor.MantN = std::move(f);
    factor.V.Expo = -4 * c;
    TqNum out = m;
    (void)n_Mul(m, factor, out);
    return out;
}

bool nearOne(const TqNum &x) {
    const double l = tq_ApproxLog2(x);
    return l > -0.0458 && l < 0.0874;  // within [0.96875, 1.0625]
}

// The working precision (bytes, guard included) from which the
// arithmetic-geometric mean is faster than the reduction and the series
// (about 1,600 digits, where the two cost the same).
constexpr int32_t kAgmMinBytes = 680;

bool useAgm() { return gTq_Prec_Bytes_Internal >= kAgmMinBytes; }

// For a binary x near 1 at a precision for the mean: whether the series
// needs only a few terms (x - 1 below 2^(-p/16) for p bits), else in
// *extraBytes the bytes the mean must add for the bits ln x lacks below 1.
bool seriesNearOne(const TqNum &x, int32_t *extraBytes) {
    TqNum d = x;
    (void)n_Sub(x, tq_IntNum(x.V.NumType, 1), d);
    const double e = -tq_ApproxLog2(d);
    if (e > gTq_Prec_Bytes_Internal / 2.0) return true;
    *extraBytes = e > 0 ? static_cast<int32_t>(std::ceil(e / 8)) : 0;
    return false;
}

// ln x (finite, positive, not 1) at the current precision, not cut.
void lnCore(const TqNum &x, TqNum &t, int32_t *rounds) {
    const int32_t kind = x.V.NumType;
    if (kind == TarqBinFloat && useAgm()) {
        int32_t extra = 0;
        if (!nearOne(x) || !seriesNearOne(x, &extra)) {
            n_LogAgm(x, extra, t);
            return;
        }
    }
    if (nearOne(x)) {
        logSeries(x, t, rounds);
        return;
    }
    TqStr M = x.MantN;
    tq_Trim(M);
    const int32_t L = tq_Len(M);
    const int32_t z = 8 * L - h_BitLength(M);
    // m = M / 256^L shifted left by z bits, in [0.5, 1).
    TqNum m = tq_IntNum(TarqBinFloat, 0);
    if (z) {
        uint32_t carry = 0;
        for (int32_t i = 0; i < tq_NWords(M); ++i) {
            uint32_t w = tq_W(M)[i];
            tq_W(M)[i] = (w << (z % 32)) | carry;
            carry = (z % 32) ? w >> (32 - z % 32) : 0;
        }
    }
    m.MantN = M;
    m.V.Expo = -L;
    TqNum s = m, u = m;
    if (useAgm()) {
        n_LogAgm(m, 0, s);
    } else {
        int32_t k = 0;
        logSeries(towardOne(m, &k), s, rounds);
        if (k) {
            (void)n_Mul(tq_IntNum(TarqBinFloat, k), tq_ConstNum(TQ_CONST_LN1_0625, TarqBinFloat), u);
            (void)n_Sub(s, u, s);
        }
    }
    // x = m 2^(8 (L + e) - z) (binary) or M = m 2^(8 L - z) (decimal).
    const int64_t bytes = kind == TarqBinFloat ? static_cast<int64_t>(L) + x.V.Expo : L;
    (void)n_Mul(tq_IntNum(TarqBinFloat, 8 * bytes - z), tq_ConstNum(TQ_CONST_LN2, TarqBinFloat), u);
    (void)n_Add(s, u, s);
    if (kind == TarqBinFloat) {
        t = std::move(s);
        return;
    }
    TqNum d = n_BinToDec_Approx(s);
    if (x.V.Expo == 0) {
        t = std::move(d);
        return;
    }
    TqNum v = d;
    (void)n_Mul(tq_IntNum(TarqDecFloat, x.V.Expo), tq_ConstNum(TQ_CONST_LN10, TarqDecFloat), v);
    (void)n_Add(d, v, t);
}

// r = ln x times the constant of code `scale` (0: none), cut to the working
// precision when `cut`, else left at the raised precision it was found at.
int32_t logScaled(const TqNum &x, TqNum &r, int32_t scale, bool cut) {
    const int32_t st = logChecks(x, r);
    if (st >= 0) return st;
    if (tq_IsOneNum(x)) {
        n_SetZero(r);
        return 0;
    }
    const int32_t kind = x.V.NumType;
    TqNum t = tq_IntNum(kind, 0);
    int32_t rounds = 0;
    {
        TqPrecisionScope wp;
        wp.set(gTq_Prec_Bytes_Internal + kGuardBytes);
        lnCore(x, t, &rounds);
        if (scale) (void)n_Mul(t, tq_ConstNum(scale, kind), t);
    }
    n_Trace("n_Log_Taylor, nr of loops:" + std::to_string(rounds));
    if (cut) return cutInto(t, r);
    tq_Assign(r, t);
    return 0;
}

}  // namespace

int32_t n_Log_Taylor(TqNum m, TqNum &r) {
    const int32_t st = logChecks(m, r);
    if (st >= 0) return st;
    const int32_t kind = m.V.NumType;
    TqNum t = tq_IntNum(kind, 0);
    int32_t rounds = 0;
    {
        TqPrecisionScope wp;
        wp.set(gTq_Prec_Bytes_Internal + kGuardBytes);
        logSeries(m, t, &rounds);
    }
    n_Trace("n_Log_Taylor, nr of loops:" + std::to_string(rounds));
    return cutInto(t, r);
}

int32_t n_Log(TqNum x, TqNum &r) {
    if (int32_t st; n_DecViaBin(TqDecFn::Log, x, r, st)) return st;
    return logScaled(x, r, 0, true);
}

int32_t n_Log2(TqNum x, TqNum &r) {
    if (int32_t st; n_DecViaBin(TqDecFn::Log2, x, r, st)) return st;
    return logScaled(x, r, TQ_CONST_INV_LN2, true);
}

int32_t n_Log10(TqNum x, TqNum &r) {
    if (int32_t st; n_DecViaBin(TqDecFn::Log10, x, r, st)) return st;
    const int32_t st = logScaled(x, r, TQ_CONST_INV_LN10, true);
    if (n_TraceOn()) {
        tq_TraceNumber(x);
        tq_TraceNumber(r);
        n_Trace("Sign:" + std::to_string(r.V.Sign));
    }
    return st;
}

int32_t n_Log_Uncut(TqNum x, TqNum &r) { return logScaled(x, r, 0, false); }

int32_t n_Log2_Uncut(TqNum x, TqNum &r) { return logScaled(x, r, TQ_CONST_INV_LN2, false); }

int32_t n_Log10_Uncut(TqNum x, TqNum &r) { return logScaled(x, r, TQ_CONST_INV_LN10, false); }
