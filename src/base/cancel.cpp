// The cancellation request and its check (see cancel.h).
#include "cancel.h"

#include <exception>

std::atomic<bool> gTq_CancelRequest{false};

namespace {
thread_local bool tlWorker = false;
}

void tq_ThrowCancelled() {
    if (tlWorker || std::uncaught_exceptions() > 0) return;
    throw TqCancelled{};
}

void tq_CancelNotOnThisThread() { tlWorker = true; }
