// Conversion and formatting: text to numbers, numbers between kinds, numbers
// to text, comparisons and range tests. Every operation takes its inputs as
// copies (or const references it never keeps) and writes results by reference;
// statuses are 0 or the error bits, which are also raised.
#pragma once
#include <cstdint>

#include "base/tq_types.h"

// Format flags: one layout flag combined with one radix flag.
constexpr int32_t tq_Format_Normal = 1;
constexpr int32_t tq_Format_Scientific = 2;
constexpr int32_t tq_Format_IntMantissa = 4;
constexpr int32_t tq_Format_Dec = 8;
constexpr int32_t tq_Format_Hex = 16;
constexpr int32_t tq_Format_Bin = 32;

// Range codes of the native machine types, continuing the kind numbering.
constexpr int32_t tq_Type_Long = 6;
constexpr int32_t tq_Type_Dword = 7;
constexpr int32_t tq_Type_Double = 8;
constexpr int32_t tq_Type_Ext = 9;

// ---- parsing ----
// Reads text into v with the given kind. 0, 1 (text rejected) or 4 (bad kind).
[[nodiscard]] int32_t n_Convert_String2TarqVar(const TqStr &text, TarqVar &v, TqStr &MantN, TqStr &DenN, int32_t kind);
[[nodiscard]] int32_t n_Convert_DecString2TarqDecFloat(const TqStr &text, TarqVar &v, TqStr &MantN);
[[nodiscard]] int32_t n_Convert_RadixString2TarqBinFloat(const TqStr &text, TarqVar &v, TqStr &MantN);
[[nodiscard]] int32_t n_Convert_String2TarqBigInt(const TqStr &text, TarqVar &v, TqStr &MantN);
// Digits (decimal, or hexadecimal / binary when the text holds "&h" / "&b")
// before the first point, other characters ignored, to a trimmed magnitude.
void n_Digits2Mant(const TqStr &text, TqStr &M);
// A string of decimal digits only (no other characters) to a trimmed magnitude.
void n_DecDigits2Mant(const char *digits, size_t n, TqStr &M);

// ---- conversion between kinds ----
[[nodiscard]] int32_t n_Convert_TarqVar2TarqVar(const TqNum &src, TqNum &dst, int32_t format, int32_t digits);
[[nodiscard]] int32_t n_Convert_TarqDecFloat2TarqBinFloat(const TqNum &src, TqNum &dst);
[[nodiscard]] int32_t n_Convert_TarqBinFloat2TarqDecFloat(const TqNum &src, TqNum &dst);
[[nodiscard]] int32_t n_Convert_TarqDecFloat2TarqBigInt(const TqNum &src, TqNum &dst);
[[nodiscard]] int32_t n_Convert_TarqBinFloat2TarqBigInt(const TqNum &src, TqNum &dst);
[[nodiscard]] int32_t n_Convert_TarqDecFloat2TarqFraction(const TqNum &src, TqNum &dst);
[[nodiscard]] int32_t n_Convert_TarqBinFloat2TarqFraction(const TqNum &src, TqNum &dst);
[[nodiscard]] int32_t n_Convert_TarqBigInt2TarqFraction(const TqNum &src, TqNum &dst);
[[nodiscard]] int32_t n_Convert_TarqBigInt2TarqFloat(const TqNum &src, TqNum &dst, int32_t kind);
[[nodiscard]] int32_t n_Convert_TarqFraction2TarqFloat(const TqNum &src, TqNum &dst, int32_t kind);
[[nodiscard]] int32_t n_Convert_TarqFraction2TarqBigInt(const TqNum &src, TqNum &dst);

// ---- formatting ----
// No text a number prints is longer than this many bytes (64 MiB): a float
// whose plain layout would be longer is printed in its exponent layout, and a
// big integer or fraction whose digits would be longer is refused with bit 32
// before any digit is made.
constexpr int64_t tq_Text_MaxBytes = int64_t(1) << 26;
// The binary float t times 10^tenExpo as a decimal float of the working
// precision, rounded as the decimal cut rounds. Where the power of ten that
// brings the kept digits above the point is short (float_short.h) the
// rounding is exact, in one step; elsewhere t 10^k is truncated 40 bits
// beyond the decimal cut and then cut (correctly rounded apart from values
// within 2^-30 units of a rounding boundary). A value beyond the decimal
// exponent range gives the infinity of its sign or zero, with tq_Err_ExpRange
// raised and returned.
[[nodiscard]] int32_t n_BinToDec(const TqNum &t, TqNum &d, int32_t tenExpo);
TqNum n_BinToDec_Approx(const TqNum &t);
// The decimal float x as a binary float cut to the working precision, x times
// or over the power of ten carried 8 bytes beyond it (|x.Expo| < 2^31).
TqNum n_DecToBin_Approx(const TqNum &x);
[[nodiscard]] int32_t n_Convert_TarqVar2String(TqNum v, int32_t format, int32_t digits, TqStr &out);
// Rounds a digit string (optionally holding one point) to n digits, half away
// from zero; carry is set when the rounding carried out of the top digit.
TqStr n_RoundAsciiString(const TqStr &s, int32_t format, int32_t n, int32_t &carry);
// Digits of a magnitude in radix 10, 16 (upper case) or 2, without leading
// zeros; zero gives "0".
TqStr n_Mant2Digits(const TqStr &M, int32_t radix);
// Decimal digits of a magnitude, without leading zeros; zero gives "0".
TqStr n_Mant2DecDigits(const TqStr &M);

// ---- comparisons ----
int32_t n_Compare(const TqNum &a, const TqNum &b);
int32_t n_IsEqual(const TqNum &a, const TqNum &b);
int32_t n_IsZero(const TqNum &v);
// 1 inside, 0 outside or failure; textOut gets the truncated magnitude (codes
// 6, 7) or the 18-digit scientific text (codes 8, 9).
int32_t n_IsInRange(const TqNum &v, int32_t code, TqStr &textOut);

// ---- helpers shared by the files of this folder ----
// Largest magnitude, in bytes, that an exact conversion may build (2 MiB, the
// size of the largest big-integer power); beyond it
// the conversion fails with tq_Err_ExpRange.
constexpr int64_t tq_MaxExactBytes = int64_t(1) << 21;
// R = 10^n exactly (trimmed); false, with nothing raised, when 10^n would be
// longer than tq_MaxExactBytes. The powers-of-ten table is exact only up to
// its precision, so exact kinds take their powers from here.
bool n_Pow10_Exact(int64_t n, TqStr &R);
// dst becomes a finite number of the given kind with src's sign, exponent 0
// and denominator 1 (its magnitude is the conversion's to write).
void n_Convert_Start(const TqNum &src, TqNum &dst, int32_t kind);
