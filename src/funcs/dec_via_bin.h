// Decimal-float functions computed on binary floats.
#pragma once
#include "base/tq_types.h"

enum class TqDecFn { Sqrt, Exp, Log, Log2, Log10, Sin, Cos, Tan, Atan, Asin };

// f of a decimal float x through the binary kind: x converted once, f of the
// binary kind evaluated with enough guard bits for the conversion's error as
// f's condition amplifies it, the result converted once and cut to the
// working precision. An exponent beyond +-2^30, which no conversion reaches,
// gives the answer the size of x decides alone (trigonometric functions).
// True when it took x (finite, non-zero, in f's domain, r decimal too), st
// then holding the status; false leaves x to the caller.
bool n_DecViaBin(TqDecFn f, const TqNum &x, TqNum &r, int32_t &st);
