// Small helpers shared by the conversion files: exact powers of ten and the
// start of a converted number.
#include "convert.h"
#include "numbers/number.h"
#include "numbers/pow10.h"
#include "numbers/precision.h"
#include "base/tq_state.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"
#include "kernels/pow.h"

bool n_Pow10_Exact(int64_t n, TqStr &R) {
    if (n < 0 || static_cast<double>(n) * 0.41524 > static_cast<double>(tq_MaxExactBytes)) return false;
    if (n < 10) {
        R = tq_Word(tq_Pow10Word[n]);
        return true;
    }
    h_Pow(tq_Word(10), tq_Word(static_cast<uint32_t>(n)), R);
    tq_Trim(R);
    return true;
}

void n_Convert_Start(const TqNum &src, TqNum &dst, int32_t kind) {
    dst.V.InUse = 1;
    dst.V.Special = tq_Special_None;
    dst.V.NumType = kind;
    dst.V.Sign = src.V.Sign;
    dst.V.Expo = 0;
    dst.DenN = tq_Word(1);
}
