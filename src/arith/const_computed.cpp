// The computed constants 1..10 (ln 2, ln 10, ln 256, ln 1.0625, 1/ln 2,
// 1/ln 10, sqrt 2, pi, 2 pi, pi/2) with their two-level cache.
//
// A request is served from the working entry when it is at least as long as
// the working precision (cut in place when longer), else from the persistent
// entry (which holds the longest value ever computed or read from the
// constants cache file), else computed. A computation runs 8 bytes above the
// working precision, so that the value cut to the working precision is
// correctly rounded apart from rare ties; the longer value goes to the
// persistent entry, the cut one to the working entry and the target.
#include "arith.h"
#include "constants.h"
#include "explog/explog.h"
#include "frame/const_cache.h"
#include "frame/number.h"
#include "frame/precision.h"
#include "frame/tq_state.h"
#include "funcs.h"
#include "funcs_util.h"

namespace {

constexpr int32_t kConstGuardBytes = 8;
constexpr int32_t kMaxRounds = 2000000;

int32_t slotOf(int32_t code, int32_t kind) { return 2 * (code - 1) + (kind == TarqDecFloat ? 1 : 0); }

void copyValue(const TqNum &from, TqNum &to) {
    to.V.Expo = from.V.Expo;
    to.MantN = from.MantN;
    to.DenN = from.DenN;
}

void storeEntry(TqNum &entry, const TqNum &v) {
    entry.V.Expo = v.V.Expo;
    entry.V.NumType = v.V.NumType;
    entry.V.Sign = 1;
    entry.V.Special = 0;
    entry.MantN = v.MantN;
    entry.DenN = v.DenN.empty() ? tq_Word(1) : v.DenN;
}

TqNum constOf(int32_t code, int32_t kind) {
    TqNum c = tq_IntNum(kind, 0);
    n_GetConst(code, c);
    return c;
}

// pi by the Gauss-Legendre iteration, one word above the working precision.
void computePi(TqNum &target) {
    const int32_t kind = target.V.NumType;
    const int32_t W = gTq_Prec_Bytes_Internal;
    TqNum a, b, t, p, c;
    {
        TqPrecRaise raise(W + 2);
        const int32_t s0 = raise.outerSet(), s1 = raise.innerSet();
        a = tq_IntNum(kind, 1);
        b = a;
        n_Reciprocal(constOf(7, kind), b);
        t = constOf(12, kind);
        p = tq_IntNum(kind, 1);
        int32_t round = 0;
        for (;;) {
            ++round;
            TqNum a1 = a, b1 = b, d = a;
            n_Add(a, b, a1);
            n_DivBy2(a1, a1);
            n_Mul(a, b, b1);
            n_Sqrt(b1, b1);
            n_Sub(a, a1, d);
            n_Sqr(d, d);
            n_Mul(p, d, d);
            n_Sub(t, d, t);
            n_MulBy2(p, p);
            a = std::move(a1);
            b = std::move(b1);
            n_Trace("Pi - loop cntr:" + std::to_string(round));
            n_PrecisionParameters_Retrieve(s0);
            TqNum ca = a, cb = b;
            n_ReducePrecision(ca.V, ca.MantN);
            n_ReducePrecision(cb.V, cb.MantN);
            bool converged = ca.V.Expo == cb.V.Expo && ca.MantN == cb.MantN;
            n_PrecisionParameters_Retrieve(s1);
            // a and b can also settle one unit apart on either side of a
            // rounding boundary of the cut (the sum a + b may need a word
            // more than they do), so a difference below the cut's last byte
            // counts as converged too.
            if (!converged) {
                TqNum diff = a;
                n_Sub(a, b, diff);
                converged = tq_IsZeroNum(diff) || tq_ApproxLog2(diff) < tq_ApproxLog2(a) - 8.0 * (W + 1);
            }
            if (converged || round > kMaxRounds) break;
        }
        n_Trace("Pi - loop cntr:" + std::to_string(round));
        c = a;
        n_Add(a, b, c);
        n_Sqr(c, c);
        n_Div(c, t, c);
        n_DivBy2(c, c);
        n_DivBy2(c, c);
        n_Trace(".......................");
        if (n_TraceOn()) {
            n_Trace("pi approximation:");
            tq_TraceNumber(c);
        }
    }
    copyValue(c, target);
}

// Computes constant `code` into v at the current working precision (v's
// kind); the result is not cut.
int32_t compute(int32_t code, TqNum &v) {
    const int32_t kind = v.V.NumType;
    TqNum t = tq_IntNum(kind, 0), r = t;
    switch (code) {
        case 1:
        case 2:
            if (code == 2) n_Trace("GetConst_Log10");
            t = tq_IntNum(kind, code == 1 ? 2 : 10);
            if (code == 2) n_Trace("taking square root");
            n_Sqrt(t, t);
            if (code == 2) n_Trace("taking square root done ...");
            n_Log_Taylor(t, t);
            n_MulBy2(t, r);
            break;
        case 3:
            n_Mul(constOf(1, kind), constOf(19, kind), r);
            break;
        case 4:
            n_Log_Taylor(constOf(28, kind), r);
            break;
        case 5:
            n_Div(constOf(14, kind), constOf(1, kind), r);
            break;
        case 6:
            n_Div(constOf(14, kind), constOf(2, kind), r);
            break;
        case 7:
            n_Sqrt(constOf(16, kind), r);
            break;
        case 8:
            computePi(r);
            break;
        case 9:
            n_MulBy2(constOf(8, kind), r);
            break;
        default:
            n_DivBy2(constOf(8, kind), r);
            break;
    }
    copyValue(r, v);
    return 0;
}

}  // namespace

int32_t n_GetConst_Computed(int32_t code, TqNum &v) {
    const int32_t kind = v.V.NumType;
    if (!tq_IsFloatKind(kind) || (code == 4 && kind != TarqBinFloat)) return tq_RaiseErr(tq_Err_Type);
    const int32_t P = gTq_Prec_Bytes_Internal;
    const int32_t slot = slotOf(code, kind);
    TqNum &work = tq_ConstCache_Working()[slot];
    TqNum &keep = tq_ConstCache_Persistent()[slot];
    v.DenN = tq_Word(1);
    if (work.V.NumType == kind && tq_Len(work.MantN) >= P && !work.MantN.empty()) {
        if (tq_Len(work.MantN) > P) n_ReducePrecision(work.V, work.MantN);
        copyValue(work, v);
        return 0;
    }
    if (keep.V.NumType == kind && tq_Len(keep.MantN) >= P && !keep.MantN.empty()) {
        storeEntry(work, keep);
        n_ReducePrecision(work.V, work.MantN);
        copyValue(work, v);
        return 0;
    }
    TqNum value = tq_IntNum(kind, 0);
    if (code == 9 || code == 10) {
        // Exactly twice and half the working value of pi.
        compute(code, value);
    } else {
        TqWorkPrec wp;
        wp.set(P + kConstGuardBytes);
        compute(code, value);
    }
    storeEntry(keep, value);
    n_ReducePrecision(value.V, value.MantN);
    storeEntry(work, value);
    copyValue(value, v);
    return 0;
}
