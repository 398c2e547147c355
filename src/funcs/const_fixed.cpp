// The fixed numbered constants 11..33 and the entry of n_GetConst.
#include "constants.h"

#include "base/tq_state.h"
#include "numbers/num_util.h"

namespace {
// Small integers of codes 11 and 14..27 (index = code - 11; 0 where not one).
const uint32_t kIntegers[17] = {0, 0, 0, 1, 1, 2, 3, 5, 8, 10, 16, 20, 100, 125, 180, 200, 256};

void setMag(TqNum &v, uint32_t w, int32_t expo) {
    v.MantN = tq_Word(w);
    v.DenN = tq_Word(1);
    v.V.Expo = expo;
}
}  // namespace

int32_t n_GetConst(int32_t code, TqNum &v) {
    v.V.Sign = 1;
    v.V.Special = 0;
    if (code < TQ_CONST_LN2 || code > TQ_CONST_NAN) return tq_RaiseErr(tq_Err_Invalid);
    if (code <= TQ_CONST_PI_2) return n_GetConst_Computed(code, v);
    const int32_t kind = v.V.NumType;
    const bool numeric = kind >= TarqDecFloat && kind <= TarqFraction;
    const bool isFloat = kind == TarqDecFloat || kind == TarqBinFloat;
    if (code >= TQ_CONST_POSINF) {
        if (!numeric) return tq_RaiseErr(tq_Err_Type);
        v.V.Special = code - TQ_CONST_0_001;  // 1 +inf, 2 -inf, 3 NaN
        return 0;
    }
    if (code == TQ_CONST_0 || (code >= TQ_CONST_1 && code <= TQ_CONST_256)) {
        if (!numeric) return tq_RaiseErr(tq_Err_Type);
        setMag(v, kIntegers[code - TQ_CONST_0], 0);
        if (code == TQ_CONST_MINUS1) v.V.Sign = -1;
        return 0;
    }
    if (code == TQ_CONST_0_25 || code == TQ_CONST_0_5) {
        const bool quarter = code == TQ_CONST_0_25;
        if (kind == TarqDecFloat) {
            setMag(v, quarter ? 25 : 5, quarter ? -2 : -1);
        } else if (kind == TarqBinFloat) {
            setMag(v, quarter ? 0x40000000u : 0x80000000u, -4);
        } else if (kind == TarqFraction) {
            setMag(v, 1, 0);
            v.DenN = tq_Word(quarter ? 4 : 2);
        } else {
            return tq_RaiseErr(tq_Err_Type);
        }
        return 0;
    }
    if (code == TQ_CONST_1_0625 || code == TQ_CONST_0_96875) {  // binary floats only
        if (kind != TarqBinFloat) return tq_RaiseErr(tq_Err_Type);
        if (code == TQ_CONST_1_0625) {
            setMag(v, 0x10000000u, -4);
            v.MantN += tq_Word(1);
        } else {
            setMag(v, 0xF8000000u, -4);
        }
        return 0;
    }
    // TQ_CONST_0_001: exact as a decimal float, slightly above as a binary float.
    if (!isFloat) return tq_RaiseErr(tq_Err_Type);
    if (kind == TarqDecFloat)
        setMag(v, 1, -3);
    else
        setMag(v, 0x418938u, -4);
    return 0;
}

TqNum tq_ConstNum(int32_t code, int32_t kind) {
    TqNum c = tq_IntNum(kind, 0);
    (void)n_GetConst(code, c);  // a known code: cannot fail
    return c;
}
