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
#define TQ(field) GET(field, "TQ_" #field)

int host_LoadApi(HMODULE dll) {
    sMissing = 0;
    TQ(DS_NEW); TQ(DS_FREE); TQ(DS_LEN);
    TQ(ALLOCVAR); TQ(UNALLOCVAR); TQ(COPYVAR); TQ(ABS); TQ(REVSIGN); TQ(GETGLOBALERROR);
    TQ(SETPRECISION); TQ(GETPRECISION); TQ(SETOPTION); TQ(GETOPTION); TQ(GETPOW10);
    TQ(PUT_STRING); TQ(GET_STRING); TQ(GETSTRINGLENGTH); TQ(GETSTRING_DS); TQ(GETSTRING_PDS);
    TQ(GETSTRING_PAZ); TQ(GETSTRING_2ADD);
    TQ(PUTSTRING_DS); TQ(PUTSTRING_VB); TQ(PUTSTRING_PDS); TQ(PUTSTRING_AZ); TQ(PUTSTRING_PAZ);
    TQ(PUTSTRING_FROMADD); TQ(PUTEXT); TQ(PUTDOUBLE); TQ(PUTLONG); TQ(PUTDWORD);
    TQ(GETANY_EXT); TQ(GETANY_DOUBLE); TQ(GETANY_LONG); TQ(GETANY_DWORD); TQ(GETANY_DS);
    TQ(GETANY_S2ADD);
    TQ(COMPARE); TQ(IS_EQ); TQ(IS_NE); TQ(IS_L); TQ(IS_LE); TQ(IS_G); TQ(IS_GE); TQ(ISZERO);
    TQ(ISINRANGE); TQ(CONVERTDT); TQ(CONVERTUNITS);
    TQ(ADD); TQ(SUB); TQ(MUL); TQ(DIV); TQ(GCD); TQ(LCM); TQ(POW); TQ(MOD); TQ(MODINV);
    TQ(INCR); TQ(DECR); TQ(MULBY2); TQ(DIVBY2); TQ(FIX); TQ(FRAC); TQ(SQR); TQ(RECIPROCAL);
    TQ(SQRT); TQ(EXP); TQ(EXP2); TQ(EXP10); TQ(LOG); TQ(LOG2); TQ(LOG10);
    TQ(SIN); TQ(COS); TQ(TAN); TQ(ATAN); TQ(ASIN);
    TQ(DIVINT); TQ(POWMOD); TQ(ROOT); TQ(EXTEUCLIDALGO); TQ(GETCONST);
    GET(SHA256_BUFFER, "SHA256_BUFFER"); GET(SHA256_FILE, "SHA256_FILE");
    TQ(TEST);
    TQ(TEST2);
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

int32_t host_Err(void) { return T.GETGLOBALERROR(); }

BSTR host_Bstr(const char *s) { return SysAllocStringByteLen(s, (UINT)strlen(s)); }

const char *host_BstrText(BSTR s, char *buf, size_t cap) {
    size_t n = s ? SysStringByteLen(s) : 0;
    if (n >= cap) n = cap - 1;
    if (n) memcpy(buf, s, n);
    buf[n] = '\0';
    return buf;
}
