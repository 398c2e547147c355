// Interactive prompt on libedit: history kept in $XDG_STATE_HOME/tarq/history
// (default ~/.local/state/tarq/history), commands starting with ':', Ctrl-C
// abandons the line being typed or computed.
#include "prompt.h"

#include <histedit.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>

#include "runner.h"

namespace {

const char *const kHelp =
    "Type an expression (2^64, sqrt(2), x = 1/3, gcd(12, 18) ...) and press Enter.\n"
    "commands:\n"
    "  :digits N   working precision in decimal digits\n"
    "  :kind K     number kind of new values: dec, bin, int, frac\n"
    "  :format F   output: normal, sci, hex, bin\n"
    "  :help       this text\n"
    "  :quit       leave (also Ctrl-D)\n";

const char *promptText(EditLine *) { return "tarq> "; }

std::string historyFile() {
    std::string base;
    if (const char *x = std::getenv("XDG_STATE_HOME"); x && *x) base = x;
    else if (const char *h = std::getenv("HOME"); h && *h) base = std::string(h) + "/.local/state";
    else return "";
    std::string dir = base + "/tarq";
    std::string partial;
    std::istringstream parts(dir);
    for (std::string piece; std::getline(parts, piece, '/');) {
        partial += piece + "/";
        mkdir(partial.c_str(), 0700);
    }
    return dir + "/history";
}

// Handles a ':' command; false for :quit.
bool command(Calculator &calc, const std::string &line) {
    std::istringstream in(line.substr(1));
    std::string word, arg;
    in >> word >> arg;
    if (word == "quit" || word == "q" || word == "exit") return false;
    if (word == "help") {
        std::fputs(kHelp, stdout);
    } else if (word == "digits") {
        long d = std::strtol(arg.c_str(), nullptr, 10);
        if (d < 1 || d > kMaxDigits) std::printf("error: :digits takes a number from 1 to %d\n", kMaxDigits);
        else {
            calc_SetDigits(calc.settings, static_cast<int32_t>(d));
            std::printf("working precision: %d digits\n", calc.settings.digits);
        }
    } else if (word == "kind") {
        tarq::Kind k;
        if (!parseKind(arg, k)) std::puts("error: :kind takes dec, bin, int or frac");
        else calc.setKind(k), std::printf("kind: %s\n", kindName(k));
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
    runner_InstallInterrupt();
    EditLine *el = el_init("tarq", stdin, stdout, stderr);
    History *hist = history_init();
    HistEvent ev;
    history(hist, &ev, H_SETSIZE, 1000);
    const std::string histPath = historyFile();
    if (!histPath.empty()) history(hist, &ev, H_LOAD, histPath.c_str());
    el_set(el, EL_PROMPT, promptText);
    el_set(el, EL_EDITOR, "emacs");
    el_set(el, EL_HIST, history, hist);
    el_source(el, nullptr);
    std::printf("tarq %d digits, kind %s. :help for help, :quit to leave.\n", calc.settings.digits,
                kindName(calc.settings.kind));

    for (;;) {
        int count = 0;
        errno = 0;
        const char *raw = el_gets(el, &count);
        if (!raw) {
            if (runner_TakeInterrupt() || errno == EINTR) {
                std::fputs("^C\n", stdout);
                el_reset(el);
                continue;
            }
            std::fputs("\n", stdout);
            break;
        }
        std::string line(raw);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        history(hist, &ev, H_ENTER, line.c_str());
        if (line[0] == ':') {
            if (!command(calc, line)) break;
            continue;
        }
        auto out = std::make_shared<std::string>();
        auto err = std::make_shared<std::string>();
        auto abandoned = std::make_shared<std::atomic<bool>>(false);
        RunResult r = runner_Run(
            [&calc, line, out, err, abandoned] {
                try {
                    *out = calc.evaluate(line, abandoned.get());
                } catch (const CalcError &e) {
                    *err = calc_ErrorText(e);
                } catch (const std::exception &e) {
                    *err = e.what();
                }
            },
            isatty(2) != 0);
        if (r == RunResult::Interrupted) {
            *abandoned = true;
            std::puts("^C (abandoned)");
            continue;
        }
        if (!err->empty()) std::printf("error: %s\n", err->c_str());
        else if (!out->empty()) std::printf("%s\n", out->c_str());
        std::fflush(stdout);
    }
    if (!histPath.empty()) history(hist, &ev, H_SAVE, histPath.c_str());
    history_end(hist);
    el_end(el);
    return 0;
}
