// The prompt of the Windows calculator, without libedit: lines are read from
// the console with the console's own editing and history (arrow keys, F7),
// commands start with ':', and every other line is evaluated as on Linux.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "prompt.h"

namespace {

const char *const kHelp =
    "Type an expression (2^64, sqrt(2), x = 1/3, gcd(12, 18) ...) and press Enter.\n"
    "commands:\n"
    "  :digits N   working precision in decimal digits\n"
    "  :kind K     number kind of new values: dec, bin, int, frac\n"
    "  :format F   output: normal, sci, hex, bin\n"
    "  :help       this text\n"
    "  :quit       leave (also Ctrl-Z, Enter)\n";

// Handles a ':' command; false for :quit.
bool command(Calculator &calc, const std::string &line) {
    std::istringstream in(line.substr(1));
    std::string word, arg;
    in >> word >> arg;
    if (word == "quit" || word == "q" || word == "exit") return false;
    tarq::Kind kind;
    if (word == "help") {
        std::fputs(kHelp, stdout);
    } else if (word == "digits") {
        const long d = std::strtol(arg.c_str(), nullptr, 10);
        if (d < 1 || d > 100000000) std::puts("error: :digits takes a positive number");
        else calc_SetDigits(calc.settings, static_cast<int32_t>(d));
    } else if (word == "kind") {
        if (parseKind(arg, kind)) calc.setKind(kind);
        else std::puts("error: :kind takes dec, bin, int or frac");
    } else if (word == "format") {
        if (arg == "normal") calc.settings.format = tarq::Normal | tarq::Dec;
        else if (arg == "sci") calc.settings.format = tarq::Scientific | tarq::Dec;
        else if (arg == "hex") calc.settings.format = tarq::Normal | tarq::Hex;
        else if (arg == "bin") calc.settings.format = tarq::Normal | tarq::Bin;
        else std::puts("error: :format takes normal, sci, hex or bin");
    } else {
        std::printf("error: unknown command :%s (try :help)\n", word.c_str());
    }
    return true;
}

}  // namespace

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
            if (!command(calc, line)) break;
            continue;
        }
        try {
            const std::string out = calc.evaluate(line);
            if (!out.empty()) std::printf("%s\n", out.c_str());
        } catch (const CalcError &e) {
            std::printf("error: %s\n", calc_ErrorText(e).c_str());
        } catch (const std::exception &e) {
            std::printf("error: %s\n", e.what());
        }
    }
    std::fputs("\n", stdout);
    return 0;
}
