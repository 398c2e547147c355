// One-operand operations on every number kind: C = A + 1 (n_Incr), A - 1
// (n_Decr), 2A (n_MulBy2), A / 2 (n_DivBy2, exact wherever the kind allows),
// the integer part truncated toward zero (n_Fix) and the fractional part with
// A's sign (n_Frac). C must have A's kind; a special A is passed on (NaN
// also raises tq_Err_Invalid) with tq_Err_Special returned.
#include <utility>

#include "arith.h"
#include "numbers/num_util.h"
#include "numbers/number.h"
#include "numbers/pow10.h"
#include "kernels/addsub.h"
#include "kernels/divmod.h"
#include "kernels/limbs.h"

namespace {

// Kind check of a one-operand operation.
bool sameNumericKind(const TqNum &a, const TqNum &r) {
    return r.V.NumType == a.V.NumType && tq_IsNumericKind(a.V.NumType);
}

int32_t passSpecial(const TqNum &a, TqNum &r) {
    return tq_SpecialResult(r, a.V.Special & 3, a.V.Special == tq_Special_NaN);
}

// Big integers step their magnitude directly: |A| grows when the step has
// A's sign and shrinks otherwise.
int32_t stepBigInt(TqNum &a, TqNum &r, int32_t step) {
    if (a.V.Special) return passSpecial(a, r);
    tq_MoveInto(r, a);
    if (tq_IsZero(r.MantN)) {
        n_SetZero(r);
        tq_W(r.MantN)[0] = 1;
        r.V.Sign = step;
        return 0;
    }
    tq_Trim(r.MantN);
    if (r.V.Sign == step)
        h_Inc(r.MantN, r.MantN);
    else
        h_Dec(r.MantN, r.MantN);
    n_NormaliseZero(r.V, r.MantN);
    return 0;
}

// Floats and fractions add the constant one or minus one of A's kind.
int32_t stepByAdd(TqNum &a, TqNum &r, int32_t step) {
    TqNum one;
    one.V = TarqVar{1, step, 0, a.V.NumType, 0};
    tq_SetOne(one.MantN);
    tq_SetOne(one.DenN);
    return n_Add(std::move(a), std::move(one), r);
}

// M = M div 2 in place, trimmed.
void halve(TqStr &M) {
    TqStr bit;
    h_ShiftRight1(M, M, bit);
}


}  // namespace

int32_t n_Incr(TqNum a, TqNum &r) {
    if (!sameNumericKind(a, r)) return tq_RaiseErr(tq_Err_Type);
    if (a.V.NumType == TarqBigInt) return stepBigInt(a, r, 1);
    return stepByAdd(a, r, 1);
}

int32_t n_Decr(TqNum a, TqNum &r) {
    if (!sameNumericKind(a, r)) return tq_RaiseErr(tq_Err_Type);
    if (a.V.NumType == TarqBigInt) return stepBigInt(a, r, -1);
    return stepByAdd(a, r, -1);
}

int32_t n_MulBy2(TqNum a, TqNum &r) {
    if (!sameNumericKind(a, r)) return tq_RaiseErr(tq_Err_Type);
    if (a.V.Special) return passSpecial(a, r);
    tq_MoveInto(r, a);
    tq_Trim(r.MantN);
    h_ShiftLeft1(r.MantN, r.MantN);
    if (r.V.NumType == TarqFraction)
        n_ReduceFraction(r.MantN, r.DenN);
    else
        tq_SetOne(r.DenN);
    return tq_FinishResult(r, r.V.Expo);  // the cut may raise it
}

