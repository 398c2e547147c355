// The sliding-window recoding of an exponent shared by both modular powers.
//
// h_WindowWidth chooses the window width k from the exponent's byte length;
// h_SlidingWindow cuts E (read bit by bit from bit 0 of byte 0) into records
// from the least significant end: runs of zero bits (kind 0) and windows of at
// most k bits that start with a set bit (kind 1, value always odd). A zero
// exponent gives no records.
#include "pow.h"

int32_t h_WindowWidth(int32_t expBytes) {
    if (expBytes <= 8) return 3;
    if (expBytes <= 16) return 4;
    if (expBytes <= 32) return 5;
    if (expBytes <= 128) return 6;
    if (expBytes <= 256) return 7;
    return 8;
}

static inline int32_t bitAt(const TqStr &E, int32_t i) {
    return (static_cast<unsigned char>(E[static_cast<size_t>(i / 8)]) >> (i % 8)) & 1;
}

void h_SlidingWindow(const TqStr &E, int32_t k, std::vector<TqWindowRec> &recs) {
    recs.clear();
    int32_t t = static_cast<int32_t>(E.size()) * 8 - 1;
    while (t >= 0 && !bitAt(E, t)) --t;
    int32_t i = 0;
    while (i <= t) {
        int32_t c = 0;
        while (i + c < t && !bitAt(E, i + c)) ++c;
        if (c > 0) {
            recs.push_back({0, c, 0});
            i += c;
        }
        const int32_t end = i + k - 1 < t ? i + k - 1 : t;
        int32_t value = 0;
        for (int32_t b = end; b >= i; --b) value = (value << 1) | bitAt(E, b);
        recs.push_back({1, end - i + 1, value});
        i = end + 1;
    }
}
