// Zero normalisation and the final cut shared by the signed operations.
#include "arith_util.h"

#include "frame/number.h"

int32_t a_Normalise(TqNum &r) { return n_NormaliseZero(r.V, r.MantN); }

void a_Finish(TqNum &r) {
    n_NormaliseZero(r.V, r.MantN);
    n_ReducePrecision(r.V, r.MantN);
}
