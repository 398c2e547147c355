// Conversions between the two float kinds. Decimal to binary multiplies by, or
// divides with enough guard bytes by, the power of ten from the powers-of-ten
// lookup; binary to decimal keeps integers of up to twice the digit precision
// exact, takes a fraction times the exact power of ten that leaves twelve
// digits below the cut (fractionToDecimal), and otherwise scales by a power
// of ten with twice the digit precision as guard digits. Both end with the cut
// to the working precision. Shifts by powers of 256 are byte-string
// operations.
#include <cmath>
#include <cstdint>

#include "convert.h"
#include "numbers/num_util.h"
#include "numbers/number.h"
#include "numbers/pow10.h"
#include "base/tq_state.h"
#include "kernels/divmod.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"


// Makes a binary float's Expo a multiple of 4 by shifting whole bytes into the
// magnitude, and its magnitude a whole number of words.
static void alignBinFloat(TarqVar &v, TqStr &M) {
    int32_t r = ((v.Expo % 4) + 4) % 4;
    if (r) {
        M.insert(0, static_cast<size_t>(r), '\0');
        v.Expo -= r;
    }
    if (M.size() % 4) M.append(4 - M.size() % 4, '\0');
    tq_Trim(M);
}

int32_t n_Convert_TarqDecFloat2TarqBinFloat(const TqNum &src, TqNum &dst) {
    if (src.V.Expo == INT32_MIN && !tq_IsZero(src.MantN)) {
        // 10^(2^31) is beyond the lookup: one power of ten less, then a
        // division by ten below a guard word.
        TqNum s = src;
        s.V.Expo += 1;
        if (int32_t st = n_Convert_TarqDecFloat2TarqBinFloat(s, dst)) return st;
        TqStr x = TqStr(4, '\0') + dst.MantN, rem;
        h_DivMod(std::move(x), tq_Word(10), 0, dst.MantN, rem);
        dst.V.Expo -= 4;
        tq_Trim(dst.MantN);
        n_ReducePrecision(dst.V, dst.MantN);
        return 0;
    }
    n_Convert_Start(src, dst, TarqBinFloat);
    const int32_t e = src.V.Expo;
    if (tq_IsZero(src.MantN)) {
        dst.MantN = tq_Word(0);
        return 0;
    }
    TqStr M = src.MantN;
    tq_Trim(M);
    if (e == 0) {
        dst.MantN = std::move(M);
    } else {
        TarqVar pv;
        TqStr P;
        n_Pow10_Lookup(e > 0 ? e : -e, pv, P);
        tq_Trim(P);
        if (e > 0) {
            int32_t trim = 1;
            h_Mul(std::move(M), std::move(P), trim, dst.MantN);
            dst.V.Expo = pv.Expo;
        } else {
            int32_t n = gTq_Prec_Bytes_Internal + tq_Len(P) + 4 - tq_Len(M);
            if (n < 0) n = 0;
            M.insert(0, static_cast<size_t>(n), '\0');
            TqStr rem;
            h_DivMod(std::move(M), std::move(P), 0, dst.MantN, rem);
            dst.V.Expo = -pv.Expo - n;
        }
    }
    alignBinFloat(dst.V, dst.MantN);
    n_ReducePrecision(dst.V, dst.MantN);
    return 0;
}

// A decimal exponent beyond 32 bits: tq_Err_ExpRange with the infinity of
// the value's sign when it is too large, zero when it is too small.
static int32_t expRange(TqNum &dst, bool tooLarge) {
    dst.MantN = tq_Word(0);
    dst.V.Expo = 0;
    if (!tooLarge) {
        dst.V.Sign = 1;
        return tq_RaiseErr(tq_Err_ExpRange);
    }
    dst.V.Special = dst.V.Sign < 0 ? tq_Special_NegInf : tq_Special_PosInf;
    return tq_RaiseErr(tq_Err_ExpRange | tq_Err_Special);
}

static const long double kLog10_256 = 2.408239965311849907224306l;

