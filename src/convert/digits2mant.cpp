// Digit strings to magnitudes. Hexadecimal and binary digits map straight onto
// words. Decimal digits are converted by divide and conquer: the string is
// split so that the low part has 9 * 2^j digits, both parts are converted and
// joined as high * 10^(9 * 2^j) + low, so the cost follows the multiplication
// kernel instead of growing with the square of the length.
#include <vector>

#include "base/cancel.h"
#include "convert.h"
#include "numbers/number.h"
#include "kernels/limbs.h"
#include "kernels/mant2dec.h"
#include "kernels/mul.h"

// Below this many digits the plain multiply-by-10^9-and-add loop is faster.
int32_t gTq_Threshold_Digits2Mant_DC = 2000;

static uint32_t chunkValue(const char *p, size_t n) {
    uint32_t v = 0;
    for (size_t i = 0; i < n; ++i) v = v * 10 + static_cast<uint32_t>(p[i] - '0');
    return v;
}

static void basecase(const char *p, size_t n, TqStr &M) {
    std::vector<uint32_t> w;
    w.reserve(n / 9 + 2);
    size_t first = n % 9 ? n % 9 : 9;
    w.push_back(chunkValue(p, first));
    for (size_t i = first; i < n; i += 9) {
        uint64_t carry = chunkValue(p + i, 9);
        for (uint32_t &x : w) {
            uint64_t t = static_cast<uint64_t>(x) * 1000000000u + carry;
            x = static_cast<uint32_t>(t);
            carry = t >> 32;
        }
        if (carry) w.push_back(static_cast<uint32_t>(carry));
    }
    M.assign(reinterpret_cast<const char *>(w.data()), w.size() * 4);
    tq_Trim(M);
}

// R += A, R long enough to receive the sum without carry out of its top.
static void addInto(TqStr &R, const TqStr &A) {
    if (R.size() < A.size()) R.resize(A.size(), '\0');
    uint32_t *r = tq_W(R);
    const uint32_t *a = tq_W(A);
    int32_t nr = tq_NWords(R), na = tq_NWords(A);
    uint64_t c = 0;
    for (int32_t i = 0; i < nr && (i < na || c); ++i) {
        c += static_cast<uint64_t>(r[i]) + (i < na ? a[i] : 0);
        r[i] = static_cast<uint32_t>(c);
        c >>= 32;
    }
    if (c) R += tq_Word(static_cast<uint32_t>(c));
}

static void divideAndConquer(const char *p, size_t n, TqStr &M) {
    tq_CheckCancel();
    if (n <= static_cast<size_t>(gTq_Threshold_Digits2Mant_DC)) {
        basecase(p, n, M);
        return;
    }
    int32_t j = 0;
    size_t k = 9;
    while (2 * k < n) {
        k *= 2;
        ++j;
    }
    TqStr hi, lo;
    divideAndConquer(p, n - k, hi);
    divideAndConquer(p + (n - k), k, lo);
    int32_t trim = 1;
    h_Mul(std::move(hi), h_Pow10Pow2(j), trim, M);
    addInto(M, lo);
    tq_Trim(M);
}

void n_DecDigits2Mant(const char *digits, size_t n, TqStr &M) {
    while (n > 0 && *digits == '0') {
        ++digits;
        --n;
    }
    if (n == 0) {
        M = tq_Word(0);
        return;
    }
    divideAndConquer(digits, n, M);
}

static int32_t hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Digits of radix 16 (bitsPer 4) or 2 (bitsPer 1), taken from the right.
static void powerOfTwoDigits(const TqStr &digits, int32_t bitsPer, TqStr &M) {
    size_t nd = digits.size();
    size_t words = (nd * bitsPer + 31) / 32;
    M.assign((words ? words : 1) * 4, '\0');
    uint32_t *w = tq_W(M);
    size_t bit = 0;
    for (size_t i = nd; i-- > 0;) {
        uint32_t d = static_cast<uint32_t>(hexValue(digits[i]));
        w[bit / 32] |= d << (bit % 32);
        bit += bitsPer;
    }
    tq_Trim(M);
}

void n_Digits2Mant(const TqStr &text, TqStr &M) {
    size_t end = text.find('.');
    if (end == TqStr::npos) end = text.size();
    const bool hex = text.find("&h") != TqStr::npos || text.find("&H") != TqStr::npos;
    const bool bin = !hex && (text.find("&b") != TqStr::npos || text.find("&B") != TqStr::npos);
    TqStr digits;
    digits.reserve(end);
    for (size_t i = 0; i < end; ++i) {
        char c = text[i];
        if (hex ? hexValue(c) >= 0 : bin ? (c == '0' || c == '1') : (c >= '0' && c <= '9')) digits += c;
    }
    if (hex) powerOfTwoDigits(digits, 4, M);
    else if (bin) powerOfTwoDigits(digits, 1, M);
    else n_DecDigits2Mant(digits.data(), digits.size(), M);
}
