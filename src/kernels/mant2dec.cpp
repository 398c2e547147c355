// h_Mant2Dec: decimal digits of a magnitude by divide and conquer.
//
// A value at split level L (L >= 1) is divided by the cached power
// 10^(9 x 2^(L-1)); the remainder becomes exactly 9 x 2^(L-1) digits (leading
// zeros included) and the quotient the digits above it, both recursively. A
// zero part is written as a run of zeros without any division, and parts of
// at most gTq_Threshold_Mant2Dec_Base words are converted directly by
// repeated division by 10^9. Digits are written into one buffer in place, so
// the whole conversion costs the divisions and no string shuffling.
//
// The powers live in a process-wide cache (h_Mant2Dec_Cache) that is built on
// first use up to 10^(9 x 2^13) and extended by squaring when a larger value
// comes; it is a never-destroyed heap object and is not locked (exports run
// under the global lock).
#include <algorithm>
#include <cstring>

#include "base/cancel.h"
#include "divmod.h"
#include "base/tq_state.h"
#include "limbs.h"
#include "mant2dec.h"
#include "mul.h"

namespace {

TqPowCache &cache() {
    static auto *c = new TqPowCache;
    return *c;
}

constexpr int32_t kFirstTop = 14;
constexpr int32_t kGrowStep = 20;

void appendPower(TqPowCache &c, int32_t j) {
    // The lengths grow first, so that a failed allocation never leaves the
    // table longer than its lengths.
    if (j >= static_cast<int32_t>(c.PowTable.size())) {
        c.PowTableLen.resize(c.PowTable.size() + kGrowStep);
        c.PowTable.resize(c.PowTableLen.size());
    }
    TqStr sq;
    h_Square(c.PowTable[j - 1], sq);
    tq_Trim(sq);
    c.PowTableLen[j] = tq_Len(sq);
    c.PowTable[j] = std::move(sq);
}

// Makes sure the cache holds PowTable(0..top).
void growTo(int32_t top) {
    TqPowCache &c = cache();
    if (c.PowTable.empty()) {
        c.PowTable.assign(kGrowStep + 1, TqStr());
        c.PowTableLen.assign(kGrowStep + 1, 0);
        c.PowTable[0] = c.PowTable[1] = tq_Word(1000000000u);
        c.PowTableLen[0] = c.PowTableLen[1] = 4;
        c.PowTableTop = 1;
    }
    // The top counts an entry only once it is built.
    while (c.PowTableTop < top) {
        appendPower(c, c.PowTableTop + 1);
        ++c.PowTableTop;
    }
}

void buildCache() { growTo(kFirstTop); }

// Makes sure the cache reaches a power not below M (M trimmed).
void extendCache(const TqStr &M) {
    TqPowCache &c = cache();
    while (tq_Cmp(c.PowTable[c.PowTableTop], M) < 0) growTo(c.PowTableTop + 1);
}

// The largest level L >= 1 whose power does not exceed M (M >= 10^9,
// trimmed), so that M < PowTable(L)^2 and the quotient fits the level below.
int32_t splitLevel(const TqStr &M) {
    buildCache();
    extendCache(M);
    const TqPowCache &c = cache();
    int32_t L = c.PowTableTop;
    while (L > 1 && tq_Cmp(M, c.PowTable[L]) < 0) --L;
    return L;
}

// Digits of a value of at most a few words, least significant first, into
// rev; returns the count (no leading zeros; zero gives none).
int32_t smallDigits(const TqStr &M, char *rev) {
    std::vector<uint32_t> w(tq_W(M), tq_W(M) + tq_NWords(M));
    int32_t n = static_cast<int32_t>(w.size()), k = 0;
    while (n > 0 && w[n - 1] == 0) --n;
    while (n > 0) {
        uint32_t r = tq_DivWordN(w.data(), w.data(), n, 1000000000u);
        while (n > 0 && w[n - 1] == 0) --n;
        for (int d = 0; d < 9; ++d) {
            rev[k++] = static_cast<char>('0' + r % 10);
            r /= 10;
        }
    }
    while (k > 0 && rev[k - 1] == '0') --k;
    return k;
}

// Writes M (below 10^width) as exactly width digits at out.
void writePadded(const TqStr &M, int32_t level, char *out) {
    const int64_t width = int64_t{9} << level;
    if (tq_IsZero(M)) {
        std::memset(out, '0', static_cast<size_t>(width));
        return;
    }
    if (level == 0 || tq_NWords(M) <= gTq_Threshold_Mant2Dec_Base) {
        std::vector<char> rev(static_cast<size_t>(tq_NWords(M)) * 10 + 9);
        const int32_t k = smallDigits(M, rev.data());
        std::memset(out, '0', static_cast<size_t>(width - k));
        for (int32_t i = 0; i < k; ++i) out[width - 1 - i] = rev[i];
        return;
    }
    TqStr q, r;
    h_DivMod(M, cache().PowTable[level], 1, q, r);
    writePadded(q, level - 1, out);
    writePadded(r, level - 1, out + (width >> 1));
}

// Appends the digits of M (trimmed, not zero) without leading zeros; returns
// the split level used at the top (0 when converted directly).
int32_t appendTop(const TqStr &M, std::string &out) {
    if (tq_NWords(M) <= std::max(gTq_Threshold_Mant2Dec_Base, 1)) {
        std::vector<char> rev(static_cast<size_t>(tq_NWords(M)) * 10 + 9);
        const int32_t k = smallDigits(M, rev.data());
        for (int32_t i = k - 1; i >= 0; --i) out.push_back(rev[i]);
        return 0;
    }
    const int32_t L = splitLevel(M);
    TqStr q, r;
    h_DivMod(M, cache().PowTable[L], 1, q, r);
    appendTop(q, out);  // q >= 1 since M >= PowTable(L)
    const size_t at = out.size();
    out.resize(at + (size_t{9} << (L - 1)));
    writePadded(r, L - 1, out.data() + at);
    return L;
}

}  // namespace

const TqPowCache &h_Mant2Dec_Cache() { return cache(); }

const TqStr &h_Pow10Pow2(int32_t j) {
    TQ_REQUIRE(j >= 0);
    growTo(j + 1);
    return cache().PowTable[j + 1];
}

void h_Mant2Dec_Rec(TqStr M, int32_t &level, TqStr &S) {
    tq_CheckCancel();
    if (M.size() % 4) M.resize((M.size() / 4 + 1) * 4, '\0');
    tq_Trim(M);
    buildCache();
    std::string digits;
    if (level < 0) {
        if (tq_IsZero(M))
            digits.assign(1, '0');
        else
            level = appendTop(M, digits);
    } else {
        digits.resize(size_t{9} << level);
        growTo(level);
        writePadded(M, level, digits.data());
    }
    S.insert(0, digits);
}

void h_Mant2Dec(TqStr M, TqStr &S) {
    if (M.size() % 4) M.resize((M.size() / 4 + 1) * 4, '\0');
    tq_Trim(M);
    buildCache();
    if (tq_IsZero(M)) {
        S.assign(1, '0');
        return;
    }
    std::string digits;
    appendTop(M, digits);
    S = std::move(digits);
}
