// Cutting floats to the working precision, canonical zero, and fraction
// reduction.
#include "number.h"

#include <cmath>
#include <vector>

#include "cut_recip.h"
#include "kernels/divmod.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"
#include "pow10.h"
#include "base/tq_state.h"

// Adds 1 to a magnitude in place, growing it by a word on a final carry.
static void incMag(TqStr &m) {
    size_t n = m.size() / 4;
    uint32_t *w = tq_W(m);
    for (size_t i = 0; i < n; ++i)
        if (++w[i] != 0) return;
    m += tq_Word(1);
}

// Limb counts from which the one-limb cut runs as three interleaved chains.
constexpr int32_t kCutSplitLimbs = 8;

// Divides U = M x 2^s (u the n limbs of M, U's top limb r < d) by the
// normalised limb d in place, leaving the remainder in r. Each division by a
// reciprocal waits for the one before it, so the work runs as three
// independent chains side by side: the high n - k limbs of U (quotient QA,
// remainder rA), the low k limbs from remainder 0 (QL, rB), and B^k / d
// (quotient w, remainder e). Then U = QA d B^k + rA (w d + e) + QL d + rB, so
// the quotient is QA B^k + QL + rA w + (rA e + rB) div d.
template <class L> static void cutSplit(L *u, int32_t n, int s, L d, L v, L &r) {
    const int B = tqL_LimbBits<L>;
    const int32_t k = n / 2;
    const L below = u[k - 1];  // the high chain's last limb needs it unchanged
    auto limb = [&](int32_t i, L lower) -> L { return s ? static_cast<L>((u[i] << s) | (lower >> (B - s))) : u[i]; };
    constexpr int32_t kStack = 64;
    L wBuf[kStack];
    std::vector<L> wHeap;
    L *w = wBuf;
    if (k > kStack) {
        wHeap.resize(static_cast<size_t>(k));
        w = wHeap.data();
    }
    L rA = r, rB = 0, rC = 1;
    int32_t ia = n - 1;
    if (n - k > k) {
        u[ia] = tqL_Div2By1(rA, limb(ia, u[ia - 1]), d, v, rA);
        --ia;
    }
    for (int32_t j = k - 1; j >= 0; --j, --ia) {
        const L la = limb(ia, ia == k ? below : u[ia - 1]);
        const L lb = limb(j, j ? u[j - 1] : 0);
        u[ia] = tqL_Div2By1(rA, la, d, v, rA);
        u[j] = tqL_Div2By1(rB, lb, d, v, rB);
        w[j] = tqL_Div2By1(rC, static_cast<L>(0), d, v, rC);
    }
    tqL_Add1(u + k, n - k, tqL_AddMul1(u, w, k, rA));
    L hi, lo;
    tqL_MulWide(rA, rC, hi, lo);
    lo += rB;
    hi += lo < rB;
    L rh;
    const L qh = tqL_Div2By1(static_cast<L>(0), hi, d, v, rh);
    const L ql = tqL_Div2By1(rh, lo, d, v, r);
    tqL_Add1(u, n, ql);
    tqL_Add1(u + 1, n - 1, qh);
}

// M = floor(M / p) in place for a p that fits one limb: one pass of divisions
// by a normalised limb through its reciprocal. Returns the remainder.
template <class L> static L divBySmallPow10(TqStr &M, L p) {
    constexpr int32_t per = static_cast<int32_t>(sizeof(L) / 4);
    const int32_t words = tq_NWords(M);
    if (words % per) M.append(static_cast<size_t>(4 * (per - words % per)), '\0');
    L *u = reinterpret_cast<L *>(M.data());
    const int32_t n = tq_NWords(M) / per;
    const int B = tqL_LimbBits<L>;
    const int s = tqL_LeadingZeros(p);
    const L d = static_cast<L>(p << s);
    const L v = tqL_RecipLimb(d);
    // Divides M x 2^s by d: the same quotient, the remainder times 2^s.
    L r = s ? static_cast<L>(u[n - 1] >> (B - s)) : 0;
    if (n < kCutSplitLimbs) {
        for (int32_t i = n - 1; i >= 0; --i) {
            const L limb = s ? static_cast<L>((u[i] << s) | (i ? u[i - 1] >> (B - s) : 0)) : u[i];
            u[i] = tqL_Div2By1(r, limb, d, v, r);
        }
    } else {
        cutSplit(u, n, s, d, v, r);
    }
    tq_Trim(M);
    return static_cast<L>(r >> s);
}

