// Comparisons and predicates. Numbers are compared by exact value: signs
// first, then magnitudes, with exponents aligned only when the sizes of the
// two values are close enough for the answer to depend on the digits (so no
// huge power of ten is ever built); fractions by cross multiplication. Texts
// are compared as unsigned byte strings. Kinds must match.
#include <cmath>

#include "convert.h"
#include "numbers/number.h"
#include "base/tq_state.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"

namespace {

int64_t bitLength(const TqStr &m) {
    int32_t n = tq_NWords(m);
    while (n > 0 && tq_W(m)[n - 1] == 0) --n;
    if (n == 0) return 0;
    uint32_t top = tq_W(m)[n - 1];
    int64_t bits = static_cast<int64_t>(n - 1) * 32;
    while (top) {
        ++bits;
        top >>= 1;
    }
    return bits;
}

TqStr trimmed(const TqStr &m) {
    TqStr t = m;
    tq_Trim(t);
    return t;
}

int32_t cmpBinFloat(const TqNum &a, const TqNum &b) {
    const int64_t ta = bitLength(a.MantN) + 8 * static_cast<int64_t>(a.V.Expo);
    const int64_t tb = bitLength(b.MantN) + 8 * static_cast<int64_t>(b.V.Expo);
    if (ta != tb) return ta < tb ? -1 : 1;
    TqStr x = trimmed(a.MantN), y = trimmed(b.MantN);
    const int64_t diff = static_cast<int64_t>(a.V.Expo) - b.V.Expo;
    if (diff > 0) x.insert(0, static_cast<size_t>(diff), '\0');
    else if (diff < 0) y.insert(0, static_cast<size_t>(-diff), '\0');
    if (x.size() % 4) x.append(4 - x.size() % 4, '\0');
    if (y.size() % 4) y.append(4 - y.size() % 4, '\0');
    return tq_Cmp(x, y);
}

int32_t cmpDecFloat(const TqNum &a, const TqNum &b) {
    const double l2 = 0.30102999566398120;
    const int64_t ba = bitLength(a.MantN), bb = bitLength(b.MantN);
    // log10 of each value lies in [(bits - 1) log10 2 + e, bits log10 2 + e).
    const double loA = (ba - 1) * l2 + a.V.Expo, hiA = ba * l2 + a.V.Expo;
    const double loB = (bb - 1) * l2 + b.V.Expo, hiB = bb * l2 + b.V.Expo;
    if (hiA + 1e-9 < loB - 1e-9) return -1;
    if (hiB + 1e-9 < loA - 1e-9) return 1;
    TqStr x = trimmed(a.MantN), y = trimmed(b.MantN);
    const int64_t diff = static_cast<int64_t>(a.V.Expo) - b.V.Expo;
    if (diff != 0) {
        TqStr p10;
        n_Pow10_Exact(diff > 0 ? diff : -diff, p10);
        int32_t trim = 1;
        if (diff > 0) h_Mul(std::move(x), std::move(p10), trim, x);
        else h_Mul(std::move(y), std::move(p10), trim, y);
    }
    return tq_Cmp(x, y);
}

int32_t cmpFraction(const TqNum &a, const TqNum &b) {
    TqStr l, r;
    int32_t trim = 1;
    h_Mul(trimmed(a.MantN), trimmed(b.DenN), trim, l);
    trim = 1;
    h_Mul(trimmed(b.MantN), trimmed(a.DenN), trim, r);
    return tq_Cmp(l, r);
}

int32_t cmpText(const TqStr &a, const TqStr &b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace

int32_t n_Compare(const TqNum &a, const TqNum &b) {
    if (a.V.NumType != b.V.NumType) {
        tq_RaiseErr(tq_Err_Type);
        return 2;
    }
    const int32_t sa = a.V.Special, sb = b.V.Special;
    if (sa || sb) {
        if (sa == tq_Special_NaN || sb == tq_Special_NaN) {
            tq_RaiseErr(tq_Err_Invalid);
            return -2;
        }
        if (sa == sb) return 0;
        if (sa == tq_Special_PosInf || sb == tq_Special_NegInf) return 1;
        return -1;
    }
    const int32_t kind = a.V.NumType;
    if (kind == TarqText) return cmpText(a.MantN, b.MantN);
    if (kind < TarqDecFloat || kind > TarqFraction) {
        tq_RaiseErr(tq_Err_Type);
        return 2;
    }
    const bool za = tq_IsZero(a.MantN), zb = tq_IsZero(b.MantN);
    const int32_t signA = za ? 0 : (a.V.Sign < 0 ? -1 : 1), signB = zb ? 0 : (b.V.Sign < 0 ? -1 : 1);
    if (signA != signB) return signA < signB ? -1 : 1;
    if (signA == 0) return 0;
    int32_t m;
    switch (kind) {
        case TarqDecFloat: m = cmpDecFloat(a, b); break;
        case TarqBinFloat: m = cmpBinFloat(a, b); break;
        case TarqBigInt: m = tq_Cmp(a.MantN, b.MantN); break;
        default: m = cmpFraction(a, b); break;
    }
    return signA * m;
}

int32_t n_IsEqual(const TqNum &a, const TqNum &b) {
    if (a.V.NumType != b.V.NumType) {
        tq_RaiseErr(tq_Err_Type);
        return 2;
    }
    return n_Compare(a, b) == 0 ? 1 : 0;
}

int32_t n_IsZero(const TqNum &v) {
    if (v.V.Special) {
        if (v.V.Special == tq_Special_NaN) tq_RaiseErr(tq_Err_Invalid);
        return 0;
    }
    if (v.V.NumType == TarqText) return v.MantN.empty() ? 1 : 0;
    return tq_IsZero(v.MantN) ? 1 : 0;
}

int32_t n_IsInRange(const TqNum &v, int32_t code, TqStr &textOut) {
    const int32_t kind = v.V.NumType;
    if (kind < TarqDecFloat || kind > TarqFraction) {
        tq_RaiseErr(tq_Err_Type);
        return 0;
    }
    if (v.V.Special) {
        if (v.V.Special == tq_Special_NaN) tq_RaiseErr(tq_Err_Invalid);
        return 0;
    }
    if (code < tq_Type_Long || code > tq_Type_Ext) {
        tq_RaiseErr(tq_Err_Type);
        return 0;
    }
    if (code == tq_Type_Long || code == tq_Type_Dword) {
        // Values of 2^64 and more are outside without converting them.
        if (!tq_IsZero(v.MantN) && ((kind == TarqDecFloat && v.V.Expo > 20) || (kind == TarqBinFloat && v.V.Expo > 8)))
            return 0;
        TqNum i;
        i.V.NumType = TarqBigInt;
        if (int32_t st = n_Convert_TarqVar2TarqVar(v, i, 0, 0)) {
            tq_RaiseErr(st);
            return 0;
        }
        tq_Trim(i.MantN);
        textOut = i.MantN;
        const uint32_t w = tq_W(i.MantN)[0];
        if (tq_NWords(i.MantN) > 1) return 0;
        if (code == tq_Type_Long) return w <= (i.V.Sign < 0 ? 2147483648u : 2147483647u) ? 1 : 0;
        return i.V.Sign < 0 ? 0 : 1;
    }
    TqNum f = v;
    if (kind == TarqFraction) {
        f = TqNum();
        f.V.NumType = TarqBinFloat;
        if (int32_t st = n_Convert_TarqVar2TarqVar(v, f, 0, 0)) {
            tq_RaiseErr(st);
            return 0;
        }
    }
    if (int32_t st = n_Convert_TarqVar2String(f, tq_Format_Dec | tq_Format_Scientific, 18, textOut)) {
        tq_RaiseErr(st);
        return 0;
    }
    const size_t m = textOut.find("*d");
    if (m == TqStr::npos) return 0;
    int64_t x = 0;
    size_t i = m + 2;
    const bool neg = i < textOut.size() && textOut[i] == '-';
    if (i < textOut.size() && (textOut[i] == '-' || textOut[i] == '+')) ++i;
    for (; i < textOut.size() && textOut[i] >= '0' && textOut[i] <= '9'; ++i) {
        x = x * 10 + (textOut[i] - '0');
        if (x > 100000000) break;
    }
    if (neg) x = -x;
    if (tq_IsZero(f.MantN)) x = 0;
    if (code == tq_Type_Double) return (x >= -306 && x <= 307) ? 1 : 0;
    return (x >= -4931 && x <= 4931) ? 1 : 0;
}
