// Angle units: r = x * 180 / pi, x * pi / 180, x * 200 / pi or x * pi / 200,
// to the working precision, for decimal and binary floats. The product is
// always formed first, then divided, both one word above the working
// precision: pi as a binary float at the working precision has up to 31 bits
// fewer than a result below 1, and a decimal quotient can keep a word less
// than the precision it is formed at. An unknown code makes r NaN (status 1);
// r of another kind than x is refused (status 2, r unchanged). Failures of the
// arithmetic (special values, kinds without pi) are returned as the status.
#include "units.h"

#include "arith/arith.h"
#include "funcs/constants.h"
#include "base/tq_state.h"
#include "numbers/num_util.h"
#include "numbers/precision.h"
#include "trig/trig_support.h"

int32_t n_ConvertUnits(int32_t code, TqNum x, TqNum &r) {
    if (r.V.NumType != x.V.NumType) return tq_RaiseErr(tq_Err_Type);
    if (code < 1 || code > 4) {
        r.V.Special = tq_Special_NaN;
        return tq_RaiseErr(tq_Err_Invalid);
    }
    const int32_t kind = x.V.NumType;
    TqNum angle = tq_IntNum(kind, 0);
    int32_t status = n_GetConst(code <= 2 ? TQ_CONST_180 : TQ_CONST_200, angle);
    if (status) return status;
    TqPrecisionScope prec;
    prec.raise(2);
    TqNum pi = tq_IntNum(kind, 0), product = tq_IntNum(kind, 0), quotient = tq_IntNum(kind, 0);
    status = n_GetConst(TQ_CONST_PI, pi);
    if (status) {
        prec.finish(r);
        return status;
    }
    const bool toRadians = code == 2 || code == 4;
    status = n_Mul(std::move(x), toRadians ? pi : angle, product);
    status |= n_Div(std::move(product), toRadians ? angle : pi, quotient);
    tq_Assign(r, quotient);
    prec.finish(r);
    return status;
}
