// Runs one evaluation on a worker thread so that the prompt stays responsive:
// an elapsed-time indicator after a second, and Ctrl-C abandons the line.
#pragma once
#include <functional>
#include <string>

enum class RunResult { Done, Interrupted };

// Installs the SIGINT handler used by run() and the prompt.
void runner_InstallInterrupt();
// True once after each Ctrl-C.
bool runner_TakeInterrupt();
// Runs work; shows the indicator on standard error when it is a terminal.
// When interrupted, the work finishes in the background and its result is
// dropped; the next run() waits for it first (the library serialises calls).
RunResult runner_Run(const std::function<void()> &work, bool indicator);
