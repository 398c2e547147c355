// The export frame: lock, lazy initialisation, handle checks, copies of the
// inputs, the output by reference, and no exception past the C boundary.
#pragma once
#include <exception>

#include "numbers/precision.h"
#include "store.h"
#include "base/tq_state.h"

// Checks a handle; raises tq_Err_Handle for a handle outside the store or of a
// freed slot.
inline bool tq_CheckHandle(int32_t h) {
    if (n_Store_Valid(h)) return true;
    tq_RaiseErr(tq_Err_Handle);
    return false;
}

// Runs body() under the global lock (after the lazy initialisation when init
// is set) and turns any exception into tq_Err_Invalid with result onError.
// A record of the precision state is opened before body() and put back when
// it fails by an exception (an allocation failure, most often), so that a
// failed call changes nothing; the record is filled only when the call
// changes the precision for good, so the everyday call pays two pointer
// stores for it.
template <class R, class F>
R tq_Guarded(bool init, R onError, F &&body) {
    try {
        TqLockGuard guard;
        if (init) tq_EnsureInit();
        TqPrecisionState saved;
        n_Precision_Begin(saved);
        try {
            R r = body();
            n_Precision_End(saved);
            return r;
        } catch (...) {
            n_Precision_Restore(saved);
            n_Precision_End(saved);
            throw;
        }
    } catch (...) {
        tq_RaiseErr(tq_Err_Invalid);
        return onError;
    }
}

// The output variable as a copy for the operation, stored back afterwards,
// so that nothing the operation does to the store (growth) can invalidate the
// reference it writes through; when the operation fails by an exception the
// store keeps the variable as it was.
struct TqOutSlot {
    int32_t h;
    TqNum v;
    int uncaught;
    explicit TqOutSlot(int32_t handle) : h(handle), v(gTq_Store[handle]), uncaught(std::uncaught_exceptions()) {}
    ~TqOutSlot() {
        if (std::uncaught_exceptions() == uncaught && h < static_cast<int32_t>(gTq_Store.size()))
            gTq_Store[h] = std::move(v);
    }
    TqOutSlot(const TqOutSlot &) = delete;
    TqOutSlot &operator=(const TqOutSlot &) = delete;
};

typedef int32_t (*tq_Op1)(TqNum a, TqNum &r);
typedef int32_t (*tq_Op2)(TqNum a, TqNum b, TqNum &r);
typedef int32_t (*tq_Op3)(TqNum a, TqNum b, TqNum c, TqNum &r);

// Frames of the common export shapes: status = op(copies of the inputs, output).
int32_t tq_Frame1(tq_Op1 op, int32_t hIn, int32_t hOut);
int32_t tq_Frame2(tq_Op2 op, int32_t a, int32_t b, int32_t hOut);
int32_t tq_Frame3(tq_Op3 op, int32_t a, int32_t b, int32_t c, int32_t hOut);

// ORs a non-zero status into the global error word and returns it.
inline int32_t tq_Status(int32_t status) {
    if (status) tq_RaiseErr(status);
    return status;
}
