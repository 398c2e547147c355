// TQ_GETCONST: a numbered constant in the output's own kind.
#include "funcs/constants.h"
#include "frame/frame.h"
#include "tarq.h"

extern "C" int32_t TQ_CALL TQ_GETCONST(int32_t code, int32_t hOut) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t {
        if (!tq_CheckHandle(hOut)) return tq_Err_Handle;
        TqOutSlot out(hOut);
        return tq_Status(n_GetConst(code, out.v));
    });
}
