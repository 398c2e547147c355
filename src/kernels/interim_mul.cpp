// Interim plain kernels that the rest of the library uses until the real
// kernels replace this file.
#include "mul.h"

static void trim(TqStr &s) {
    size_t n = s.size() / 4;
    while (n > 1 && tq_W(s)[n - 1] == 0) --n;
    if (n == 0) n = 1;
    s.resize(n * 4);
}

void h_Mul(TqStr A, TqStr B, int32_t &t, TqStr &R) {
    int32_t na = tq_NWords(A), nb = tq_NWords(B);
    TqStr r(static_cast<size_t>(na + nb) * 4, '\0');
    const uint32_t *a = tq_W(A), *b = tq_W(B);
    uint32_t *p = tq_W(r);
    for (int32_t i = 0; i < na; ++i) {
        uint64_t c = 0;
        for (int32_t j = 0; j < nb; ++j) {
            uint64_t x = static_cast<uint64_t>(a[i]) * b[j] + c + p[i + j];
            p[i + j] = static_cast<uint32_t>(x);
            c = x >> 32;
        }
        p[i + nb] = static_cast<uint32_t>(c);
    }
    if (t) trim(r);
    R = std::move(r);
}

void h_Square(TqStr A, TqStr &R) {
    int32_t t = 1;
    TqStr B = A;
    h_Mul(std::move(A), std::move(B), t, R);
}

