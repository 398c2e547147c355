// Powers of ten as binary floats, from the powers-of-ten table.
#pragma once
#include "tq_types.h"

// v becomes a TarqBinFloat (Sign +1, Special 0) with MantN * 256^Expo equal to
// 10^n within the table's precision; n < 0 gives zero.
void n_Pow10_Lookup(int32_t n, TarqVar &v, TqStr &MantN);
// 10^n from the lookup as an integer magnitude (shifted up by its exponent).
void n_Pow10_Integer(int32_t n, TqStr &R);
