// Exports that manage variables and the global error word.
#include "frame/frame.h"
#include "tarq.h"

extern "C" {

int32_t TQ_CALL TQ_ALLOCVAR(int32_t kind) {
    // A kind outside 1..5 would make a variable that no operation can read.
    return tq_Guarded(false, -1, [&]() -> int32_t {
        if (kind < 1 || kind > 5) {
            tq_RaiseErr(tq_Err_Kind);
            return -1;
        }
        return n_Store_Alloc(kind);
    });
}

int32_t TQ_CALL TQ_UNALLOCVAR(int32_t h) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t {
        if (h < 0 || h > n_Store_Highest()) return tq_RaiseErr(tq_Err_Handle);
        n_Store_Release(h);
        return 0;
    });
}

int32_t TQ_CALL TQ_COPYVAR(int32_t hIn, int32_t hOut) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t {
        if (!tq_CheckHandle(hIn) || !tq_CheckHandle(hOut)) return tq_Err_Handle;
        if (gTq_Store[hIn].V.NumType != gTq_Store[hOut].V.NumType) return tq_RaiseErr(tq_Err_Type);
        if (hIn != hOut) gTq_Store[hOut] = gTq_Store[hIn];
        return 0;
    });
}

// Destination becomes a copy of the source (kind included) with the sign set.
static int32_t copyWithSign(int32_t hIn, int32_t hOut, bool reverse) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t {
        if (!tq_CheckHandle(hIn) || !tq_CheckHandle(hOut)) return tq_Err_Handle;
        if (hIn != hOut) gTq_Store[hOut] = gTq_Store[hIn];
        TarqVar &v = gTq_Store[hOut].V;
        v.Sign = reverse ? (v.Sign == 1 ? -1 : 1) : 1;
        return 0;
    });
}

int32_t TQ_CALL TQ_ABS(int32_t hIn, int32_t hOut) { return copyWithSign(hIn, hOut, false); }
int32_t TQ_CALL TQ_REVSIGN(int32_t hIn, int32_t hOut) { return copyWithSign(hIn, hOut, true); }

int32_t TQ_CALL TQ_GETGLOBALERROR(void) {
    return tq_Guarded(true, 0, []() -> int32_t { return static_cast<int32_t>(gTq_ErrorWord.exchange(0)); });
}

}  // extern "C"
