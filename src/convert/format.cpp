// Numbers to text: the sign character, the radix prefix, the digits in the
// chosen layout (normal, scientific or integer mantissa) and the exponent
// after its marker, all in the chosen radix. Floats are converted to the other
// float kind when the radix asks for it; a digit count lowers the working
// precision for the duration of the call so that no more of the number is
// converted than is printed. The caller's value is never changed. Texts stay
// within tq_Text_MaxBytes: plain layouts whose zeros would pass it switch to
// the exponent layout, and exact kinds with too many digits are refused.
#include <cmath>

#include "convert.h"
#include "numbers/number.h"
#include "numbers/precision.h"
#include "base/tq_state.h"

namespace {

int32_t radixOf(int32_t format) {
    if (format & tq_Format_Dec) return 10;
    if (format & tq_Format_Hex) return 16;
    return 2;
}

char markerOf(int32_t radix) { return radix == 10 ? 'd' : radix == 16 ? 'h' : 'b'; }

const char *prefixOf(int32_t radix) { return radix == 10 ? "" : radix == 16 ? "&h" : "&b"; }

// Marker, sign character and magnitude of the exponent in the radix.
TqStr exponentText(int64_t e, int32_t radix) {
    static const char hexd[] = "0123456789ABCDEF";
    TqStr t = "*";
    t += markerOf(radix);
    t += e < 0 ? '-' : '+';
    uint64_t m = e < 0 ? static_cast<uint64_t>(-e) : static_cast<uint64_t>(e);
    TqStr digits;
    do {
        digits.insert(digits.begin(), hexd[m % static_cast<uint64_t>(radix)]);
        m /= static_cast<uint64_t>(radix);
    } while (m);
    return t + digits;
}

void stripTrailingZeros(TqStr &s) {
    size_t n = s.size();
    while (n > 0 && s[n - 1] == '0') --n;
    s.resize(n);
}

// Scientific layout: one digit, a point, the other digits, the exponent.
TqStr scientific(TqStr s, int64_t e, int64_t d, int32_t format, int32_t radix) {
    int64_t x = static_cast<int64_t>(s.size()) + e - 1;
    if (d > 0 && d < static_cast<int64_t>(s.size())) {
        int32_t carry = 0;
        s = n_RoundAsciiString(s, format, static_cast<int32_t>(d), carry);
        x += carry;
    }
    TqStr m = s.substr(0, 1) + "." + s.substr(1);
    stripTrailingZeros(m);
    if (m.back() == '.') m += '0';
    return m + exponentText(x, radix);
}

// Integer-mantissa layout: all kept digits as an integer, trailing zeros moved
// into the exponent.
TqStr intMantissa(TqStr s, int64_t e, int64_t d, int32_t format, int32_t radix) {
    const int64_t len = static_cast<int64_t>(s.size());
    if (d > 0 && d < len) {
        int32_t carry = 0;
        s = n_RoundAsciiString(s, format, static_cast<int32_t>(d), carry);
        e = len + e - d + carry;
    }
    if (s.find_first_not_of('0') == TqStr::npos) {
        s.assign(1, '0');
        e = 0;
    } else {
        const size_t before = s.size();
        stripTrailingZeros(s);
        e += static_cast<int64_t>(before - s.size());
    }
    return s + exponentText(e, radix);
}

// The float layouts on digit string s (no leading zeros) with digit exponent e.
TqStr floatLayout(const TqStr &s, int64_t e, int32_t format, int64_t d, int32_t radix) {
    const int64_t len = static_cast<int64_t>(s.size());
    if (format & tq_Format_Normal) {
        const int64_t room = tq_Text_MaxBytes - 8;  // sign, prefix, "0." and the end
        const int64_t limit = d > 0 && d < room ? d : room;
        auto exponentLayout = [&] {
            return (format & tq_Format_Scientific) ? scientific(s, e, d, format, radix)
                                                   : intMantissa(s, e, d, format, radix);
        };
        if (e > 0) {
            if (len + e > limit) return exponentLayout();
            return s + TqStr(static_cast<size_t>(e), '0');
        }
        int32_t carry = 0;
        if (-e > room) return exponentLayout();
        if (-e > len) {
            TqStr t = "0." + TqStr(static_cast<size_t>(-e - len), '0') + s;
            return n_RoundAsciiString(t, format, static_cast<int32_t>(limit), carry);
        }
        const size_t intLen = static_cast<size_t>(len + e);
        if (static_cast<int64_t>(intLen) > limit) return s.substr(0, intLen);
        TqStr t = s.substr(0, intLen) + "." + s.substr(intLen);
        t = n_RoundAsciiString(t, format, static_cast<int32_t>(limit), carry);
        stripTrailingZeros(t);
        return t;
    }
    if (format & tq_Format_Scientific) return scientific(s, e, d, format, radix);
    if (format & tq_Format_IntMantissa) return intMantissa(s, e, d, format, radix);
    return s + exponentText(e, radix);  // binary floats without a layout flag
}

TqStr finish(TqStr body, int32_t sign, int32_t radix) {
    if (!body.empty() && body.back() == '.') body += '0';
    if (!body.empty() && body.front() == '.') body.insert(body.begin(), '0');
    return TqStr(1, sign < 0 ? '-' : ' ') + prefixOf(radix) + body;
}

int32_t decFloatFormatter(const TqNum &v, int32_t format, int64_t d, TqStr &out) {
    if (format & (tq_Format_Hex | tq_Format_Bin)) return tq_RaiseErr(tq_Err_Invalid);
    if (!(format & (tq_Format_Normal | tq_Format_Scientific | tq_Format_IntMantissa))) {
        n_Trace("No format specified. Defaulting to %tq_Format_Normal");
        format |= tq_Format_Normal;
    }
    const TqStr s = n_Mant2Digits(v.MantN, 10);
    out = finish(floatLayout(s, v.V.Expo, format, d, 10), v.V.Sign, 10);
    return 0;
}

int32_t binFloatFormatter(const TqNum &v, int32_t format, int64_t d, TqStr &out) {
    if (format & tq_Format_Dec) return tq_RaiseErr(tq_Err_Invalid);
    const int32_t radix = (format & tq_Format_Hex) ? 16 : 2;
    const TqStr s = n_Mant2Digits(v.MantN, radix);
    const int64_t e = static_cast<int64_t>(v.V.Expo) * (radix == 16 ? 2 : 8);
    out = finish(floatLayout(s, e, format, d, radix), v.V.Sign, radix);
    return 0;
}

// Digits of a magnitude in the radix, from above: 32 bits per word.
int64_t digitsAtMost(const TqStr &M, int32_t radix) {
    const int64_t bits = 32 * static_cast<int64_t>(tq_NWords(M));
    return radix == 2 ? bits : radix == 16 ? bits / 4 : bits * 30103 / 100000 + 1;
}

TqStr bigIntFormatter(const TqStr &M, int32_t sign, int32_t format, int64_t d) {
    const int32_t radix = (format & tq_Format_Hex) ? 16 : (format & tq_Format_Bin) ? 2 : 10;
    TqStr s = n_Mant2Digits(M, radix);
    const int64_t len = static_cast<int64_t>(s.size());
    TqStr body;
    if (format & (tq_Format_Scientific | tq_Format_IntMantissa)) {
        int64_t x = 0;
        if (len > 1) {
            int32_t carry = 0;
            const bool cut = d > 0 && d < len;
            if (cut) s = n_RoundAsciiString(s, format, static_cast<int32_t>(d), carry);
            if (format & tq_Format_Scientific) {
                x = len - 1 + carry;
                s = s.substr(0, 1) + "." + s.substr(1);
                stripTrailingZeros(s);
            } else {
                x = (cut ? len - d : 0) + carry;
                const size_t before = s.size();
                stripTrailingZeros(s);
                x += static_cast<int64_t>(before - s.size());
            }
        }
        body = s + exponentText(x, radix);
    } else {
        body = s;
    }
    return TqStr(1, sign < 0 ? '-' : ' ') + prefixOf(radix) + body;
}

}  // namespace