// x = M 256^b (b < 0, M trimmed and non-zero) as the decimal floor(x 10^s)
// 10^-s, s chosen so that about twelve digits lie below the K that the cut
// keeps: the cut then rounds on exact digits, with a dropped non-zero
// fraction of x 10^s counted in the last bit (true value above an exact half
// of the dropped digits: the cut, which rounds a half down, must round up).
// The product is by the exact 10^s, so the digits kept are those of x itself,
// and the cut divides by a short power of ten instead of one as long as the
// guard. False, touching nothing, when 10^s is not exact in the powers-of-ten
// table or x lies beyond what twelve digits below the cut reach.
static bool fractionToDecimal(const TqNum &src, const TqStr &M, int32_t b, TqNum &dst) {
    const double l2 = tq_ApproxLog2(src);
    const int64_t lead = static_cast<int64_t>(std::floor(l2 * 0.30102999566398120));
    const int64_t s = 12 + n_DecCutDigits() - 1 - lead;
    // 10^s = 5^s 2^s: exact while 5^s fits the table's bytes (a word spare).
    const int32_t table = n_Pow10_TablePrecision();
    if (s <= 0 || static_cast<double>(s) * 2.321928094887362 / 8 + 8 > table) return false;
    TqStr P;
    n_Pow10_Integer(static_cast<int32_t>(s), P);
    tq_Trim(P);
    TqStr Q;
    int32_t trim = 1;
    h_Mul(M, std::move(P), trim, Q);
    const size_t drop = static_cast<size_t>(-static_cast<int64_t>(b));
    if (Q.size() <= drop) return false;
    bool sticky = false;
    for (size_t i = 0; i < drop && !sticky; ++i) sticky = Q[i] != 0;
    Q.erase(0, drop);
    if (Q.size() % 4) Q.append(4 - Q.size() % 4, '\0');
    tq_Trim(Q);
    if (sticky) tq_W(Q)[0] |= 1u;
    dst.MantN = std::move(Q);
    dst.V.Expo = static_cast<int32_t>(-s);
    return true;
}

int32_t n_Convert_TarqBinFloat2TarqDecFloat(const TqNum &src, TqNum &dst) {
    n_Convert_Start(src, dst, TarqDecFloat);
    const int32_t b = src.V.Expo;
    if (tq_IsZero(src.MantN)) {
        dst.MantN = tq_Word(0);
        return 0;
    }
    TqStr M = src.MantN;
    tq_Trim(M);
    const int64_t guard = 2 * static_cast<int64_t>(gTq_Prec_Digits_Internal);
    if (b == 0) {
        dst.MantN = std::move(M);
    } else if (b > 0) {
        n_Trace("Positive exponent");
        int64_t d = std::llrint(static_cast<long double>(b) * kLog10_256);
        if (d - guard > INT32_MAX) return expRange(dst, true);
        if (guard >= d) {
            M.insert(0, static_cast<size_t>(b), '\0');
            dst.MantN = std::move(M);
        } else {
            d -= guard;
            dst.V.Expo = static_cast<int32_t>(d);
            TarqVar pv;
            TqStr P;
            n_Pow10_Lookup(static_cast<int32_t>(d), pv, P);
            tq_Trim(P);
            const int32_t s = b - pv.Expo;
            if (s < 0) P.insert(0, static_cast<size_t>(-s), '\0');
            else M.insert(0, static_cast<size_t>(s), '\0');
            if (tq_Len(M) - tq_Len(P) < 2 * gTq_Prec_Bytes_Internal) {
                n_Trace("a1 - Possible loss of precision error !! --> n_Convert_TarqBinFloat2TarqDecFloat");
                n_Trace("decrease size of 10^b !!");
            }
            n_Trace("n_Convert_TarqBinFloat2TarqDecFloat: doing division....");
            TqStr rem;
            h_DivMod(std::move(M), std::move(P), 0, dst.MantN, rem);
            n_Trace("n_Convert_TarqBinFloat2TarqDecFloat: division ended....");
        }
    } else if (fractionToDecimal(src, M, b, dst)) {
        // Rounded by the cut below.
    } else {
        const int64_t d = std::llrint(static_cast<long double>(-static_cast<int64_t>(b)) * kLog10_256) + guard;
        if (d > INT32_MAX) return expRange(dst, false);
        dst.V.Expo = static_cast<int32_t>(-d);
        TarqVar pv;
        TqStr P;
        n_Pow10_Lookup(static_cast<int32_t>(d), pv, P);
        tq_Trim(P);
        TqStr Q;
        int32_t trim = 1;
        h_Mul(std::move(M), std::move(P), trim, Q);
        const int64_t s = static_cast<int64_t>(b) + pv.Expo;
        if (s < 0) {
            if (static_cast<int64_t>(Q.size()) > -s) Q.erase(0, static_cast<size_t>(-s));
            else Q = tq_Word(0);
        } else {
            Q.insert(0, static_cast<size_t>(s), '\0');
        }
        if (Q.size() % 4) Q.append(4 - Q.size() % 4, '\0');
        tq_Trim(Q);
        dst.MantN = std::move(Q);
    }
    n_NormaliseZero(dst.V, dst.MantN);
    n_ReducePrecision(dst.V, dst.MantN);
    return 0;
}
