// Test helper: moves values between the library's numbers (TqNum records and
// store handles) and GMP/MPFR values, exactly, for every numeric kind.
//   magnitudes   <-> mpz_t (absolute value)
//   big integers <-> mpz_t, fractions <-> mpq_t (numerator/denominator kept as
//   given, so unreduced fractions can be built too)
//   binary floats: mantissa * 256^Expo; decimal floats: mantissa * 10^Expo
//   any finite number -> mpq_t (exact) or mpfr_t (rounded)
// Header only; link with -lgmp (and -lmpfr for the mpfr functions).
#pragma once
#include <gmp.h>
#include <mpfr.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "frame/store.h"
#include "base/tq_state.h"
#include "base/tq_types.h"
#include "tarq.h"

// Owning GMP values: Mpz (optionally the value of a magnitude, any length,
// high zero words allowed) and Mpq, usable wherever mpz_t / mpq_t are, also
// in GMP's macros.
struct Mpz {
    mpz_t v;
    Mpz() { mpz_init(v); }
    explicit Mpz(long x) { mpz_init_set_si(v, x); }
    explicit Mpz(const TqStr &m) {
        mpz_init(v);
        if (!m.empty()) mpz_import(v, m.size() / 4, -1, 4, -1, 0, m.data());
    }
    Mpz(const Mpz &) = delete;
    Mpz &operator=(const Mpz &) = delete;
    ~Mpz() { mpz_clear(v); }
    operator mpz_ptr() { return v; }
    operator mpz_srcptr() const { return v; }
    mpz_ptr operator->() { return v; }  // for GMP's macros (mpz_sgn, ...)
    mpz_srcptr operator->() const { return v; }
};
struct Mpq {
    mpq_t v;
    Mpq() { mpq_init(v); }
    Mpq(unsigned long num, unsigned long den) {
        mpq_init(v);
        mpq_set_ui(v, num, den);
    }
    Mpq(const Mpq &) = delete;
    Mpq &operator=(const Mpq &) = delete;
    ~Mpq() { mpq_clear(v); }
    operator mpq_ptr() { return v; }
    operator mpq_srcptr() const { return v; }
    mpq_ptr operator->() { return v; }
    mpq_srcptr operator->() const { return v; }
};

// The text of a GMP integer or rational (freed through GMP's own allocator).
inline std::string tqg_Str(mpz_srcptr z, int base = 10) {
    char *p = mpz_get_str(nullptr, base, z);
    std::string s(p);
    void (*freefunc)(void *, size_t);
    mp_get_memory_functions(nullptr, nullptr, &freefunc);
    freefunc(p, s.size() + 1);
    return s;
}
inline std::string tqg_Str(mpq_srcptr q) {
    std::string s = tqg_Str(mpq_numref(q));
    if (mpz_cmp_ui(mpq_denref(q), 1)) s.append(1, '/').append(tqg_Str(mpq_denref(q)));
    return s;
}

// |z| as a trimmed magnitude (zero is one zero word).
inline TqStr tqg_MagFromMpz(const mpz_t z) {
    size_t words = (mpz_sizeinbase(z, 2) + 31) / 32;
    TqStr m(words ? words * 4 : 4, '\0');
    size_t count = 0;
    if (mpz_sgn(z)) mpz_export(m.data(), &count, -1, 4, -1, 0, z);
    return m;
}

// z = the magnitude m (any length that is a multiple of 4, untrimmed allowed).
inline void tqg_MagToMpz(mpz_t z, const TqStr &m) {
    if (m.empty()) {
        mpz_set_ui(z, 0);
        return;
    }
    mpz_import(z, m.size() / 4, -1, 4, -1, 0, m.data());
}

// q = m / p rounded to nearest, an exact half rounding down (the rule of the
// decimal cut); true when it rounded up. q must not be m or p.
inline bool tqg_DivRoundHalfDown(mpz_t q, const mpz_t m, const mpz_t p) {
    mpz_t r;
    mpz_init(r);
    mpz_tdiv_qr(q, r, m, p);
    mpz_mul_2exp(r, r, 1);
    const bool up = mpz_cmp(r, p) > 0;
    if (up) mpz_add_ui(q, q, 1);
    mpz_clear(r);
    return up;
}

// A finite number of the given kind: Sign from z, magnitude |z|.
inline TqNum tqg_Make(int32_t kind, const mpz_t z, int32_t expo = 0) {
    TqNum v;
    v.V = TarqVar{1, mpz_sgn(z) < 0 ? -1 : 1, expo, kind, 0};
    v.MantN = tqg_MagFromMpz(z);
    v.DenN = tq_Word(1);
    return v;
}

// A number of the kind holding the small integer v (times 256^expo or 10^expo).
inline TqNum tqg_Int(int32_t kind, long v, int32_t expo = 0) { return tqg_Make(kind, Mpz(v), expo); }

inline TqNum tqg_BigInt(const mpz_t z) { return tqg_Make(TarqBigInt, z); }
// mant * 256^expoBytes
inline TqNum tqg_BinFloat(const mpz_t mant, int32_t expoBytes) { return tqg_Make(TarqBinFloat, mant, expoBytes); }
// mant * 10^expo
inline TqNum tqg_DecFloat(const mpz_t mant, int32_t expo) { return tqg_Make(TarqDecFloat, mant, expo); }

// num / den as given (den > 0; the sign is taken from num).
inline TqNum tqg_Fraction(const mpz_t num, const mpz_t den) {
    TqNum v = tqg_Make(TarqFraction, num);
    v.DenN = tqg_MagFromMpz(den);
    return v;
}
inline TqNum tqg_Fraction(const mpq_t q) { return tqg_Fraction(mpq_numref(q), mpq_denref(q)); }

