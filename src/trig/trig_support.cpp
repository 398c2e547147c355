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
