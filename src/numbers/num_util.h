// Small helpers on numbers: numbers from integers, exact tests and size
// estimates.
#pragma once
#include <string>

#include "base/tq_types.h"
#include "numbers/number.h"  // n_SetZero

// A finite number of the given kind holding the integer v (Sign from v).
TqNum tq_IntNum(int32_t kind, int64_t v);
// Iterations and series stop at the latest after this many rounds.
constexpr int32_t tq_MaxRounds = 2000000;
// A number of the given kind holding only a special value (1..3).
TqNum tq_SpecialNum(int32_t kind, int32_t special);
void tq_SetSpecial(TqNum &v, int32_t special);
// A float result beyond the exponent range: the infinity of the sign when it
// is too large, else zero; raises and returns tq_Err_ExpRange (with
// tq_Err_Special for the infinity).
int32_t tq_SetOutOfRange(TqNum &v, bool tooLarge, int32_t sign);

bool tq_IsFloatKind(int32_t kind);
// Finite and zero.
bool tq_IsZeroNum(const TqNum &v);
// Finite and exactly +1.
bool tq_IsOneNum(const TqNum &v);
// Finite and negative (not zero).
bool tq_IsNegNum(const TqNum &v);
// log2 |v| of a finite non-zero float or integer, to about 15 digits.
double tq_ApproxLog2(const TqNum &v);
// Whole words by which a series term lies below the sum: the bytes of
// precision the next term can do without (0 or more, a multiple of 4).
int32_t tq_TermSlackBytes(const TqNum &sum, const TqNum &term);

// Cuts a copy of v at the given precision in bytes and reports whether a and b
// agree there (magnitude and exponent).
bool tq_SameAtPrecision(const TqNum &a, const TqNum &b, int32_t bytes);

// Diagnostic helpers: a number in decimal and hexadecimal, built only while
// a trace sink listens.
void tq_TraceNumber(const TqNum &v);
std::string tq_MagHex(const TqStr &m);
