// The prompt of the Windows calculator, without libedit: lines are read from
// the console with the console's own editing and history (arrow keys, F7),
// commands start with ':', and every other line is evaluated as on Linux;
// Ctrl-C stops an evaluation (runner_windows.cpp).
#include <cstdio>
#include <iostream>
#include <string>

#include "prompt.h"
#include "runner.h"

int prompt_Run(Calculator &calc) {
    runner_InstallInterrupt();
    std::printf("tarq %d digits, kind %s. :help for help, :quit to leave.\n", calc.settings.digits,
                kindName(calc.settings.kind));
    std::string line;
    for (;;) {
        std::fputs("tarq> ", stdout);
        std::fflush(stdout);
        if (!std::getline(std::cin, line)) break;
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        if (line[0] == ':') {
            std::string said;
            try {
                if (!calc_Command(calc, line, said)) break;
                std::printf("%s\n", said.c_str());
            } catch (const CalcError &e) {
                std::printf("error: %s\n", calc_ErrorText(e).c_str());
            }
            continue;
        }
        std::string out, err;
        const RunResult r = runner_Run(
            [&] {
                try {
                    out = calc.evaluate(line, runner_Interrupted());
                } catch (const CalcError &e) {
                    err = calc_ErrorText(e);
                } catch (const std::exception &e) {
                    err = e.what();
                }
            },
            false);
        if (r == RunResult::Interrupted) std::puts("^C (interrupted)");
        else if (!err.empty()) std::printf("error: %s\n", err.c_str());
        else if (!out.empty()) std::printf("%s\n", out.c_str());
        if (r == RunResult::Done && err.empty() && !calc.note().empty()) std::printf("note: %s\n", calc.note().c_str());
    }
    std::fputs("\n", stdout);
    return 0;
}
