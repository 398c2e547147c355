// Digits of a magnitude. Hexadecimal and binary digits come straight from the
// words; decimal digits from the divide-and-conquer decimal expansion.
#include "convert.h"
#include "kernels/mant2dec.h"

TqStr n_Mant2DecDigits(const TqStr &M) {
    TqStr S;
    h_Mant2Dec(M, S);
    return S;
}

TqStr n_Mant2Digits(const TqStr &M, int32_t radix) {
    if (radix == 10) return n_Mant2DecDigits(M);
    static const char hexd[] = "0123456789ABCDEF";
    const int32_t n = tq_NWords(M);
    const uint32_t *w = tq_W(M);
    TqStr s;
    s.reserve(static_cast<size_t>(n) * (radix == 16 ? 8 : 32));
    for (int32_t i = n - 1; i >= 0; --i) {
        if (radix == 16) {
            for (int k = 28; k >= 0; k -= 4) s += hexd[(w[i] >> k) & 15];
        } else {
            for (int k = 31; k >= 0; --k) s += static_cast<char>('0' + ((w[i] >> k) & 1));
        }
    }
    size_t nz = 0;
    while (nz < s.size() && s[nz] == '0') ++nz;
    s.erase(0, nz);
    if (s.empty()) s.assign(1, '0');
    return s;
}
