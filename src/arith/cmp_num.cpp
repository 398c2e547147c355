// The comparison of two numbers of one kind (tq_CmpNum).
#include "arith.h"
#include "kernels/limbs.h"
#include "kernels/root.h"
#include "numbers/num_util.h"

// |a| against |b| for finite binary floats.
static int32_t cmpBinMag(const TqNum &a, const TqNum &b) {
    TqStr ma = a.MantN, mb = b.MantN;
    tq_Trim(ma);
    tq_Trim(mb);
    const bool za = tq_IsZero(ma), zb = tq_IsZero(mb);
    if (za || zb) return za && zb ? 0 : (za ? -1 : 1);
    const int64_t pa = 8LL * a.V.Expo + h_BitLength(ma), pb = 8LL * b.V.Expo + h_BitLength(mb);
    if (pa != pb) return pa < pb ? -1 : 1;
    // Same top bit: the exponents differ by less than the longer magnitude.
    const int32_t e = a.V.Expo < b.V.Expo ? a.V.Expo : b.V.Expo;
    ma.insert(0, static_cast<size_t>(a.V.Expo - e), '\0');
    mb.insert(0, static_cast<size_t>(b.V.Expo - e), '\0');
    size_t n = ma.size() > mb.size() ? ma.size() : mb.size();
    ma.resize(n, '\0');
    mb.resize(n, '\0');
    for (size_t i = n; i-- > 0;) {
        unsigned char x = static_cast<unsigned char>(ma[i]), y = static_cast<unsigned char>(mb[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

int32_t tq_CmpNum(const TqNum &a, const TqNum &b) {
    const int32_t sa = tq_IsZeroNum(a) ? 0 : a.V.Sign, sb = tq_IsZeroNum(b) ? 0 : b.V.Sign;
    if (sa != sb) return sa < sb ? -1 : 1;
    if (sa == 0) return 0;
    if (a.V.NumType == TarqBinFloat) {
        const int32_t c = cmpBinMag(a, b);
        return sa > 0 ? c : -c;
    }
    TqNum d;
    d.V.NumType = a.V.NumType;
    (void)n_Sub(a, b, d);  // only the sign is read
    if (tq_IsZeroNum(d)) return 0;
    return d.V.Sign;
}
