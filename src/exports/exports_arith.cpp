// Exports of the signed operations, the division family and their frames.
#include "arith/arith.h"
#include "frame/frame.h"
#include "tarq.h"

namespace {

typedef int32_t (*tq_Op2Ref)(const TqNum &a, const TqNum &b, TqNum &r);

// The frame of operations that only read their operands: the inputs are read
// in place in the store when the output is another variable, and copied
// first (as by tq_Frame2) when the output is one of them.
int32_t frame2Ref(tq_Op2Ref op, int32_t ha, int32_t hb, int32_t hOut) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t {
        if (!tq_CheckHandle(ha) || !tq_CheckHandle(hb) || !tq_CheckHandle(hOut)) return tq_Err_Handle;
        if (hOut == ha || hOut == hb) {
            const TqNum a = gTq_Store[ha];
            const TqNum b = gTq_Store[hb];
            TqOutSlot out(hOut);
            return tq_Status(op(a, b, out.v));
        }
        TqOutSlot out(hOut);
        return tq_Status(op(gTq_Store[ha], gTq_Store[hb], out.v));
    });
}

}  // namespace

extern "C" {

int32_t TQ_CALL TQ_ADD(int32_t a, int32_t b, int32_t hOut) { return frame2Ref(n_AddRef, a, b, hOut); }
int32_t TQ_CALL TQ_SUB(int32_t a, int32_t b, int32_t hOut) { return frame2Ref(n_SubRef, a, b, hOut); }
int32_t TQ_CALL TQ_MUL(int32_t a, int32_t b, int32_t hOut) { return frame2Ref(n_MulRef, a, b, hOut); }
int32_t TQ_CALL TQ_DIV(int32_t a, int32_t b, int32_t hOut) { return frame2Ref(n_DivRef, a, b, hOut); }
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
