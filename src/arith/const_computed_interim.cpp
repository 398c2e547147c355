// The computed constants are not available yet.
#include "constants.h"
#include "frame/tq_state.h"

int32_t n_GetConst_Computed(int32_t, TqNum &) { return tq_RaiseErr(tq_Err_Invalid); }
