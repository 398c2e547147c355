// Signed operations on numbers of every kind (decimal and binary floats, big
// integers, fractions). Inputs are private copies, results are written by
// reference; the result is the status (0 or the error bits, also raised).
#pragma once
#include "base/tq_types.h"

[[nodiscard]] int32_t n_Add(TqNum a, TqNum b, TqNum &r);
[[nodiscard]] int32_t n_Sub(TqNum a, TqNum b, TqNum &r);
[[nodiscard]] int32_t n_Mul(TqNum a, TqNum b, TqNum &r);
[[nodiscard]] int32_t n_Sqr(TqNum a, TqNum &r);
[[nodiscard]] int32_t n_Incr(TqNum a, TqNum &r);
[[nodiscard]] int32_t n_Decr(TqNum a, TqNum &r);
[[nodiscard]] int32_t n_MulBy2(TqNum a, TqNum &r);
[[nodiscard]] int32_t n_DivBy2(TqNum a, TqNum &r);
[[nodiscard]] int32_t n_Fix(TqNum a, TqNum &r);
[[nodiscard]] int32_t n_Frac(TqNum a, TqNum &r);

[[nodiscard]] int32_t n_Div(TqNum a, TqNum b, TqNum &r);

// The same operations on operands that are only read, without the copies:
// the result must be a variable distinct from both operands.
[[nodiscard]] int32_t n_AddRef(const TqNum &a, const TqNum &b, TqNum &r);
[[nodiscard]] int32_t n_SubRef(const TqNum &a, const TqNum &b, TqNum &r);
[[nodiscard]] int32_t n_MulRef(const TqNum &a, const TqNum &b, TqNum &r);
[[nodiscard]] int32_t n_DivRef(const TqNum &a, const TqNum &b, TqNum &r);
[[nodiscard]] int32_t n_Reciprocal(TqNum a, TqNum &r);
[[nodiscard]] int32_t n_DivInt(TqNum a, TqNum b, TqNum &q, TqNum &rem);
[[nodiscard]] int32_t n_Mod(TqNum a, TqNum b, TqNum &r);
// Exact comparison of two finite floats of one kind: -1, 0, 1.
int32_t tq_CmpNum(const TqNum &a, const TqNum &b);
