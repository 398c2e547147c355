// Conversions into and out of the exact kinds: floats to big integers
// (truncation towards zero) and to fractions, big integers to floats and
// fractions, fractions to floats (one correctly truncated quotient with guard
// digits, then the cut to the working precision) and to big integers.
#include <cmath>

#include "convert.h"
#include "numbers/number.h"
#include "base/tq_state.h"
#include "kernels/divmod.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"

static void padToWord(TqStr &M) {
    if (M.size() % 4) M.append(4 - M.size() % 4, '\0');
    if (M.empty()) M = tq_Word(0);
    tq_Trim(M);
}

// An exact result longer than the library builds: zero and tq_Err_ExpRange.
static int32_t tooLong(TqNum &dst) {
    dst.MantN = tq_Word(0);
    return tq_RaiseErr(tq_Err_ExpRange);
}

// Number of decimal digits of a non-zero magnitude, up to one too many.
static int64_t decDigitsUpper(const TqStr &M) {
    int32_t n = tq_NWords(M);
    while (n > 1 && tq_W(M)[n - 1] == 0) --n;
    return static_cast<int64_t>(n) * 32 * 0.30103 + 2;
}

int32_t n_Convert_TarqDecFloat2TarqBigInt(const TqNum &src, TqNum &dst) {
    n_Convert_Start(src, dst, TarqBigInt);
    const int32_t e = src.V.Expo;
    TqStr M = src.MantN;
    tq_Trim(M);
    if (tq_IsZero(M)) {
        dst.MantN = tq_Word(0);
        return 0;
    }
    TqStr P10;
    if (e >= 0) {
        if (!n_Pow10_Exact(e, P10)) return tooLong(dst);
        int32_t trim = 1;
        h_Mul(std::move(M), std::move(P10), trim, dst.MantN);
        return 0;
    }
    n_Trace("n_Convert_TarqDecFloat2TarqBigInt, just before the trick !!");
    if (-static_cast<int64_t>(e) > decDigitsUpper(M)) {
        dst.MantN = tq_Word(0);  // below one: no power of ten needed
        return 0;
    }
    n_Pow10_Exact(-static_cast<int64_t>(e), P10);
    TqStr rem;
    h_DivMod(std::move(M), std::move(P10), 0, dst.MantN, rem);
    padToWord(dst.MantN);
    return 0;
}

int32_t n_Convert_TarqBinFloat2TarqBigInt(const TqNum &src, TqNum &dst) {
    n_Convert_Start(src, dst, TarqBigInt);
    const int32_t b = src.V.Expo;
    if (b > tq_MaxExactBytes && !tq_IsZero(src.MantN)) return tooLong(dst);
    TqStr M = src.MantN;
    if (b >= 0) {
        M.insert(0, static_cast<size_t>(b), '\0');
    } else if (static_cast<int64_t>(M.size()) > -static_cast<int64_t>(b)) {
        M.erase(0, static_cast<size_t>(-b));
    } else {
        M = tq_Word(0);
    }
    padToWord(M);
    dst.MantN = std::move(M);
    return 0;
}

int32_t n_Convert_TarqDecFloat2TarqFraction(const TqNum &src, TqNum &dst) {
    n_Convert_Start(src, dst, TarqFraction);
    const int32_t e = src.V.Expo;
    TqStr M = src.MantN, P10;
    tq_Trim(M);
    if (tq_IsZero(M)) {
        dst.MantN = tq_Word(0);
        return 0;
    }
    if (!n_Pow10_Exact(e >= 0 ? e : -static_cast<int64_t>(e), P10)) return tooLong(dst);
    if (e >= 0) {
        int32_t trim = 1;
        h_Mul(std::move(M), std::move(P10), trim, dst.MantN);
    } else {
        dst.MantN = std::move(M);
        dst.DenN = std::move(P10);
        n_ReduceFraction(dst.MantN, dst.DenN);
    }
    return 0;
}

