// The host test's view of tarq.dll: the exports as a BASIC host declares
// them (__stdcall pointers of the documented shapes, found by name at run
// time), a BSTR-based string type, and the check counters.
#pragma once
#include <stdint.h>
#include <windows.h>
#include <oleauto.h>

typedef struct { char text[100]; } HostAz100;
// The extended float of TQ_PUTEXT / TQ_GETANY_EXT: a double in the 64-bit DLL.
#if defined(_WIN64)
typedef double HostExt;
#else
typedef long double HostExt;
#endif

// Function pointer shapes, named after result and arguments.
#define STD __stdcall
typedef int32_t(STD *Fn_I)(void);
typedef int32_t(STD *Fn_I_I)(int32_t);
typedef int32_t(STD *Fn_I_II)(int32_t, int32_t);
typedef int32_t(STD *Fn_I_III)(int32_t, int32_t, int32_t);
typedef int32_t(STD *Fn_I_IIII)(int32_t, int32_t, int32_t, int32_t);
typedef int32_t(STD *Fn_I_IIIII)(int32_t, int32_t, int32_t, int32_t, int32_t);
typedef BSTR(STD *Fn_DS_PI)(const char *, int32_t);
typedef void(STD *Fn_V_DS)(BSTR);
typedef int32_t(STD *Fn_I_DS)(BSTR);
typedef int32_t(STD *Fn_I_DSI)(BSTR, int32_t);
typedef int32_t(STD *Fn_I_PDSI)(BSTR *, int32_t);
typedef int32_t(STD *Fn_I_IIIPDS)(int32_t, int32_t, int32_t, BSTR *);
typedef int32_t(STD *Fn_I_AZI)(HostAz100, int32_t);
typedef int32_t(STD *Fn_I_PI)(const char *, int32_t);
typedef int32_t(STD *Fn_I_PII)(const void *, int32_t, int32_t);
typedef int32_t(STD *Fn_I_IP)(int32_t, void *);
typedef int32_t(STD *Fn_I_LDI)(HostExt, int32_t);
typedef int32_t(STD *Fn_I_DI)(double, int32_t);
typedef int32_t(STD *Fn_I_UI)(uint32_t, int32_t);
typedef HostExt(STD *Fn_LD_I)(int32_t);
typedef double(STD *Fn_D_I)(int32_t);
typedef uint32_t(STD *Fn_U_I)(int32_t);
typedef BSTR(STD *Fn_DS_I)(int32_t);
typedef BSTR *(STD *Fn_PDS_I)(int32_t);
typedef const char *(STD *Fn_PC_I)(int32_t);
typedef int32_t(STD *Fn_I_PIP)(const void *, int32_t, void *);
typedef int32_t(STD *Fn_I_PDSPDS)(BSTR *, BSTR *);
typedef int32_t(STD *Fn_I_IPDSI)(int32_t, BSTR *, int32_t);

