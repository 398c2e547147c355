// The Windows host test: loads tarq.dll as a BASIC host does, checks the
// banner it writes while loading, runs the test groups and prints
// "N passed, M failed"; the exit status is non-zero when a check failed.
//
// The program has a console, so loading the library must leave its standard
// output untouched. Run with "--detached", the program first gives up its
// console, so that the library opens a console of its own while loading and
// writes the banner there (the situation of a GUI host such as an office
// application); the parent runs that case in a child process with a time
// limit.
#include <stdio.h>
#include <string.h>

#include "host.h"

static const char *const kBanner[] = {
    "===========================================================",
    "================       T  A  R  Q       ===================",
    "===========================================================",
    " ",
    "Arbitrary precision floating point and integer math library ",
    " ",
    "===========================================================",
};
enum { kBannerLines = sizeof kBanner / sizeof kBanner[0] };

// Loads the library with standard output redirected to a file, so that
// anything written there while loading can be read back.
static HMODULE loadCapturingBanner(char *captured, size_t cap) {
    const char *path = "host_banner.tmp";
    captured[0] = '\0';
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, NULL);
    HANDLE saved = GetStdHandle(STD_OUTPUT_HANDLE);
    if (file != INVALID_HANDLE_VALUE) SetStdHandle(STD_OUTPUT_HANDLE, file);
    HMODULE dll = LoadLibraryA("tarq.dll");
    SetStdHandle(STD_OUTPUT_HANDLE, saved);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD n = 0;
        SetFilePointer(file, 0, NULL, FILE_BEGIN);
        if (ReadFile(file, captured, (DWORD)(cap - 1), &n, NULL)) captured[n] = '\0';
        CloseHandle(file);
    }
    return dll;
}

// The console title, or "" when the platform does not report one (Wine
// without a display has no console window to carry a title).
static void consoleTitle(char *buf, DWORD cap) {
    buf[0] = '\0';
    if (GetConsoleTitleA(buf, cap) == 0) buf[0] = '\0';
}

static void checkTitle(void) {
    char title[256];
    consoleTitle(title, sizeof title);
    if (title[0]) CHECK_STR(title, "TARQ");
    else printf("note: the console title cannot be read here\n");
}

// Reads the first rows of the library's own console. Returns 0 when the
// console's screen cannot be read (headless Wine).
static int readConsoleRows(char rows[kBannerLines][128]) {
    HANDLE con = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                             OPEN_EXISTING, 0, NULL);
    if (con == INVALID_HANDLE_VALUE) return 0;
    int ok = 1;
    for (int r = 0; r < kBannerLines && ok; ++r) {
        COORD at = {0, (SHORT)r};
        DWORD got = 0;
        ok = ReadConsoleOutputCharacterA(con, rows[r], 127, at, &got) != 0;
        rows[r][ok ? got : 0] = '\0';
        for (int k = (int)strlen(rows[r]); k > 0 && rows[r][k - 1] == ' '; --k) rows[r][k - 1] = '\0';
    }
    CloseHandle(con);
    return ok;
}

static int detachedMain(void) {
    FreeConsole();
    HMODULE dll = LoadLibraryA("tarq.dll");
    CHECK(dll != NULL);
    if (!dll) return 1;
    CHECK_EQ(host_LoadApi(dll), 0);
    // The library answers normally after opening its own console.
    CHECK_EQ(T.TQ_SETPRECISION(1, 1000), 1001);
    int32_t h = T.TQ_ALLOCVAR(1);
    CHECK(h >= 0);
    CHECK_EQ(T.TQ_GETCONST(14, h), 0);
    CHECK_EQ(T.TQ_GETGLOBALERROR(), 0);
    char rows[kBannerLines][128];
    if (readConsoleRows(rows)) {
        for (int r = 0; r < kBannerLines; ++r) {
            char want[128];
            strcpy(want, kBanner[r]);
            for (int k = (int)strlen(want); k > 0 && want[k - 1] == ' '; --k) want[k - 1] = '\0';
            CHECK_STR(rows[r], want);
        }
        checkTitle();
    } else {
        printf("note: the library's own console cannot be read here (no display); banner not observed\n");
    }
    printf("detached: %d passed, %d failed\n", gPass, gFail);
    return gFail ? 1 : 0;
}

// Runs this program again with "--detached" and waits at most 60 s.
static void testDetachedChild(void) {
    host_Group("library opening its own console (detached child process)");
    char exe[MAX_PATH], cmd[MAX_PATH + 32];
    GetModuleFileNameA(NULL, exe, sizeof exe);
    snprintf(cmd, sizeof cmd, "\"%s\" --detached", exe);
    fflush(stdout);
    STARTUPINFOA si;
    PROCESS_INFORMATION pi;
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    if (!CreateProcessA(NULL, cmd, NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi)) {
        CHECK(!"the child process could not be started");
        return;
    }
    DWORD waited = WaitForSingleObject(pi.hProcess, 60000);
    CHECK(waited == WAIT_OBJECT_0);
    if (waited != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 99);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    CHECK_EQ(code, 0);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

int main(int argc, char **argv) {
    setvbuf(stdout, NULL, _IONBF, 0);
    if (argc > 1 && strcmp(argv[1], "--detached") == 0) return detachedMain();

    host_Group("loading tarq.dll in a console host: nothing on standard output");
    char captured[4096];
    gDll = loadCapturingBanner(captured, sizeof captured);
    CHECK(gDll != NULL);
    if (!gDll) {
        printf("tarq.dll could not be loaded (error %lu)\n", GetLastError());
        printf("%d passed, %d failed\n", gPass, gFail + 1);
        return 1;
    }
    CHECK_STR(captured, "");
    CHECK_EQ(host_LoadApi(gDll), 0);

    host_TestExportTable();
    host_TestStrings();
    host_TestVariables();
    host_TestRefusals();
    host_TestHash();
    host_TestText();
    host_TestNative();
    host_TestBenchmark();
    host_TestThreads();
    testDetachedChild();

    // The library unloads cleanly while the host keeps running.
    CHECK(FreeLibrary(gDll));
    printf("%d passed, %d failed\n", gPass, gFail);
    return gFail ? 1 : 0;
}
