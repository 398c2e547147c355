// TQ_GETPOW10: a power of ten from the powers-of-ten table.
#include "frame/frame.h"
#include "numbers/pow10.h"
#include "tarq.h"

extern "C" int32_t TQ_CALL TQ_GETPOW10(int32_t n, int32_t hOut) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t {
        if (!tq_CheckHandle(hOut)) return tq_Err_Handle;
        TqOutSlot out(hOut);
        n_Pow10_Lookup(n, out.v.V, out.v.MantN);
        out.v.DenN = tq_Word(1);
        return 0;
    });
}
