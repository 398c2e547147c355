// Operating-system services for Windows (Win32 API) and POSIX.
#include "platform.h"
#include "cancel.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#if defined(__i386__) || defined(__x86_64__)
#include <x86intrin.h>
#define TQ_HAVE_RDTSC 1
#endif
#include <chrono>

uint64_t tq_PerfCounter() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

uint64_t tq_TimeStampCounter() {
#if defined(TQ_HAVE_RDTSC)
    return __rdtsc();
#else
    return tq_PerfCounter();
#endif
}

namespace {
// What a new thread runs: the caller's function and argument.
struct TqThreadStart {
    tq_ThreadFn Fn;
    void *Arg;
};
}  // namespace

#if defined(_WIN32)
#include <windows.h>

static CRITICAL_SECTION sLock;

void tq_PlatformLockInit() { InitializeCriticalSection(&sLock); }
void tq_PlatformLock() { EnterCriticalSection(&sLock); }
void tq_PlatformUnlock() { LeaveCriticalSection(&sLock); }
void tq_SleepMs(int32_t ms) { Sleep(static_cast<DWORD>(ms)); }

std::string tq_GetEnv(const char *name) {
    char buf[1024];
    DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    if (n == 0 || n >= sizeof buf) return std::string();
    return std::string(buf, n);
}

static HANDLE sConsole = nullptr;
static bool sConsoleTried = false;

