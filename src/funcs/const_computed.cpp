// The computed constants 1..10 (ln 2, ln 10, ln 256, ln 1.0625, 1/ln 2,
// 1/ln 10, sqrt 2, pi, 2 pi, pi/2) with their two-level cache.
//
// A request is served from the working entry when that was cut to the
// working precision, else from the persistent entry (which holds the longest
// value ever computed or read from the constants cache file) when it carries
// the working precision plus guard bytes, cut afresh, else computed. A computation runs 8 bytes above the
// working precision, so that the value cut to the working precision is
// correctly rounded apart from rare ties; the longer value goes to the
// persistent entry, the cut one to the working entry and the target.
#include "arith/arith.h"
#include "convert/convert.h"
#include "constants.h"
#include "explog/explog.h"
#include "funcs/const_cache.h"
#include "numbers/number.h"
#include "base/tq_state.h"
#include "funcs.h"
#include "series_split.h"
#include "kernels/limbs.h"
#include "kernels/root.h"
#include "numbers/num_util.h"
#include "numbers/precision.h"

namespace {

constexpr int32_t kConstGuardBytes = 8;

int32_t slotOf(int32_t code, int32_t kind) { return 2 * (code - 1) + (kind == TarqDecFloat ? 1 : 0); }

void copyValue(const TqNum &from, TqNum &to) {
    to.V.Expo = from.V.Expo;
    to.MantN = from.MantN;
    to.DenN = from.DenN;
}

// The entry is built aside and moved in, so that a failed allocation leaves
// the cache as it was instead of a new exponent on an old magnitude.
void storeEntry(TqNum &entry, const TqNum &v) {
    TqNum e;
    e.V = entry.V;
    e.V.Expo = v.V.Expo;
    e.V.NumType = v.V.NumType;
    e.V.Sign = 1;
    e.V.Special = 0;
    e.MantN = v.MantN;
    e.DenN = v.DenN.empty() ? tq_Word(1) : v.DenN;
    entry = std::move(e);
}


// Computes constant `code` into v at the current working precision (v's
// kind); the result is not cut.
int32_t compute(int32_t code, TqNum &v) {
    const int32_t kind = v.V.NumType;
    if (kind == TarqDecFloat && (code == 1 || code == 8)) {
        // Decimal ln 2 and pi from the binary values at the same precision:
        // the series and the iteration run several times faster on binary
        // floats, and the one conversion costs less than one of their steps.
        TqNum b = tq_IntNum(TarqBinFloat, 0);
        compute(code, b);
        copyValue(n_BinToDec_Approx(b), v);
        return 0;
    }
    TqNum t = tq_IntNum(kind, 0), r = t;
    // Finite constants of one kind, well inside the exponent range: no step
    // can fail, so the statuses are dropped, marked (void).
    switch (code) {
        case TQ_CONST_LN2: {
            // ln 2 = 18 atanh(1/26) - 2 atanh(1/4801) + 8 atanh(1/8749) (the
            // kind is binary here), each series summed by binary splitting.
            TqNum a = n_AtanhInverse_Split(26), b = n_AtanhInverse_Split(4801), c = n_AtanhInverse_Split(8749);
            (void)n_Mul(tq_IntNum(kind, 18), a, a);
            (void)n_Mul(tq_IntNum(kind, 2), b, b);
            (void)n_Mul(tq_IntNum(kind, 8), c, c);
            (void)n_Sub(a, b, r);
            (void)n_Add(r, c, r);
            break;
        }
        case TQ_CONST_LN10: {
            // ln 10 = 46 atanh(1/31) + 34 atanh(1/49) + 20 atanh(1/161), in
            // binary by the same split series as ln 2, converted once below.
            // The logarithm of the binary float 10 needs full products at
            // every step and made every decimal exponential slow above about
            // 100,000 digits.
            n_Trace("GetConst_Log10");
            static const uint32_t kN[3] = {31, 49, 161};
            static const int32_t kF[3] = {46, 34, 20};
            t = tq_IntNum(TarqBinFloat, 0);
            for (int32_t i = 0; i < 3; ++i) {
                TqNum s = n_AtanhInverse_Split(kN[i]);
                (void)n_Mul(tq_IntNum(TarqBinFloat, kF[i]), s, s);
                (void)n_Add(t, s, t);
            }
            r = kind == TarqBinFloat ? t : n_BinToDec_Approx(t);
            break;
        }
        case TQ_CONST_LN256:
            (void)n_Mul(tq_ConstNum(TQ_CONST_LN2, kind), tq_ConstNum(TQ_CONST_8, kind), r);
            break;
        case TQ_CONST_LN1_0625:
            (void)n_Log_Taylor(tq_ConstNum(TQ_CONST_1_0625, kind), r);
            break;
        case TQ_CONST_INV_LN2:
            (void)n_Div(tq_ConstNum(TQ_CONST_1, kind), tq_ConstNum(TQ_CONST_LN2, kind), r);
            break;
        case TQ_CONST_INV_LN10:
            (void)n_Div(tq_ConstNum(TQ_CONST_1, kind), tq_ConstNum(TQ_CONST_LN10, kind), r);
            break;
        case TQ_CONST_SQRT2:
            (void)n_Sqrt(tq_ConstNum(TQ_CONST_2, kind), r);
            break;
        case TQ_CONST_PI:
            r = n_Pi_Chudnovsky();
            break;
        case TQ_CONST_2PI:
            (void)n_MulBy2(tq_ConstNum(TQ_CONST_PI, kind), r);
            break;
        default:  // TQ_CONST_PI_2
            (void)n_DivBy2(tq_ConstNum(TQ_CONST_PI, kind), r);
            break;
    }
    copyValue(r, v);
    return 0;
}

// The working precision (bytes) each working entry was cut to: an entry
// serves only a request at exactly that precision.
int32_t gWorkBytes[tq_ConstCache_Entries];

// Whether the persistent entry carries the precision P plus at least four
// guard bytes, judged from its length alone (it may come from the constants
// cache file). A binary value cut at Q bytes holds 8Q bits from its leading
// one bit, all within its top 8Q + 31 bits; a decimal value cut at Q keeps
// Q + 4 significant bytes.
bool keepServes(const TqNum &keep, int32_t kind, int32_t P) {
    if (keep.V.NumType != kind || keep.MantN.empty()) return false;
    if (kind == TarqBinFloat) return static_cast<int64_t>(h_BitLength(keep.MantN)) - 31 >= 8 * (static_cast<int64_t>(P) + 4);
    return tq_SigBytes(keep.MantN) >= P + 8;
}

}  // namespace

