// Schoolbook multiplication on strings and on raw ranges: rows of the shorter
// operand's words against the longer operand, zero rows skipped (the row loop
// itself is tq_MulBasecase). Contracts in mul.h.
#include <cstring>

#include "addsub.h"
#include "base/tq_state.h"
#include "limbs.h"
#include "mul.h"

void h_Mul_schoolbook(const TqStr &A, const TqStr &B, int32_t &trim, TqStr &R) {
    const int32_t na = tq_NWords(A), nb = tq_NWords(B);
    // The product goes straight into R's storage unless R is an operand.
    TqStr local;
    TqStr &p = (&R == &A || &R == &B) ? local : R;
    p.assign(static_cast<size_t>(na + nb) * 4, '\0');
    if (na > 0 && nb > 0) tq_MulBasecase(tq_W(p), tq_W(A), na, tq_W(B), nb);
    if (trim) h_Trim(p);
    if (&p == &local) R = std::move(local);
}

void h_Mul_schoolbook_Ptr(const void *A, int32_t lenA, const void *B, int32_t lenB, int32_t &trim, void *R) {
    const int32_t na = lenA / 4, nb = lenB / 4;
    if (na > 0 && nb > 0)
        tq_MulBasecase(static_cast<uint32_t *>(R), static_cast<const uint32_t *>(A), na,
                       static_cast<const uint32_t *>(B), nb);
    else
        std::memset(R, 0, static_cast<size_t>(na + nb) * 4);
    if (trim) n_Trace("h_Mul_schoolbook_Ptr: error: trimming not implemented here !");
}
