// Test helpers for the conversion tests (on tq_gmp.h): the exact value of a number record as a GMP rational, and short-hands for
// parsing and formatting through the library's internal operations.
#pragma once
#include <gmp.h>

#include <cstring>
#include <random>
#include <string>

#include "convert/convert.h"
#include "base/tq_state.h"
#include "base/tq_types.h"
#include "tarq.h"
#include "tq_gmp.h"

inline TqStr tq_MagFromDec(const char *dec) {
    mpz_t z;
    mpz_init_set_str(z, dec, 10);
    TqStr m = tqg_MagFromMpz(z);
    mpz_clear(z);
    return m;
}

// q = the exact value of a finite number of kinds 1..4.
inline void tq_ValueToMpq(mpq_t q, const TqNum &v) {
    mpz_t num, den, p;
    mpz_inits(num, den, p, nullptr);
    tqg_MagToMpz(num, v.MantN);
    mpz_set_ui(den, 1);
    const int32_t e = v.V.Expo;
    if (v.V.NumType == TarqDecFloat || v.V.NumType == TarqBinFloat) {
        mpz_ui_pow_ui(p, v.V.NumType == TarqDecFloat ? 10 : 256, static_cast<unsigned long>(e < 0 ? -e : e));
        if (e >= 0) mpz_mul(num, num, p);
        else mpz_set(den, p);
    } else if (v.V.NumType == TarqFraction) {
        tqg_MagToMpz(den, v.DenN);
    }
    if (v.V.Sign < 0) mpz_neg(num, num);
    mpq_set_num(q, num);
    mpq_set_den(q, den);
    if (mpz_sgn(den) != 0) mpq_canonicalize(q);
    mpz_clears(num, den, p, nullptr);
}

inline std::string tq_MpqStr(const mpq_t q) {
    char *s = mpq_get_str(nullptr, 10, q);
    std::string r = s;
    void (*freefunc)(void *, size_t);
    mp_get_memory_functions(nullptr, nullptr, &freefunc);
    freefunc(s, std::strlen(s) + 1);
    return r;
}

inline std::string tq_MpzStr(const mpz_t z, int base = 10) {
    char *s = mpz_get_str(nullptr, base, z);
    std::string r = s;
    void (*freefunc)(void *, size_t);
    mp_get_memory_functions(nullptr, nullptr, &freefunc);
    freefunc(s, std::strlen(s) + 1);
    return r;
}

inline int32_t tq_Parse(const std::string &text, int32_t kind, TqNum &v) {
    v = tqg_Zero(kind);
    return n_Convert_String2TarqVar(text, v.V, v.MantN, v.DenN, kind);
}

inline TqNum tq_P(const std::string &text, int32_t kind) {
    TqNum v;
    tq_Parse(text, kind, v);
    return v;
}

inline std::string tq_Fmt(const TqNum &v, int32_t format, int32_t digits = 0) {
    TqStr s;
    int32_t st = n_Convert_TarqVar2String(v, format, digits, s);
    return st ? "<status " + std::to_string(st) + ">" : s;
}

// The value of v as a reduced rational text ("-3/4", "12").
inline std::string tq_ValueStr(const TqNum &v) {
    mpq_t q;
    mpq_init(q);
    tq_ValueToMpq(q, v);
    std::string s = tq_MpqStr(q);
    mpq_clear(q);
    return s;
}

// Random digit string of the radix (no leading zero unless it is "0").
inline std::string tq_RandomDigits(std::mt19937_64 &rng, int radix, size_t n) {
    static const char d[] = "0123456789ABCDEF";
    std::string s;
    for (size_t i = 0; i < n; ++i) s += d[rng() % static_cast<unsigned>(radix)];
    if (s.size() > 1 && s[0] == '0') s[0] = '1';
    return s;
}
