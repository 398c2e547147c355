// Test helpers for the conversion tests (on tq_gmp.h): short-hands for
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
    Mpz z;
    mpz_set_str(z, dec, 10);
    return tqg_MagFromMpz(z);
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
    Mpq q;
    tqg_ToMpq(q, v);
    return tqg_Str(q);
}

// Random digit string of the radix (no leading zero unless it is "0").
inline std::string tq_RandomDigits(std::mt19937_64 &rng, int radix, size_t n) {
    static const char d[] = "0123456789ABCDEF";
    std::string s;
    for (size_t i = 0; i < n; ++i) s += d[rng() % static_cast<unsigned>(radix)];
    if (s.size() > 1 && s[0] == '0') s[0] = '1';
    return s;
}
