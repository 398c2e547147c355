// Rounding of digit strings: the first dropped digit decides (half away from
// zero). A string with a point counts the point as a character of the window
// but not as a digit. Only a round-up touches the digits; a carry out of the
// top digit sets the carry flag and the result is cut back to the window.
#include "convert.h"
#include "base/tq_state.h"

static bool roundsUp(char c, int32_t radix) {
    if (radix == 2) return c == '1';
    if (radix == 16) return (c > '7' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    return c > '4' && c <= '9';
}

// Adds one unit to a digit string of the radix, growing it by a digit on a
// carry out of the top.
static void incDigits(TqStr &d, int32_t radix) {
    static const char hexd[] = "0123456789ABCDEF";
    for (size_t i = d.size(); i-- > 0;) {
        char c = d[i];
        int32_t v = (c >= '0' && c <= '9') ? c - '0' : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : 0;
        if (v + 1 < radix) {
            d[i] = hexd[v + 1];
            return;
        }
        d[i] = '0';
    }
    d.insert(d.begin(), '1');
}

TqStr n_RoundAsciiString(const TqStr &in, int32_t format, int32_t n, int32_t &carry) {
    const int32_t radix = (format & tq_Format_Dec) ? 10 : (format & tq_Format_Hex) ? 16 : (format & tq_Format_Bin) ? 2 : 10;
    carry = 0;
    if (n <= 0) return in;
    TqStr s = in;
    if (s.find('.') == TqStr::npos) {
        while (s.size() > static_cast<size_t>(n)) {
            TqStr head = s.substr(0, static_cast<size_t>(n));
            if (!roundsUp(s[static_cast<size_t>(n)], radix)) return head;
            incDigits(head, radix);
            size_t nz = 0;
            while (nz + 1 < head.size() && head[nz] == '0') ++nz;
            head.erase(0, nz);
            if (head.size() <= static_cast<size_t>(n)) return head;
            carry = 1;
            s = std::move(head);
        }
        return s;
    }
    const size_t window = static_cast<size_t>(n) + 1;
    while (s.size() > window) {
        TqStr head = s.substr(0, window);
        const char decider = s[window];
        const size_t point = head.find('.');
        if (point == TqStr::npos) {
            n_Trace("n_RoundAsciiString: Unexpected condition: no more decimal point in truncated string.");
            return in;
        }
        const size_t after = head.size() - point - 1;
        head.erase(point, 1);
        if (roundsUp(decider, radix)) incDigits(head, radix);
        head.insert(head.size() - after, 1, '.');
        if (head.size() <= window) {
            s = std::move(head);
            break;
        }
        carry = 1;
        s = std::move(head);
    }
    if (!s.empty() && s[0] == '.') s.insert(s.begin(), '0');
    return s;
}
