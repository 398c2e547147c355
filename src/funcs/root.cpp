// n-th root of big integers, truncated toward zero, with the remainder
// A - C^n on request; the outcomes for zero, one, negative radicands, negative
// or infinite orders and NaN follow one table, tried from the top.
#include "arith/arith.h"
#include "numbers/number.h"
#include "base/tq_state.h"
#include "funcs.h"
#include "numbers/num_util.h"
#include "kernels/limbs.h"
#include "kernels/pow.h"
#include "kernels/root.h"

namespace {

void setInt(TqNum &v, int32_t sign, TqStr mag) {
    v.V.Special = 0;
    v.V.Expo = 0;
    v.MantN = std::move(mag);
    tq_Trim(v.MantN);
    v.DenN = tq_Word(1);
    v.V.Sign = sign;
    n_NormaliseZero(v.V, v.MantN);
}

bool magIsOne(const TqStr &m) {
    TqStr t = m;
    tq_Trim(t);
    return tq_NWords(t) == 1 && tq_W(t)[0] == 1;
}

}  // namespace

int32_t n_Root(TqNum a, TqNum n, int32_t wantRem, TqNum &c, TqNum &r) {
    const int32_t kind = a.V.NumType;
    if (n.V.NumType != kind || c.V.NumType != kind || r.V.NumType != kind) return tq_RaiseErr(tq_Err_Type);
    const int32_t inUseC = c.V.InUse, inUseR = r.V.InUse;
    c.V = a.V;
    c.V.InUse = inUseC;
    r.V = a.V;
    r.V.InUse = inUseR;
    TqStr nm = n.MantN;
    tq_Trim(nm);
    if (tq_Len(nm) > 4 || tq_W(nm)[0] > 2147483647u) return tq_RaiseErr(tq_Err_Invalid);
    if (kind != TarqBigInt) return tq_RaiseErr(tq_Err_Type);

    const int32_t order = static_cast<int32_t>(tq_W(nm)[0]);  // |n|
    const bool nFinite = n.V.Special == 0, aFinite = a.V.Special == 0;
    const bool nZero = nFinite && order == 0;
    const bool nPos = nFinite && !nZero && n.V.Sign > 0, nNeg = nFinite && !nZero && n.V.Sign < 0;
    const bool nInf = n.V.Special == tq_Special_PosInf || n.V.Special == tq_Special_NegInf;
    const bool aZero = tq_IsZeroNum(a), aPos = aFinite && !aZero && a.V.Sign > 0;
    const bool aNegFinite = aFinite && !aZero && a.V.Sign < 0;
    const bool aPosInf = a.V.Special == tq_Special_PosInf, aNegInf = a.V.Special == tq_Special_NegInf;
    const bool nEven = (order & 1) == 0;

    int32_t status = 0;
    auto result = [&](int32_t special, int32_t signC, TqStr magC, int32_t signR, TqStr magR, int32_t specialR) {
        setInt(c, signC, std::move(magC));
        c.V.Special = special;
        if (wantRem) {
            setInt(r, signR, std::move(magR));
            r.V.Special = specialR;
        }
        if (special) status = tq_RaiseErr(tq_Err_Special);
    };
    auto nan = [&]() {
        result(tq_Special_NaN, 1, tq_Word(0), 1, tq_Word(0), tq_Special_NaN);
    };
    auto copyA = [&](int32_t signC, TqStr magC) {
        // C as given, R = A itself (value and special).
        setInt(c, signC, std::move(magC));
        if (wantRem) {
            r = a;
            r.V.InUse = inUseR;
        }
    };

    if (aPos && magIsOne(a.MantN)) {
        result(0, 1, tq_Word(1), 1, tq_Word(0), 0);
    } else if (nZero) {
        nan();
    } else if (aZero && nPos) {
        result(0, 1, tq_Word(0), 1, tq_Word(0), 0);
    } else if (aZero) {
        nan();
    } else if (a.V.Special == tq_Special_NaN) {
        nan();
    } else if (aPos && nPos) {
        TqStr root, rem;
        h_Root(a.MantN, order, wantRem, root, rem);
        result(0, 1, root, 1, rem, 0);
    } else if (aPos && nNeg) {
        copyA(1, tq_Word(0));
    } else if (aPos && n.V.Special == tq_Special_NegInf) {
        TqNum one = tq_IntNum(TarqBigInt, 1), rem = one;
        (void)n_Sub(a, one, rem);  // big integers: cannot fail
        result(0, 1, tq_Word(1), rem.V.Sign, rem.MantN, 0);
    } else if (aPos) {  // N = +inf or NaN
        nan();
    } else if ((aNegFinite || aPosInf || aNegInf) && (nInf || n.V.Special == tq_Special_NaN)) {
        // A NaN order gives NaN here too, as it does for a positive radicand.
        nan();
    } else if (aPosInf && nNeg) {
        copyA(1, tq_Word(0));
    } else if (aPosInf) {
        result(tq_Special_PosInf, 1, tq_Word(0), 1, tq_Word(0), 0);
    } else if ((aNegFinite || aNegInf) && nEven) {
        nan();
    } else if (aNegFinite && magIsOne(a.MantN)) {
        result(0, -1, tq_Word(1), 1, tq_Word(0), 0);
    } else if (aNegInf && nNeg) {
        copyA(1, tq_Word(0));
    } else if (aNegInf) {
        result(tq_Special_NegInf, -1, tq_Word(0), 1, tq_Word(0), 0);
    } else if (aNegFinite && nNeg) {
        copyA(1, tq_Word(0));
    } else {  // A negative finite, n odd and positive
        TqStr root, rem;
        h_Root(a.MantN, order, wantRem, root, rem);
        result(0, -1, root, -1, rem, 0);
    }
    return status;
}
