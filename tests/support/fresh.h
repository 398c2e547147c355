// Runs a test in a new process, so that it sees the library exactly as a
// freshly started host does (no initialisation, an untouched store).
//
// Use: define the test body as TEST(FreshProcess, Name) guarded by
// TQ_FRESH_ONLY(); a driver test calls tq_RunFresh("Name") and expects true.
// The child may be given settings: "NAME=value" sets, "NAME" removes.
#pragma once
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#define TQ_FRESH_ONLY()                                          \
    do {                                                         \
        if (!std::getenv("TARQ_FRESH_CHILD")) GTEST_SKIP();      \
    } while (0)

// Re-executes this test program with only FreshProcess.<name> selected and
// the settings of env applied to the child's environment.
inline bool tq_RunFresh(const std::string &name, const std::vector<std::string> &env = {}) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        close(fds[0]);
        dup2(fds[1], 1);
        setenv("TARQ_FRESH_CHILD", "1", 1);
        for (const std::string &e : env) {
            const size_t eq = e.find('=');
            if (eq == std::string::npos)
                unsetenv(e.c_str());
            else
                setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
        }
        std::string filter = "--gtest_filter=FreshProcess." + name;
        char self[4096];
        ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
        if (n <= 0) _exit(127);
        self[n] = '\0';
        execl(self, self, filter.c_str(), "--gtest_brief=1", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string out;
    char buf[4096];
    ssize_t got;
    while ((got = read(fds[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(got));
    close(fds[0]);
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return false;
    // Exactly one test must have run and passed (a misspelt name runs none).
    bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && out.find("PASSED  ] 1 test") != std::string::npos;
    if (!ok) std::fprintf(stderr, "fresh process %s failed:\n%s\n", name.c_str(), out.c_str());
    return ok;
}
