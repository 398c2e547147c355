// Natural, binary and decimal logarithms of decimal and binary floats.
//
// ln x is found on x's magnitude M read as a binary float: M / 256^L, shifted
// left by z bits into [0.5, 1), multiplied k times by 1.0625 until it is at
// least 0.96875, then ln m = 2 atanh((m - 1) / (m + 1)) by its series; the
// scalings come back as - k ln 1.0625 - z ln 2 + (L + e) ln 256 (binary) or,
// for a decimal float M * 10^e, as ln M converted to decimal plus e ln 10.
// Arguments already within [0.96875, 1.0625] go straight to the series, so
// results near zero keep their relative accuracy. Everything runs 8 bytes
// above the working precision and is cut once at the end. The series carries
// each term only with the bytes that can still reach the sum.
#include "explog.h"

#include <cmath>

#include "arith/arith.h"
#include "base/cancel.h"
#include "convert/convert.h"
#include "funcs/constants.h"
#include "funcs/dec_via_bin.h"
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

// 2 atanh((m - 1) / (m + 1)) at the current precision (not cut further).
void logSeries(const TqNum &m, TqNum &out, int32_t *rounds) {
    const int32_t kind = m.V.NumType;
    const int32_t G = gTq_Prec_Bytes_Internal;
    TqPrecisionScope wp;
    TqNum one = tq_IntNum(kind, 1), num = m, den = m, y = m;
    n_Sub(m, one, num);
    n_Add(m, one, den);
    n_Div(num, den, y);
    TqNum S = y, p = y, q = y;
    n_Sqr(y, q);
    int32_t k = 1, lastCut = -1;
    while (!tq_IsZeroNum(p) && k <= tq_MaxRounds) {
        tq_CheckCancel();
        ++*rounds;
        const int32_t g = tq_TermSlackBytes(S, p);
        wp.set(G - g);
        if (g != lastCut) {
            n_ReducePrecision(p.V, p.MantN);
            n_ReducePrecision(q.V, q.MantN);
            lastCut = g;
        }
        n_Mul(p, q, p);
        k += 2;
        TqNum term = p;
        n_Div(p, tq_IntNum(kind, k), term);
        wp.set(G);
        if (tq_IsZeroNum(term)) break;
        n_Add(S, term, S);
        if (tq_ApproxLog2(term) < tq_ApproxLog2(S) - 8.0 * G) break;
    }
    n_MulBy2(S, out);
}

bool nearOne(const TqNum &x) {
    const double l = tq_ApproxLog2(x);
    return l > -0.0458 && l < 0.0874;  // within [0.96875, 1.0625]
}

// ln x (finite, positive, not 1) at the current precision, not cut.
void lnCore(const TqNum &x, TqNum &t, int32_t *rounds) {
    const int32_t kind = x.V.NumType;
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
    const TqNum limit = tq_ConstNum(TQ_CONST_0_96875, TarqBinFloat), factor = tq_ConstNum(TQ_CONST_1_0625, TarqBinFloat);
    int32_t k = 0;
    while (tq_CmpNum(m, limit) < 0 && k < 64) {
        n_Mul(m, factor, m);
        ++k;
    }
    TqNum s = m;
    logSeries(m, s, rounds);
    TqNum u = s;
    n_Mul(tq_IntNum(TarqBinFloat, k), tq_ConstNum(TQ_CONST_LN1_0625, TarqBinFloat), u);
    n_Sub(s, u, s);
    n_Mul(tq_IntNum(TarqBinFloat, z), tq_ConstNum(TQ_CONST_LN2, TarqBinFloat), u);
    n_Sub(s, u, s);
    const int64_t bytes = kind == TarqBinFloat ? static_cast<int64_t>(L) + x.V.Expo : L;
    n_Mul(tq_IntNum(TarqBinFloat, bytes), tq_ConstNum(TQ_CONST_LN256, TarqBinFloat), u);
    n_Add(s, u, s);
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
    n_Mul(tq_IntNum(TarqDecFloat, x.V.Expo), tq_ConstNum(TQ_CONST_LN10, TarqDecFloat), v);
    n_Add(d, v, t);
}

// r = ln x times the constant of code `scale` (0: none), cut to the working precision.
int32_t logScaled(const TqNum &x, TqNum &r, int32_t scale) {
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
        if (scale) n_Mul(t, tq_ConstNum(scale, kind), t);
    }
    n_Trace("n_Log_Taylor, nr of loops:" + std::to_string(rounds));
    return cutInto(t, r);
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
    return logScaled(x, r, 0);
}

int32_t n_Log2(TqNum x, TqNum &r) {
    if (int32_t st; n_DecViaBin(TqDecFn::Log2, x, r, st)) return st;
    return logScaled(x, r, TQ_CONST_INV_LN2);
}

int32_t n_Log10(TqNum x, TqNum &r) {
    if (int32_t st; n_DecViaBin(TqDecFn::Log10, x, r, st)) return st;
    const int32_t st = logScaled(x, r, TQ_CONST_INV_LN10);
    if (n_TraceOn()) {
        tq_TraceNumber(x);
        tq_TraceNumber(r);
        n_Trace("Sign:" + std::to_string(r.V.Sign));
    }
    return st;
}
