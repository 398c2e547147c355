// The multiplication dispatch: the string entry h_Mul (schoolbook below the
// Karatsuba threshold, the shorter operand's length deciding, the Karatsuba
// entry from it on) and the word-array dispatch tq_MulWords behind every
// large product (Karatsuba, Toom-3, the transform).
#include <algorithm>

#include "base/cancel.h"
#include "base/tq_state.h"
#include "limbs.h"
#include "mul.h"

void h_Mul(TqStr A, TqStr B, int32_t &trim, TqStr &R) {
    tq_CheckCancel();
    const int32_t m = std::min(tq_Len(A), tq_Len(B));
    if (gTq_Threshold_Mul_Karatsuba2Way > m)
        h_Mul_schoolbook(A, B, trim, R);
    else
        h_Mul_Karatsuba2Way(std::move(A), std::move(B), trim, R);
}

// Words of a threshold in bytes, at least one.
static int32_t words(int32_t bytes) { return bytes < 4 ? 1 : bytes / 4; }

bool tq_NttPays(int32_t shorter, int32_t na, int32_t nb, int32_t threshold) {
    const int32_t t = words(threshold);
    if (shorter < t || !tq_NttFits(na, nb)) return false;
    if (shorter >= 2 * t) return true;
    int64_t len = 1;
    while (len < int64_t{na} + nb) len <<= 1;
    return 10 * (int64_t{na} + nb) >= 7 * len;
}

// The products below throw only from this entry and their own allocations,
// on the calling thread: a cancellation cannot leave a worker thread running.
void tq_MulWords(uint32_t *r, const uint32_t *a, int32_t na, const uint32_t *b, int32_t nb) {
    tq_CheckCancel();
    TQ_REQUIRE(na >= 1 && nb >= 1 && tq_Disjoint(r, 4 * int64_t{na + nb}, a, 4 * int64_t{na}) &&
               tq_Disjoint(r, 4 * int64_t{na + nb}, b, 4 * int64_t{nb}));
    const int32_t shorter = std::min(na, nb);
    if (tq_NttPays(shorter, na, nb, gTq_Threshold_Mul_Ntt))
        tq_MulNtt(r, a, na, b, nb);
    else if (shorter >= std::max(words(gTq_Threshold_Mul_Toom3), 5))
        tq_MulToom3(r, a, na, b, nb);
    else
        tq_MulKaratsuba(r, a, na, b, nb);
}