int32_t n_GetConst_Computed(int32_t code, TqNum &v) {
    const int32_t kind = v.V.NumType;
    if (!tq_IsFloatKind(kind) || (code == TQ_CONST_LN1_0625 && kind != TarqBinFloat)) return tq_RaiseErr(tq_Err_Type);
    const int32_t P = gTq_Prec_Bytes_Internal;
    const int32_t slot = slotOf(code, kind);
    TqNum &work = tq_ConstCache_Working()[slot];
    TqNum &keep = tq_ConstCache_Persistent()[slot];
    v.DenN = tq_Word(1);
    if (work.V.NumType == kind && !work.MantN.empty() && gWorkBytes[slot] == P) {
        copyValue(work, v);
        return 0;
    }
    if (keepServes(keep, kind, P)) {
        TqNum cut;
        cut.V = work.V;
        storeEntry(cut, keep);
        n_ReducePrecision(cut.V, cut.MantN);
        work = std::move(cut);
        gWorkBytes[slot] = P;
        copyValue(work, v);
        return 0;
    }
    TqNum value = tq_IntNum(kind, 0);
    {
        // 2 pi and pi/2 too are formed from the longer pi and cut once:
        // doubling pi already cut would double its rounding error.
        TqPrecisionScope wp;
        wp.set(P + kConstGuardBytes);
        compute(code, value);
    }
    storeEntry(keep, value);
    n_ReducePrecision(value.V, value.MantN);
    storeEntry(work, value);
    gWorkBytes[slot] = P;
    copyValue(value, v);
    return 0;
}
