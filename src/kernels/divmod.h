// Magnitude division, remainder and greatest common divisor.
#pragma once
#include "frame/tq_types.h"

// Q = X div Y; Rem = X mod Y when wantRem is non-zero. Both trimmed.
void h_DivMod(TqStr X, TqStr Y, int32_t wantRem, TqStr &Q, TqStr &Rem);
void h_Mod(TqStr X, TqStr Y, TqStr &Rem);
void h_Gcd(TqStr A, TqStr B, TqStr &R);
