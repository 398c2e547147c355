// Cutting floats to the working precision, canonical zero, and fraction
// reduction.
#include "number.h"

#include <cmath>

#include "kernels/cut_pow10.h"
#include "kernels/divmod.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"
#include "pow10.h"
#include "base/tq_state.h"

// The binary cut: keeps `bits` significant bits counted from the leading one
// bit, rounding to nearest on the first dropped bit (a half goes up), and
// drops the whole words below them so the exponent stays on the word grid.
// The bits of the lowest kept word below the cut are cleared.
static void cutBinary(TarqVar &v, TqStr &MantN, int64_t bits) {
    int32_t n = tq_NWords(MantN);
    const uint32_t *w = tq_W(MantN);
    while (n > 0 && w[n - 1] == 0) --n;
    if (n == 0) return;
    const int64_t length = 32 * static_cast<int64_t>(n - 1) + (32 - __builtin_clz(w[n - 1]));
    if (length <= bits) return;
    const int64_t drop = length - bits;  // bits below the kept ones
    const bool up = (w[(drop - 1) / 32] >> ((drop - 1) % 32)) & 1u;
    const int32_t words = static_cast<int32_t>(drop / 32);
    const int clear = static_cast<int>(drop % 32);
    MantN.resize(static_cast<size_t>(n) * 4);
    MantN.erase(0, static_cast<size_t>(words) * 4);
    v.Expo += 4 * words;
    uint32_t *k = tq_W(MantN);
    if (clear) k[0] &= ~((1u << clear) - 1u);
    if (up) {
        // Adds one unit of the last kept bit; a carry out of the top word
        // gives a power of two, which needs one more word.
        uint64_t carry = uint64_t{1} << clear;
        for (int32_t i = 0; carry && i < tq_NWords(MantN); ++i) {
            const uint64_t t = k[i] + carry;
            k[i] = static_cast<uint32_t>(t);
            carry = t >> 32;
        }
        if (carry) MantN += tq_Word(1);
    }
}

static int64_t floorDiv4_64(int64_t x) { return x >= 0 ? x / 4 : -((-x + 3) / 4); }

// The number of decimal digits of a trimmed nonzero magnitude: from the
// logarithm of its top 64 bits, checked against the power of ten when that
// lies too close to a whole number to decide.
static int64_t decimalDigits(const TqStr &M) {
    const int32_t n = tq_NWords(M);
    const uint32_t *w = tq_W(M);
    const int32_t small = tq_DecimalDigitsSmall(w, n);
    if (small > 0) return small;
    const int64_t bits = 32 * static_cast<int64_t>(n - 1) + (32 - __builtin_clz(w[n - 1]));
    uint64_t top = 0;
    int64_t below = bits;  // bits under the top 64
    for (int64_t i = bits - 1; i >= 0 && i >= bits - 64; --i) {
        top = (top << 1) | ((w[i / 32] >> (i % 32)) & 1u);
        --below;
    }
    const double l = std::log10(static_cast<double>(top)) + static_cast<double>(below) * 0.30102999566398120;
    const double f = std::floor(l);
    int64_t digits = static_cast<int64_t>(f) + 1;
    if (l - f < 1e-6 || f + 1 - l < 1e-6) {
        // Settle it exactly: 10^(digits - 1) <= M < 10^digits.
        TqStr p;
        for (;;) {
            n_Pow10_Integer(static_cast<int32_t>(digits - 1), p);
            tq_Trim(p);
            if (tq_Cmp(M, p) < 0) { --digits; continue; }
            n_Pow10_Integer(static_cast<int32_t>(digits), p);
            tq_Trim(p);
            if (tq_Cmp(M, p) >= 0) { ++digits; continue; }
            break;
        }
    }
    return digits;
}

static int32_t floorDiv4(int32_t x) { return x >= 0 ? x / 4 : -((-x + 3) / 4); }

int64_t n_DecCutDigits() { return static_cast<int64_t>(2.40823996531184952 * (gTq_Prec_Bytes_Internal + 4)); }

void n_ReducePrecision(TarqVar &v, TqStr &MantN) {
    const int32_t P = gTq_Prec_Bytes_Internal;
    const int32_t L = tq_Len(MantN);
    if (v.NumType != TarqDecFloat && v.NumType != TarqBinFloat) return;
    if (v.NumType == TarqBinFloat) {
        if (v.Expo % tq_ExpNorm_BinFl != 0) {
            n_Trace(">>> Warning: n_ReducePrecision: Var.Expo not a multiple of %tq_ExpNorm_BinFl !! <<<");
            tq_WarningPause();
        }
        cutBinary(v, MantN, 8 * static_cast<int64_t>(P));
        return;
    }
    if (P >= L) return;
    // Decimal float: keep the K = floor(2.408 (P + 4)) leading digits, and up
    // to three more so that Expo stays a multiple of 4. The kept length
    // follows from P and the value alone, never from how long the mantissa
    // came in, so a value cut from a longer one has the same digits.
    tq_Trim(MantN);
    const int64_t K = n_DecCutDigits();
    const int64_t lead = v.Expo + decimalDigits(MantN) - 1;
    const int64_t E1 = 4 * floorDiv4_64(lead - K + 1);
    const int32_t d = static_cast<int32_t>(E1 - v.Expo);
    if (d > 0) {
        if (!tq_DivPow10Round(MantN, d)) {
            TqStr p10;
            n_Pow10_Integer(d, p10);
            tq_Trim(p10);
            tq_DivPow10RoundBy(MantN, p10);
        }
        v.Expo = static_cast<int32_t>(E1);
    } else if (v.Expo % 4 != 0) {
        const int32_t E2 = 4 * floorDiv4(v.Expo);
        static const uint32_t kTimes[4] = {1, 10, 100, 1000};
        tq_MulWord(MantN, kTimes[v.Expo - E2]);
        v.Expo = E2;
    }
}

void n_SetZero(TqNum &v) {
    v.V.Sign = 1;
    v.V.Expo = 0;
    v.V.Special = 0;
    v.MantN.assign(4, '\0');
    v.DenN.assign(4, '\0');
    tq_W(v.DenN)[0] = 1;
}

int32_t n_NormaliseZero(TarqVar &v, TqStr &MantN) {
    size_t n = MantN.size() / 4;
    while (n > 0 && tq_W(MantN)[n - 1] == 0) --n;
    if (n == 0) {
        MantN = tq_Word(0);
        v.Expo = 0;
        v.Sign = 1;
        return 1;
    }
    MantN.resize(n * 4);
    return 0;
}

void n_Mant_StripLowZeroWords(TarqVar &v, TqStr &MantN) {
    size_t n = MantN.size() / 4, low = 0;
    if (n == 0 || tq_W(MantN)[0] != 0) return;
    while (low < n && tq_W(MantN)[low] == 0) ++low;
    if (low == n) {
        MantN = tq_Word(0);
        v.Expo = 0;
        return;
    }
    MantN.erase(0, low * 4);
    v.Expo += static_cast<int32_t>(low * 4);
}

void n_ReduceFraction(TqStr &num, TqStr &den) {
    if (!gTq_Opt_ReduceFractions) return;
    TqStr g;
    h_Gcd(num, den, g);
    tq_Trim(g);
    if (tq_NWords(g) == 1 && (tq_W(g)[0] == 1 || tq_W(g)[0] == 0)) return;
    TqStr q, r;
    h_DivMod(num, g, 0, q, r);
    num = std::move(q);
    h_DivMod(den, g, 0, q, r);
    den = std::move(q);
}
