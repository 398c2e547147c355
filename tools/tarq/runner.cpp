// Worker-thread evaluation with an elapsed-time indicator and interruption.
#include "runner.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

namespace {
std::atomic<bool> gInterrupted{false};
std::unique_ptr<std::thread> gAbandoned;  // an interrupted evaluation still running

void onInterrupt(int) { gInterrupted = true; }
}  // namespace

void runner_InstallInterrupt() {
    struct sigaction sa {};
    sa.sa_handler = onInterrupt;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0;  // no SA_RESTART: a pending read returns with EINTR
    sigaction(SIGINT, &sa, nullptr);
}

bool runner_TakeInterrupt() { return gInterrupted.exchange(false); }

RunResult runner_Run(const std::function<void()> &work, bool indicator) {
    if (gAbandoned) {
        gAbandoned->join();
        gAbandoned.reset();
    }
    auto done = std::make_shared<std::atomic<bool>>(false);
    auto task = std::make_unique<std::thread>([work, done] {
        work();
        *done = true;
    });
    const auto start = std::chrono::steady_clock::now();
    bool shown = false;
    runner_TakeInterrupt();
    while (!*done) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (runner_TakeInterrupt()) {
            if (shown) std::fputs("\r\033[K", stderr);
            gAbandoned = std::move(task);
            return RunResult::Interrupted;
        }
        if (indicator && secs >= 1.0) {
            std::fprintf(stderr, "\r[computing... %.1f s]", secs);
            std::fflush(stderr);
            shown = true;
        }
    }
    task->join();
    if (shown) std::fputs("\r\033[K", stderr);
    return RunResult::Done;
}
