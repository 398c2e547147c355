// Comparison and predicate exports: copies of the operands go to the cores.
// A bad handle gives 16 for TQ_COMPARE and 0 for the predicates.
#include "convert/convert.h"
#include "frame/frame.h"
#include "tarq.h"


// Runs core(a, b) on copies of both variables; onBadHandle for a bad handle.
template <class F>
static int32_t compare2(int32_t a, int32_t b, int32_t onBadHandle, F &&result) {
    return tq_Guarded(true, onBadHandle, [&]() -> int32_t {
        if (!tq_CheckHandle(a) || !tq_CheckHandle(b)) return onBadHandle;
        const TqNum x = gTq_Store[a], y = gTq_Store[b];
        return result(x, y);
    });
}

extern "C" {

int32_t TQ_CALL TQ_COMPARE(int32_t a, int32_t b) {
    return compare2(a, b, tq_Err_Handle, [](const TqNum &x, const TqNum &y) { return n_Compare(x, y); });
}

int32_t TQ_CALL TQ_IS_EQ(int32_t a, int32_t b) {
    return compare2(a, b, 0, [](const TqNum &x, const TqNum &y) { return n_IsEqual(x, y); });
}

int32_t TQ_CALL TQ_IS_NE(int32_t a, int32_t b) {
    return compare2(a, b, 0, [](const TqNum &x, const TqNum &y) { return n_IsEqual(x, y) == 0 ? 1 : 0; });
}

int32_t TQ_CALL TQ_IS_L(int32_t a, int32_t b) {
    return compare2(a, b, 0, [](const TqNum &x, const TqNum &y) { return n_Compare(x, y) == -1 ? 1 : 0; });
}

int32_t TQ_CALL TQ_IS_G(int32_t a, int32_t b) {
    return compare2(a, b, 0, [](const TqNum &x, const TqNum &y) { return n_Compare(x, y) == 1 ? 1 : 0; });
}

int32_t TQ_CALL TQ_IS_LE(int32_t a, int32_t b) {
    return compare2(a, b, 0, [](const TqNum &x, const TqNum &y) { return n_Compare(x, y) == 1 ? 0 : 1; });
}

int32_t TQ_CALL TQ_IS_GE(int32_t a, int32_t b) {
    return compare2(a, b, 0, [](const TqNum &x, const TqNum &y) { return n_Compare(x, y) == -1 ? 0 : 1; });
}

int32_t TQ_CALL TQ_ISZERO(int32_t h) {
    return tq_Guarded(true, 0, [&]() -> int32_t {
        if (!tq_CheckHandle(h)) return 0;
        return n_IsZero(gTq_Store[h]);
    });
}

int32_t TQ_CALL TQ_ISINRANGE(int32_t h, int32_t rangeCode) {
    return tq_Guarded(true, 0, [&]() -> int32_t {
        if (!tq_CheckHandle(h)) return 0;
        TqStr text;
        return n_IsInRange(gTq_Store[h], rangeCode, text);
    });
}

}  // extern "C"
