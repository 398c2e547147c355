// Exports whose operations are not available yet: each reports tq_Err_Invalid
// (status 1, or a zero/empty result for value exports) and changes nothing.
// An export leaves this file when its operation lands.
#include "frame/tq_state.h"
#include "tarq.h"

static int32_t notAvailable() { return tq_RaiseErr(tq_Err_Invalid); }

extern "C" {

int32_t TQ_CALL TQ_CONVERTUNITS(int32_t, int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_SIN(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_COS(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_TAN(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_ATAN(int32_t, int32_t) {
    return notAvailable();
}

int32_t TQ_CALL TQ_ASIN(int32_t, int32_t) {
    return notAvailable();
}

}  // extern "C"