// A special value (1 +inf, 2 -inf, 3 NaN) of a kind; special 0: a zero.
inline TqNum tqg_Special(int32_t kind, int32_t special) {
    TqNum v;
    v.V = TarqVar{1, 1, 0, kind, special};
    v.MantN = tq_Word(0);
    v.DenN = tq_Word(1);
    return v;
}
inline TqNum tqg_Zero(int32_t kind) { return tqg_Special(kind, 0); }

// A magnitude of the given words, lowest first.
inline TqStr tq_MagFromWords(std::initializer_list<uint32_t> ws) {
    TqStr s;
    for (uint32_t w : ws) s += tq_Word(w);
    return s;
}

// Working precision for a test (TQ_SETPRECISION's mode: 1 digits, 3 bytes),
// restored afterwards.
struct TqTestPrecision {
    int32_t bytes;
    explicit TqTestPrecision(int32_t value, int32_t mode = 1) {
        tq_EnsureInit();
        bytes = gTq_Prec_Bytes_Internal;
        TQ_SETPRECISION(mode, value);
    }
    ~TqTestPrecision() { TQ_SETPRECISION(3, bytes); }
};

// A binary float exactly equal to x (finite), its exponent on the word grid.
inline TqNum tqg_BinFloatFromMpfr(const mpfr_t x) {
    mpz_t m;
    mpz_init(m);
    mpfr_exp_t e = mpfr_get_z_2exp(m, x);  // x = m * 2^e
    if (mpz_sgn(m) == 0) e = 0;
    // Move e down to a multiple of 32 bits.
    long r = static_cast<long>(((e % 32) + 32) % 32);
    mpz_mul_2exp(m, m, static_cast<mp_bitcnt_t>(r));
    e -= r;
    TqNum v = tqg_BinFloat(m, static_cast<int32_t>(e / 8));
    mpz_clear(m);
    return v;
}

// The unit of the lowest mantissa digit of a float: 256^Expo or 10^Expo.
inline void tqg_Unit(mpq_t u, const TqNum &v) {
    mpz_t p;
    mpz_init(p);
    const int32_t e = v.V.Expo;
    const unsigned long ae = static_cast<unsigned long>(e < 0 ? -static_cast<long>(e) : e);
    if (v.V.NumType == TarqBinFloat)
        mpz_ui_pow_ui(p, 2, 8 * ae);
    else if (v.V.NumType == TarqDecFloat)
        mpz_ui_pow_ui(p, 10, ae);
    else
        mpz_set_ui(p, 1);
    mpq_set_ui(u, 1, 1);
    if (e >= 0)
        mpz_set(mpq_numref(u), p);
    else
        mpz_set(mpq_denref(u), p);
    mpq_canonicalize(u);
    mpz_clear(p);
}

// The exact value of a finite number of kind 1..4.
inline void tqg_ToMpq(mpq_t q, const TqNum &v) {
    mpz_t m;
    mpz_init(m);
    tqg_MagToMpz(m, v.MantN);
    if (v.V.Sign < 0) mpz_neg(m, m);
    if (v.V.NumType == TarqFraction) {
        mpz_set(mpq_numref(q), m);
        tqg_MagToMpz(mpq_denref(q), v.DenN);
        mpq_canonicalize(q);
    } else {
        mpq_t u;
        mpq_init(u);
        if (v.V.NumType == TarqBigInt)
            mpq_set_ui(u, 1, 1);
        else
            tqg_Unit(u, v);
        mpq_set_z(q, m);
        mpq_mul(q, q, u);
        mpq_clear(u);
    }
    mpz_clear(m);
}

// z = the value of a big integer (sign included).
inline void tqg_ToMpz(mpz_t z, const TqNum &v) {
    tqg_MagToMpz(z, v.MantN);
    if (v.V.Sign < 0) mpz_neg(z, z);
}

// The value of a big integer as a long (it must fit), and the value of a
// finite number rounded to a double.
inline long tqg_Long(const TqNum &v) {
    Mpz z;
    tqg_ToMpz(z, v);
    return mpz_get_si(z);
}
inline double tqg_Double(const TqNum &v) {
    Mpq q;
    tqg_ToMpq(q, v);
    return mpq_get_d(q);
}

// x = the number rounded to x's precision; infinities and NaN map to MPFR's.
inline void tqg_ToMpfr(mpfr_t x, const TqNum &v, mpfr_rnd_t rnd = MPFR_RNDN) {
    if (v.V.Special == tq_Special_PosInf || v.V.Special == tq_Special_NegInf) {
        mpfr_set_inf(x, v.V.Special == tq_Special_PosInf ? 1 : -1);
        return;
    }
    if (v.V.Special == tq_Special_NaN) {
        mpfr_set_nan(x);
        return;
    }
    mpq_t q;
    mpq_init(q);
    tqg_ToMpq(q, v);
    mpfr_set_q(x, q, rnd);
    mpq_clear(q);
}

// Store access for tests: write a number into an allocated handle (InUse is
// kept) and read it back.
inline void tqg_Put(int32_t h, const TqNum &v) {
    TqNum &s = gTq_Store[h];
    s.V.Sign = v.V.Sign;
    s.V.Expo = v.V.Expo;
    s.V.NumType = v.V.NumType;
    s.V.Special = v.V.Special;
    s.MantN = v.MantN;
    s.DenN = v.DenN;
}
inline const TqNum &tqg_Get(int32_t h) { return gTq_Store[h]; }
// Allocates a variable holding v.
inline int32_t tqg_New(const TqNum &v) {
    const int32_t h = TQ_ALLOCVAR(v.V.NumType);
    tqg_Put(h, v);
    return h;
}
