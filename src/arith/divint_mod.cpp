// Truncating integer division of big integers: Q = trunc(A / B) and
// R = A - Q x B (n_DivInt), and the remainder alone (n_Mod). The remainder
// takes the dividend's sign; zeros are canonical. Specials and a zero
// divisor are decided for every numeric kind before other kinds are refused.
#include <utility>

#include "arith.h"
#include "numbers/num_util.h"
#include "numbers/number.h"
#include "kernels/addsub.h"
#include "kernels/divmod.h"
#include "kernels/limbs.h"

int32_t n_DivInt(TqNum a, TqNum b, TqNum &q, TqNum &rem) {
    const int32_t kind = a.V.NumType;
    if (b.V.NumType != kind || q.V.NumType != kind || rem.V.NumType != kind || !tq_IsNumericKind(kind))
        return tq_RaiseErr(tq_Err_Type);
    const int32_t code = gTq_SpecialTable_Div[a.V.Special & 3][b.V.Special & 3];
    // Other kinds are refused before anything is written, unless a special
    // operand or a zero divisor decides the quotient first.
    if (code == 0 && !tq_IsZero(b.MantN) && kind != TarqBigInt) return tq_RaiseErr(tq_Err_Type);
    tq_CopyRecord(q.V, a.V);
    n_SetZero(rem);

    if (code == -1) {
        n_SetZero(q);
        return 0;
    }
    if (code != 0) {
        int32_t s = code;
        if (code == -2) s = b.V.Sign == 1 ? tq_Special_PosInf : tq_Special_NegInf;
        if (code == -3) s = b.V.Sign == 1 ? tq_Special_NegInf : tq_Special_PosInf;
        return tq_SpecialResult(q, s, code == tq_Special_NaN);
    }
    if (n_NormaliseZero(b.V, b.MantN)) return tq_SpecialResult(q, tq_InfOfSign(a.V.Sign), false);

    tq_Trim(a.MantN);
    h_DivMod(std::move(a.MantN), std::move(b.MantN), 1, q.MantN, rem.MantN);
    tq_Trim(q.MantN);
    tq_Trim(rem.MantN);
    q.V.Expo = 0;
    tq_SetOne(q.DenN);
    q.V.Sign = tq_ProductSign(a.V.Sign, b.V.Sign);
    rem.V.Sign = a.V.Sign;
    n_NormaliseZero(q.V, q.MantN);
    n_NormaliseZero(rem.V, rem.MantN);
    return 0;
}

int32_t n_Mod(TqNum a, TqNum b, TqNum &r) {
    TqNum q;
    q.V = a.V;
    return n_DivInt(std::move(a), std::move(b), q, r);
}