int32_t n_Convert_TarqVar2String(TqNum v, int32_t format, int32_t digits, TqStr &out) {
    switch (v.V.Special) {
        case tq_Special_PosInf: out = "*+inf"; return 0;
        case tq_Special_NegInf: out = "*-inf"; return 0;
        case tq_Special_NaN: out = "*NaN"; return 0;
        default: break;
    }
    if (!(format & (tq_Format_Dec | tq_Format_Hex | tq_Format_Bin))) format |= tq_Format_Dec;
    const int64_t d = digits > 0 ? digits : 0;
    const int32_t radix = radixOf(format);
    TqPrecisionScope scope;
    const bool isFloat = v.V.NumType == TarqDecFloat || v.V.NumType == TarqBinFloat;
    if (d > 0 && isFloat) {
        double bytes = radix == 2 ? std::ceil(d / 8.0) : radix == 16 ? std::ceil(d / 2.0) : std::ceil(d / 2.40823996531185);
        int64_t b = (static_cast<int64_t>(bytes) + 3) / 4 * 4 + 4;
        // The cut raises the exponent by up to the dropped length (digits or
        // bytes): near the top of the range it would leave 32 bits, so such a
        // value is laid out from all its digits.
        const bool roomAbove = v.V.Expo < INT32_MAX - 3 * static_cast<int64_t>(tq_Len(v.MantN)) - 16;
        if (b < scope.savedBytes() && roomAbove) {
            n_Trace("n_Convert_TarqVar2String: Reducing the precision of the input argument");
            scope.set(static_cast<int32_t>(b));
            n_ReducePrecision(v.V, v.MantN);
        }
    }
    if (v.V.NumType == TarqBigInt || v.V.NumType == TarqFraction) {
        const int64_t den = v.V.NumType == TarqFraction ? digitsAtMost(v.DenN, radix) : 0;
        if (digitsAtMost(v.MantN, radix) + den > tq_Text_MaxBytes - 16) return tq_RaiseErr(tq_Err_Range);
    }
    switch (v.V.NumType) {
        case TarqDecFloat:
            if (radix == 10) return decFloatFormatter(v, format, d, out);
            {
                TqNum b;
                if (int32_t st = n_Convert_TarqDecFloat2TarqBinFloat(v, b)) return st;
                return binFloatFormatter(b, format, d, out);
            }
        case TarqBinFloat:
            if (radix != 10) return binFloatFormatter(v, format, d, out);
            {
                TqNum t;
                if (int32_t st = n_Convert_TarqBinFloat2TarqDecFloat(v, t)) return st;
                return decFloatFormatter(t, format, d, out);
            }
        case TarqBigInt:
            out = bigIntFormatter(v.MantN, v.V.Sign, format, d);
            return 0;
        case TarqFraction: {
            TqStr den = bigIntFormatter(v.DenN, v.V.Sign, format, d);
            out = bigIntFormatter(v.MantN, v.V.Sign, format, d) + "/" + den.substr(1);
            return 0;
        }
        case TarqText:
            out = v.MantN;
            return 0;
        default:
            out.clear();
            return 0;
    }
}
