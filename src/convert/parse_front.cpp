// Common front end of the number parsers. Validation is by character set:
// after spaces are removed and letters lowered, a text is rejected only for a
// character outside its radix's set or a star that is not part of the radix's
// marker; everything else is read by position (inner signs are dropped, only
// the digits between the first and second point count as fraction digits).
// Exponents that do not fit a signed 32-bit integer are rejected, and so is a
// sign inside the exponent's digits.
#include "parse_front.h"

#include <cstdint>

#include "base/tq_state.h"

static int32_t reject() { return tq_RaiseErr(tq_Err_Invalid); }

int32_t n_Parse_Front(const TqStr &text, TqParser parser, TqParsed &p) {
    TqStr &t = p.Body;
    t.clear();
    t.reserve(text.size());
    for (char c : text) {
        if (c == ' ') continue;
        t += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    const char *set = "-+.*d0123456789";
    p.Radix = 'd';
    if (parser != tq_Parser_Dec) {
        size_t amp = t.find('&');
        if (amp == TqStr::npos) {
            if (parser == tq_Parser_Radix) return reject();
        } else if (amp + 1 < t.size() && t[amp + 1] == 'h') {
            set = "-+.&h*0123456789abcdef";
            p.Radix = 'h';
        } else if (amp + 1 < t.size() && t[amp + 1] == 'b') {
            set = "-+.&b*01";
            p.Radix = 'b';
        } else {
            return reject();
        }
    }
    bool allowed[256] = {};
    for (const char *s = set; *s; ++s) allowed[static_cast<unsigned char>(*s)] = true;
    p.HasStar = false;
    for (char c : t) {
        if (!allowed[static_cast<unsigned char>(c)]) return reject();
        if (c == '*') p.HasStar = true;
    }
    const char marker[3] = {'*', p.Radix, 0};
    if (p.HasStar && t.find(marker) == TqStr::npos) return reject();
    size_t lead = 0;
    if (!t.empty() && t[0] == '-') {
        p.Sign = -1;
        while (lead < t.size() && t[lead] == '-') ++lead;
    } else {
        p.Sign = 1;
        while (lead < t.size() && t[lead] == '+') ++lead;
    }
    t.erase(0, lead);
    return 0;
}

static int32_t digitValue(char c, char radix) {
    int32_t v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    int32_t base = radix == 'h' ? 16 : radix == 'b' ? 2 : 10;
    return v < base ? v : -1;
}

// The exponent text's value in the marker's radix: leading digits, then an
// optional point and fraction digits that round the value to the nearest
// integer (ties to even); reading stops at any other character. False when the
// value does not fit a signed 32-bit integer.
static bool readExponent(const TqStr &x, char radix, int64_t &value) {
    const int64_t base = radix == 'h' ? 16 : radix == 'b' ? 2 : 10;
    const int64_t limit = int64_t(1) << 31;
    size_t i = 0;
    int64_t v = 0;
    for (; i < x.size(); ++i) {
        int32_t d = digitValue(x[i], radix);
        if (d < 0) break;
        v = v * base + d;
        if (v > limit) return false;
    }
    if (i < x.size() && x[i] == '.') {
        ++i;
        if (i < x.size() && digitValue(x[i], radix) >= 0) {
            int64_t first = digitValue(x[i], radix);
            bool sticky = false;
            for (++i; i < x.size() && digitValue(x[i], radix) >= 0; ++i)
                if (x[i] != '0') sticky = true;
            const int64_t half = base / 2;
            if (first > half || (first == half && (sticky || (v & 1)))) ++v;
            if (v > limit) return false;
        }
    }
    value = v;
    return true;
}

int32_t n_Parse_Scale(TqParsed &p) {
    const TqStr &t = p.Body;
    const char marker[3] = {'*', p.Radix, 0};
    size_t m1 = t.find(marker);
    int64_t e = 0;
    if (m1 == TqStr::npos) {
        m1 = t.size();
    } else {
        size_t m2 = t.find(marker, m1 + 2);
        if (m2 == TqStr::npos) m2 = t.size();
        // Signs lead the exponent; one after its first digit or point would
        // silently join two numbers ("*d21000+81000"), so it is refused.
        size_t start = m1 + 2;
        while (start < m2 && (t[start] == '-' || t[start] == '+')) ++start;
        const TqStr x = t.substr(start, m2 - start);
        if (x.find_first_of("+-") != TqStr::npos) return reject();
        if (!readExponent(x, p.Radix, e)) return reject();
        if (m2 > m1 + 2 && t[m1 + 2] == '-') e = -e;
    }
    p.Mant.clear();
    p.Mant.reserve(m1);
    size_t firstPoint = TqStr::npos, secondPoint = TqStr::npos;
    for (size_t i = 0; i < m1; ++i) {
        char c = t[i];
        if (c == '-' || c == '+') continue;
        if (c == '.') {
            if (firstPoint == TqStr::npos) firstPoint = p.Mant.size();
            else if (secondPoint == TqStr::npos) secondPoint = p.Mant.size();
            continue;
        }
        p.Mant += c;
    }
    if (firstPoint != TqStr::npos) {
        if (secondPoint == TqStr::npos) secondPoint = p.Mant.size();
        e -= static_cast<int64_t>(secondPoint - firstPoint);
    }
    if (e > INT32_MAX || e < INT32_MIN) return reject();
    p.E = static_cast<int32_t>(e);
    return 0;
}
