// Runs one evaluation so that Ctrl-C can stop it: the interruption asks the
// library to cancel the computation (its long loops check a request flag and
// fail the call), and the evaluation ends within about a second.
#pragma once
#include <atomic>
#include <functional>
#include <string>

enum class RunResult { Done, Interrupted };

// Installs the Ctrl-C handler used by runner_Run() and the prompt.
void runner_InstallInterrupt();
// True once after each Ctrl-C that arrived while no work ran.
bool runner_TakeInterrupt();
// Runs work until it ends; on Linux on a worker thread, with an elapsed-time
// indicator on standard error when `indicator` is set. Ctrl-C during the work
// cancels the library's computation and gives Interrupted once the work has
// ended (a second Ctrl-C on Linux stops waiting: the work then ends in the
// background and the next runner_Settle() waits for it).
RunResult runner_Run(const std::function<void()> &work, bool indicator);
// Set from the Ctrl-C that interrupts the running work until the next run:
// the work drops its result when it sees it.
const std::atomic<bool> *runner_Interrupted();
// Waits for work left running in the background, if any, and clears the
// cancellation request; before any other use of the calculator's state.
void runner_Settle();
