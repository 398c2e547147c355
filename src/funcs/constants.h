// Numbered constants: 1..10 computed and cached, 11..33 fixed.
#pragma once
#include "base/tq_types.h"
#include "tarq.h"  // the constant codes

// Loads constant `code` into v in v's own kind. Status 0, tq_Err_Invalid or
// tq_Err_Type.
[[nodiscard]] int32_t n_GetConst(int32_t code, TqNum &v);
// The computed constants 1..10.
[[nodiscard]] int32_t n_GetConst_Computed(int32_t code, TqNum &v);
// Numbered constant `code` (n_GetConst) in the given kind.
TqNum tq_ConstNum(int32_t code, int32_t kind);
