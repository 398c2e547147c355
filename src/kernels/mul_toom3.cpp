// Toom-Cook 3-way multiplication and squaring on word arrays (contracts in
// limbs.h). The sub-products go back through tq_MulWords / tq_SqrWords, so
// they take Karatsuba or Toom-3 again by their own size.
//
// With A = a0 + a1 x + a2 x^2 and B likewise (x = 2^(32k), k = the longer
// operand's word count divided by 3, rounded up), the product's five
// coefficients c0..c4 follow from the values at 0, 1, -1, 2 and infinity:
//   v0 = c0, vinf = c4, v1 = A(1) B(1), vm1 = A(-1) B(-1), v2 = A(2) B(2),
// interpolated by
//   v2 = (v2 - vm1) / 3, vm1 = (v1 - vm1) / 2, v1 = v1 - v0,
//   v2 = (v2 - v1) / 2, v1 = v1 - vm1 - vinf, v2 = v2 - 2 vinf, vm1 = vm1 - v2,
// which leaves c1 = vm1, c2 = v1, c3 = v2. Only vm1 can be negative (its sign
// is kept apart); every later value is a sum of non-negative coefficients, so
// the steps run on unsigned magnitudes and the divisions are exact.
#include <algorithm>
#include <memory>

#include "limbs.h"

namespace {

// r[0, rn) += x[0, xn), xn <= rn; returns the carry out of r's top.
uint32_t addInto(uint32_t *r, int32_t rn, const uint32_t *x, int32_t xn) {
    const uint32_t c = tq_AddN(r, r, x, xn);
    return tq_Add1(r + xn, r + xn, rn - xn, c);
}

// r[0, rn) -= x[0, xn), xn <= rn; the caller knows the result is not negative.
void subFrom(uint32_t *r, int32_t rn, const uint32_t *x, int32_t xn) {
    tq_Sub1(r + xn, r + xn, rn - xn, tq_SubN(r, r, x, xn));
}

// Adds c[0, cn) at word off of the product r[0, total). The words of c that
// fall beyond the product are zero: every partial sum is at most the product.
void addAt(uint32_t *r, int32_t total, int32_t off, const uint32_t *c, int32_t cn) {
    const int32_t n = std::min(cn, total - off);
    if (n > 0) addInto(r + off, total - off, c, n);
}

// The three evaluations of X = x0 + x1 x + x2 x^2 (x0, x1 of k words, x2 of
// s words, 1 <= s <= k), each k + 1 words: e1 = X(1), em = |X(-1)|, e2 = X(2).
// Returns the sign of X(-1) (+1 or -1; +1 for zero).
int32_t evaluate(const uint32_t *x, int32_t k, int32_t s, uint32_t *e1, uint32_t *em, uint32_t *e2) {
    const uint32_t *x0 = x, *x1 = x + k, *x2 = x + 2 * k;
    // em = x0 + x2 for now, e1 = em + x1.
    std::copy(x0, x0 + k, em);
    em[k] = addInto(em, k, x2, s);
    std::copy(em, em + k + 1, e1);
    e1[k] += tq_AddN(e1, e1, x1, k);
    int32_t sign = 1;
    if (em[k] == 0 && tq_CmpN(em, x1, k) < 0) {
        tq_SubN(em, x1, em, k);
        sign = -1;
    } else {
        subFrom(em, k + 1, x1, k);
    }
    // e2 = x0 + 2 (x1 + 2 x2).
    std::fill(e2, e2 + k + 1, 0u);
    std::copy(x2, x2 + s, e2);
    tq_Lsh1N(e2, e2, s + 1);
    addInto(e2, k + 1, x1, k);
    tq_Lsh1N(e2, e2, k + 1);
    addInto(e2, k + 1, x0, k);
    return sign;
}

// The interpolation and the recomposition. r holds v0 in [0, 2k) and vinf in
// [4k, total), the words between them zero; v1, vm1 (with its sign) and v2
// have m = 2k + 2 words and are overwritten.
void interpolate(uint32_t *r, int32_t total, int32_t k, uint32_t *v1, uint32_t *vm1, int32_t vm1Sign, uint32_t *v2) {
    const int32_t m = 2 * k + 2;
    const uint32_t *v0 = r, *vinf = r + 4 * k;
    const int32_t ninf = total - 4 * k;
    if (vm1Sign > 0) {
        tq_SubN(v2, v2, vm1, m);
        tq_SubN(vm1, v1, vm1, m);
    } else {
        tq_AddN(v2, v2, vm1, m);
        tq_AddN(vm1, v1, vm1, m);
    }
    tq_DivWordN(v2, v2, m, 3);
    tq_Rsh1N(vm1, vm1, m);
    subFrom(v1, m, v0, 2 * k);
    tq_SubN(v2, v2, v1, m);
    tq_Rsh1N(v2, v2, m);
    tq_SubN(v1, v1, vm1, m);
    subFrom(v1, m, vinf, ninf);
    subFrom(v2, m, vinf, ninf);
    subFrom(v2, m, vinf, ninf);
    tq_SubN(vm1, vm1, v2, m);
    addAt(r, total, k, vm1, m);
    addAt(r, total, 2 * k, v1, m);
    addAt(r, total, 3 * k, v2, m);
}

// na >= nb and the shorter operand too short for a three-way split of the
// longer one: the longer one is cut into pieces of nb words and the balanced
// products are accumulated.
void mulPieces(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb) {
    tq_MulWords(r, a, nb, b, nb);
    std::unique_ptr<uint32_t[]> tmp(new uint32_t[2 * static_cast<size_t>(nb)]);
    for (int32_t off = nb; off < na; off += nb) {
        const int32_t len = std::min(nb, na - off);
        tq_MulWords(tmp.get(), a + off, len, b, nb);
        // r[off, off + nb) holds the top of the product so far; above it
        // nothing is written yet.
        const uint32_t c = tq_AddN(r + off, r + off, tmp.get(), nb);
        std::copy(tmp.get() + nb, tmp.get() + nb + len, r + off + nb);
        tq_Add1(r + off + nb, r + off + nb, len, c);
    }
}

}  // namespace

