// The multiplication dispatch: schoolbook below the Karatsuba threshold (the
// shorter operand's length decides), the Karatsuba entry from it on.
#include <algorithm>

#include "base/tq_state.h"
#include "mul.h"

void h_Mul(TqStr A, TqStr B, int32_t &trim, TqStr &R) {
    const int32_t m = std::min(tq_Len(A), tq_Len(B));
    if (gTq_Threshold_Mul_Karatsuba2Way > m)
        h_Mul_schoolbook(A, B, trim, R);
    else
        h_Mul_Karatsuba2Way(std::move(A), std::move(B), trim, R);
}
