// Operating-system services for Windows (Win32 API) and POSIX.
#include "platform.h"

#include <cstdio>
#include <cstdlib>

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

void tq_ConsoleWriteLine(const std::string &line) {
    if (line == "$CON:CLOSE") {
        if (sConsole) FreeConsole();
        sConsole = nullptr;
        return;
    }
    if (!sConsole) {
        AllocConsole();
        SetConsoleTitleA("TARQ");
        sConsole = GetStdHandle(STD_OUTPUT_HANDLE);
        if (!sConsole || sConsole == INVALID_HANDLE_VALUE) return;
    }
    std::string text = line.substr(0, 255) + "\r\n";
    DWORD written = 0;
    WriteFile(sConsole, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
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

#else
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

static std::recursive_mutex &lockObject() {
    static std::recursive_mutex m;
    return m;
}

void tq_PlatformLockInit() { lockObject(); }
void tq_PlatformLock() { lockObject().lock(); }
void tq_PlatformUnlock() { lockObject().unlock(); }
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
bool tq_MakeDir(const std::string &path) { return mkdir(path.c_str(), 0777) == 0; }
char tq_DirSep() { return '/'; }
#endif
