// Signed addition and subtraction on every number kind. C = A + B (n_Add) or
// C = A - B (n_Sub, the addition of a negated copy of B). Operands must share
// C's kind; specials follow the addition table; floats are aligned (binary
// floats by whole bytes, decimal floats by powers of ten) and cut to the
// working precision; fractions are brought to a common denominator and
// reduced. Every zero result is canonical zero.
#include <cmath>
#include <cstring>
#include <utility>

#include "arith.h"
#include "small_float.h"
#include "numbers/num_util.h"
#include "numbers/number.h"
#include "numbers/pow10.h"
#include "kernels/addsub.h"
#include "kernels/divmod.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"
#include "kernels/root.h"

namespace {

// Shifts M up by d bytes (prepends d zero bytes) and pads it to whole words.
void shiftUpBytes(TqStr &M, int32_t d) {
    M.insert(0, static_cast<size_t>(d), '\0');
    if (M.size() % 4) M.append(4 - M.size() % 4, '\0');
}

// Binary float magnitudes aligned at the smaller exponent.
int32_t addMagBinFloat(const TqNum &a, const TqNum &b, int32_t sub, TqNum &r) {
    const int64_t d = static_cast<int64_t>(a.V.Expo) - b.V.Expo;
    r.V.Expo = d > 0 ? b.V.Expo : a.V.Expo;
    if (d % 4 == 0) {
        const int32_t sx = d > 0 ? static_cast<int32_t>(d / 4) : 0;
        const int32_t sy = d < 0 ? static_cast<int32_t>(-d / 4) : 0;
        return tq_AddShifted(a.MantN, sx, b.MantN, sy, sub, r.MantN);
    }
    // Exponents off the word grid: shift by bytes.
    TqStr x = a.MantN, y = b.MantN;
    if (d > 0)
        shiftUpBytes(x, static_cast<int32_t>(d));
    else
        shiftUpBytes(y, static_cast<int32_t>(-d));
    tq_Trim(x);
    tq_Trim(y);
    return tq_AddSub(x, y, sub, r.MantN);
}

// Decimal float magnitudes aligned by multiplying the operand with the larger
// exponent by 10^d.
int32_t addMagDecFloat(const TqNum &a, const TqNum &b, int32_t sub, TqNum &r) {
    const int64_t d = static_cast<int64_t>(a.V.Expo) - b.V.Expo;
    if (d == 0) {
        r.V.Expo = a.V.Expo;
        return tq_AddSub(a.MantN, b.MantN, sub, r.MantN);
    }
    TqStr scaled = d > 0 ? a.MantN : b.MantN;
    n_MulPow10(scaled, static_cast<int32_t>(d > 0 ? d : -d));
    if (d > 0) {
        r.V.Expo = b.V.Expo;
        return tq_AddSub(scaled, b.MantN, sub, r.MantN);
    }
    r.V.Expo = a.V.Expo;
    return tq_AddSub(a.MantN, scaled, sub, r.MantN);
}

// Fractions over the common denominator DenA * DenB / gcd(DenA, DenB).
int32_t addMagFraction(const TqNum &a, const TqNum &b, int32_t sub, TqNum &r) {
    int32_t flag;
    if (tq_Cmp(a.DenN, b.DenN) == 0) {
        flag = tq_AddSub(a.MantN, b.MantN, sub, r.MantN);
        r.DenN = a.DenN;
        tq_Trim(r.DenN);
    } else {
        TqStr g, qa, qb, rem;
        h_Gcd(a.DenN, b.DenN, g);
        if (tq_IsOne(g)) {
            qa = a.DenN;
            qb = b.DenN;
        } else {
            h_DivMod(a.DenN, g, 0, qa, rem);
            h_DivMod(b.DenN, g, 0, qb, rem);
        }
        TqStr ta, tb;
        int32_t trim = 1;
        h_Mul(a.MantN, qb, trim, ta);
        trim = 1;
        h_Mul(b.MantN, std::move(qa), trim, tb);
        tq_Trim(ta);
        tq_Trim(tb);
        flag = tq_AddSub(ta, tb, sub, r.MantN);
        trim = 1;
        h_Mul(a.DenN, std::move(qb), trim, r.DenN);
        tq_Trim(r.DenN);
    }
    n_ReduceFraction(r.MantN, r.DenN);
    return flag;
}

// A + B where B's sign and special are given separately (n_Sub passes them
// negated). The operands are only read; r is neither of them.
int32_t addCore(const TqNum &a, const TqNum &b, int32_t bSign, int32_t bSpecial, TqNum &r) {
    const int32_t kind = a.V.NumType;
    if (b.V.NumType != kind || r.V.NumType != kind || !tq_IsNumericKind(kind)) return tq_RaiseErr(tq_Err_Type);
    n_SetZero(r);

    const int32_t code = gTq_SpecialTable_Add[a.V.Special & 3][bSpecial & 3];
    if (code != 0) {
        const bool nanIn = a.V.Special == tq_Special_NaN || bSpecial == tq_Special_NaN;
        return tq_SpecialResult(r, code, nanIn);
    }

    if (tq_IsFloatKind(kind)) {
        // A zero operand leaves the other unchanged (its top position says
        // nothing about the other's scale, so the shortcut must not see it).
        const int32_t alone = tq_IsZero(a.MantN) ? 2 : tq_IsZero(b.MantN) ? 1 : tq_FloatShortcut(a, b);
        if (alone) {
            const TqNum &src = alone == 1 ? a : b;
            r.V.Expo = src.V.Expo;
            r.V.Sign = alone == 1 ? a.V.Sign : bSign;
            r.MantN = src.MantN;
            tq_Finish(r);
            return 0;
        }
        if (tq_SmallAdd(a, b, bSign, r)) return 0;
    }

    const int32_t sub = a.V.Sign != bSign;
    int32_t bLarger;
    switch (kind) {
        case TarqBinFloat: bLarger = addMagBinFloat(a, b, sub, r); break;
        case TarqDecFloat: bLarger = addMagDecFloat(a, b, sub, r); break;
        case TarqBigInt: bLarger = tq_AddSub(a.MantN, b.MantN, sub, r.MantN); break;
        default: bLarger = addMagFraction(a, b, sub, r); break;
    }
    r.V.Sign = bLarger ? bSign : a.V.Sign;
    tq_Finish(r);
    return 0;
}

// n_Sub adds B with its sign flipped and its infinities exchanged.
int32_t negatedSpecial(int32_t s) {
    if (s == tq_Special_PosInf) return tq_Special_NegInf;
    if (s == tq_Special_NegInf) return tq_Special_PosInf;
    return s;
}

}  // namespace

int32_t n_AddRef(const TqNum &a, const TqNum &b, TqNum &r) { return addCore(a, b, b.V.Sign, b.V.Special, r); }

int32_t n_SubRef(const TqNum &a, const TqNum &b, TqNum &r) {
    return addCore(a, b, b.V.Sign == 1 ? -1 : 1, negatedSpecial(b.V.Special), r);
}

int32_t n_Add(TqNum a, TqNum b, TqNum &r) { return n_AddRef(a, b, r); }

int32_t n_Sub(TqNum a, TqNum b, TqNum &r) { return n_SubRef(a, b, r); }
