// Exact and modular powers of magnitudes.
#pragma once
#include "frame/tq_types.h"

// R = B^E, trimmed.
void h_Pow(TqStr B, TqStr E, TqStr &R);
