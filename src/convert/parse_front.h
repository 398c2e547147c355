// The front end shared by the three number parsers: normalisation of the text,
// the character-set check, the sign, and the split into mantissa digits and a
// digit-position exponent.
#pragma once
#include "base/tq_types.h"

enum TqParser { tq_Parser_Dec, tq_Parser_Radix, tq_Parser_BigInt };

struct TqParsed {
    TqStr Body;          // lower-cased, spaces and leading signs removed
    char Radix = 'd';    // 'd', 'h' or 'b': the radix of digits and exponent
    int32_t Sign = 1;
    bool HasStar = false;
    TqStr Mant;          // mantissa text: prefix and digits, signs and points removed
    int32_t E = 0;       // value = Mant * radix^E
};

// Steps up to the sign. 0, or 1 with tq_Err_Invalid raised when the text holds
// a character outside the radix's set, a stray star, or "&" not followed by
// "h" or "b" (or no "&" at all for the radix parser).
int32_t n_Parse_Front(const TqStr &text, TqParser parser, TqParsed &p);
// Reads the exponent and the mantissa. 0, or 1 with tq_Err_Invalid raised
// when the exponent does not fit a signed 32-bit integer.
int32_t n_Parse_Scale(TqParsed &p);
