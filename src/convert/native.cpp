// Native machine values as text: the 18-significant-digit print of a double or
// extended float with its exponent letter replaced by the marker "*d", and the
// way back from the 18-digit scientific text of the range test to a native
// float (through an extended intermediate).
#include <cstdio>
#include <cstdlib>

#include "native.h"

TqStr n_PrintNativeFloat(long double x) {
    char buf[64];
#if defined(__MINGW32__)
    __mingw_snprintf(buf, sizeof buf, "%.17LE", x);
#else
    std::snprintf(buf, sizeof buf, "%.17LE", x);
#endif
    TqStr s = buf;
    const size_t e = s.find('E');
    if (e != TqStr::npos) s.replace(e, 1, "*d");
    return s;
}

TqStr n_PrintNativeInt(int64_t x) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(x));
    return buf;
}

long double n_ReadNativeFloat(const TqStr &scientific) {
    TqStr s = scientific;
    const size_t m = s.find("*d");
    if (m != TqStr::npos) {
        s[m] = 'E';
        s.erase(m + 1, 1);
    }
#if defined(__MINGW32__)
    return __mingw_strtold(s.c_str(), nullptr);
#else
    return std::strtold(s.c_str(), nullptr);
#endif
}

double n_ReadNativeDouble(const TqStr &scientific) {
    TqStr s = scientific;
    const size_t m = s.find("*d");
    if (m != TqStr::npos) {
        s[m] = 'E';
        s.erase(m + 1, 1);
    }
    return std::strtod(s.c_str(), nullptr);
}
