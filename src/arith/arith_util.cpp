// Zero normalisation and the final cut shared by the signed operations.
#include "arith_util.h"

#include "arith.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"
#include "kernels/root.h"
#include "numbers/num_util.h"
#include "numbers/number.h"
#include "numbers/pow10.h"

const uint32_t a_Pow10Word[10] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

void a_MulPow10(TqStr &M, int32_t d) {
    if (d <= 72) {
        // In place, with room for the one word each product can carry out.
        tq_Trim(M);
        int32_t n = tq_NWords(M);
        M.resize(static_cast<size_t>(4 * (n + (d + 8) / 9)), '\0');
        uint32_t *w = tq_W(M);
        for (; d > 0; d -= 9) {
            const uint32_t c = tq_MulWordN(w, w, n, a_Pow10Word[d < 9 ? d : 9]);
            if (c) w[n++] = c;
        }
        M.resize(static_cast<size_t>(4 * n));
        return;
    }
    TarqVar pv;
    TqStr p;
    n_Pow10_Lookup(d, pv, p);
    int32_t trim = 1;
    h_Mul(std::move(M), std::move(p), trim, M);
    if (pv.Expo > 0 && !tq_IsZero(M)) M.insert(0, static_cast<size_t>(pv.Expo), '\0');
    if (M.size() % 4) M.append(4 - M.size() % 4, '\0');
    tq_Trim(M);
}

int32_t a_Normalise(TqNum &r) { return n_NormaliseZero(r.V, r.MantN); }

void a_Finish(TqNum &r) {
    n_NormaliseZero(r.V, r.MantN);
    n_ReducePrecision(r.V, r.MantN);
}

int32_t a_FinishExpo(TqNum &r, int64_t e) {
    // Far exponents are split into a multiple of 2^26 and a part of the same
    // sign with 2^26 <= |part| < 2^27: the cut moves the exponent by far less
    // than 2^26, and its alignment to whole words (binary) or to multiples of
    // four digits rounded toward zero (decimal) sees the same residue and
    // sign as with the whole exponent.
    constexpr int64_t kStep = int64_t(1) << 26;
    int64_t base = 0;
    if (e >= 2 * kStep || e <= -2 * kStep) base = (e / kStep - (e > 0 ? 1 : -1)) * kStep;
    r.V.Expo = static_cast<int32_t>(e - base);
    if (n_NormaliseZero(r.V, r.MantN)) return 0;
    n_ReducePrecision(r.V, r.MantN);
    const int64_t expo = base + r.V.Expo;
    const int64_t top = r.V.NumType == TarqBinFloat ? INT32_MAX - 3 : INT32_MAX;
    if (expo > top) {
        const int32_t sign = r.V.Sign;
        a_SetSpecial(r, a_InfOfSign(sign), false);
        return tq_RaiseErr(tq_Err_ExpRange | tq_Err_Special);
    }
    if (expo < INT32_MIN) {
        n_SetZero(r);
        return tq_RaiseErr(tq_Err_ExpRange);
    }
    r.V.Expo = static_cast<int32_t>(expo);
    return 0;
}

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
    n_Sub(a, b, d);
    if (tq_IsZeroNum(d)) return 0;
    return d.V.Sign;
}
