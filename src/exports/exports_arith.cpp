// Exports of the signed operations, the division family and their frames.
#include "arith/arith.h"
#include "arith/small_float.h"
#include "frame/frame.h"
#include "tarq.h"

namespace {

typedef int32_t (*tq_Op2Ref)(const TqNum &a, const TqNum &b, TqNum &r);
typedef bool (*tq_Op2Small)(const TqNum &a, const TqNum &b, TqNum &r);

// The frame of the operations that only read their operands and, once the
// kinds agree, write every field of the result: the result is built in a
// scratch number whose buffers are kept from call to call (under the global
// lock; these operations call no export) and exchanged with the output
// variable's only when the operation returns. The operands are read in place
// even when the output is one of them, a failure by an exception leaves the
// output as it was, and operands of a few words do not touch the heap.
// The short path (small) is tried here unless it declined already (null).
int32_t frame2RefFull(tq_Op2Ref op, tq_Op2Small small, int32_t ha, int32_t hb, int32_t hOut) {
    return tq_Guarded(true, tq_Err_Invalid, [&]() -> int32_t {
        if (!tq_CheckHandle(ha) || !tq_CheckHandle(hb) || !tq_CheckHandle(hOut)) return tq_Err_Handle;
        const int32_t kind = gTq_Store[ha].V.NumType;
        if (gTq_Store[hb].V.NumType != kind || gTq_Store[hOut].V.NumType != kind || kind < TarqDecFloat ||
            kind > TarqFraction) {
            TqOutSlot out(hOut);  // refused by the operation, the output untouched
            return tq_Status(op(gTq_Store[ha], gTq_Store[hb], out.v));
        }
        if (small && small(gTq_Store[ha], gTq_Store[hb], gTq_Store[hOut])) return 0;
        static TqNum *scratch = new TqNum;  // never destroyed
        TqNum &r = *scratch;
        r.V = gTq_Store[hOut].V;
        const int32_t status = op(gTq_Store[ha], gTq_Store[hb], r);
        TqNum &out = gTq_Store[hOut];
        const int32_t inUse = out.V.InUse;
        out.V = r.V;
        out.V.InUse = inUse;
        out.MantN.swap(r.MantN);
        out.DenN.swap(r.DenN);
        return tq_Status(status);
    });
}

// Short finite floats go first to the operation's short path (small), which
// reads both operands whole before it writes the output variable directly
// (its one allocation, of the output's buffer, comes before anything is
// changed): no scratch, no exchange. That path neither initialises nor
// changes the precision, so once the library is initialised it runs under the
// lock alone, without the precision record; an allocation failure there still
// reports tq_Err_Invalid with the output as it was. Everything it declines
// (bad handles, other kinds, long operands, the first call) goes on to the
// full frame, still under the lock, which the frame takes again re-entrantly.
int32_t frame2Ref(tq_Op2Ref op, tq_Op2Small small, int32_t ha, int32_t hb, int32_t hOut) {
    try {
        TqLockGuard guard;
        TqNum *a, *b, *out;
        const bool tried = gTq_Initialised && (a = n_Store_Slot(ha)) && (b = n_Store_Slot(hb)) && (out = n_Store_Slot(hOut));
        if (tried && small(*a, *b, *out)) return 0;
        return frame2RefFull(op, tried ? nullptr : small, ha, hb, hOut);
    } catch (...) {
        tq_RaiseErr(tq_Err_Invalid);
        return tq_Err_Invalid;
    }
}

}  // namespace

extern "C" {

int32_t TQ_CALL TQ_ADD(int32_t a, int32_t b, int32_t hOut) { return frame2Ref(n_AddRef, tq_SmallAddAny, a, b, hOut); }
int32_t TQ_CALL TQ_SUB(int32_t a, int32_t b, int32_t hOut) { return frame2Ref(n_SubRef, tq_SmallSubAny, a, b, hOut); }
int32_t TQ_CALL TQ_MUL(int32_t a, int32_t b, int32_t hOut) { return frame2Ref(n_MulRef, tq_SmallMulAny, a, b, hOut); }
int32_t TQ_CALL TQ_DIV(int32_t a, int32_t b, int32_t hOut) { return frame2Ref(n_DivRef, tq_SmallDivAny, a, b, hOut); }
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
