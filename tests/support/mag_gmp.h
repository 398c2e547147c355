// Helpers for differential tests of the magnitude kernels against GMP:
// conversion between magnitude strings and mpz_t, random magnitudes from a
// fixed seed, the adversarial word patterns, and a switch over both limb
// widths of the kernels.
#pragma once
#include <gmp.h>

#include <cstdint>
#include <random>
#include <string>

#include "base/tq_state.h"
#include "base/tq_types.h"

// Owning mpz_t.
struct Mpz {
    mpz_t v;
    Mpz() { mpz_init(v); }
    explicit Mpz(const TqStr &m) {
        mpz_init(v);
        mpz_import(v, m.size() / 4, -1, 4, -1, 0, m.data());
    }
    Mpz(const Mpz &) = delete;
    Mpz &operator=(const Mpz &) = delete;
    ~Mpz() { mpz_clear(v); }
    operator mpz_ptr() { return v; }
    operator mpz_srcptr() const { return v; }
};

// The trimmed magnitude of a non-negative mpz.
inline TqStr magOf(mpz_srcptr z) {
    size_t n = (mpz_sizeinbase(z, 2) + 31) / 32;
    if (mpz_sgn(z) == 0) n = 1;
    TqStr s(n * 4, '\0');
    size_t cnt = 0;
    mpz_export(s.data(), &cnt, -1, 4, -1, 0, z);
    return s;
}

// Hex text of a magnitude, for failure messages.
inline std::string hexOf(const TqStr &m) {
    Mpz z(m);
    char *p = mpz_get_str(nullptr, 16, z);
    std::string s(p);
    void (*freefunc)(void *, size_t);
    mp_get_memory_functions(nullptr, nullptr, &freefunc);
    freefunc(p, s.size() + 1);
    return s;
}

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
