// A binary float as a decimal float of about the working precision, for the
// logarithms and constants that are computed in binary.
#include <cmath>

#include "base/tq_state.h"
#include "convert.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"
#include "numbers/num_util.h"
#include "numbers/number.h"
#include "numbers/pow10.h"

TqNum n_BinToDec_Approx(const TqNum &t) {
    TqNum d = tq_IntNum(TarqDecFloat, 0);
    if (tq_IsZeroNum(t)) return d;
    d.V.Sign = t.V.Sign;
    TqStr m = t.MantN;
    tq_Trim(m);
    if (t.V.Expo >= 0) {
        d.MantN = TqStr(static_cast<size_t>(t.V.Expo), '\0') + m;
    } else {
        const double want = 8.0 * (gTq_Prec_Bytes_Internal + 4) - tq_ApproxLog2(t);
        const int32_t k = want > 0 ? static_cast<int32_t>(std::ceil(want * 0.301029995663981195)) : 0;
        TqStr p10;
        n_Pow10_Integer(k, p10);
        tq_Trim(p10);
        int32_t trim = 1;
        h_Mul(m, p10, trim, m);
        const size_t drop = static_cast<size_t>(-t.V.Expo);
        m = m.size() > drop ? m.substr(drop) : tq_Word(0);
        while (m.size() % 4) m += '\0';
        d.MantN = m;
        d.V.Expo = -k;
    }
    n_NormaliseZero(d.V, d.MantN);
    n_ReducePrecision(d.V, d.MantN);
    return d;
}
