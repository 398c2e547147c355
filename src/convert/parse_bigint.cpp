// Text in any radix to a big integer: the value truncated towards zero.
// Without a marker the digits before the first point are read; with one, a
// negative exponent drops that many digits from the right and a positive one
// scales the magnitude by the radix's power (exactly, without building a text
// of zeros).
#include "convert.h"
#include "numbers/number.h"
#include "kernels/limbs.h"
#include "kernels/mul.h"
#include "parse_front.h"
#include "base/tq_state.h"


// M * radix^e for e >= 0.
static void scaleUp(TqStr &M, char radix, int64_t e) {
    if (e == 0 || tq_IsZero(M)) return;
    if (radix == 'd') {
        TqStr p10;
        n_Pow10_Exact(e, p10);
        int32_t trim = 1;
        h_Mul(std::move(M), std::move(p10), trim, M);
        return;
    }
    const int64_t bits = radix == 'h' ? 4 * e : e;
    const int64_t words = bits / 32, shift = bits % 32;
    TqStr r(static_cast<size_t>(words) * 4, '\0');
    r += M;
    r += tq_Word(0);
    if (shift) {
        uint32_t *w = tq_W(r);
        for (int32_t i = tq_NWords(r) - 1; i > words; --i) w[i] = (w[i] << shift) | (w[i - 1] >> (32 - shift));
        w[words] <<= shift;
    }
    tq_Trim(r);
    M = std::move(r);
}

int32_t n_Convert_String2TarqBigInt(const TqStr &text, TarqVar &v, TqStr &MantN) {
    TqParsed p;
    if (int32_t st = n_Parse_Front(text, tq_Parser_BigInt, p)) return st;
    v.NumType = TarqBigInt;
    v.Special = tq_Special_None;
    v.Sign = p.Sign;
    v.Expo = 0;
    if (!p.HasStar) {
        n_Digits2Mant(p.Body, MantN);
        return 0;
    }
    if (int32_t st = n_Parse_Scale(p)) return st;
    const int64_t e = p.E;
    if (e < 0) {
        // The length compared counts a radix prefix standing in the text.
        if (static_cast<int64_t>(p.Mant.size()) > -e) p.Mant.resize(p.Mant.size() - static_cast<size_t>(-e));
        else p.Mant.assign(1, '0');
    }
    n_Digits2Mant(p.Mant, MantN);
    if (e > 0 && !tq_IsZero(MantN)) {
        // Refuse a result too long to hold (10^e needs about 0.415 e bytes).
        const double bytes = (p.Radix == 'd' ? 0.41524 : p.Radix == 'h' ? 0.5 : 0.125) * static_cast<double>(e);
        if (bytes + MantN.size() > static_cast<double>(tq_MaxExactBytes)) return tq_RaiseErr(tq_Err_Invalid);
        scaleUp(MantN, p.Radix, e);
    }
    return 0;
}
