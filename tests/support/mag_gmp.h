// GMP as the oracle of the magnitude kernels, for their tests and
// benchmarks: conversion between magnitude strings and mpz_t, operands of
// many sizes with the adversarial bit patterns that stress carries and
// corrections, and the switches of the limb path and of the thresholds.
#pragma once
#include <gmp.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "base/tq_state.h"
#include "base/tq_types.h"
#include "kernels/limbs.h"
#include "tq_gmp.h"

// ------------------------------------------------------------ the oracle (Mpz: tq_gmp.h)

// The trimmed magnitude of a non-negative mpz.
inline TqStr magOf(mpz_srcptr z) { return tqg_MagFromMpz(z); }

// The value, zero-extended to exactly `words` words (the value must fit).
inline TqStr magOfLen(mpz_srcptr z, size_t words) {
    TqStr s = magOf(z);
    s.resize(words * 4, '\0');
    return s;
}

// op(result, a, b) by GMP on two magnitudes, as a trimmed magnitude.
inline TqStr gmp2(void (*op)(mpz_ptr, mpz_srcptr, mpz_srcptr), const TqStr &A, const TqStr &B) {
    Mpz a(A), b(B), r;
    op(r, a, b);
    return magOf(r);
}

// Hex text of a magnitude, for failure messages.
inline std::string hexOf(const TqStr &m) { return tqg_Str(Mpz(m), 16); }

inline bool tq_IsTrimmed(const TqStr &s) {
    return s.size() >= 4 && s.size() % 4 == 0 && (s.size() == 4 || tq_W(s)[s.size() / 4 - 1] != 0);
}

// ------------------------------------------------------------ operands

// Random magnitude of exactly n words (top word non-zero); a quarter of the
// draws use sparse words (runs of zero and all-ones words) that stress carries.
inline TqStr randMag(std::mt19937_64 &g, int32_t n) {
    TqStr s(static_cast<size_t>(n) * 4, '\0');
    const bool sparse = (g() & 3) == 0;
    for (int32_t i = 0; i < n; ++i) {
        uint32_t w = static_cast<uint32_t>(g());
        if (sparse) {
            const uint32_t k = static_cast<uint32_t>(g() % 4);
            w = k == 0 ? 0 : k == 1 ? 0xFFFFFFFFu : w;
        }
        tq_W(s)[i] = w;
    }
    while (tq_W(s)[n - 1] == 0) tq_W(s)[n - 1] = static_cast<uint32_t>(g());
    return s;
}

inline TqStr fillMag(int32_t n, uint32_t w) {
    TqStr s(static_cast<size_t>(n) * 4, '\0');
    for (int32_t i = 0; i < n; ++i) tq_W(s)[i] = w;
    return s;
}

enum class MagPattern {
    Random,
    AllOnes,        // every word 0xFFFFFFFF
    TopBitOnes,     // 0x80000000 followed by 0xFFFFFFFF words
    OnesTopBit,     // 0xFFFFFFFF words, the top word 0x80000000
    HighZeros,      // random low part, zero words at the top
    LowZeros,       // zero words at the bottom, random above
    EqualHalves,    // the two halves of the word string equal
    Sparse,         // one non-zero word
    BitRuns,        // long runs of 0 and 1 bits
    kCount
};

inline TqStr tq_RandomMag(std::mt19937_64 &rng, int32_t words, MagPattern p = MagPattern::Random) {
    TqStr s(static_cast<size_t>(words) * 4, '\0');
    uint32_t *w = tq_W(s);
    auto rnd = [&] { return static_cast<uint32_t>(rng()); };
    switch (p) {
    case MagPattern::Random:
        for (int32_t i = 0; i < words; ++i) w[i] = rnd();
        break;
    case MagPattern::AllOnes:
        for (int32_t i = 0; i < words; ++i) w[i] = 0xFFFFFFFFu;
        break;
    case MagPattern::TopBitOnes:
        for (int32_t i = 0; i < words; ++i) w[i] = i == 0 ? 0x80000000u : 0xFFFFFFFFu;
        break;
    case MagPattern::OnesTopBit:
        for (int32_t i = 0; i < words; ++i) w[i] = i == words - 1 ? 0x80000000u : 0xFFFFFFFFu;
        break;
    case MagPattern::HighZeros:
        for (int32_t i = 0; i < (words + 1) / 2; ++i) w[i] = rnd();
        break;
    case MagPattern::LowZeros:
        for (int32_t i = words / 2; i < words; ++i) w[i] = rnd();
        break;
    case MagPattern::EqualHalves:
        for (int32_t i = 0; i < words / 2; ++i) w[i] = w[i + words / 2] = rnd();
        if (words & 1) w[words - 1] = rnd();
        break;
    case MagPattern::Sparse:
        w[rng() % words] = rnd() | 1;
        break;
    case MagPattern::BitRuns: {
        int32_t bit = 0;
        uint32_t cur = rng() & 1;
        while (bit < words * 32) {
            int32_t run = 1 + static_cast<int32_t>(rng() % 200);
            for (; run > 0 && bit < words * 32; --run, ++bit)
                if (cur) w[bit / 32] |= 1u << (bit % 32);
            cur ^= 1;
        }
        break;
    }
    default:
        break;
    }
    return s;
}

