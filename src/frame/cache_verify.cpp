// Checks of what a cache file claims, made without trusting its digest (which
// anyone who can write the file can recompute).
//
// Powers of ten: an entry whose true value fits the table precision must be
// exactly 10^(2^i); it is checked modulo three word-sized primes. A cut entry
// must have the full table length, the bit length of 10^(2^i), and leading
// bits that agree with the square of the previous entry's leading bits, so
// every entry's leading bits are tied to an exactly checked one.
// Constants: each filled slot must hold its slot's kind, be positive, finite
// and trimmed, and agree with the constant's value to about 40 bits.
#include "cache_verify.h"

#include <cmath>

#include "funcs/const_cache.h"

namespace {

constexpr uint32_t kPrimes[3] = {4294967291u, 4294967279u, 4294967231u};

uint32_t mulMod(uint32_t a, uint32_t b, uint32_t p) {
    return static_cast<uint32_t>(static_cast<uint64_t>(a) * b % p);
}

uint32_t powMod(uint32_t b, uint64_t e, uint32_t p) {
    uint32_t r = 1 % p;
    b %= p;
    for (; e; e >>= 1) {
        if (e & 1) r = mulMod(r, b, p);
        b = mulMod(b, b, p);
    }
    return r;
}

uint32_t magMod(const TqStr &m, uint32_t p) {
    uint64_t r = 0;
    for (int32_t i = tq_NWords(m) - 1; i >= 0; --i) r = ((r << 32) | tq_W(m)[i]) % p;
    return static_cast<uint32_t>(r);
}

// Leading 64 bits of a trimmed, non-zero magnitude as a value in [1, 2), and
// its bit length.
long double leading(const TqStr &m, int64_t &bits) {
    const int32_t n = tq_NWords(m);
    const uint64_t w1 = tq_W(m)[n - 1], w2 = n >= 2 ? tq_W(m)[n - 2] : 0u, w3 = n >= 3 ? tq_W(m)[n - 3] : 0u;
    int32_t topBits = 0;
    for (uint64_t t = w1; t; t >>= 1) ++topBits;
    const uint64_t top = (((w1 << 32) | w2) << (32 - topBits)) | (w3 >> topBits);
    bits = static_cast<int64_t>(n - 1) * 32 + topBits;
    return std::ldexp(static_cast<long double>(top), -63);
}

bool trimmed(const TqStr &m) { return !m.empty() && m.size() % 4 == 0 && tq_W(m)[tq_NWords(m) - 1] != 0; }

// Bits of floor(2^i * log2(x)) + 1 for the exact powers met here.
int64_t bitLength(int32_t i, long double log2x) {
    return static_cast<int64_t>(std::floor(std::ldexp(log2x, i))) + 1;
}

}  // namespace

bool tq_Pow10_Plausible(const TqPow10Entry *t) {
    const int64_t precision = tq_Len(t[tq_Pow10_Entries - 1].Mant);
    const long double log2of5 = 2.32192809488736234787031942948939018L;
    const long double log2of10 = 3.32192809488736234787031942948939018L;
    long double prevLead = 0;
    for (int32_t i = 0; i < tq_Pow10_Entries; ++i) {
        const TqPow10Entry &e = t[i];
        if (!trimmed(e.Mant) || e.Expo < 0 || e.Expo % 4 != 0 || tq_Len(e.Mant) > precision) return false;
        const uint64_t n = uint64_t(1) << i;
        // 10^n with its low zero words removed is 5^n * 2^(n mod 32).
        const int64_t exactBits = bitLength(i, log2of5) + static_cast<int64_t>(n % 32);
        const int64_t exactBytes = 4 * ((exactBits + 31) / 32);
        int64_t bits = 0;
        const long double lead = leading(e.Mant, bits);
        if (exactBytes <= precision) {
            for (uint32_t p : kPrimes) {
                const uint32_t want = powMod(10, n, p);
                const uint32_t have = mulMod(magMod(e.Mant, p), powMod(2, 8 * static_cast<uint64_t>(e.Expo), p), p);
                if (want != have) return false;
            }
        } else {
            if (tq_Len(e.Mant) != precision || bits + 8 * static_cast<int64_t>(e.Expo) != bitLength(i, log2of10))
                return false;
            long double sq = prevLead * prevLead;
            if (sq >= 2) sq /= 2;
            if (std::fabs(sq - lead) > 0x1p-50L) return false;
        }
        prevLead = lead;
    }
    return true;
}

bool tq_ConstEntry_Plausible(int32_t slot, const TqNum &e) {
    if (e.MantN.empty()) return true;  // a slot never filled
    static const long double values[10] = {
        0.693147180559945309417232121458176568L,  // ln 2
        2.30258509299404568401799145468436421L,   // ln 10
        5.54517744447956247533785697166541255L,   // ln 256
        0.0606246218164348425806061320404202633L, // ln 1.0625
        1.44269504088896340735992468100189214L,   // 1 / ln 2
        0.434294481903251827651128918916605082L,  // 1 / ln 10
        1.41421356237309504880168872420969808L,   // sqrt 2
        3.14159265358979323846264338327950288L,   // pi
        6.28318530717958647692528676655900577L,   // 2 pi
        1.57079632679489661923132169163975144L,   // pi / 2
    };
    const int32_t code = slot / 2 + 1;
    const int32_t kind = slot % 2 ? TarqDecFloat : TarqBinFloat;
    if (code > 10 || e.V.NumType != kind || e.V.Sign != 1 || e.V.Special != 0 || !trimmed(e.MantN) ||
        e.DenN != tq_Word(1))
        return false;
    if (kind == TarqBinFloat && e.V.Expo % 4 != 0) return false;
    int64_t bits = 0;
    const long double lead = leading(e.MantN, bits);
    const long double scale = kind == TarqBinFloat ? 8.0L * e.V.Expo : e.V.Expo * 3.32192809488736234787031942948939018L;
    const long double log2Value = std::log2(lead) + static_cast<long double>(bits - 1) + scale;
    return std::fabs(log2Value - std::log2(values[code - 1])) < 1e-12L;
}
