// Zero normalisation and the final cut shared by the signed operations.
#include "arith_util.h"

#include "frame/number.h"

int32_t a_Normalise(TqNum &r) { return n_NormaliseZero(r.V, r.MantN); }

void a_Finish(TqNum &r) {
    n_NormaliseZero(r.V, r.MantN);
    n_ReducePrecision(r.V, r.MantN);
}

int32_t a_FinishExpo(TqNum &r, int64_t e) {
    // Far exponents are split into a multiple of 2^26 and a part of the same
    // sign with 2^26 <= |part| < 2^27: the cut moves the exponent by far less
    // than 2^26, and its alignment to whole words (binary) or to multiples of
    // four digits rounded toward zero (decimal) sees the same residue and
    // sign as with the whole exponent.
    constexpr int64_t kStep = int64_t(1) << 26;
    int64_t base = 0;
    if (e >= 2 * kStep || e <= -2 * kStep) base = (e / kStep - (e > 0 ? 1 : -1)) * kStep;
    r.V.Expo = static_cast<int32_t>(e - base);
    if (n_NormaliseZero(r.V, r.MantN)) return 0;
    n_ReducePrecision(r.V, r.MantN);
    const int64_t expo = base + r.V.Expo;
    const int64_t top = r.V.NumType == TarqBinFloat ? INT32_MAX - 3 : INT32_MAX;
    if (expo > top) {
        const int32_t sign = r.V.Sign;
        a_SetSpecial(r, a_InfOfSign(sign), false);
        return tq_RaiseErr(tq_Err_ExpRange | tq_Err_Special);
    }
    if (expo < INT32_MIN) {
        a_SetZero(r);
        return tq_RaiseErr(tq_Err_ExpRange);
    }
    r.V.Expo = static_cast<int32_t>(expo);
    return 0;
}
