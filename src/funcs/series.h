// The one series loop of the elementary functions: power series summed in
// fixed point on bare magnitudes, each term carried only to the words that can
// still reach the sum, with one stopping test.
//
// Fixed point. A magnitude F of W + 1 words (W >= 1) stands for F / 2^(32 W):
// W fraction words under one integer word. A "unit" is 2^(-32 W). Fixed-point
// values here are never negative; a signed value travels as a magnitude and a
// sign beside it.
//
// The series. tq_SeriesSum adds up
//     S = sum over k >= 0 of  sgn(k) P(k) / e(k),   P(k) = T^k / (d(0) d(1) ... d(k-1)),
// for a fixed-point T with 0 <= T <= 1/2, where sgn(k) = (-1)^k for an
// alternating series and +1 otherwise, and the divisors are products of
// linear factors in k: d(k) = (a1 k + b1)(a2 k + b2) and e(k) = a3 k + b3,
// each factor a whole number from 1 to 2^32 - 1 (a factor 0 k + 1 costs
// nothing). The common series, written as S of T = x or x^2:
//     e^x                  T = x    d = k + 1                 e = 1
//     sin x / x            T = x^2  d = (2k + 2)(2k + 3)      e = 1      alternating
//     cos x                T = x^2  d = (2k + 1)(2k + 2)      e = 1      alternating
//     atan x / x           T = x^2  d = 1                     e = 2k + 1 alternating
//     atanh x / x          T = x^2  d = 1                     e = 2k + 1
// Shrinking precision: P(k) has n significant words, so P(k) T needs only
// the top n + 1 words of T (the dropped words cost less than 2^-32 units), and
// each product and division runs over n words only. From
// gTq_Series_RectWords words on, the sum goes by rectangular splitting
// instead (series.cpp): the powers T^2 .. T^m once, then one full product per
// block of m terms, every other step a one-word division or an addition, the
// later blocks on fewer words; same bound.
// Stopping: the sum ends at the first P(k) that truncates to zero (by
// rectangular splitting: at the first k where log2 P(k), followed in double
// precision, is a byte below one unit). With
// T <= 1/2 and every factor >= 1 the neglected tail is below 2 units.
// Error: each P(k) is truncated by the product and the divisions, and an
// error carried from P(k) to P(k + 1) is multiplied by T / d(k) <= 1/2, so
// every P(k) is within 3 units of T^k / D(k) and every term within 4. Hence
//     |S - exact| < 4 K + 2 units,  K = the number of terms (*terms),
// and a caller with 16 guard bits beyond its needs is safe up to K = 16,000.
// The partial sums of an alternating series stay in [0, first term]: the
// truncated terms do not grow (T < 1, d >= 1, e not decreasing), so the sum
// never borrows past zero.
#pragma once
#include "base/tq_types.h"

// From this many words on, the sum goes by rectangular splitting (the powers
// of T once, one full product per block of terms) instead of one product per
// term; set from measurement.
extern int32_t gTq_Series_RectWords;

// A series by the linear factors of its divisors (see above).
struct TqSeries {
    uint32_t a1, b1, a2, b2;  // d(k) = (a1 k + b1)(a2 k + b2)
    uint32_t a3, b3;          // e(k) = a3 k + b3
    bool alternating;
};
constexpr TqSeries tq_Series_Exp{1, 1, 0, 1, 0, 1, false};
constexpr TqSeries tq_Series_ExpNeg{1, 1, 0, 1, 0, 1, true};  // e^-x
constexpr TqSeries tq_Series_SinOverX{2, 2, 2, 3, 0, 1, true};
constexpr TqSeries tq_Series_Cos{2, 1, 2, 2, 0, 1, true};
constexpr TqSeries tq_Series_AtanOverX{0, 1, 0, 1, 2, 1, true};
constexpr TqSeries tq_Series_AtanhOverX{0, 1, 0, 1, 2, 1, false};

// S (W + 1 words) = the series of the fixed-point T (at least W words; words
// beyond W are ignored), 0 <= T <= 1/2. *terms, when given, receives K.
void tq_SeriesSum(const TqSeries &series, const TqStr &T, int32_t W, TqStr &S, int32_t *terms = nullptr);

// Fixed-point helpers on W + 1 word values (W >= 1).
// R = A B truncated to a unit (R may be A or B). A B must stay below 2^32.
void tq_FixedMul(const TqStr &A, const TqStr &B, int32_t W, TqStr &R);
// R = A^2 truncated to a unit (R may be A).
void tq_FixedSqr(const TqStr &A, int32_t W, TqStr &R);
// F = |x| 2^(-shift) truncated to a unit, for a finite binary float x and
// shift >= 0; false (F untouched) when that is 2^32 or more.
bool tq_FixedFromBin(const TqNum &x, int32_t shift, int32_t W, TqStr &F);
// x = F (a positive binary float with F's words as magnitude; not cut).
void tq_BinFromFixed(TqStr F, int32_t W, TqNum &x);
