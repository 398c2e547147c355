// TQ_CONVERTUNITS: angles between radians, degrees and grads.
#include "frame/frame.h"
#include "tarq.h"
#include "trig/units.h"

extern "C" int32_t TQ_CALL TQ_CONVERTUNITS(int32_t code, int32_t hIn, int32_t hOut) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t {
        if (!tq_CheckHandle(hIn) || !tq_CheckHandle(hOut)) return tq_Err_Handle;
        TqNum x = gTq_Store[hIn];
        TqOutSlot out(hOut);
        return tq_Status(n_ConvertUnits(code, std::move(x), out.v));
    });
}
