// tarq: an arbitrary-precision calculator on the command line.
//
//   tarq [options] [EXPRESSION ...]
//
// Prints each expression's value; without expressions it reads lines from
// standard input, with a line-editing prompt when that is a terminal.
#include <sys/stat.h>
#if defined(_WIN32)
#include <direct.h>
#include <io.h>
#define mkdir(path, mode) _mkdir(path)  // Windows: one argument, no modes
#else
#include <unistd.h>
#endif

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cctype>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "calc.h"
#include "prompt.h"
#include "runner.h"

namespace {

const char *const kUsage =
    "usage: tarq [options] [EXPRESSION ...]\n"
    "\n"
    "Prints the value of each EXPRESSION; without one, reads expressions from\n"
    "standard input (an interactive prompt on a terminal), where the prompt's\n"
    "commands :digits N, :kind K and :format F work too. Every digit shown is\n"
    "verified: a float is evaluated at two precisions and only the digits both\n"
    "agree on are shown (a note says when fewer than asked could be).\n"
    "\n"
    "options:\n"
    "  -d, --digits N     working precision in decimal digits (default 38, at most 999988)\n"
    "  -b, --bits N       working precision in bits (at most 3321952)\n"
    "  -k, --kind K       number kind: dec (default), bin, int, frac\n"
    "      --sci          scientific output\n"
    "      --hex          hexadecimal output\n"
    "      --bin          binary output\n"
    "      --out-digits N N significant digits in the output (computed and verified,\n"
    "                     at most 999988)\n"
    "      --no-cache     do not keep start-up data in $XDG_CACHE_HOME/tarq\n"
    "  -h, --help         this text\n"
    "      --version      the version\n"
    "\n"
    "expressions: numbers (1.5, 1.5e3, 1.5*d3, 1*h4, &hFF, &b101), + - * / % ^ (or **),\n"
    "comparisons == != < <= > >= (1 or 0), parentheses, variables (x = 2^64) and ans;\n"
    "functions sqrt root exp exp2 exp10 ln log log2 log10 sin cos tan atan asin abs\n"
    "int frac sqr recip gcd lcm modinv powmod deg rad; constants pi e ln2 ln10 sqrt2.\n";

// "-x..." and "--name..." are options; "-5", "--3", "-(1+2)" are expressions.
bool looksLikeOption(const std::string &a) {
    size_t i = a.rfind("--", 0) == 0 ? 2 : 1;
    return a.size() > i && a[0] == '-' && std::isalpha(static_cast<unsigned char>(a[i]));
}

bool readInt(const char *s, int32_t &out) {
    char *end = nullptr;
    long v = std::strtol(s, &end, 10);
    if (!s[0] || *end || v < 1 || v > INT32_MAX) return false;
    out = static_cast<int32_t>(v);
    return true;
}

// $XDG_CACHE_HOME/tarq (default ~/.cache/tarq), created on first use.
std::string cacheDirectory() {
    std::string base;
    if (const char *x = std::getenv("XDG_CACHE_HOME"); x && *x) base = x;
    else if (const char *h = std::getenv("HOME"); h && *h) base = std::string(h) + "/.cache";
#if defined(_WIN32)
    else if (const char *l = std::getenv("LOCALAPPDATA"); l && *l) base = l;
#endif
    else return "";
    mkdir(base.c_str(), 0700);
    std::string dir = base + "/tarq";
    mkdir(dir.c_str(), 0700);
    struct stat st;
    return stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? dir : "";
}

void useCache() {
    std::string dir = cacheDirectory();
    if (dir.empty()) return;
    int32_t h = TQ_ALLOCVAR(TQ_KIND_TEXT);
    if (TQ_PUTSTRING_FROMADD(dir.data(), static_cast<int32_t>(dir.size()), h) == 0) TQ_SETOPTION(9, h);
    TQ_UNALLOCVAR(h);
}

}  // namespace

int main(int argc, char **argv) {
    CalcSettings settings;
    int32_t digits = 38, bits = 0;
    bool cache = true;
    std::vector<std::string> exprs;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](int32_t &out) {
            if (i + 1 >= argc || !readInt(argv[i + 1], out)) {
                std::fprintf(stderr, "tarq: %s takes a positive whole number\n", a.c_str());
                std::exit(2);
            }
            ++i;
        };
        if (a == "-h" || a == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a == "--version") {
            std::puts("tarq " TARQ_VERSION);
            return 0;
        } else if (a == "-d" || a == "--digits") {
            value(digits);
            bits = 0;
        } else if (a == "-b" || a == "--bits") {
            value(bits);
        } else if (a == "-k" || a == "--kind") {
            if (i + 1 >= argc || !parseKind(argv[i + 1], settings.kind)) {
                std::fprintf(stderr, "tarq: --kind takes dec, bin, int or frac\n");
                return 2;
            }
            ++i;
        } else if (a == "--sci") {
            settings.format = tarq::Scientific | tarq::Dec;
        } else if (a == "--hex") {
            settings.format = tarq::Normal | tarq::Hex;
        } else if (a == "--bin") {
            settings.format = tarq::Normal | tarq::Bin;
        } else if (a == "--out-digits") {
            value(settings.outDigits);
        } else if (a == "--no-cache") {
            cache = false;
        } else if (a == "--") {
            for (++i; i < argc; ++i) exprs.push_back(argv[i]);
        } else if (looksLikeOption(a)) {
            std::fprintf(stderr, "tarq: unknown option %s (see tarq --help)\n", a.c_str());
            return 2;
        } else {
            exprs.push_back(a);
        }
    }

    if (digits > kMaxDigits || settings.outDigits > kMaxDigits || bits > kMaxBits) {
        std::fprintf(stderr, "tarq: at most %d digits or %d bits\n", kMaxDigits, kMaxBits);
        return 2;
    }
    if (cache) useCache();
    // Bits are given to the library as asked; digits get guard digits.
    if (bits) {
        TQ_SETPRECISION(2, bits);
        settings.digits = TQ_GETPRECISION(1);
    } else {
        calc_SetDigits(settings, digits);
    }

    Calculator calc;
    calc.settings = settings;
    if (exprs.empty() && isatty(0)) return prompt_Run(calc);

    int failures = 0;
    bool quit = false;
    auto one = [&](const std::string &line) {
        try {
            if (!line.empty() && line[0] == ':') {
                std::string said;
                quit = !calc_Command(calc, line, said);
                if (!said.empty()) std::cout << said << '\n';
                return;
            }
            std::string out = calc.evaluate(line);
            if (!out.empty()) std::cout << out << '\n';
            if (!calc.note().empty()) {
                std::cout.flush();
                std::fprintf(stderr, "tarq: note: %s\n", calc.note().c_str());
            }
        } catch (const CalcError &e) {
            std::cout.flush();
            std::fprintf(stderr, "tarq: error: %s\n", calc_ErrorText(e).c_str());
            ++failures;
        } catch (const std::exception &e) {
            std::fprintf(stderr, "tarq: error: %s\n", e.what());
            ++failures;
        }
    };
    if (!exprs.empty()) {
        for (const std::string &e : exprs) one(e);
    } else {
        std::string line;
        while (!quit && std::getline(std::cin, line)) one(line);
    }
    std::cout.flush();
    return failures ? 1 : 0;
}
