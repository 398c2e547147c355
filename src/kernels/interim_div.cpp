// Interim plain kernels that the rest of the library uses until the real
// kernels replace this file.
#include "divmod.h"
#include "mul.h"
#include "pow.h"

static void trim(TqStr &s) {
    size_t n = s.size() / 4;
    while (n > 1 && tq_W(s)[n - 1] == 0) --n;
    if (n == 0) n = 1;
    s.resize(n * 4);
}

static int cmp(const TqStr &a, const TqStr &b) {
    int32_t na = tq_NWords(a), nb = tq_NWords(b), n = na > nb ? na : nb;
    for (int32_t i = n - 1; i >= 0; --i) {
        uint32_t x = i < na ? tq_W(a)[i] : 0, y = i < nb ? tq_W(b)[i] : 0;
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

void h_DivMod(TqStr X, TqStr Y, int32_t, TqStr &Q, TqStr &Rem) {
    trim(X);
    trim(Y);
    if (tq_NWords(Y) == 1 && tq_W(Y)[0] == 0) {
        Q = tq_Word(0);
        Rem = X;
        return;
    }
    int32_t bits = tq_NWords(X) * 32;
    TqStr q(X.size(), '\0'), r = tq_Word(0);
    for (int32_t i = bits - 1; i >= 0; --i) {
        // r = 2r + bit i of X
        uint32_t carry = (tq_W(X)[i / 32] >> (i % 32)) & 1;
        for (int32_t k = 0; k < tq_NWords(r); ++k) {
            uint32_t w = tq_W(r)[k];
            tq_W(r)[k] = (w << 1) | carry;
            carry = w >> 31;
        }
        if (carry) r += tq_Word(1);
        if (cmp(r, Y) >= 0) {
            uint64_t borrow = 0;
            for (int32_t k = 0; k < tq_NWords(r); ++k) {
                uint64_t y = k < tq_NWords(Y) ? tq_W(Y)[k] : 0;
                uint64_t d = static_cast<uint64_t>(tq_W(r)[k]) - y - borrow;
                tq_W(r)[k] = static_cast<uint32_t>(d);
                borrow = (d >> 63) & 1;
            }
            trim(r);
            tq_W(q)[i / 32] |= 1u << (i % 32);
        }
    }
    trim(q);
    trim(r);
    Q = std::move(q);
    Rem = std::move(r);
}

void h_Mod(TqStr X, TqStr Y, TqStr &Rem) {
    TqStr q;
    h_DivMod(std::move(X), std::move(Y), 1, q, Rem);
}

void h_Gcd(TqStr A, TqStr B, TqStr &R) {
    trim(A);
    trim(B);
    while (!(tq_NWords(A) == 1 && tq_W(A)[0] == 0)) {
        TqStr r;
        h_Mod(B, A, r);
        B = std::move(A);
        A = std::move(r);
    }
    R = B;
}

void h_Pow(TqStr B, TqStr E, TqStr &R) {
    TqStr r = tq_Word(1);
    int32_t bits = tq_NWords(E) * 32;
    for (int32_t i = bits - 1; i >= 0; --i) {
        h_Square(r, r);
        if ((tq_W(E)[i / 32] >> (i % 32)) & 1) {
            int32_t t = 1;
            h_Mul(r, B, t, r);
        }
    }
    R = std::move(r);
}
