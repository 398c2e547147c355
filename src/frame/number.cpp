// Cutting floats to the working precision, canonical zero, and fraction
// reduction.
#include "number.h"

#include <cmath>

#include "cut_recip.h"
#include "kernels/divmod.h"
#include "kernels/limbops.h"
#include "kernels/mul.h"
#include "pow10.h"
#include "tq_state.h"

void n_TrimMag(TqStr &m) {
    size_t n = m.size() / 4;
    const uint32_t *w = tq_W(m);
    while (n > 0 && w[n - 1] == 0) --n;
    m.resize((n ? n : 1) * 4);
}

// Adds 1 to a magnitude in place, growing it by a word on a final carry.
static void incMag(TqStr &m) {
    size_t n = m.size() / 4;
    uint32_t *w = tq_W(m);
    for (size_t i = 0; i < n; ++i)
        if (++w[i] != 0) return;
    m += tq_Word(1);
}

// The decimal cut by 10^d when 10^d fits one limb (d <= 9 for 32-bit limbs,
// d <= 19 for 64-bit limbs): one pass of divisions by a normalised limb
// through its reciprocal, in place, and the same rounding as the general
// path (up by one only when the remainder exceeds half of 10^d).
template <class L> static void cutBySmallPow10(TqStr &M, L p) {
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
    for (int32_t i = n - 1; i >= 0; --i) {
        const L limb = s ? static_cast<L>((u[i] << s) | (i ? u[i - 1] >> (B - s) : 0)) : u[i];
        u[i] = tqL_Div2By1(r, limb, d, v, r);
    }
    const L rem = static_cast<L>(r >> s);
    n_TrimMag(M);
    if (rem > p - rem) incMag(M);
}

// Cuts M by 10^d through cutBySmallPow10 when 10^d fits a limb; false when
// it does not.
static bool cutBySmallPow10(TqStr &M, int32_t d) {
    uint64_t p = 1;
    for (int32_t i = 0; i < d && i < 20; ++i) p *= 10;
#if TQ_HAVE_LIMB64
    if (tqL_UseLimb64() && d <= 19) {
        cutBySmallPow10<uint64_t>(M, p);
        return true;
    }
#endif
    if (d <= 9) {
        cutBySmallPow10<uint32_t>(M, static_cast<uint32_t>(p));
        return true;
    }
    return false;
}

static int32_t floorDiv4(int32_t x) { return x >= 0 ? x / 4 : -((-x + 3) / 4); }

void n_ReducePrecision(TarqVar &v, TqStr &MantN) {
    const int32_t P = gTq_Prec_Bytes_Internal;
    const int32_t L = tq_Len(MantN);
    if (v.NumType != TarqDecFloat && v.NumType != TarqBinFloat) return;
    if (P >= L) return;
    if (v.NumType == TarqBinFloat) {
        if (v.Expo % tq_ExpNorm_BinFl != 0) {
            n_Trace(">>> Warning: n_ReducePrecision: Var.Expo not a multiple of %tq_ExpNorm_BinFl !! <<<");
            tq_WarningPause();
        }
        const unsigned char r = static_cast<unsigned char>(MantN[L - P - 1]);
        MantN.erase(0, static_cast<size_t>(L - P));
        if (r > 127) incMag(MantN);
        v.Expo += L - P;
        return;
    }
    // Decimal float: drop whole digits so that about P + 4 significant bytes
    // remain, keeping Expo a multiple of 4.
    int32_t S = L;
    while (S > 0 && MantN[S - 1] == 0) --S;
    const int32_t k = static_cast<int32_t>(std::lround(2.40823996531184952 * (S - (P + 4))));
    const int32_t E1 = 4 * ((k + v.Expo) / 4);
    const int32_t d = E1 - v.Expo;
    if (d > 0) {
        n_TrimMag(MantN);
        if (cutBySmallPow10(MantN, d)) {
            v.Expo = E1;
            return;
        }
        TqStr p10, q, rem;
        n_Pow10_Integer(d, p10);
        n_TrimMag(p10);
        int32_t up = 0;
        if (n_CutByPow10Recip(MantN, p10, q, up)) {
            if (up) incMag(q);
            MantN = std::move(q);
            v.Expo = E1;
            return;
        }
        TqStr m = MantN;
        n_TrimMag(m);
        h_DivMod(std::move(m), p10, 1, q, rem);
        v.Expo = E1;
        // Round half up only beyond the exact half: compare 2R with 10^d.
        TqStr twice(rem.size() + 4, '\0');
        uint32_t carry = 0;
        for (int32_t i = 0; i < tq_NWords(rem); ++i) {
            uint32_t w = tq_W(rem)[i];
            tq_W(twice)[i] = (w << 1) | carry;
            carry = w >> 31;
        }
        tq_W(twice)[tq_NWords(rem)] = carry;
        n_TrimMag(twice);
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
        n_TrimMag(p10);
        int32_t trim = 1;
        h_Mul(MantN, p10, trim, MantN);
        v.Expo = E2;
    }
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
    n_TrimMag(g);
    if (tq_NWords(g) == 1 && (tq_W(g)[0] == 1 || tq_W(g)[0] == 0)) return;
    TqStr q, r;
    h_DivMod(num, g, 0, q, r);
    num = std::move(q);
    h_DivMod(den, g, 0, q, r);
    den = std::move(q);
}
