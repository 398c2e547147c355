// Powers: n_Pow (floats through e^(B ln A), big integers exactly by binary
// powering) and n_PowMod (modular powers of big integers).
//
// The float path computes ln A and the product B ln A with as many extra bytes
// as the product has integer bits, so that the exponential receives its
// argument to the full working precision; the result is cut once. The outcomes
// for zero, one, negative bases and infinite or NaN operands follow tables
// tried from the top. A big-integer power whose result would exceed 2^24 bits
// is refused as out of range (tq_Err_ExpRange) instead of exhausting memory.
#include <cmath>

#include "arith/arith.h"
#include "constants.h"
#include "explog/explog.h"
#include "numbers/number.h"
#include "base/tq_state.h"
#include "funcs.h"
#include "numbers/num_util.h"
#include "numbers/precision.h"
#include "kernels/limbs.h"
#include "kernels/pow.h"
#include "kernels/root.h"

namespace {

// About 5 million decimal digits, computed in about a second; a larger exact
// power would hold the global lock for minutes.
constexpr double kMaxPowerBits = 16777216.0;

bool isNaN(const TqNum &v) { return v.V.Special == tq_Special_NaN; }
bool isPosInf(const TqNum &v) { return v.V.Special == tq_Special_PosInf; }
bool isNegInf(const TqNum &v) { return v.V.Special == tq_Special_NegInf; }
bool finite(const TqNum &v) { return v.V.Special == 0; }

// A float B is whole when its fractional part is zero.
bool isWhole(const TqNum &b) {
    TqNum f = b;
    (void)n_Frac(b, f);  // finite float: cannot fail
    return tq_IsZeroNum(f);
}

// A float B is odd when B / 2 is not whole.
bool isOddFloat(const TqNum &b) {
    TqNum h = b;
    (void)n_DivBy2(b, h);  // finite float: cannot fail
    return !isWhole(h);
}

bool isOddInt(const TqNum &b) { return (tq_W(b.MantN)[0] & 1u) != 0; }

int32_t setSpecial(TqNum &c, int32_t special, bool err) {
    tq_SetSpecial(c, special);
    c.V.Sign = 1;
    return err ? tq_RaiseErr(tq_Err_Special) : 0;
}

int32_t setOne(TqNum &c, int32_t sign) {
    (void)n_GetConst(TQ_CONST_1, c);  // a known code
    c.V.Sign = sign;
    return 0;
}

int32_t setZero(TqNum &c) {
    n_SetZero(c);
    return 0;
}

// e^(B ln |A|) for a finite positive |A| != 1 and finite non-zero B.
int32_t expOfProduct(TqNum absA, const TqNum &b, TqNum &c) {
    const int32_t kind = absA.V.NumType;
    // log2 of the result from the operands' leading bits: far beyond the
    // exponent range the answer is known at once, before any precision is
    // raised for the logarithm and exponential of a huge product.
    const double rangeBits = (kind == TarqBinFloat ? 8.0 : 3.32192809488736235) * 2147483648.0;
    const double log2Result = (b.V.Sign < 0 ? -1.0 : 1.0) * std::exp2(tq_ApproxLog2(b)) * tq_ApproxLog2(absA);
    if (std::fabs(log2Result) > 1.01 * rangeBits + 64) return tq_SetOutOfRange(c, log2Result > 0, 1);
    // Integer bits of B ln A: each is a bit the exponential's argument must
    // carry beyond the working precision.
    const double l2 = tq_ApproxLog2(b) + std::log2(std::fabs(tq_ApproxLog2(absA)) * 0.6931471805599453 + 1e-300);
    const int32_t extra = l2 > 0 ? static_cast<int32_t>(std::ceil(l2 / 8)) + 1 : 1;
    TqNum t = tq_IntNum(kind, 0), r = t;
    int64_t scale = 0;
    int32_t st;
    {
        TqPrecisionScope wp;
        wp.set(gTq_Prec_Bytes_Internal + 4 * ((extra + 3) / 4));
        (void)n_Log(absA, t);  // finite, positive, not 1: cannot fail
        (void)n_Mul(b, t, t);  // bounded by the range test above
        st = n_Exp_Scaled(t, r, scale);
    }
    if (st & tq_Err_ExpRange) return tq_SetOutOfRange(c, r.V.Special != 0, 1);
    if (st) return st;
    // Cut once at the working precision, whose exponent decides the range.
    c.V.Special = 0;
    c.V.Sign = 1;
    c.MantN = std::move(r.MantN);
    c.DenN = tq_Word(1);
    return tq_FinishExpo(c, r.V.Expo + scale);
}

int32_t floatFinite(const TqNum &a, const TqNum &b, TqNum &c) {
    if (tq_IsOneNum(a)) return setOne(c, 1);
    if (tq_IsZeroNum(b)) return setOne(c, 1);
    if (tq_IsZeroNum(a)) {
        // e^(B ln 0): 0 for B > 0, +inf for B < 0, without the domain error of
        // the logarithm leaking into the error word.
        if (b.V.Sign > 0) return setZero(c);
        return setSpecial(c, tq_Special_PosInf, true);
    }
    if (a.V.Sign > 0) return expOfProduct(a, b, c);
    if (!isWhole(b)) return setSpecial(c, tq_Special_NaN, true);
    const int32_t sign = isOddFloat(b) ? -1 : 1;
    TqNum absA = a;
    absA.V.Sign = 1;
    if (tq_IsOneNum(absA)) return setOne(c, sign);
    const int32_t st = expOfProduct(absA, b, c);
    if (st == 0) c.V.Sign = sign;
    if (sign < 0 && c.V.Special == tq_Special_PosInf) c.V.Special = tq_Special_NegInf;
    return st;
}

// The rows shared by every kind when an operand is special: NaN, a negative or
// unit base, a zero or negative exponent, a zero base. -1 when none applies.
int32_t commonSpecial(const TqNum &a, const TqNum &b, TqNum &c) {
    if (isNaN(a) || isNaN(b)) return setSpecial(c, tq_Special_NaN, true);
    if (finite(a) && tq_IsNegNum(a)) return setSpecial(c, tq_Special_NaN, true);
    if (finite(a) && tq_IsOneNum(a)) return setOne(c, 1);
    if (finite(b) && tq_IsZeroNum(b)) return setSpecial(c, tq_Special_NaN, true);
    if (finite(b) && tq_IsNegNum(b)) return setZero(c);
    if (finite(a) && tq_IsZeroNum(a)) {
        if (isNegInf(b)) return setSpecial(c, tq_Special_PosInf, true);
        return setZero(c);
    }
    return -1;
}

int32_t floatSpecial(const TqNum &a, const TqNum &b, TqNum &c) {
    const int32_t kind = a.V.NumType;
    if (const int32_t st = commonSpecial(a, b, c); st >= 0) return st;
    if (isPosInf(a) && isNegInf(b)) return setZero(c);
    if (isPosInf(a)) return setSpecial(c, tq_Special_PosInf, true);
    if (isNegInf(a) && finite(b) && !isWhole(b)) return setSpecial(c, tq_Special_NaN, true);
    if (isNegInf(a) && finite(b) && tq_IsOneNum(b)) return setSpecial(c, tq_Special_NegInf, true);
    if (finite(a)) {
        // A positive and not 1; B is an infinity here.
        const bool below1 = !isWhole(a) && tq_CmpNum(a, tq_IntNum(kind, 1)) < 0;
        if (below1) return isNegInf(b) ? setSpecial(c, tq_Special_PosInf, true) : setZero(c);
        return isNegInf(b) ? setZero(c) : setSpecial(c, tq_Special_PosInf, true);
    }
    if (isNegInf(a) && isNegInf(b)) return setZero(c);
    if (isNegInf(a) && isPosInf(b)) return setSpecial(c, tq_Special_NaN, true);
    // A = -inf, B finite (whole, positive, not 1).
    return setSpecial(c, isOddFloat(b) ? tq_Special_NegInf : tq_Special_PosInf, true);
}

int32_t intFinite(const TqNum &a, const TqNum &b, TqNum &c) {
    const bool aZero = tq_IsZeroNum(a), bZero = tq_IsZeroNum(b);
    if (aZero && bZero) return setOne(c, 1);
    if (aZero && tq_IsNegNum(b)) return setSpecial(c, tq_Special_PosInf, false);
    if (aZero) return setZero(c);
    if (bZero) return setOne(c, 1);
    if (tq_IsOneNum(a)) return setOne(c, 1);
    TqNum absA = a;
    absA.V.Sign = 1;
    const bool aNeg = a.V.Sign < 0, bNeg = b.V.Sign < 0;
    if (aNeg && bNeg) {
        if (tq_IsOneNum(absA)) return setOne(c, isOddInt(b) ? -1 : 1);
        return setZero(c);
    }
    if (bNeg) return setZero(c);
    if (aNeg && tq_IsOneNum(absA)) return setOne(c, isOddInt(b) ? -1 : 1);
    // |A| >= 2, B >= 1: the result has about bitlen(A) * B bits.
    TqStr am = a.MantN, bm = b.MantN;
    tq_Trim(am);
    tq_Trim(bm);
    if ((h_BitLength(am) - 1) * std::exp2(tq_ApproxLog2(b)) > kMaxPowerBits) {
        n_Trace("n_Pow: result too large");
        return tq_RaiseErr(tq_Err_ExpRange);
    }
    TqStr r;
    h_Pow(am, bm, r);
    tq_Trim(r);
    c.MantN = std::move(r);
    c.DenN = tq_Word(1);
    c.V.Expo = 0;
    c.V.Special = 0;
    c.V.Sign = (aNeg && isOddInt(b)) ? -1 : 1;
    return 0;
}

int32_t intSpecial(const TqNum &a, const TqNum &b, TqNum &c) {
    if (const int32_t st = commonSpecial(a, b, c); st >= 0) return st;
    if (isNegInf(b)) return setZero(c);
    if (isPosInf(a)) return setSpecial(c, tq_Special_PosInf, true);
    if (finite(a)) return setSpecial(c, tq_Special_PosInf, true);
    if (isPosInf(b)) return setSpecial(c, tq_Special_NaN, true);
    return setSpecial(c, isOddInt(b) ? tq_Special_NegInf : tq_Special_PosInf, true);
}

}  // namespace