int32_t n_DivBy2(TqNum a, TqNum &r) {
    if (!sameNumericKind(a, r)) return tq_RaiseErr(tq_Err_Type);
    if (a.V.Special) return passSpecial(a, r);
    tq_MoveInto(r, a);
    tq_Trim(r.MantN);
    const bool odd = tq_W(r.MantN)[0] & 1;
    int64_t expo = r.V.Expo;  // of a float, in 64 bits
    switch (r.V.NumType) {
        case TarqBinFloat:
            // The bit shifted out becomes the top bit of a new lowest word.
            halve(r.MantN);
            if (odd) {
                r.MantN.insert(0, 4, '\0');
                tq_W(r.MantN)[0] = 0x80000000u;
                expo -= 4;
            }
            break;
        case TarqDecFloat:
            // x / 2 = 5x / 10 keeps odd values exact.
            if (odd) {
                tq_MulWord(r.MantN, 5);
                expo -= 1;
            } else {
                halve(r.MantN);
            }
            break;
        case TarqBigInt:
            halve(r.MantN);
            break;
        default:
            tq_Trim(r.DenN);
            h_ShiftLeft1(r.DenN, r.DenN);
            n_ReduceFraction(r.MantN, r.DenN);
            break;
    }
    if (r.V.NumType != TarqFraction) tq_SetOne(r.DenN);
    return tq_FinishResult(r, expo);
}

int32_t n_Fix(TqNum a, TqNum &r) {
    if (!sameNumericKind(a, r)) return tq_RaiseErr(tq_Err_Type);
    if (a.V.Special) return passSpecial(a, r);
    tq_MoveInto(r, a);
    tq_Trim(r.MantN);
    switch (r.V.NumType) {
        case TarqBinFloat:
            if (r.V.Expo < 0) {
                const int64_t drop = -static_cast<int64_t>(r.V.Expo);
                if (drop >= tq_Len(r.MantN)) {
                    r.MantN.assign(4, '\0');
                } else {
                    r.MantN.erase(0, static_cast<size_t>(drop));
                    if (r.MantN.size() % 4) r.MantN.append(4 - r.MantN.size() % 4, '\0');
                }
                r.V.Expo = 0;
            }
            break;
        case TarqDecFloat:
            if (r.V.Expo < 0) {
                const int32_t k = -r.V.Expo;
                if (k <= 9) {
                    tq_DivWord(r.MantN, tq_Pow10Word[k]);
                } else if (static_cast<int64_t>(k) > 3 * static_cast<int64_t>(tq_Len(r.MantN)) + 10) {
                    // 10^k > 2^(3.3k) exceeds any magnitude of that many bytes: the
                    // integer part is zero, found without building 10^k.
                    r.MantN.assign(4, '\0');
                } else {
                    TqStr p, q, rem;
                    n_Pow10_Integer(k, p);
                    tq_Trim(p);
                    if (tq_Len(p) > tq_Len(r.MantN)) {
                        r.MantN.assign(4, '\0');
                    } else {
                        h_DivMod(std::move(r.MantN), std::move(p), 0, q, rem);
                        r.MantN = std::move(q);
                    }
                }
                r.V.Expo = 0;
            }
            break;
        case TarqBigInt:
            break;
        default:
            tq_Trim(r.DenN);
            if (tq_Cmp(r.MantN, r.DenN) < 0) {
                r.MantN.assign(4, '\0');
            } else if (!tq_IsOne(r.DenN)) {
                TqStr q, rem;
                h_DivMod(std::move(r.MantN), r.DenN, 0, q, rem);
                r.MantN = std::move(q);
            }
            tq_SetOne(r.DenN);
            break;
    }
    n_NormaliseZero(r.V, r.MantN);
    return 0;
}

int32_t n_Frac(TqNum a, TqNum &r) {
    if (!sameNumericKind(a, r)) return tq_RaiseErr(tq_Err_Type);
    if (a.V.Special) return passSpecial(a, r);
    TqNum t;
    t.V = a.V;
    (void)n_Fix(a, t);  // finite, same kind: cannot fail
    const int32_t st = n_Sub(std::move(a), std::move(t), r);
    if (r.V.NumType == TarqFraction) n_ReduceFraction(r.MantN, r.DenN);
    return st;
}
