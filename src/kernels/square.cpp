// Squaring: the dispatch h_Square (schoolbook, column kernel, Karatsuba by the
// operand's length), the word-array dispatch tq_SqrWords (Karatsuba, Toom-3,
// the transform) and the column kernel h_Square_Comba. Contracts in mul.h and
// limbs.h.
//
// The column kernel's words come from tq_SqrBasecase, which forms every cross
// product once, doubles their sum and adds the squares of the units; the
// value and layout are those of the column-by-column scan.
#include <algorithm>

#include "addsub.h"
#include "base/cancel.h"
#include "base/tq_state.h"
#include "limbs.h"
#include "mul.h"

void h_Square(TqStr A, TqStr &R) {
    tq_CheckCancel();
    const int32_t n = tq_Len(A);
    int32_t one = 1;
    if (gTq_Threshold_Square_Comba > n)
        h_Mul_schoolbook(A, A, one, R);
    else if (gTq_Threshold_Square_Karatsuba > n)
        h_Square_Comba(A, one, R);
    else
        h_Square_Karatsuba(std::move(A), one, R);
}

void h_Square_Comba(const TqStr &A, int32_t &trim, TqStr &R) {
    const int32_t n = tq_NWords(A);
    TqStr local;
    TqStr &p = &R == &A ? local : R;
    p.assign(static_cast<size_t>(n) * 8, '\0');
    if (n > 0) tq_SqrBasecase(tq_W(p), tq_W(A), n);
    if (trim) h_Trim(p);
    if (&p == &local) R = std::move(local);
}

static int32_t words(int32_t bytes) { return bytes < 4 ? 1 : bytes / 4; }

void tq_SqrWords(uint32_t *r, const uint32_t *a, int32_t n) {
    tq_CheckCancel();
    TQ_REQUIRE(n >= 1 && tq_Disjoint(r, 8 * int64_t{n}, a, 4 * int64_t{n}));
    if (tq_NttPays(n, n, n, gTq_Threshold_Square_Ntt))
        tq_SqrNtt(r, a, n);
    else if (n >= std::max(words(gTq_Threshold_Square_Toom3), 5))
        tq_SqrToom3(r, a, n);
    else
        tq_SqrKaratsuba(r, a, n);
}
