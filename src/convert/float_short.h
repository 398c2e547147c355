// The two float kinds into each other at small decimal exponents, where the
// power of ten is exact and short: one product or one quotient on words, no
// table lookup. Each returns false, touching nothing, when the operand lies
// outside what it takes; bin_to_dec.cpp then takes the general path.
#pragma once
#include "base/tq_types.h"

// x (finite, non-zero decimal float) as the binary float b, exactly as the
// general path would give it: M 10^e exact for e >= 0, else the quotient
// carried P + 8 bytes below the power, then the binary cut.
bool n_DecToBin_Short(const TqNum &x, TqNum &b);
// t 10^tenExpo (t finite, non-zero binary float) as the decimal float d cut
// to the working precision in one step: t times the exact power of ten that
// leaves the K to K + 3 digits the decimal cut keeps above the point, rounded
// to nearest from all the bits below it (an exact half rounds down, as the
// cut does). st gets the status of the exponent check.
bool n_BinToDec_Short(const TqNum &t, TqNum &d, int32_t tenExpo, int32_t &st);
