// Common export frames.
#include "frame.h"

int32_t tq_Frame1(tq_Op1 op, int32_t hIn, int32_t hOut) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t {
        if (!tq_CheckHandle(hIn) || !tq_CheckHandle(hOut)) return tq_Err_Handle;
        TqNum a = gTq_Store[hIn];
        TqOutSlot out(hOut);
        return tq_Status(op(std::move(a), out.v));
    });
}

int32_t tq_Frame2(tq_Op2 op, int32_t ha, int32_t hb, int32_t hOut) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t {
        if (!tq_CheckHandle(ha) || !tq_CheckHandle(hb) || !tq_CheckHandle(hOut)) return tq_Err_Handle;
        TqNum a = gTq_Store[ha];
        TqNum b = gTq_Store[hb];
        TqOutSlot out(hOut);
        return tq_Status(op(std::move(a), std::move(b), out.v));
    });
}

int32_t tq_Frame3(tq_Op3 op, int32_t ha, int32_t hb, int32_t hc, int32_t hOut) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t {
        if (!tq_CheckHandle(ha) || !tq_CheckHandle(hb) || !tq_CheckHandle(hc) || !tq_CheckHandle(hOut))
            return tq_Err_Handle;
        TqNum a = gTq_Store[ha];
        TqNum b = gTq_Store[hb];
        TqNum c = gTq_Store[hc];
        TqOutSlot out(hOut);
        return tq_Status(op(std::move(a), std::move(b), std::move(c), out.v));
    });
}
