// h_Gcd: greatest common divisor of two magnitudes by Euclid's algorithm with
// remainders (h_DivMod). Operands are copies; the result is trimmed, and the
// gcd of zero and B is B.
#include "divmod.h"

static bool isZero(const TqStr &s) {
    for (int32_t i = 0; i < tq_NWords(s); ++i)
        if (tq_W(s)[i]) return false;
    return true;
}

static void trimMag(TqStr &s) {
    size_t n = s.size() / 4;
    while (n > 1 && tq_W(s)[n - 1] == 0) --n;
    s.resize((n ? n : 1) * 4);
}

// X < Y for trimmed operands.
static bool smaller(const TqStr &X, const TqStr &Y) {
    if (X.size() != Y.size()) return X.size() < Y.size();
    for (int32_t i = tq_NWords(X) - 1; i >= 0; --i)
        if (tq_W(X)[i] != tq_W(Y)[i]) return tq_W(X)[i] < tq_W(Y)[i];
    return false;
}

void h_Gcd(TqStr A, TqStr B, TqStr &R) {
    trimMag(A);
    trimMag(B);
    if (smaller(B, A)) A.swap(B);
    TqStr q, r;
    while (!isZero(A)) {
        h_DivMod(B, A, 1, q, r);
        B.swap(A);
        A.swap(r);
    }
    R = std::move(B);
}