int32_t n_Pow(TqNum a, TqNum b, TqNum &c) {
    const int32_t kind = a.V.NumType;
    if (b.V.NumType != kind || c.V.NumType != kind) return tq_RaiseErr(tq_Err_Type);
    const int32_t inUse = c.V.InUse;
    c.V = a.V;
    c.V.InUse = inUse;
    const bool bothFinite = finite(a) && finite(b);
    if (tq_IsFloatKind(kind)) return bothFinite ? floatFinite(a, b, c) : floatSpecial(a, b, c);
    if (kind == TarqBigInt) return bothFinite ? intFinite(a, b, c) : intSpecial(a, b, c);
    return tq_RaiseErr(tq_Err_Type);
}

int32_t n_PowMod(TqNum a, TqNum e, TqNum m, TqNum &c) {
    const int32_t kind = a.V.NumType;
    if (e.V.NumType != kind || m.V.NumType != kind || c.V.NumType != kind) return tq_RaiseErr(tq_Err_Type);
    const int32_t inUse = c.V.InUse;
    c.V = a.V;
    c.V.InUse = inUse;
    int32_t status = 0;
    if (!finite(a) || !finite(e) || !finite(m)) status = tq_RaiseErr(tq_Err_Invalid);
    if (kind != TarqBigInt) status = tq_RaiseErr(tq_Err_Type);
    if (tq_IsNegNum(e)) status = tq_RaiseErr(tq_Err_Invalid);
    const bool mZero = tq_IsZeroNum(m);
    if (tq_IsNegNum(m) || mZero) status = tq_RaiseErr(tq_Err_Invalid);
    TqStr r = tq_Word(0);
    // A zero modulus has no residues: the result is zero, nothing is divided.
    if (!mZero) h_PowMod(a.MantN, e.MantN, m.MantN, r);
    tq_Trim(r);
    c.MantN = std::move(r);
    c.DenN = tq_Word(1);
    c.V.Sign = 1;
    if (tq_IsNegNum(a) && isOddInt(e) && !tq_IsZeroNum(c)) c.V.Sign = -1;
    c.V.Special = 0;
    c.V.Expo = 0;
    return status;
}
