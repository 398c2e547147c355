// h_Pow: R = B^E by left-to-right binary powering (square for every bit of
// the exponent below its top bit, multiply by B for every set bit). B and E
// are copies; R is trimmed; B^0 = 1 for every B, zero included.
#include "mul.h"
#include "pow.h"

// Index of the top set bit of E, or -1 when E is zero.
int32_t h_TopBit(const TqStr &E) {
    for (int32_t i = tq_NWords(E) - 1; i >= 0; --i) {
        const uint32_t w = tq_W(E)[i];
        if (w) {
            int32_t b = 31;
            while (!(w >> b)) --b;
            return i * 32 + b;
        }
    }
    return -1;
}

void h_Pow(TqStr B, TqStr E, TqStr &R) {
    const int32_t t = h_TopBit(E);
    if (t < 0) {
        R = tq_Word(1);
        return;
    }
    TqStr r = B;
    for (int32_t i = t - 1; i >= 0; --i) {
        h_Square(r, r);
        if ((tq_W(E)[i / 32] >> (i % 32)) & 1) {
            int32_t trim = 1;
            h_Mul(r, B, trim, r);
        }
    }
    size_t n = r.size() / 4;
    while (n > 1 && tq_W(r)[n - 1] == 0) --n;
    r.resize((n ? n : 1) * 4);
    R = std::move(r);
}
