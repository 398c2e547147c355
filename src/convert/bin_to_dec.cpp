// The two float kinds into each other to a relative precision, for the
// functions and constants that compute a decimal result on binary floats:
// each conversion costs one product or one quotient of working-precision
// length, the power of ten taken from the table and cut to that length, so an
// exponent of millions of digits costs no more than a small one.
#include <cmath>

#include "base/tq_state.h"
#include "convert.h"
#include "float_short.h"
#include "kernels/divmod.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"
#include "numbers/num_util.h"
#include "numbers/number.h"
#include "numbers/pow10.h"

namespace {

// Keeps the top `keep` bytes (whole words) of a trimmed magnitude, adding the
// dropped bytes to expo.
void keepTop(TqStr &m, int32_t &expo, int32_t keep) {
    keep = (keep + 3) / 4 * 4;
    if (tq_Len(m) > keep) {
        const int32_t drop = tq_Len(m) - keep;
        m.erase(0, static_cast<size_t>(drop));
        expo += drop;
    }
}

// 10^n = mag * 256^expo (n >= 0), to the top `keep` bytes.
void pow10(int32_t n, int32_t keep, TqStr &mag, int32_t &expo) {
    TarqVar v;
    n_Pow10_Lookup(n, v, mag);
    tq_Trim(mag);
    expo = v.Expo;
    keepTop(mag, expo, keep);
}

// m * 10^n for |n| < 2^32 as mag * 256^expo to about `keep` bytes: a product
// for n >= 0, a quotient carried `keep` bytes below its leading word else
// (two of them beyond the table's 2^31).
void scaleByPow10(TqStr &m, int32_t &expo, int64_t n, int32_t keep) {
    if (n == 0) return;
    if (n > INT32_MAX || n < -int64_t(INT32_MAX)) {
        scaleByPow10(m, expo, n / 2, keep);
        n -= n / 2;
    }
    // Up to 72 digits: the exact power from one-word products, no lookup.
    if (n > 0 && n <= 72) {
        n_MulPow10(m, static_cast<int32_t>(n));
        return;
    }
    if (n < 0 && n >= -72) {
        TqStr p = tq_Word(1), q, rem;
        n_MulPow10(p, static_cast<int32_t>(-n));
        int32_t up = keep + tq_Len(p) - tq_Len(m);
        up = up < 0 ? 0 : (up + 3) / 4 * 4;
        m.insert(0, static_cast<size_t>(up), '\0');
        h_DivMod(std::move(m), std::move(p), 0, q, rem);
        m = std::move(q);
        tq_Trim(m);
        expo -= up;
        return;
    }
    TqStr p;
    int32_t pe = 0;
    pow10(static_cast<int32_t>(n > 0 ? n : -n), keep, p, pe);
    if (n > 0) {
        int32_t trim = 1;
        h_Mul(std::move(m), std::move(p), trim, m);
        expo += pe;
    } else {
        int32_t up = keep + tq_Len(p) - tq_Len(m);
        up = up < 0 ? 0 : (up + 3) / 4 * 4;
        m.insert(0, static_cast<size_t>(up), '\0');
        TqStr q, rem;
        h_DivMod(std::move(m), std::move(p), 0, q, rem);
        m = std::move(q);
        expo -= up + pe;
    }
    tq_Trim(m);
}

}  // namespace

TqNum n_DecToBin_Approx(const TqNum &x) {
    TqNum b = tq_IntNum(TarqBinFloat, 0);
    b.V.Special = x.V.Special;
    if (x.V.Special != 0 || tq_IsZero(x.MantN)) return b;
    b.V.Sign = x.V.Sign;
    if (n_DecToBin_Short(x, b)) {
        n_ReducePrecision(b.V, b.MantN);
        return b;
    }
    TqStr m = x.MantN;
    tq_Trim(m);
    int32_t expo = 0;
    scaleByPow10(m, expo, x.V.Expo, gTq_Prec_Bytes_Internal + 8);
    b.MantN = std::move(m);
    b.V.Expo = expo;
    n_ReducePrecision(b.V, b.MantN);
    return b;
}

int32_t n_BinToDec(const TqNum &t, TqNum &d, int32_t tenExpo) {
    // Zero of the decimal kind in d's own buffers.
    d.V.NumType = TarqDecFloat;
    n_SetZero(d);
    d.V.Special = t.V.Special;
    if (t.V.Special != 0 || tq_IsZero(t.MantN)) return 0;
    int32_t st = 0;
    if (n_BinToDec_Short(t, d, tenExpo, st)) return st;
    const int32_t P = gTq_Prec_Bytes_Internal;
    const int32_t sign = t.V.Sign;
    // t 10^k has 40 bits beyond the 8 (P + 4) of the decimal cut, which then
    // rounds it once.
    const double bits = 8.0 * (P + 4) + 40;
    const int64_t k = static_cast<int64_t>(std::ceil((bits - tq_ApproxLog2(t)) * 0.301029995663981195));
    const int64_t dexpo = tenExpo - k;
    // The cut below only raises the exponent, by less than the digits of
    // the magnitude: beyond these bounds the answer is known without work;
    // between them the exponent after the cut decides.
    if (dexpo > int64_t(INT32_MAX)) return tq_SetOutOfRange(d, true, sign);
    if (dexpo < int64_t(INT32_MIN) - 3 * (int64_t(P) + 12) - 64) return tq_SetOutOfRange(d, false, sign);
    if (k > 2 * int64_t(INT32_MAX) || -k > 2 * int64_t(INT32_MAX)) return tq_SetOutOfRange(d, k < 0, sign);
    TqStr m = t.MantN;
    tq_Trim(m);
    int32_t expo = t.V.Expo;
    keepTop(m, expo, P + 12);
    scaleByPow10(m, expo, k, P + 12);
    if (expo >= 0) {
        m.insert(0, static_cast<size_t>(expo), '\0');
    } else if (tq_Len(m) > -expo) {
        m.erase(0, static_cast<size_t>(-expo));
    } else {
        m = tq_Word(0);
    }
    d.V.Sign = sign;
    d.MantN = std::move(m);
    return tq_FinishExpo(d, dexpo);
}

TqNum n_BinToDec_Approx(const TqNum &t) {
    TqNum d;
    (void)n_BinToDec(t, d, 0);  // out of range: raised, the value is the infinity or zero
    return d;
}
