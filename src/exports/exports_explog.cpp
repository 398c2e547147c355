// Exports of the exponentials and logarithms.
#include "explog/explog.h"
#include "frame/frame.h"
#include "tarq.h"

extern "C" {

int32_t TQ_CALL TQ_EXP(int32_t hIn, int32_t hOut) { return tq_Frame1(n_Exp, hIn, hOut); }
int32_t TQ_CALL TQ_EXP2(int32_t hIn, int32_t hOut) { return tq_Frame1(n_Exp2, hIn, hOut); }
int32_t TQ_CALL TQ_EXP10(int32_t hIn, int32_t hOut) { return tq_Frame1(n_Exp10, hIn, hOut); }
int32_t TQ_CALL TQ_LOG(int32_t hIn, int32_t hOut) { return tq_Frame1(n_Log, hIn, hOut); }
int32_t TQ_CALL TQ_LOG2(int32_t hIn, int32_t hOut) { return tq_Frame1(n_Log2, hIn, hOut); }
int32_t TQ_CALL TQ_LOG10(int32_t hIn, int32_t hOut) { return tq_Frame1(n_Log10, hIn, hOut); }

}  // extern "C"
