// Decimal text to a decimal float: sign x digits x 10^Expo, the digits read as
// one integer and Expo the exponent counted in digit positions. No precision
// cut here (the dispatcher cuts).
#include "convert.h"
#include "kernels/limbs.h"
#include "parse_front.h"

int32_t n_Convert_DecString2TarqDecFloat(const TqStr &text, TarqVar &v, TqStr &MantN) {
    TqParsed p;
    if (int32_t st = n_Parse_Front(text, tq_Parser_Dec, p)) return st;
    v.NumType = TarqDecFloat;
    v.Special = tq_Special_None;
    v.Sign = p.Sign;
    if (int32_t st = n_Parse_Scale(p)) return st;
    n_Digits2Mant(p.Mant, MantN);
    v.Expo = tq_IsZero(MantN) ? 0 : p.E;
    return 0;
}