int32_t n_Convert_TarqBinFloat2TarqFraction(const TqNum &src, TqNum &dst) {
    n_Convert_Start(src, dst, TarqFraction);
    const int32_t b = src.V.Expo;
    if ((b > tq_MaxExactBytes || -static_cast<int64_t>(b) > tq_MaxExactBytes) && !tq_IsZero(src.MantN)) return tooLong(dst);
    TqStr M = src.MantN;
    tq_Trim(M);
    if (tq_IsZero(M)) {
        dst.MantN = tq_Word(0);
        return 0;
    }
    if (b >= 0) {
        M.insert(0, static_cast<size_t>(b), '\0');
        padToWord(M);
        dst.MantN = std::move(M);
    } else {
        TqStr D(static_cast<size_t>(-b), '\0');
        D += '\x01';
        padToWord(D);
        dst.MantN = std::move(M);
        dst.DenN = std::move(D);
        n_ReduceFraction(dst.MantN, dst.DenN);
    }
    return 0;
}

int32_t n_Convert_TarqBigInt2TarqFraction(const TqNum &src, TqNum &dst) {
    n_Convert_Start(src, dst, TarqFraction);
    dst.MantN = src.MantN;
    tq_Trim(dst.MantN);
    return 0;
}

int32_t n_Convert_TarqBigInt2TarqFloat(const TqNum &src, TqNum &dst, int32_t kind) {
    n_Convert_Start(src, dst, kind);
    dst.MantN = src.MantN;
    tq_Trim(dst.MantN);
    n_ReducePrecision(dst.V, dst.MantN);
    return 0;
}

// N / D for a zero denominator: plus or minus infinity, or NaN for 0/0.
static int32_t divideByZero(const TqNum &src, TqNum &dst) {
    dst.V.Expo = 0;
    dst.MantN = tq_Word(0);
    if (tq_IsZero(src.MantN)) {
        dst.V.Special = tq_Special_NaN;
        return tq_RaiseErr(tq_Err_Invalid);
    }
    dst.V.Special = src.V.Sign < 0 ? tq_Special_NegInf : tq_Special_PosInf;
    return tq_RaiseErr(tq_Err_Special);
}

int32_t n_Convert_TarqFraction2TarqFloat(const TqNum &src, TqNum &dst, int32_t kind) {
    n_Convert_Start(src, dst, kind);
    TqStr N = src.MantN, D = src.DenN;
    tq_Trim(N);
    tq_Trim(D);
    if (tq_IsZero(D)) return divideByZero(src, dst);
    if (tq_IsZero(N)) {
        dst.MantN = tq_Word(0);
        return 0;
    }
    // Scale the numerator so that the quotient keeps the working precision
    // plus guard bytes, then let the cut round it.
    const int32_t want = gTq_Prec_Bytes_Internal + 8;
    TqStr rem;
    if (kind == TarqBinFloat) {
        int32_t n = want + tq_Len(D) - tq_Len(N);
        if (n < 0) n = 0;
        N.insert(0, static_cast<size_t>(n), '\0');
        h_DivMod(std::move(N), std::move(D), 0, dst.MantN, rem);
        dst.V.Expo = -n;
    } else {
        int64_t k = static_cast<int64_t>(std::ceil((want + tq_Len(D) - tq_Len(N)) * 2.40823996531185)) + 1;
        if (k < 0) k = 0;
        TqStr P10;
        n_Pow10_Exact(k, P10);
        int32_t trim = 1;
        h_Mul(std::move(N), std::move(P10), trim, N);
        h_DivMod(std::move(N), std::move(D), 0, dst.MantN, rem);
        dst.V.Expo = static_cast<int32_t>(-k);
    }
    tq_Trim(dst.MantN);
    if (kind == TarqBinFloat) n_Mant_StripLowZeroWords(dst.V, dst.MantN);
    n_ReducePrecision(dst.V, dst.MantN);
    return 0;
}

int32_t n_Convert_TarqFraction2TarqBigInt(const TqNum &src, TqNum &dst) {
    n_Convert_Start(src, dst, TarqBigInt);
    TqStr N = src.MantN, D = src.DenN;
    tq_Trim(N);
    tq_Trim(D);
    if (tq_IsZero(D)) {
        dst.MantN = tq_Word(0);
        return tq_RaiseErr(tq_Err_Invalid);
    }
    TqStr rem;
    h_DivMod(std::move(N), std::move(D), 0, dst.MantN, rem);
    tq_Trim(dst.MantN);
    return 0;
}
