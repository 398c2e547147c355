// The ':' commands of the calculator, shared by the prompt and standard input.
#include <cstdlib>
#include <sstream>

#include "calc.h"

namespace {
const char *const kHelp =
    "Type an expression (2^64, sqrt(2), x = 1/3, gcd(12, 18) ...) and press Enter.\n"
    "commands:\n"
    "  :digits N   significant digits shown (1 to 999988)\n"
    "  :kind K     number kind of new values: dec, bin, int, frac\n"
    "  :format F   output: normal, sci, hex, bin\n"
    "  :help       this text\n"
    "  :quit       leave (also Ctrl-D)";
}  // namespace

bool calc_Command(Calculator &calc, const std::string &line, std::string &out) {
    std::istringstream in(line.substr(1));
    std::string word, arg;
    in >> word >> arg;
    if (word == "quit" || word == "q" || word == "exit") return false;
    if (word == "help") {
        out = kHelp;
    } else if (word == "digits") {
        char *end = nullptr;
        const long d = std::strtol(arg.c_str(), &end, 10);
        if (arg.empty() || *end || d < 1 || d > kMaxDigits)
            throw CalcError{":digits takes a whole number from 1 to " + std::to_string(kMaxDigits), 0};
        calc_SetDigits(calc.settings, static_cast<int32_t>(d));
        out = "working precision: " + std::to_string(calc.settings.digits) + " digits";
    } else if (word == "kind") {
        tarq::Kind k;
        if (!parseKind(arg, k)) throw CalcError{":kind takes dec, bin, int or frac", 0};
        calc.setKind(k);
        out = std::string("kind: ") + kindName(k);
    } else if (word == "format") {
        if (arg == "normal") calc.settings.format = tarq::Normal | tarq::Dec;
        else if (arg == "sci") calc.settings.format = tarq::Scientific | tarq::Dec;
        else if (arg == "hex") calc.settings.format = tarq::Normal | tarq::Hex;
        else if (arg == "bin") calc.settings.format = tarq::Normal | tarq::Bin;
        else throw CalcError{":format takes normal, sci, hex or bin", 0};
        out = "output format: " + arg;
    } else {
        throw CalcError{"unknown command :" + word + " (try :help)", 0};
    }
    return true;
}
