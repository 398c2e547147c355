// Exact and modular powers of magnitudes.
#pragma once
#include "frame/tq_types.h"

// R = B^E, trimmed.
void h_Pow(TqStr B, TqStr E, TqStr &R);
// Index of the top set bit of E (bit 0 of byte 0 is index 0), -1 when E is 0.
int32_t h_TopBit(const TqStr &E);