typedef struct {
    Fn_DS_PI DS_NEW;
    Fn_V_DS DS_FREE;
    Fn_I_DS DS_LEN;
    Fn_I_I ALLOCVAR, UNALLOCVAR;
    Fn_I_II COPYVAR, ABS, REVSIGN;
    Fn_I GETGLOBALERROR;
    Fn_I_II SETPRECISION;
    Fn_I_I GETPRECISION;
    Fn_I_II SETOPTION;
    Fn_I_I GETOPTION;
    Fn_I_II GETPOW10;
    Fn_I_DSI PUT_STRING;
    Fn_I_IIIPDS GET_STRING;
    Fn_I_I GETSTRINGLENGTH;
    Fn_DS_I GETSTRING_DS;
    Fn_PDS_I GETSTRING_PDS;
    Fn_PC_I GETSTRING_PAZ;
    Fn_I_IP GETSTRING_2ADD;
    Fn_I_DSI PUTSTRING_DS;
    Fn_I_PDSI PUTSTRING_VB, PUTSTRING_PDS;
    Fn_I_AZI PUTSTRING_AZ;
    Fn_I_PI PUTSTRING_PAZ;
    Fn_I_PII PUTSTRING_FROMADD;
    Fn_I_LDI PUTEXT;
    Fn_I_DI PUTDOUBLE;
    Fn_I_II PUTLONG;
    Fn_I_UI PUTDWORD;
    Fn_LD_I GETANY_EXT;
    Fn_D_I GETANY_DOUBLE;
    Fn_I_I GETANY_LONG;
    Fn_U_I GETANY_DWORD;
    Fn_DS_I GETANY_DS;
    Fn_I_IP GETANY_S2ADD;
    Fn_I_II COMPARE, IS_EQ, IS_NE, IS_L, IS_LE, IS_G, IS_GE;
    Fn_I_I ISZERO;
    Fn_I_II ISINRANGE, CONVERTDT;
    Fn_I_III CONVERTUNITS;
    Fn_I_III ADD, SUB, MUL, DIV, GCD, LCM, POW, MOD, MODINV;
    Fn_I_II INCR, DECR, MULBY2, DIVBY2, FIX, FRAC, SQR, RECIPROCAL, SQRT;
    Fn_I_II EXP, EXP2, EXP10, LOG, LOG2, LOG10, SIN, COS, TAN, ATAN, ASIN;
    Fn_I_IIII DIVINT, POWMOD;
    Fn_I_IIIII ROOT, EXTEUCLIDALGO;
    Fn_I_II GETCONST;
    Fn_I_PIP SHA256_BUFFER;
    Fn_I_PDSPDS SHA256_FILE;
    Fn_I_I TEST;
    Fn_I_IPDSI TEST2;  // the interactive benchmark
} HostApi;

extern HostApi T;
extern HMODULE gDll;

// Resolves every export of T; returns the number of names not found.
int host_LoadApi(HMODULE dll);

// Checks: each counts as one pass or one failure; failures print where.
extern int gPass, gFail;
void host_Check(int ok, const char *file, int line, const char *what);
void host_CheckEqI(int64_t got, int64_t want, const char *file, int line, const char *what);
void host_CheckEqS(const char *got, const char *want, const char *file, int line, const char *what);
#define CHECK(c) host_Check((c) != 0, __FILE__, __LINE__, #c)
#define CHECK_EQ(got, want) host_CheckEqI((int64_t)(got), (int64_t)(want), __FILE__, __LINE__, #got)
#define CHECK_STR(got, want) host_CheckEqS((got), (want), __FILE__, __LINE__, #got)
void host_Group(const char *name);

// Reads and clears the library's error word.
int32_t host_Err(void);
// A new BSTR holding the bytes of a C string (made by the system, not the library).
BSTR host_Bstr(const char *s);
// The bytes of a BSTR as a C string in buf (truncated to cap - 1).
const char *host_BstrText(BSTR s, char *buf, size_t cap);

// 32-bit DLL only: calls fn with the given argument words pushed right to left and reports
// how the call left the stack: residue is the stack pointer after the call
// minus the one before the pushes (0 when the callee removed exactly its
// arguments), x87Pushed the number of x87 registers it left loaded (1 for a
// floating-point result, whose value is returned in st0).
typedef struct {
    uint32_t eax;
    int32_t residue;
    uint32_t swBefore, swAfter;
    long double st0;
} HostProbe;
void host_ProbeCall(void *fn, const uint32_t *args, int32_t nwords, HostProbe *out);
int host_X87Pushed(const HostProbe *p);

// Values as text: puts text into h, gives
// its text in the format (buf holds "<status N>" on failure), a new variable
// of the kind holding the text (null text: zero).
int32_t host_Put(int32_t h, const char *text);
const char *host_Get(int32_t h, int32_t format, int32_t digits, char *buf, size_t cap);
int32_t host_NewVar(int32_t kind, const char *text);

// Test groups.
void host_TestStrings(void);
void host_TestVariables(void);
void host_TestConstants(void);
void host_TestExportTable(void);
void host_TestThreads(void);
void host_TestHash(void);
void host_TestText(void);
void host_TestNative(void);
void host_TestArith(void);
void host_TestBenchmark(void);
