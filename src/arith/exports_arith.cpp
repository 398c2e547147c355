// Exports of the signed operations, the division family and their frames.
#include "arith.h"
#include "frame/frame.h"
#include "tarq.h"

extern "C" {

int32_t TQ_CALL TQ_ADD(int32_t a, int32_t b, int32_t hOut) { return tq_Frame2(n_Add, a, b, hOut); }
int32_t TQ_CALL TQ_SUB(int32_t a, int32_t b, int32_t hOut) { return tq_Frame2(n_Sub, a, b, hOut); }
int32_t TQ_CALL TQ_MUL(int32_t a, int32_t b, int32_t hOut) { return tq_Frame2(n_Mul, a, b, hOut); }
int32_t TQ_CALL TQ_DIV(int32_t a, int32_t b, int32_t hOut) { return tq_Frame2(n_Div, a, b, hOut); }
int32_t TQ_CALL TQ_MOD(int32_t a, int32_t b, int32_t hOut) { return tq_Frame2(n_Mod, a, b, hOut); }

int32_t TQ_CALL TQ_SQR(int32_t hIn, int32_t hOut) { return tq_Frame1(n_Sqr, hIn, hOut); }
int32_t TQ_CALL TQ_INCR(int32_t hIn, int32_t hOut) { return tq_Frame1(n_Incr, hIn, hOut); }
int32_t TQ_CALL TQ_DECR(int32_t hIn, int32_t hOut) { return tq_Frame1(n_Decr, hIn, hOut); }
int32_t TQ_CALL TQ_MULBY2(int32_t hIn, int32_t hOut) { return tq_Frame1(n_MulBy2, hIn, hOut); }
int32_t TQ_CALL TQ_DIVBY2(int32_t hIn, int32_t hOut) { return tq_Frame1(n_DivBy2, hIn, hOut); }
int32_t TQ_CALL TQ_FIX(int32_t hIn, int32_t hOut) { return tq_Frame1(n_Fix, hIn, hOut); }
int32_t TQ_CALL TQ_FRAC(int32_t hIn, int32_t hOut) { return tq_Frame1(n_Frac, hIn, hOut); }
int32_t TQ_CALL TQ_RECIPROCAL(int32_t hIn, int32_t hOut) { return tq_Frame1(n_Reciprocal, hIn, hOut); }

// Two outputs: each is taken out of the store for the operation. When both
// handles name one variable it receives the quotient; the remainder goes to
// a scratch of the same kind and is dropped.
int32_t TQ_CALL TQ_DIVINT(int32_t a, int32_t b, int32_t hQuot, int32_t hRem) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t {
        if (!tq_CheckHandle(a) || !tq_CheckHandle(b) || !tq_CheckHandle(hQuot) || !tq_CheckHandle(hRem))
            return tq_Err_Handle;
        TqNum ca = gTq_Store[a];
        TqNum cb = gTq_Store[b];
        TqOutSlot quot(hQuot);
        if (hRem == hQuot) {
            TqNum scratch;
            scratch.V = quot.v.V;
            return tq_Status(n_DivInt(std::move(ca), std::move(cb), quot.v, scratch));
        }
        TqOutSlot rem(hRem);
        return tq_Status(n_DivInt(std::move(ca), std::move(cb), quot.v, rem.v));
    });
}

}  // extern "C"
