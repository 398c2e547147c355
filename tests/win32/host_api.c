// Finds the exports of tarq.dll by name and fills the pointer table; the
// check counters and small helpers shared by the test groups.
#include <stdio.h>
#include <string.h>

#include "host.h"

HostApi T;
HMODULE gDll;
int gPass, gFail;

static int sMissing;

static void *resolve(HMODULE dll, const char *name) {
    void *p = (void *)GetProcAddress(dll, name);
    if (!p) {
        printf("FAIL  export %s not found\n", name);
        ++sMissing;
    }
    return p;
}

// FARPROC to a typed pointer, through the generic function pointer type
// (which the compiler accepts without a cast-function-type warning), copied
// as bytes (no type-punned store).
#define GET(field, name)                                          \
    do {                                                          \
        void (*fn_)(void) = (void (*)(void))resolve(dll, name);   \
        memcpy(&T.field, &fn_, sizeof fn_);                       \
    } while (0)

int host_LoadApi(HMODULE dll) {
    sMissing = 0;
#define X(name, bytes) GET(name, #name);
    TARQ_EXPORTS
#undef X
    return sMissing;
}

void host_Group(const char *name) { printf("-- %s\n", name); }

void host_Check(int ok, const char *file, int line, const char *what) {
    if (ok) {
        ++gPass;
        return;
    }
    ++gFail;
    printf("FAIL  %s:%d: %s\n", file, line, what);
}

void host_CheckEqI(int64_t got, int64_t want, const char *file, int line, const char *what) {
    if (got == want) {
        ++gPass;
        return;
    }
    ++gFail;
    printf("FAIL  %s:%d: %s is %lld, expected %lld\n", file, line, what, (long long)got, (long long)want);
}

void host_CheckEqS(const char *got, const char *want, const char *file, int line, const char *what) {
    if (got && strcmp(got, want) == 0) {
        ++gPass;
        return;
    }
    ++gFail;
    printf("FAIL  %s:%d: %s is \"%s\", expected \"%s\"\n", file, line, what, got ? got : "(null)", want);
}

int32_t host_Err(void) { return T.TQ_GETGLOBALERROR(); }

BSTR host_Bstr(const char *s) { return SysAllocStringByteLen(s, (UINT)strlen(s)); }

const char *host_BstrText(BSTR s, char *buf, size_t cap) {
    size_t n = s ? SysStringByteLen(s) : 0;
    if (n >= cap) n = cap - 1;
    if (n) memcpy(buf, s, n);
    buf[n] = '\0';
    return buf;
}
