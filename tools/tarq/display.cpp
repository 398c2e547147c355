// How the calculator writes a value.
//
// Floats: D significant digits (the --out-digits or -d count, fewer when
// fewer could be verified), trailing zeros dropped. A whole number that fits
// in D digits is written as one ("1000", "-4", comparisons "1" and "0"); any
// other value keeps a point ("2.5", "0.000333", "2.0" for a value that is
// not exactly 2 but rounds to it) while the exponent of its leading digit is
// between -5 and D - 2, and is written with an exponent otherwise
// ("3.3333333333333333333333333333333333333e+37", "1.5e-7"). Zero is "0" in
// every kind, never "-0". Fractions are written n/d whatever the format; big
// integers in full. --sci writes every float and integer with an exponent;
// --hex and --bin are the library's own radix notations.
#include <cstdlib>

#include "calc.h"

using tarq::Kind;
using tarq::Number;

namespace {

std::string libraryText(const Number &v, int32_t format, int32_t digits) {
    tarq::detail::DStr s;
    const int32_t status = TQ_GET_STRING(v.handle(), format, digits, &s.s);
    if (status) throw CalcError{"the value cannot be written in this format", 0};
    std::string t = s.str();
    if (!t.empty() && t[0] == ' ') t.erase(0, 1);
    if (t == "*+inf") return "+inf";
    if (t == "*-inf") return "-inf";
    if (t == "*NaN") return "NaN";
    return t;
}

// Decimal exponents are shown the familiar way: 1.5e+20 rather than 1.5*d+20.
std::string familiarExponent(std::string t) {
    const size_t m = t.find("*d");
    return m == std::string::npos ? t : t.substr(0, m) + "e" + t.substr(m + 2);
}

// A finite non-zero float read from the library's scientific text: sign,
// significant digits (no trailing zeros) and the exponent of the first one.
struct SciDigits {
    bool negative = false;
    std::string digits;
    long exponent = 0;
};

SciDigits sciDigits(const Number &v, int32_t count) {
    const std::string t = libraryText(v, tarq::Scientific | tarq::Dec, count);
    SciDigits d;
    size_t i = 0;
    if (t[i] == '-') d.negative = true, ++i;
    const size_t m = t.find("*d");
    for (; i < m; ++i)
        if (t[i] != '.') d.digits += t[i];
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    d.exponent = std::strtol(t.c_str() + m + 2, nullptr, 10);
    return d;
}

std::string withExponent(const SciDigits &d) {
    std::string s = d.negative ? "-" : "";
    s.append(d.digits, 0, 1);
    if (d.digits.size() > 1) s.append(1, '.').append(d.digits, 1);
    return s.append(d.exponent < 0 ? "e-" : "e+").append(std::to_string(std::labs(d.exponent)));
}

bool isWhole(const Number &v) {
    Number f(v.kind());
    return TQ_FRAC(v.handle(), f.handle()) == 0 && f.is_zero();
}

std::string floatText(const Number &v, int32_t format, int32_t digits) {
    const SciDigits d = sciDigits(v, digits);
    if (format & tarq::Scientific) return withExponent(d);
    const long e = d.exponent, n = static_cast<long>(d.digits.size());
    const bool whole = isWhole(v);
    if (e < -5 || e >= digits || (!whole && e > digits - 2)) return withExponent(d);
    std::string s = d.negative ? "-" : "";
    if (e < 0) {
        s.append("0.").append(static_cast<size_t>(-e - 1), '0').append(d.digits);
    } else if (n <= e + 1) {
        s.append(d.digits).append(static_cast<size_t>(e + 1 - n), '0');
        if (!whole) s.append(".0");
    } else {
        s.append(d.digits, 0, static_cast<size_t>(e + 1)).append(1, '.').append(d.digits, static_cast<size_t>(e + 1));
    }
    return s;
}

}  // namespace

std::string Calculator::format(const Number &v, int32_t digits) const {
    if (digits == 0) digits = shownDigits();
    const bool isFloat = v.kind() == Kind::Dec || v.kind() == Kind::Bin;
    const bool decimal = !(settings.format & (tarq::Hex | tarq::Bin));
    std::string special = libraryText(v, tarq::Normal | tarq::Dec, 0);
    if (special == "+inf" || special == "-inf" || special == "NaN") return special;
    if (v.is_zero()) return "0";
    if (v.kind() == Kind::Frac) return special;
    if (isFloat && decimal) return floatText(v, settings.format, digits);
    if (isFloat) {
        // The same precision in hexadecimal or binary digits.
        if (settings.format & tarq::Hex) digits = static_cast<int32_t>(digits * 0.830482023721841);
        if (settings.format & tarq::Bin) digits = static_cast<int32_t>(digits * 3.321928094887362);
        return libraryText(v, settings.format, digits);
    }
    return decimal ? familiarExponent(libraryText(v, settings.format, settings.outDigits))
                   : libraryText(v, settings.format, settings.outDigits);
}
