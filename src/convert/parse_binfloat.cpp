// Hexadecimal ("&h") or binary ("&b") text to a binary float. The digit
// exponent is aligned down to whole 32-bit words (8 hexadecimal or 32 binary
// digits); the mantissa gets the difference as zero digits on the right, so
// the value is exact. No precision cut here (the dispatcher cuts).
#include "convert.h"
#include "kernels/limbs.h"
#include "parse_front.h"

static int64_t floorTo(int64_t e, int64_t step) {
    int64_t q = e / step;
    if (e % step != 0 && e < 0) --q;
    return q * step;
}

int32_t n_Convert_RadixString2TarqBinFloat(const TqStr &text, TarqVar &v, TqStr &MantN) {
    TqParsed p;
    if (int32_t st = n_Parse_Front(text, tq_Parser_Radix, p)) return st;
    v.NumType = TarqBinFloat;
    v.Special = tq_Special_None;
    v.Sign = p.Sign;
    if (int32_t st = n_Parse_Scale(p)) return st;
    const int64_t step = p.Radix == 'h' ? 8 : 32;
    const int64_t a = floorTo(p.E, step);
    p.Mant.append(static_cast<size_t>(p.E - a), '0');
    n_Digits2Mant(p.Mant, MantN);
    v.Expo = tq_IsZero(MantN) ? 0 : static_cast<int32_t>(p.Radix == 'h' ? a / 2 : a / 8);
    return 0;
}
