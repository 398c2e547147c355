// The benchmark exports' core, callable without the input layer.
#pragma once
#include <cstdint>

#include "base/tq_types.h"

// Races h_Mul_Karatsuba2Way against h_Mul_Karatsuba2Way_V5 on random operands
// of `length` to 2 x `length` bytes for `minutes` (one pass at least) and
// passes the report lines to the trace. lastB receives the last second
// operand. Returns the number of errors (changed operands, unequal products).
int32_t n_Test2_Race(double minutes, int32_t length, TqStr &lastB);
