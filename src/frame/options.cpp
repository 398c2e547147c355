// Options: small primes (1), store size (2), thresholds (3, 4), powers-of-ten
// precision (5), fraction reduction (6), default format and digits (7, 8),
// cache directory (9) and the highest handle (10, read only).
#include "options.h"

#include <vector>

#include "kernels/calibrate.h"
#include "numbers/pow10.h"
#include "numbers/precision.h"
#include "store.h"
#include "base/tq_state.h"

void n_BuildSmallPrimes(int32_t count) {
    if (count == 0) count = 1500;
    if (count > 10000) count = 10000;
    const int32_t limit = 104729;  // the 10000th prime
    std::vector<char> composite(limit + 1, 0);
    for (int32_t i = 2; i <= 324; ++i)
        if (!composite[i])
            for (int32_t j = i * i; j <= limit; j += i) composite[j] = 1;
    gTq_SmallPrimes.assign(1, TqStr());
    for (int32_t i = 2; i <= limit && static_cast<int32_t>(gTq_SmallPrimes.size()) <= 10000; ++i)
        if (!composite[i]) gTq_SmallPrimes.push_back(tq_Word(static_cast<uint32_t>(i)));
    gTq_SmallPrimes.resize(static_cast<size_t>(count) + 1);
    gTq_SmallPrimes_Count = count;
}

static int32_t setPow10Precision(int32_t value) {
    const int32_t bytes = value / 8;
    // The table of the highest working precision (with its Newton bytes) is
    // the longest that may be asked for; a longer one would be built for
    // minutes under the global lock.
    if (bytes > 8 * (tq_Prec_MaxBytes + 12)) return tq_RaiseErr(tq_Err_Invalid);
    if (8 * gTq_Prec_Bytes_Internal > bytes) {
        n_Trace("-- Specified precision of internal powers-of-10 table too small. Ignored");
        n_Trace("Current powers-of-10 precision (in bytes):" + std::to_string(gTq_Opt_Pow10_Precision));
        n_Trace("Recommended precision (in bytes)         :" + std::to_string(8 * gTq_Prec_Bytes_Internal));
        n_Trace("Set powers-of-10 precision (in bytes)    :" + std::to_string(bytes));
        return 0;
    }
    int32_t p = bytes % 4 ? bytes + 4 - bytes % 4 : bytes;
    if (p < 8 * gTq_Prec_Bytes_Internal) p = 8 * gTq_Prec_Bytes_Internal;
    n_Precision_Keep();
    gTq_Opt_Pow10_Precision = p;
    n_Init_PowersOf10Table();
    return 0;
}

int32_t n_SetOption(int32_t code, int32_t value) {
    switch (code) {
    case 1:
    case 2:
        // Negative table sizes or store bounds have no meaning.
        if (value < 0) return tq_RaiseErr(tq_Err_Invalid);
        if (code == 1)
            n_BuildSmallPrimes(value);
        else
            n_Store_Resize(value);
        return 0;
    case 3:
        n_SetThreshold_Mul(value);
        return 0;
    case 4:
        n_SetThreshold_Square(value);
        return 0;
    case 5:
        return setPow10Precision(value);
    case 6:
        gTq_Opt_ReduceFractions = value != 0 ? 1 : 0;
        return 0;
    case 7:
        gTq_Opt_DefaultFormat = value;
        return 0;
    case 8:
        gTq_Opt_DefaultDigits = value;
        return 0;
    case 9:
        return n_SetCacheDirectory(value);
    default:
        return tq_RaiseErr(tq_Err_Invalid);
    }
}

int32_t n_GetOption(int32_t code) {
    switch (code) {
    case 1: return gTq_SmallPrimes_Count;
    case 2: return n_Store_Highest();
    case 3: return gTq_Threshold_Mul_Karatsuba2Way;
    case 4: return gTq_Threshold_Square_Karatsuba;
    case 5: return 8 * gTq_Opt_Pow10_Precision;
    case 6: return gTq_Opt_ReduceFractions;
    case 7: return gTq_Opt_DefaultFormat;
    case 8: return gTq_Opt_DefaultDigits;
    case 10: return gTq_Store_HighestHandle;
    default: return 0;
    }
}
