// The magnitude-string primitives of limbs.h: significant length, trimming,
// zero and one tests, comparison of any lengths, and the in-place product and
// quotient by one word.
#include "limbs.h"

int32_t tq_SigBytes(const TqStr &m) {
    int32_t n = tq_Len(m);
    while (n > 0 && m[n - 1] == 0) --n;
    return n;
}

void tq_Trim(TqStr &m) {
    const int32_t n = tq_SigWords(m);
    const size_t bytes = static_cast<size_t>(n ? n : 1) * 4;
    if (m.size() != bytes) m.resize(bytes);
    if (!n) tq_W(m)[0] = 0;
}

bool tq_IsZero(const TqStr &m) { return tq_SigWords(m) == 0; }

bool tq_IsOne(const TqStr &m) { return tq_SigWords(m) == 1 && tq_W(m)[0] == 1; }

int32_t tq_Cmp(const TqStr &x, const TqStr &y) {
    const int32_t nx = tq_SigWords(x), ny = tq_SigWords(y);
    if (nx != ny) return nx < ny ? -1 : 1;
    return tq_CmpN(tq_W(x), tq_W(y), nx);
}

void tq_MulWord(TqStr &M, uint32_t w) {
    const uint32_t top = tq_MulWordN(tq_W(M), tq_W(M), tq_NWords(M), w);
    if (top) M += tq_Word(top);
    tq_Trim(M);
}

uint32_t tq_DivWord(TqStr &M, uint32_t w) {
    const uint32_t rem = tq_DivWordN(tq_W(M), tq_W(M), tq_NWords(M), w);
    tq_Trim(M);
    return rem;
}