// The banner goes to a console the library opens for itself: a host without
// a console (a GUI program such as a spreadsheet) gets a window titled
// "TARQ". A host that has a console of its own keeps its standard output
// untouched; there the lines go to standard error, and only when
// TARQ_CONSOLE=1, as on Linux.
void tq_ConsoleWriteLine(const std::string &line) {
    if (line == "$CON:CLOSE") {
        if (sConsole) {
            CloseHandle(sConsole);
            FreeConsole();
        }
        sConsole = nullptr;
        sConsoleTried = false;
        return;
    }
    std::string text = line.substr(0, 255) + "\r\n";
    DWORD written = 0;
    if (!sConsoleTried) {
        sConsoleTried = true;
        if (AllocConsole()) {
            SetConsoleTitleA("TARQ");
            sConsole = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
            if (sConsole == INVALID_HANDLE_VALUE) sConsole = nullptr;
        }
    }
    if (sConsole) {
        WriteFile(sConsole, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    } else if (tq_GetEnv("TARQ_CONSOLE") == "1") {
        HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
        if (err && err != INVALID_HANDLE_VALUE) WriteFile(err, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
}

std::string tq_TempPath() {
    char buf[MAX_PATH + 1];
    DWORD n = GetTempPathA(sizeof buf, buf);
    if (n == 0 || n > MAX_PATH) return std::string();
    return std::string(buf, n);
}

std::string tq_CurrentDir() {
    char buf[MAX_PATH + 1];
    DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
    if (n == 0 || n > MAX_PATH) return std::string();
    return std::string(buf, n);
}

bool tq_PathExists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
bool tq_MakeDir(const std::string &path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }
char tq_DirSep() { return '\\'; }


void tq_Yield() { Sleep(0); }

static DWORD WINAPI threadEntry(LPVOID p) {
    TqThreadStart start = *static_cast<TqThreadStart *>(p);
    delete static_cast<TqThreadStart *>(p);
    tq_CancelNotOnThisThread();
    start.Fn(start.Arg);
    return 0;
}

void *tq_ThreadStart(tq_ThreadFn fn, void *arg, uint32_t stackBytes) {
    auto *start = new (std::nothrow) TqThreadStart{fn, arg};
    if (!start) return nullptr;
    HANDLE h = CreateThread(nullptr, stackBytes, threadEntry, start, 0, nullptr);
    if (!h) {
        delete start;
        return nullptr;
    }
    return h;
}

bool tq_ThreadJoinAll(void **handles, int32_t n) {
    if (n <= 0) return true;
    bool ok = WaitForMultipleObjects(static_cast<DWORD>(n), reinterpret_cast<HANDLE *>(handles), TRUE, INFINITE) !=
              WAIT_FAILED;
    if (!ok) {
        // Still make sure every worker has ended before its data goes away.
        for (int32_t i = 0; i < n; ++i) WaitForSingleObject(handles[i], INFINITE);
    }
    for (int32_t i = 0; i < n; ++i) CloseHandle(handles[i]);
    return ok;
}

#else
#include <atomic>
#include <climits>
#include <pthread.h>
#include <sched.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// The global lock: one atomic word (0 free, 1 held, 2 held with threads
// waiting) with its owner and a depth for re-entry, so that the everyday
// uncontended call costs one compare-exchange to take it and one exchange to
// give it back; a waiting thread sleeps in the atomic's wait, and only a
// release that saw waiters wakes one. Only the owning thread ever reads its
// own id from sOwner, so the relaxed accesses suffice; the lock word orders
// everything else. All three objects are constant-initialised.
static std::atomic<int32_t> sLockWord{0};
static std::atomic<pthread_t> sOwner{};
static int32_t sDepth = 0;  // read and written by the owner only

void tq_PlatformLockInit() {}
// The lock held by another thread (c the word seen, 1 or 2): marks it as
// waited for and sleeps until it is free. Out of line, so that the everyday
// uncontended call saves no registers.
[[gnu::noinline, gnu::cold]] static void waitForLock(int32_t c) {
    if (c != 2) c = sLockWord.exchange(2, std::memory_order_acquire);
    while (c != 0) {
        sLockWord.wait(2, std::memory_order_relaxed);
        c = sLockWord.exchange(2, std::memory_order_acquire);
    }
}
void tq_PlatformLock() {
    const pthread_t me = pthread_self();
    if (pthread_equal(sOwner.load(std::memory_order_relaxed), me)) {
        ++sDepth;
        return;
    }
    int32_t c = 0;
    if (!sLockWord.compare_exchange_strong(c, 1, std::memory_order_acquire)) waitForLock(c);
    sOwner.store(me, std::memory_order_relaxed);
    sDepth = 1;
}
void tq_PlatformUnlock() {
    if (--sDepth > 0) return;
    sOwner.store(pthread_t{}, std::memory_order_relaxed);
    if (sLockWord.exchange(0, std::memory_order_release) == 2) sLockWord.notify_one();
}
void tq_SleepMs(int32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::string tq_GetEnv(const char *name) {
    const char *v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

// On Linux the banner goes to standard error, and only when TARQ_CONSOLE=1:
// a library that prints on load would corrupt its host's output.
void tq_ConsoleWriteLine(const std::string &line) {
    if (line == "$CON:CLOSE") return;
    if (tq_GetEnv("TARQ_CONSOLE") != "1") return;
    std::string text = line.substr(0, 255) + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
}

std::string tq_TempPath() {
    std::string t = tq_GetEnv("TMPDIR");
    if (t.empty()) t = "/tmp";
    return t;
}

std::string tq_CurrentDir() {
    char buf[4096];
    if (!getcwd(buf, sizeof buf)) return std::string();
    return std::string(buf);
}

bool tq_PathExists(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}
bool tq_MakeDir(const std::string &path) { return mkdir(path.c_str(), 0700) == 0; }
char tq_DirSep() { return '/'; }

void tq_Yield() { sched_yield(); }

static void *threadEntry(void *p) {
    TqThreadStart start = *static_cast<TqThreadStart *>(p);
    delete static_cast<TqThreadStart *>(p);
    tq_CancelNotOnThisThread();
    start.Fn(start.Arg);
    return nullptr;
}

void *tq_ThreadStart(tq_ThreadFn fn, void *arg, uint32_t stackBytes) {
    auto *start = new (std::nothrow) TqThreadStart{fn, arg};
    auto *thread = new (std::nothrow) pthread_t;
    pthread_attr_t attr;
    bool ok = start && thread && pthread_attr_init(&attr) == 0;
    if (ok) {
        size_t stack = stackBytes;
        if (stack < static_cast<size_t>(PTHREAD_STACK_MIN)) stack = PTHREAD_STACK_MIN;
        ok = pthread_attr_setstacksize(&attr, stack) == 0 && pthread_create(thread, &attr, threadEntry, start) == 0;
        pthread_attr_destroy(&attr);
    }
    if (!ok) {
        delete start;
        delete thread;
        return nullptr;
    }
    return thread;
}

bool tq_ThreadJoinAll(void **handles, int32_t n) {
    bool ok = true;
    for (int32_t i = 0; i < n; ++i) {
        auto *thread = static_cast<pthread_t *>(handles[i]);
        if (pthread_join(*thread, nullptr) != 0) ok = false;
        delete thread;
    }
    return ok;
}
#endif

#if defined(_WIN32)
#include <io.h>
static bool stdinIsTerminal() { return _isatty(_fileno(stdin)) != 0; }
#else
#include <unistd.h>
static bool stdinIsTerminal() { return isatty(0) != 0; }
#endif

std::string tq_AskText(const std::string &prompt, const std::string &defaultText, const char *envName) {
    if (!stdinIsTerminal()) {
        std::string v = tq_GetEnv(envName);
        return v.empty() ? defaultText : v;
    }
    std::fprintf(stderr, "%s [%s] ", prompt.c_str(), defaultText.c_str());
    std::fflush(stderr);
    char buf[256];
    if (!std::fgets(buf, sizeof buf, stdin)) return defaultText;
    std::string line(buf);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return line.empty() ? defaultText : line;
}
