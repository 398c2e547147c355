// Exports of the trigonometric functions: TQ_SIN, TQ_COS, TQ_TAN, TQ_ATAN,
// TQ_ASIN (argument and result in radians, decimal or binary floats).
#include "frame/frame.h"
#include "tarq.h"
#include "trig/trig.h"

extern "C" {

int32_t TQ_CALL TQ_SIN(int32_t hIn, int32_t hOut) { return tq_Frame1(n_Sin, hIn, hOut); }

int32_t TQ_CALL TQ_COS(int32_t hIn, int32_t hOut) { return tq_Frame1(n_Cos, hIn, hOut); }

int32_t TQ_CALL TQ_TAN(int32_t hIn, int32_t hOut) { return tq_Frame1(n_Tan, hIn, hOut); }

int32_t TQ_CALL TQ_ATAN(int32_t hIn, int32_t hOut) { return tq_Frame1(n_Atan, hIn, hOut); }

int32_t TQ_CALL TQ_ASIN(int32_t hIn, int32_t hOut) { return tq_Frame1(n_Asin, hIn, hOut); }

}  // extern "C"
