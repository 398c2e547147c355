// The short product: the top words of a x b without the partial products
// that cannot reach them (contract in limbs.h).
//
// Every term a[i] b[j] of place i + j >= c = D - 1 is formed, each once, some
// below too; the terms left out all lie at places up to c - 1, at most
// min(na, nb) of them per place, so they sum to less than min(na, nb) B^D
// and the words from D up are short of the exact ones by at most that many
// units. The rows of either operand from place c up meet the whole of the
// other in full products; what is left is a triangle of k = c + 1 words
// square (i + j >= k - 1), split as Mulders does: the top p words of both
// (p about 0.7 k, at least k - p) multiply in full, and the two strips left,
// the low k - p words of one against the words of the other from p up, are
// again triangles, of k - p words. With Karatsuba's cost n^1.58 a triangle
// then costs about 0.8 of the full product (with halves, p = k / 2, it would
// cost as much as the full one); small triangles are formed by the rows of
// tq_MulBasecaseHigh, at about half. Where the shorter operand is within
// the rows of the full product too, one pass of those rows forms it all.
#include <algorithm>
#include <cstring>

#include "base/tq_state.h"
#include "limbs.h"

namespace {

// Triangles up to this many words square are formed by rows: at 364 words
// Karatsuba is only about 1.6 times as fast as the rows, which form a
// triangle at about half their full cost (measured at 1,042 x 364,
// 3,120 x 1,090 and 2,000 x 2,000 words: leaves of 200 to 400 words alike,
// 600 and more slower).
constexpr int32_t kLeafWords = 300;

// Q (qn words) += a x b B^off, the carry running up to Q's top.
void addProduct(uint32_t *Q, int32_t qn, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb, int32_t off) {
    if (na <= 0 || nb <= 0) return;
    tq_Scratch<uint32_t, 256> T(static_cast<size_t>(na + nb));
    tq_MulWords(T.data(), a, na, b, nb);
    const int32_t top = off + na + nb;
    if (tq_AddN(Q + off, Q + off, T.data(), na + nb) && top < qn) tq_Add1(Q + top, Q + top, qn - top, 1);
}

// Q += the terms of a x b B^off of place i + j >= c (and some below), each
// once.
void addHigh(uint32_t *Q, int32_t qn, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb, int32_t off, int32_t c) {
    if (na <= 0 || nb <= 0 || na + nb - 2 < c) return;
    if (c <= 0) {
        addProduct(Q, qn, a, na, b, nb, off);
        return;
    }
    // The rows from place c up, in full.
    if (na > c) {
        addProduct(Q, qn, a + c, na - c, b, nb, off + c);
        na = c;
    }
    if (nb > c) {
        addProduct(Q, qn, b + c, nb - c, a, na, off + c);
        nb = c;
    }
    if (na + nb - 2 < c) return;
    // Words that reach place c with none of the other's: left out.
    if (const int32_t s = c - (nb - 1); s > 0) {
        a += s, na -= s, c -= s, off += s;
    }
    if (const int32_t s = c - (na - 1); s > 0) {
        b += s, nb -= s, c -= s, off += s;
    }
    if (std::min(na, nb) <= kLeafWords) {
        tq_Scratch<uint32_t, 256> T(static_cast<size_t>(na + nb));
        tq_MulBasecaseHigh(T.data(), a, na, b, nb, c);
        const int32_t top = off + na + nb;
        if (tq_AddN(Q + off, Q + off, T.data(), na + nb) && top < qn) tq_Add1(Q + top, Q + top, qn - top, 1);
        return;
    }
    // Now na, nb <= k = c + 1: the top p words of both in full, two strips.
    const int32_t k = c + 1, p = std::max((7 * k + 9) / 10, (k + 1) / 2), lo = k - p;
    addProduct(Q, qn, a + lo, na - lo, b + lo, nb - lo, off + 2 * lo);
    addHigh(Q, qn, a, std::min(na, lo), b + p, nb - p, off + p, c - p);
    addHigh(Q, qn, a + p, na - p, b, std::min(nb, lo), off + p, c - p);
}

}  // namespace

void tq_MulHigh(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb, int32_t D) {
    TQ_REQUIRE(na >= 1 && nb >= 1 && D >= 1 && D < na + nb && tq_Disjoint(r, 4 * int64_t{na + nb}, a, 4 * int64_t{na}) &&
               tq_Disjoint(r, 4 * int64_t{na + nb}, b, 4 * int64_t{nb}));
    if (na < nb) {
        std::swap(a, b);
        std::swap(na, nb);
    }
    const int32_t c = D - 1;
    if (nb <= std::max(gTq_Threshold_Mul_Karatsuba2Way / 4, 1)) {  // rows, as the full product would be
        tq_MulBasecaseHigh(r, a, na, b, nb, c);
        return;
    }
    // The longer operand's rows from place c up straight into r.
    int32_t low = na;
    if (na > c) {
        std::memset(r, 0, 4 * static_cast<size_t>(c));
        tq_MulWords(r + c, a + c, na - c, b, nb);
        low = c;
    } else {
        std::memset(r, 0, 4 * static_cast<size_t>(na + nb));
    }
    addHigh(r, na + nb, a, low, b, nb, 0, c);
}
