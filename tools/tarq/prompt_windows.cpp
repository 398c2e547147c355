// The prompt of the Windows calculator, without libedit: lines are read from
// the console with the console's own editing and history (arrow keys, F7),
// commands start with ':', and every other line is evaluated as on Linux.
#include <cstdio>
#include <iostream>
#include <string>

#include "prompt.h"

int prompt_Run(Calculator &calc) {
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
        try {
            const std::string out = calc.evaluate(line);
            if (!out.empty()) std::printf("%s\n", out.c_str());
            if (!calc.note().empty()) std::printf("note: %s\n", calc.note().c_str());
        } catch (const CalcError &e) {
            std::printf("error: %s\n", calc_ErrorText(e).c_str());
        } catch (const std::exception &e) {
            std::printf("error: %s\n", e.what());
        }
    }
    std::fputs("\n", stdout);
    return 0;
}
