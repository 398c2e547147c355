// The runner of the Windows calculator: the compiler's Windows thread model
// has no std::thread, so an evaluation runs on the calling thread, without
// the elapsed-time indicator; Ctrl-C ends the program, as in other console
// tools there.
#include "runner.h"

void runner_InstallInterrupt() {}

bool runner_TakeInterrupt() { return false; }

RunResult runner_Run(const std::function<void()> &work, bool) {
    work();
    return RunResult::Done;
}