void tq_MulToom3(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb) {
    TQ_REQUIRE(na >= 3 && nb >= 3 && tq_Disjoint(r, 4 * int64_t{na + nb}, a, 4 * int64_t{na}) &&
               tq_Disjoint(r, 4 * int64_t{na + nb}, b, 4 * int64_t{nb}));
    if (na < nb) {
        std::swap(a, b);
        std::swap(na, nb);
    }
    const int32_t k = (na + 2) / 3;
    if (nb <= 2 * k) {
        mulPieces(r, a, na, b, nb);
        return;
    }
    const int32_t s = na - 2 * k, t = nb - 2 * k, total = na + nb, m = 2 * k + 2;
    std::unique_ptr<uint32_t[]> ws(new uint32_t[6 * static_cast<size_t>(k + 1) + 3 * static_cast<size_t>(m)]);
    uint32_t *ea1 = ws.get(), *eam = ea1 + k + 1, *ea2 = eam + k + 1;
    uint32_t *eb1 = ea2 + k + 1, *ebm = eb1 + k + 1, *eb2 = ebm + k + 1;
    uint32_t *v1 = eb2 + k + 1, *vm1 = v1 + m, *v2 = vm1 + m;
    const int32_t sign = evaluate(a, k, s, ea1, eam, ea2) * evaluate(b, k, t, eb1, ebm, eb2);
    tq_MulWords(v1, ea1, k + 1, eb1, k + 1);
    tq_MulWords(vm1, eam, k + 1, ebm, k + 1);
    tq_MulWords(v2, ea2, k + 1, eb2, k + 1);
    tq_MulWords(r, a, k, b, k);
    tq_MulWords(r + 4 * k, a + 2 * k, s, b + 2 * k, t);
    std::fill(r + 2 * k, r + 4 * k, 0u);
    interpolate(r, total, k, v1, vm1, sign, v2);
}

void tq_SqrToom3(uint32_t *r, const uint32_t *a, int32_t n) {
    TQ_REQUIRE(n >= 3 && tq_Disjoint(r, 8 * int64_t{n}, a, 4 * int64_t{n}));
    const int32_t k = (n + 2) / 3, s = n - 2 * k, m = 2 * k + 2;
    std::unique_ptr<uint32_t[]> ws(new uint32_t[3 * static_cast<size_t>(k + 1) + 3 * static_cast<size_t>(m)]);
    uint32_t *e1 = ws.get(), *em = e1 + k + 1, *e2 = em + k + 1;
    uint32_t *v1 = e2 + k + 1, *vm1 = v1 + m, *v2 = vm1 + m;
    evaluate(a, k, s, e1, em, e2);
    tq_SqrWords(v1, e1, k + 1);
    tq_SqrWords(vm1, em, k + 1);
    tq_SqrWords(v2, e2, k + 1);
    tq_SqrWords(r, a, k);
    tq_SqrWords(r + 4 * k, a + 2 * k, s);
    std::fill(r + 2 * k, r + 4 * k, 0u);
    interpolate(r, 2 * n, k, v1, vm1, 1, v2);
}
