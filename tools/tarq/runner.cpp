// Worker-thread evaluation with an elapsed-time indicator and interruption.
//
// Ctrl-C reaches the library through its cancellation request (base/cancel.h),
// which the calculator can set because it links the library's internal
// objects rather than libtarq.so: the library exports only its 83 functions,
// and a cancellation entry among them would change the C interface for one
// client. The signal handler itself only sets a flag; the waiting thread
// passes the request on and waits for the evaluation to fail.
#include "runner.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "base/cancel.h"

namespace {
std::atomic<bool> gCtrlC{false};       // set by the signal handler
std::atomic<bool> gInterrupted{false};  // the running work was interrupted
std::unique_ptr<std::thread> gBackground;  // interrupted work not waited for

void onInterrupt(int) { gCtrlC = true; }
}  // namespace

void runner_InstallInterrupt() {
    struct sigaction sa {};
    sa.sa_handler = onInterrupt;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0;  // no SA_RESTART: a pending read returns with EINTR
    sigaction(SIGINT, &sa, nullptr);
}

bool runner_TakeInterrupt() { return gCtrlC.exchange(false); }

const std::atomic<bool> *runner_Interrupted() { return &gInterrupted; }

void runner_Settle() {
    if (gBackground) {
        gBackground->join();
        gBackground.reset();
    }
    tq_RequestCancel(false);
}

RunResult runner_Run(const std::function<void()> &work, bool indicator) {
    runner_Settle();
    gInterrupted = false;
    runner_TakeInterrupt();
    auto done = std::make_shared<std::atomic<bool>>(false);
    auto task = std::make_unique<std::thread>([work, done] {
        work();
        *done = true;
    });
    const auto start = std::chrono::steady_clock::now();
    bool shown = false;
    while (!*done) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (runner_TakeInterrupt()) {
            if (gInterrupted) {  // the second Ctrl-C: stop waiting
                gBackground = std::move(task);
                break;
            }
            gInterrupted = true;
            tq_RequestCancel(true);
        }
        const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (indicator && secs >= 1.0) {
            std::fprintf(stderr, "\r[computing... %.1f s%s]", secs, gInterrupted ? ", interrupting" : "");
            std::fflush(stderr);
            shown = true;
        }
    }
    if (task) {
        task->join();
        tq_RequestCancel(false);
    }
    if (shown) std::fputs("\r\033[K", stderr);
    return gInterrupted ? RunResult::Interrupted : RunResult::Done;
}
