// Digits of a magnitude. Hexadecimal and binary digits come straight from the
// words. Decimal digits come by divide and conquer: the value is split by a
// cached power 10^(9 * 2^j) of about half its length and both halves are
// expanded recursively, the low half to exactly 9 * 2^j digits; small values
// are expanded by repeated division by 10^9.
#include <vector>

#include "convert.h"
#include "frame/number.h"
#include "kernels/divmod.h"

// Below this many words the repeated division by 10^9 is used.
int32_t gTq_Threshold_Mant2Dec_DC = 60;

static void basecase(const TqStr &M, size_t width, std::string &out) {
    std::vector<uint32_t> w(tq_W(M), tq_W(M) + tq_NWords(M));
    while (!w.empty() && w.back() == 0) w.pop_back();
    std::vector<uint32_t> chunks;
    while (!w.empty()) {
        uint64_t r = 0;
        for (size_t i = w.size(); i-- > 0;) {
            uint64_t cur = (r << 32) | w[i];
            w[i] = static_cast<uint32_t>(cur / 1000000000u);
            r = cur % 1000000000u;
        }
        chunks.push_back(static_cast<uint32_t>(r));
        while (!w.empty() && w.back() == 0) w.pop_back();
    }
    std::string s;
    s.reserve(chunks.size() * 9);
    char buf[10];
    for (size_t i = chunks.size(); i-- > 0;) {
        uint32_t c = chunks[i];
        for (int k = 8; k >= 0; --k) {
            buf[k] = static_cast<char>('0' + c % 10);
            c /= 10;
        }
        s.append(buf, 9);
    }
    size_t nz = 0;
    while (nz < s.size() && s[nz] == '0') ++nz;
    s.erase(0, nz);
    if (width > s.size()) out.append(width - s.size(), '0');
    out += s;
}

// Appends the digits of M: exactly width digits when width > 0 (M is below
// 10^width), otherwise without leading zeros (nothing for zero).
static void rec(const TqStr &M, size_t width, std::string &out) {
    int32_t n = tq_NWords(M);
    while (n > 0 && tq_W(M)[n - 1] == 0) --n;
    if (n == 0) {
        out.append(width, '0');
        return;
    }
    if (n <= gTq_Threshold_Mant2Dec_DC) {
        basecase(M, width, out);
        return;
    }
    int32_t j = 0;
    while (2 * tq_NWords(n_Pow10Pow2(j + 1)) <= n + 1 && (width == 0 || (static_cast<size_t>(18) << j) < width)) ++j;
    const size_t k = static_cast<size_t>(9) << j;
    TqStr Q, R;
    h_DivMod(M, n_Pow10Pow2(j), 1, Q, R);
    rec(Q, width > k ? width - k : 0, out);
    rec(R, k, out);
}

TqStr n_Mant2DecDigits(const TqStr &M) {
    std::string out;
    rec(M, 0, out);
    if (out.empty()) out.assign(1, '0');
    return out;
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
