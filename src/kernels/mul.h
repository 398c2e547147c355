// Magnitude multiplication: the dispatch and its algorithms.
#pragma once
#include "frame/tq_types.h"

// R = A x B; trimmed when trim is non-zero (see the dispatch rules).
void h_Mul(TqStr A, TqStr B, int32_t &trim, TqStr &R);
// R = A x A, always trimmed.
void h_Square(TqStr A, TqStr &R);
