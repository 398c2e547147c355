// The host test's view of tarq.dll: a pointer to every export, found by name
// at run time as a BASIC host finds it, typed by the prototypes of tarq.h
// (which check_vba_module.py holds to the export table); the check counters.
#pragma once
#include <stdint.h>

#include "exports.h"
#include "tarq.h"

typedef struct {
#define X(name, bytes) __typeof__(&name) name;
    TARQ_EXPORTS
#undef X
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
// The probe of fn with the words of args, or with the nwords words that follow.
HostProbe host_ProbeArgs(void *fn, const uint32_t *args, int32_t nwords);
HostProbe host_Probe(void *fn, int32_t nwords, ...);
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
void host_TestRefusals(void);
void host_TestExportTable(void);
void host_TestThreads(void);
void host_TestHash(void);
void host_TestText(void);
void host_TestNative(void);
void host_TestBenchmark(void);
