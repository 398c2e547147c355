// Core types shared by every subsystem: the byte strings that hold magnitudes,
// the variable record, the number kinds and the error bits.
//
// A magnitude is a byte string of little-endian 32-bit words, least significant
// word first; its byte length is a multiple of 4 and its trimmed form has no
// zero word at the top (zero is one zero word). Text variables keep their text
// in the same kind of string, byte for byte.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>

typedef std::string TqStr;

// The record of one variable: five signed 32-bit fields, in this order.
struct TarqVar {
    int32_t InUse;
    int32_t Sign;     // +1 for positive values and zero, -1 for negative values
    int32_t Expo;     // unit depends on NumType
    int32_t NumType;  // 1..5
    int32_t Special;  // 0 finite, 1 +inf, 2 -inf, 3 NaN
};

// A variable as the internal operations see it: record, magnitude (numerator
// or text) and denominator (one word 1 for every kind but fractions).
struct TqNum {
    TarqVar V{0, 1, 0, 0, 0};
    TqStr MantN;
    TqStr DenN;
};

constexpr int32_t TarqDecFloat = 1;  // Sign * MantN * 10^Expo
constexpr int32_t TarqBinFloat = 2;  // Sign * MantN * 256^Expo, Expo a multiple of 4
constexpr int32_t TarqBigInt = 3;    // Sign * MantN
constexpr int32_t TarqFraction = 4;  // Sign * MantN / DenN
constexpr int32_t TarqText = 5;      // MantN holds a text

constexpr int32_t tq_Special_None = 0;
constexpr int32_t tq_Special_PosInf = 1;
constexpr int32_t tq_Special_NegInf = 2;
constexpr int32_t tq_Special_NaN = 3;

constexpr int32_t tq_Err_Invalid = 1;
constexpr int32_t tq_Err_Type = 2;
constexpr int32_t tq_Err_Kind = 4;
constexpr int32_t tq_Err_Special = 8;
constexpr int32_t tq_Err_Handle = 16;
constexpr int32_t tq_Err_Range = 32;
constexpr int32_t tq_Err_CacheWrite = 64;
constexpr int32_t tq_Err_ExpRange = 256;
constexpr int32_t tq_Err_NoInverse = 512;

// Binary-float exponents move in whole words.
constexpr int32_t tq_ExpNorm_BinFl = 4;

// Precision parameter sets written by every precision change.
constexpr int32_t tq_PrecSet_Normal = 1;
constexpr int32_t tq_PrecSet_Newton = 3;

// Word access to a magnitude string. The library is built with
// -fno-strict-aliasing, and string storage is at least 8-byte aligned.
inline uint32_t *tq_W(TqStr &s) { return reinterpret_cast<uint32_t *>(s.data()); }
inline const uint32_t *tq_W(const TqStr &s) { return reinterpret_cast<const uint32_t *>(s.data()); }
inline int32_t tq_NWords(const TqStr &s) { return static_cast<int32_t>(s.size() / 4); }
inline int32_t tq_Len(const TqStr &s) { return static_cast<int32_t>(s.size()); }

// A one-word magnitude.
inline TqStr tq_Word(uint32_t w) {
    TqStr s(4, '\0');
    std::memcpy(s.data(), &w, 4);
    return s;
}
inline uint32_t tq_WordAt(const TqStr &s, int32_t i) { return tq_W(s)[i]; }
