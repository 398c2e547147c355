// Exports of the working precision and the options.
#include "frame/frame.h"
#include "frame/options.h"
#include "numbers/precision.h"
#include "tarq.h"

extern "C" {

int32_t TQ_CALL TQ_SETPRECISION(int32_t mode, int32_t amount) {
    return tq_Guarded(false, 0, [&]() -> int32_t {
        if (!gTq_Initialised) n_Init_TARQ(0);
        return n_SetPrecision_Export(mode, amount);
    });
}

int32_t TQ_CALL TQ_GETPRECISION(int32_t mode) {
    return tq_Guarded(true, 0, [&]() -> int32_t {
        if (mode == 1) return gTq_Prec_Digits_Internal;
        if (mode == 2) return 8 * gTq_Prec_Bytes_Internal;
        return 0;
    });
}

int32_t TQ_CALL TQ_SETOPTION(int32_t code, int32_t value) {
    return tq_Guarded(code == 5, tq_Err_Invalid, [&]() -> int32_t { return n_SetOption(code, value); });
}

int32_t TQ_CALL TQ_GETOPTION(int32_t code) {
    // Read under the lock: options 2 and 3 change while other threads run.
    return tq_Guarded(true, 0, [&]() -> int32_t { return n_GetOption(code); });
}

}  // extern "C"
