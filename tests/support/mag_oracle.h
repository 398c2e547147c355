// Test support for the magnitude kernels: conversion between magnitude
// strings and GMP integers, operand generators with the adversarial patterns
// that stress carry and correction logic, a guard that restores the kernel
// thresholds and limb path, and a trace collector.
#pragma once
#include <gmp.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "base/tq_state.h"
#include "base/tq_types.h"
#include "kernels/limbs.h"

inline TqStr tq_MagFromWords(std::initializer_list<uint32_t> ws) {
    TqStr s;
    for (uint32_t w : ws) s += tq_Word(w);
    return s;
}

// Value of a magnitude (any length, high zero words allowed).
struct MpzT {
    mpz_t v;
    MpzT() { mpz_init(v); }
    explicit MpzT(const TqStr &s) {
        mpz_init(v);
        if (!s.empty()) mpz_import(v, s.size() / 4, -1, 4, -1, 0, s.data());
    }
    ~MpzT() { mpz_clear(v); }
    MpzT(const MpzT &) = delete;
    MpzT &operator=(const MpzT &) = delete;
    operator mpz_ptr() { return v; }
    operator mpz_srcptr() const { return v; }
};

// The trimmed magnitude of a GMP integer.
inline TqStr tq_MagFromMpz(mpz_srcptr v) {
    size_t n = (mpz_sizeinbase(v, 2) + 31) / 32;
    TqStr s((n ? n : 1) * 4, '\0');
    size_t cnt = 0;
    mpz_export(s.data(), &cnt, -1, 4, -1, 0, v);
    return s;
}

// The value, zero-extended or cut to exactly `words` words (the value must fit).
inline TqStr tq_MagFromMpzLen(mpz_srcptr v, size_t words) {
    TqStr s = tq_MagFromMpz(v);
    s.resize(words * 4, '\0');
    return s;
}

inline bool tq_IsTrimmed(const TqStr &s) {
    return s.size() >= 4 && s.size() % 4 == 0 && (s.size() == 4 || tq_W(s)[s.size() / 4 - 1] != 0);
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

// Saves the thresholds, the limb path and the depth counter and restores them.
struct KernelSettingsGuard {
    int32_t mul = gTq_Threshold_Mul_Karatsuba2Way, comba = gTq_Threshold_Square_Comba,
            sqk = gTq_Threshold_Square_Karatsuba, limb = gTq_Kernel_Limb64, adx = gTq_Kernel_Adx, depth = gTq_Karatsuba_Depth;
    ~KernelSettingsGuard() {
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

// Collects the trace lines while alive.
struct TraceCollector {
    static std::vector<std::string> &lines() {
        static auto *v = new std::vector<std::string>;
        return *v;
    }
    TraceCollector() {
        lines().clear();
        tq_SetTraceSink([](const std::string &l) { lines().push_back(l); });
    }
    ~TraceCollector() { tq_SetTraceSink(nullptr); }
};
