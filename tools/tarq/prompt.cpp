// Interactive prompt on libedit: history kept in $XDG_STATE_HOME/tarq/history
// (default ~/.local/state/tarq/history), commands starting with ':', Ctrl-C
// abandons the line being typed and stops a computation.
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
            runner_Settle();
            std::string said;
            try {
                if (!calc_Command(calc, line, said)) break;
                std::printf("%s\n", said.c_str());
            } catch (const CalcError &e) {
                std::printf("error: %s\n", calc_ErrorText(e).c_str());
            }
            continue;
        }
        auto out = std::make_shared<std::string>();
        auto err = std::make_shared<std::string>();
        RunResult r = runner_Run(
            [&calc, line, out, err] {
                try {
                    *out = calc.evaluate(line, runner_Interrupted());
                } catch (const CalcError &e) {
                    *err = calc_ErrorText(e);
                } catch (const std::exception &e) {
                    *err = e.what();
                }
            },
            isatty(2) != 0);
        if (r == RunResult::Interrupted) {
            std::puts("^C (interrupted)");
            continue;
        }
        if (!err->empty()) std::printf("error: %s\n", err->c_str());
        else if (!out->empty()) std::printf("%s\n", out->c_str());
        if (err->empty() && !calc.note().empty()) std::printf("note: %s\n", calc.note().c_str());
        std::fflush(stdout);
    }
    runner_Settle();
    if (!histPath.empty()) history(hist, &ev, H_SAVE, histPath.c_str());
    history_end(hist);
    el_end(el);
    return 0;
}