// The decimal cut by 10^d, d split into up to kCutPasses powers of ten that
// each fit a limb (at most 9 digits for 32-bit limbs, 19 for 64-bit limbs):
// floor divisions compose, floor(floor(M / a) / b) = floor(M / ab), so each
// pass divides the quotient of the one before. The rounding is the general
// path's (up by one only when the dropped part exceeds half of 10^d): with
// the remainders r1 .. rk of the passes, the dropped fraction is
// rk / pk + r(k-1) / (p(k-1) pk) + ..., and as pk is even it exceeds one half
// exactly when rk > pk / 2, or rk = pk / 2 and a lower remainder is non-zero.
constexpr int32_t kCutPasses = 4;
template <class L> static void cutBySmallPow10(TqStr &M, int32_t d, int32_t maxDigits) {
    bool lowerNonZero = false;
    for (;;) {
        const int32_t c = d < maxDigits ? d : maxDigits;
        L p = 1;
        for (int32_t i = 0; i < c; ++i) p *= 10;
        const L r = divBySmallPow10<L>(M, p);
        d -= c;
        if (d > 0) {
            lowerNonZero = lowerNonZero || r != 0;
            continue;
        }
        if (r > p / 2 || (r == p / 2 && lowerNonZero)) incMag(M);
        return;
    }
}

// Cuts M by 10^d through cutBySmallPow10 when d needs at most kCutPasses
// passes; false when it needs more.
static bool cutBySmallPow10(TqStr &M, int32_t d) {
#if TQ_HAVE_LIMB64
    if (tqL_UseLimb64() && d <= 19 * kCutPasses) {
        cutBySmallPow10<uint64_t>(M, d, 19);
        return true;
    }
#endif
    if (d <= 9 * kCutPasses) {
        cutBySmallPow10<uint32_t>(M, d, 9);
        return true;
    }
    return false;
}

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
    const int64_t K = static_cast<int64_t>(2.40823996531184952 * (P + 4));
    const int64_t lead = v.Expo + decimalDigits(MantN) - 1;
    const int64_t E1 = 4 * floorDiv4_64(lead - K + 1);
    const int32_t d = static_cast<int32_t>(E1 - v.Expo);
    if (d > 0) {
        tq_Trim(MantN);
        if (cutBySmallPow10(MantN, d)) {
            v.Expo = E1;
            return;
        }
        TqStr p10, q, rem;
        n_Pow10_Integer(d, p10);
        tq_Trim(p10);
        int32_t up = 0;
        if (n_CutByPow10Recip(MantN, p10, q, up)) {
            if (up) incMag(q);
            MantN = std::move(q);
            v.Expo = static_cast<int32_t>(E1);
            return;
        }
        TqStr m = MantN;
        tq_Trim(m);
        h_DivMod(std::move(m), p10, 1, q, rem);
        v.Expo = static_cast<int32_t>(E1);
        // Round half up only beyond the exact half: compare 2R with 10^d.
        TqStr twice(rem.size() + 4, '\0');
        uint32_t carry = 0;
        for (int32_t i = 0; i < tq_NWords(rem); ++i) {
            uint32_t w = tq_W(rem)[i];
            tq_W(twice)[i] = (w << 1) | carry;
            carry = w >> 31;
        }
        tq_W(twice)[tq_NWords(rem)] = carry;
        tq_Trim(twice);
        int32_t bigger = 0;
        if (tq_NWords(twice) != tq_NWords(p10)) {
            bigger = tq_NWords(twice) > tq_NWords(p10);
        } else {
            for (int32_t i = tq_NWords(p10) - 1; i >= 0; --i) {
                uint32_t a = tq_W(twice)[i], b = tq_W(p10)[i];
                if (a != b) {
                    bigger = a > b;
                    break;
                }
            }
        }
        if (bigger) incMag(q);
        MantN = std::move(q);
    } else if (v.Expo % 4 != 0) {
        const int32_t E2 = 4 * floorDiv4(v.Expo);
        TqStr p10;
        n_Pow10_Integer(v.Expo - E2, p10);
        tq_Trim(p10);
        int32_t trim = 1;
        h_Mul(MantN, p10, trim, MantN);
        v.Expo = E2;
    }
}

void n_SetZero(TqNum &v) {
    v.V.Sign = 1;
    v.V.Expo = 0;
    v.V.Special = 0;
    v.MantN = tq_Word(0);
    v.DenN = tq_Word(1);
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