constexpr int kPatterns = static_cast<int>(MagPattern::kCount);

// f(A) for every size of `sizes` (sizes below one word skipped) and every
// pattern.
template <class F> void tq_ForOperands(std::mt19937_64 &rng, const std::vector<int32_t> &sizes, F f) {
    for (int32_t n : sizes) {
        if (n < 1) continue;
        for (int p = 0; p < kPatterns; ++p) f(tq_RandomMag(rng, n, static_cast<MagPattern>(p)));
    }
}

// f(A, B) for every pair of sizes of `sizes` and every pattern of A, B taking
// the pattern p + na + nb so that all pairs of patterns meet across sizes.
template <class F> void tq_ForOperandPairs(std::mt19937_64 &rng, const std::vector<int32_t> &sizes, F f) {
    for (int32_t na : sizes)
        for (int32_t nb : sizes) {
            if (na < 1 || nb < 1) continue;
            for (int p = 0; p < kPatterns; ++p)
                f(tq_RandomMag(rng, na, static_cast<MagPattern>(p)),
                  tq_RandomMag(rng, nb, static_cast<MagPattern>((p + na + nb) % kPatterns)));
        }
}

// f(A) for `rounds` random operands of 1..maxWords words and random patterns.
template <class F> void tq_ForRandomOperands(std::mt19937_64 &rng, int rounds, int32_t maxWords, F f) {
    for (int round = 0; round < rounds; ++round) {
        const int32_t n = 1 + static_cast<int32_t>(rng() % maxWords);
        f(tq_RandomMag(rng, n, static_cast<MagPattern>(rng() % kPatterns)));
    }
}

// f(A, B) for `rounds` random pairs of 1..maxWords words and random patterns.
template <class F> void tq_ForRandomPairs(std::mt19937_64 &rng, int rounds, int32_t maxWords, F f) {
    for (int round = 0; round < rounds; ++round) {
        const int32_t na = 1 + static_cast<int32_t>(rng() % maxWords), nb = 1 + static_cast<int32_t>(rng() % maxWords);
        const auto pa = static_cast<MagPattern>(rng() % kPatterns), pb = static_cast<MagPattern>(rng() % kPatterns);
        f(tq_RandomMag(rng, na, pa), tq_RandomMag(rng, nb, pb));
    }
}

// ------------------------------------------------------------ limb paths

// Saves the thresholds, the limb path and the depth counter and restores them.
struct KernelSettingsGuard {
    int32_t mul = gTq_Threshold_Mul_Karatsuba2Way, comba = gTq_Threshold_Square_Comba,
            sqk = gTq_Threshold_Square_Karatsuba, limb = gTq_Kernel_Limb64, adx = gTq_Kernel_Adx, depth = gTq_Karatsuba_Depth;
    int32_t toom = gTq_Threshold_Mul_Toom3, ntt = gTq_Threshold_Mul_Ntt, sqToom = gTq_Threshold_Square_Toom3,
            sqNtt = gTq_Threshold_Square_Ntt;
    ~KernelSettingsGuard() {
        gTq_Threshold_Mul_Toom3 = toom;
        gTq_Threshold_Mul_Ntt = ntt;
        gTq_Threshold_Square_Toom3 = sqToom;
        gTq_Threshold_Square_Ntt = sqNtt;
        gTq_Threshold_Mul_Karatsuba2Way = mul;
        gTq_Threshold_Square_Comba = comba;
        gTq_Threshold_Square_Karatsuba = sqk;
        gTq_Kernel_Limb64 = limb;
        gTq_Kernel_Adx = adx;
        gTq_Karatsuba_Depth = depth;
    }
};

// The limb paths this build and processor can run: 0 the 32-bit loops, 1 the
// portable 64-bit loops, 2 the 64-bit loops with MULX/ADX.
inline std::vector<int32_t> tq_LimbPaths() {
    std::vector<int32_t> p = {0};
#if TQ_HAVE_LIMB64
    p.push_back(1);
    static const int32_t adxAtLoad = gTq_Kernel_Adx;
    if (adxAtLoad) p.push_back(2);
#endif
    return p;
}
inline void tq_SelectLimbPath(int32_t path) {
    gTq_Kernel_Limb64 = path >= 1 ? 1 : 0;
    gTq_Kernel_Adx = path == 2 ? 1 : 0;
}
inline std::string tq_LimbPathName(int32_t path) { return path == 0 ? "limb32" : path == 1 ? "limb64" : "limb64adx"; }

// Sets the limb width for the lifetime of the object.
struct LimbWidth {
    int32_t saved;
    explicit LimbWidth(int32_t limb64) : saved(gTq_Kernel_Limb64) { gTq_Kernel_Limb64 = limb64; }
    ~LimbWidth() { gTq_Kernel_Limb64 = saved; }
};

// Sets an int32_t global for the lifetime of the object.
struct SetGlobal {
    int32_t &ref;
    int32_t saved;
    SetGlobal(int32_t &r, int32_t v) : ref(r), saved(r) { ref = v; }
    ~SetGlobal() { ref = saved; }
};
