// The runner of the Windows calculator. The compiler's Windows thread model
// has no std::thread, so an evaluation runs on the calling thread, without the
// elapsed-time indicator. Ctrl-C during an evaluation asks the library to
// cancel it (see runner.cpp): the console runs the control handler on a
// thread of its own, which sets the library's request and reports the event
// handled; the evaluation then fails within about a second. Ctrl-C at the
// prompt ends the program, as in other console tools there.
#include "runner.h"

#include <windows.h>

#include "base/cancel.h"

namespace {
std::atomic<bool> gBusy{false};
std::atomic<bool> gInterrupted{false};

BOOL WINAPI onControl(DWORD type) {
    if ((type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) || !gBusy) return FALSE;
    gInterrupted = true;
    tq_RequestCancel(true);
    return TRUE;
}
}  // namespace

void runner_InstallInterrupt() { SetConsoleCtrlHandler(onControl, TRUE); }

bool runner_TakeInterrupt() { return false; }

const std::atomic<bool> *runner_Interrupted() { return &gInterrupted; }

void runner_Settle() { tq_RequestCancel(false); }

RunResult runner_Run(const std::function<void()> &work, bool) {
    gInterrupted = false;
    gBusy = true;
    work();
    gBusy = false;
    runner_Settle();
    return gInterrupted ? RunResult::Interrupted : RunResult::Done;
}
