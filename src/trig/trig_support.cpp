// Helpers shared by the trigonometric operations (see trig_support.h).
#include "kernels/limbs.h"
#include "trig_support.h"

#include "arith/arith.h"
#include "funcs/constants.h"
#include "convert/convert.h"
#include "numbers/num_util.h"
#include "numbers/number.h"
#include "numbers/precision.h"
#include "base/tq_state.h"

bool trig_Greater(const TqNum &a, const TqNum &b) { return n_Compare(a, b) == 1; }

bool trig_Equal(const TqNum &a, const TqNum &b) { return n_IsEqual(a, b) == 1; }

int32_t trig_SetNaN(TqNum &r) {
    r.V.Special = tq_Special_NaN;
    tq_RaiseErr(tq_Err_Invalid | tq_Err_Special);
    return tq_Err_Invalid;
}

int32_t trig_CommonChecks(const TqNum &x, TqNum &r) {
    const int32_t kind = x.V.NumType;
    if (r.V.NumType != kind || (kind != TarqDecFloat && kind != TarqBinFloat)) return tq_RaiseErr(tq_Err_Type);
    if (x.V.Special != 0) return trig_SetNaN(r);
    return 0;
}

bool trig_Converged(TqPrecisionScope &prec, const TqNum &sum, const TqNum &previous) {
    prec.toCaller();
    TqNum a = sum, b = previous;
    n_ReducePrecision(a.V, a.MantN);
    n_ReducePrecision(b.V, b.MantN);
    tq_Trim(a.MantN);
    tq_Trim(b.MantN);
    const bool same = a.V.Expo == b.V.Expo && a.MantN == b.MantN;
    prec.toRaised();
    return same;
}

namespace {
// Position of the top of a finite value's magnitude, in bytes (decimal
// exponents converted at log10(256) digits a byte).
double topBytes(const TqNum &v) {
    int32_t n = tq_NWords(v.MantN);
    while (n > 1 && tq_W(v.MantN)[n - 1] == 0) --n;
    const double expoBytes = v.V.NumType == TarqBinFloat ? v.V.Expo : v.V.Expo / 2.40823996531184952;
    return expoBytes + 4.0 * n;
}

void setBytesOnly(int32_t bytes) {
    gTq_Prec_Bytes_Internal = bytes;
    gTq_Prec_Digits_Internal = n_DigitsForBytes(bytes);
}
}  // namespace

const TqNum &TqTermPrecision::enter(const TqNum &sum, const TqNum &term, const TqNum &factor) {
    int32_t bytes = full_;
    if (!tq_IsZeroNum(term) && !tq_IsZeroNum(sum)) {
        const double gap = topBytes(sum) - topBytes(term);
        if (gap > 0) bytes = full_ - static_cast<int32_t>(gap) + 8;  // two guard words
    }
    bytes = (bytes + 3) / 4 * 4;
    if (bytes > full_) bytes = full_;
    if (bytes < 8) bytes = 8;
    setBytesOnly(bytes);
    // A shorter multiplier makes a cheaper product; re-cut it when the
    // precision has dropped by a few words (a decimal cut costs a division).
    if (bytes_ == 0 || bytes + 16 <= bytes_ || (factor.V.NumType == TarqBinFloat && bytes != bytes_)) {
        factorCut_ = factor;
        n_ReducePrecision(factorCut_.V, factorCut_.MantN);
        bytes_ = bytes;
    }
    return factorCut_;
}

void TqTermPrecision::leave() { setBytesOnly(full_); }
