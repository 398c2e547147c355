// Cancellation of a long computation.
//
// A request is a process-wide flag that a host sets from any thread or from a
// signal handler (a lock-free atomic store) while another thread is inside the
// library. The library's long loops (series, Newton and AGM iterations,
// binary splitting, powering, the conversions) and the entries of the large
// multiplications, squarings and divisions call tq_CheckCancel(); while a
// request is pending it throws TqCancelled. The export frame turns that, as
// any exception, into a failure (status and error bit 1) that changes nothing:
// the precision state and the output variable are put back, and the caches
// are only ever replaced whole. The points that check are points where an
// allocation may already fail, so no new failure path is opened.
//
// There is no export for it: the 83 exports stay as they are, and the request
// can only be made by a program that links the library's internal objects
// (the calculator does; in libtarq.so and libtarq.a the name is hidden). The
// host clears the request once the cancelled call has returned.
#pragma once
#include <atomic>

struct TqCancelled {};

extern std::atomic<bool> gTq_CancelRequest;

// Sets (true) or clears (false) the request. Safe in a signal handler.
inline void tq_RequestCancel(bool on) { gTq_CancelRequest.store(on, std::memory_order_relaxed); }

// Throws TqCancelled while a request is pending, except on the library's own
// worker threads (their caller checks) and while an exception unwinds (a
// destructor that computes must not throw).
void tq_ThrowCancelled();
inline void tq_CheckCancel() {
    if (gTq_CancelRequest.load(std::memory_order_relaxed)) tq_ThrowCancelled();
}

// Marks the calling thread as a library worker thread: tq_CheckCancel never
// throws there.
void tq_CancelNotOnThisThread();
