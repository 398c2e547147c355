// Helpers on numbers: integer-valued numbers, exact tests, size estimates,
// precision guards and diagnostic text of numbers.
#include "num_util.h"

#include <cmath>

#include "base/tq_state.h"
#include "kernels/limbs.h"
#include "kernels/root.h"
#include "number.h"
#include "pow10.h"
#include "precision.h"

TqNum tq_IntNum(int32_t kind, int64_t v) {
    TqNum r;
    r.V = TarqVar{1, v < 0 ? -1 : 1, 0, kind, 0};
    uint64_t m = v < 0 ? static_cast<uint64_t>(-(v + 1)) + 1 : static_cast<uint64_t>(v);
    r.MantN = tq_Word(static_cast<uint32_t>(m));
    if (m >> 32) r.MantN += tq_Word(static_cast<uint32_t>(m >> 32));
    r.DenN = tq_Word(1);
    return r;
}

TqNum tq_SpecialNum(int32_t kind, int32_t special) {
    TqNum r = tq_IntNum(kind, 0);
    r.V.Special = special;
    return r;
}

void tq_SetSpecial(TqNum &v, int32_t special) {
    v.V.Special = special;
    if (v.MantN.empty()) v.MantN = tq_Word(0);
    if (v.DenN.empty()) v.DenN = tq_Word(1);
}

int32_t tq_SetOutOfRange(TqNum &v, bool tooLarge, int32_t sign) {
    n_SetZero(v);
    if (!tooLarge) return tq_RaiseErr(tq_Err_ExpRange);
    v.V.Special = sign < 0 ? tq_Special_NegInf : tq_Special_PosInf;
    return tq_RaiseErr(tq_Err_ExpRange | tq_Err_Special);
}

int32_t tq_SpecialResult(TqNum &r, int32_t s, bool invalid) {
    n_SetZero(r);
    r.V.Special = s;
    if (invalid) tq_RaiseErr(tq_Err_Invalid);
    return tq_RaiseErr(tq_Err_Special);
}

void tq_Finish(TqNum &r) {
    n_NormaliseZero(r.V, r.MantN);
    n_ReducePrecision(r.V, r.MantN);
}

int32_t tq_FinishExpo(TqNum &r, int64_t e) {
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
        tq_SpecialResult(r, tq_InfOfSign(sign), false);
        return tq_RaiseErr(tq_Err_ExpRange | tq_Err_Special);
    }
    if (expo < INT32_MIN) {
        n_SetZero(r);
        return tq_RaiseErr(tq_Err_ExpRange);
    }
    r.V.Expo = static_cast<int32_t>(expo);
    return 0;
}

bool tq_IsZeroNum(const TqNum &v) { return v.V.Special == 0 && tq_IsZero(v.MantN); }

bool tq_IsNegNum(const TqNum &v) { return v.V.Special == 0 && v.V.Sign < 0 && !tq_IsZero(v.MantN); }

bool tq_IsOneNum(const TqNum &v) {
    if (v.V.Special != 0 || v.V.Sign < 0) return false;
    TqStr m = v.MantN;
    tq_Trim(m);
    const int32_t bits = h_BitLength(m);
    if (bits == 0) return false;
    switch (v.V.NumType) {
        case TarqBinFloat: {
            // M * 256^E == 1: M a power of two with bit -8E set alone.
            if (v.V.Expo > 0 || bits - 1 != -8 * static_cast<int64_t>(v.V.Expo)) return false;
            for (int32_t i = 0; i < tq_NWords(m) - 1; ++i)
                if (tq_W(m)[i]) return false;
            const uint32_t top = tq_W(m)[tq_NWords(m) - 1];
            return (top & (top - 1)) == 0;
        }
        case TarqDecFloat: {
            if (v.V.Expo > 0) return false;
            if (v.V.Expo == 0) return bits == 1;
            // M == 10^-E; 10^k has between 3.32k and 3.33k + 1 bits.
            const double k = -static_cast<double>(v.V.Expo);
            if (bits < 3.3219 * k || bits > 3.3220 * k + 2) return false;
            TqStr p;
            n_Pow10_Integer(-v.V.Expo, p);
            tq_Trim(p);
            return p == m;
        }
        case TarqBigInt:
            return bits == 1;
        case TarqFraction: {
            TqStr d = v.DenN;
            tq_Trim(d);
            return d == m;
        }
        default:
            return false;
    }
}

double tq_ApproxLog2(const TqNum &v) {
    const uint32_t *w = tq_W(v.MantN);
    int32_t top = tq_NWords(v.MantN) - 1;
    while (top >= 0 && w[top] == 0) --top;
    if (top < 0) return -INFINITY;
    // The leading 64 bits (fewer when the magnitude is shorter).
    uint64_t lead = (static_cast<uint64_t>(w[top]) << 32) | (top > 0 ? w[top - 1] : 0);
    double l = std::log2(static_cast<double>(lead)) + 32.0 * (top - 1);
    if (v.V.NumType == TarqBinFloat) l += 8.0 * v.V.Expo;
    if (v.V.NumType == TarqDecFloat) l += 3.32192809488736235 * v.V.Expo;
    if (v.V.NumType == TarqFraction) {
        TqNum d;
        d.V.NumType = TarqBigInt;
        d.MantN = v.DenN;
        l -= tq_ApproxLog2(d);
    }
    return l;
}

bool tq_SameAtPrecision(const TqNum &a, const TqNum &b, int32_t bytes) {
    TqPrecisionScope wp;
    wp.set(bytes);
    TqNum x = a, y = b;
    n_ReducePrecision(x.V, x.MantN);
    n_ReducePrecision(y.V, y.MantN);
    tq_Trim(x.MantN);
    tq_Trim(y.MantN);
    return x.V.Expo == y.V.Expo && x.MantN == y.MantN && x.V.Sign == y.V.Sign;
}

std::string tq_MagHex(const TqStr &m) {
    static const char *hex = "0123456789ABCDEF";
    std::string s;
    for (size_t i = m.size(); i-- > 0;) {
        unsigned char c = static_cast<unsigned char>(m[i]);
        s += hex[c >> 4];
        s += hex[c & 15];
    }
    size_t nz = s.find_first_not_of('0');
    return nz == std::string::npos ? "0" : s.substr(nz);
}

// The magnitude in decimal by repeated division by 10^9 (diagnostics only).
static std::string magDec(TqStr m) {
    tq_Trim(m);
    std::string out;
    while (!tq_IsZero(m)) {
        uint64_t rem = 0;
        for (int32_t i = tq_NWords(m) - 1; i >= 0; --i) {
            uint64_t cur = (rem << 32) | tq_W(m)[i];
            tq_W(m)[i] = static_cast<uint32_t>(cur / 1000000000u);
            rem = cur % 1000000000u;
        }
        tq_Trim(m);
        std::string chunk = std::to_string(rem);
        if (!tq_IsZero(m)) chunk.insert(0, 9 - chunk.size(), '0');
        out.insert(0, chunk);
    }
    return out.empty() ? "0" : out;
}

void tq_TraceNumber(const TqNum &v) {
    if (!n_TraceOn()) return;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", static_cast<uint32_t>(v.V.Expo));
    n_Trace("Dec: VarN    : " + magDec(v.MantN));
    n_Trace("Dec: Var.Expo:" + std::to_string(v.V.Expo));
    n_Trace("Hex: VarN    : " + tq_MagHex(v.MantN));
    n_Trace("Hex: Var.Expo:" + std::string(buf));
}

