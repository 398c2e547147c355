// Calls tarq.dll the way VBA does with the Declare statements of
// bindings/vba/Tarq.bas, on the 32-bit and the 64-bit DLL. A VBA String is a
// Unicode BSTR; for a Declare, VBA hands the DLL an ANSI copy (a BSTR of the
// converted bytes) and converts back afterwards:
//   ByVal s As String   the copy by value; copied back after the call
//   ByRef s As String   the address of the copy, which the DLL may free and
//                       replace; VBA converts what is there and frees it
// Made here are the calls whose marshalling differs from the host test's
// (host_*.c): text through these String copies, a String the DLL replaces,
// the 80-bit value as Currency and a sign-exponent word. Prints "N passed,
// M failed".
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <windows.h>
#include <oleauto.h>

#define STD __stdcall
typedef BSTR VbStr;  // a VBA String: Unicode

static int sPass, sFail;
static void check(int ok, const char *what) {
    if (ok) ++sPass;
    else {
        ++sFail;
        printf("FAIL  %s\n", what);
    }
}

// ---- VBA's String marshalling ----
static VbStr vbStr(const char *ascii) {
    if (!ascii) return NULL;  // vbNullString
    int n = (int)strlen(ascii);
    VbStr s = SysAllocStringLen(NULL, (UINT)n);
    for (int i = 0; i < n; ++i) s[i] = (WCHAR)(unsigned char)ascii[i];
    return s;
}
static BSTR toAnsi(VbStr s) {
    if (!s) return NULL;
    UINT n = SysStringLen(s);
    int bytes = n ? WideCharToMultiByte(CP_ACP, 0, s, (int)n, NULL, 0, NULL, NULL) : 0;
    BSTR a = SysAllocStringByteLen(NULL, (UINT)bytes);
    if (bytes) WideCharToMultiByte(CP_ACP, 0, s, (int)n, (char *)a, bytes, NULL, NULL);
    return a;
}
static VbStr fromAnsi(BSTR a) {
    if (!a) return NULL;
    UINT bytes = SysStringByteLen(a);
    int n = bytes ? MultiByteToWideChar(CP_ACP, 0, (const char *)a, (int)bytes, NULL, 0) : 0;
    VbStr s = SysAllocStringLen(NULL, (UINT)n);
    if (n) MultiByteToWideChar(CP_ACP, 0, (const char *)a, (int)bytes, s, n);
    return s;
}
// After a call: the VBA String becomes the conversion of the ANSI copy.
static void copyBack(VbStr *s, BSTR ansi) {
    VbStr back = fromAnsi(ansi);
    SysFreeString(ansi);
    SysFreeString(*s);
    *s = back;
}
// A VBA String as narrow text (ASCII), for comparing.
static const char *narrow(VbStr s, char *buf, size_t cap) {
    size_t n = s ? SysStringLen(s) : 0, i;
    for (i = 0; i < n && i + 1 < cap; ++i) buf[i] = s[i] < 128 ? (char)s[i] : '?';
    buf[i] = '\0';
    return buf;
}

// ---- the Declare shapes of the module ----
typedef int32_t(STD *Fn_L_V)(void);
typedef int32_t(STD *Fn_L_L)(int32_t);
typedef int32_t(STD *Fn_L_LL)(int32_t, int32_t);
typedef int32_t(STD *Fn_L_Str_L)(BSTR, int32_t);          // (ByVal String, ByVal Long)
typedef int32_t(STD *Fn_L_RefStr_L)(BSTR *, int32_t);     // (ByRef String, ByVal Long)
typedef int32_t(STD *Fn_L_LLLRefStr)(int32_t, int32_t, int32_t, BSTR *);
typedef int32_t(STD *Fn_L_Ptr_L_Ptr)(intptr_t, int32_t, intptr_t);
typedef int32_t(STD *Fn_L_RefStr_RefStr)(BSTR *, BSTR *);
typedef double(STD *Fn_D_L)(int32_t);
typedef int32_t(STD *Fn_L_D_L)(double, int32_t);
#if !defined(_WIN64)
typedef int32_t(STD *Fn_PutExt)(int64_t, int32_t, int32_t);  // Currency bits, sign-exponent, hOut
#endif

static HMODULE sDll;
static void *fn(const char *name) {
    void *p = (void *)GetProcAddress(sDll, name);
    if (!p) printf("FAIL  export %s not found\n", name), ++sFail;
    return p;
}
#define F(type, name) ((type)fn(name))

// GET_STRING into a VBA String that held `before` (NULL: vbNullString).
static int32_t getString(int32_t h, int32_t fmt, int32_t digits, const char *before, char *out, size_t cap) {
    VbStr s = vbStr(before);
    BSTR a = toAnsi(s);
    int32_t st = F(Fn_L_LLLRefStr, "TQ_GET_STRING")(h, fmt, digits, &a);
    copyBack(&s, a);
    narrow(s, out, cap);
    SysFreeString(s);
    return st;
}
// Text in through a ByVal String export.
static int32_t putByVal(const char *name, const char *text, int32_t h) {
    VbStr s = vbStr(text);
    BSTR a = toAnsi(s);
    int32_t st = F(Fn_L_Str_L, name)(a, h);
    copyBack(&s, a);
    SysFreeString(s);
    return st;
}
// Text in through a ByRef String export.
static int32_t putByRef(const char *name, const char *text, int32_t h) {
    VbStr s = vbStr(text);
    BSTR a = toAnsi(s);
    int32_t st = F(Fn_L_RefStr_L, name)(&a, h);
    copyBack(&s, a);
    SysFreeString(s);
    return st;
}
static const char *text(int32_t h, char *buf, size_t cap) {
    if (getString(h, 2 + 8, 0, NULL, buf, cap) != 0) snprintf(buf, cap, "<failed>");
    return buf;
}

static const char kSqrt2[] =
    "1.414213562373095048801688724209698078569671875376948073176679737990732478462107038850387534327641573";

// The worked example of the module (TarqSqrt "2", 100).
static void workedExample(void) {
    char b[512], what[600];
    Fn_L_LL setPrecision = F(Fn_L_LL, "TQ_SETPRECISION");
    int32_t savedBits = F(Fn_L_L, "TQ_GETPRECISION")(2);
    check(setPrecision(1, 110) >= 110, "TQ_SETPRECISION 1, 110");
    int32_t h = F(Fn_L_L, "TQ_ALLOCVAR")(2);
    check(putByVal("TQ_PUT_STRING", "2", h) == 0, "TQ_PUT_STRING(ByVal \"2\")");
    check(F(Fn_L_LL, "TQ_SQRT")(h, h) == 0, "TQ_SQRT");
    // Into an empty String (vbNullString) and into one holding text, which
    // the DLL frees and replaces.
    check(getString(h, 1 + 8, 100, NULL, b, sizeof b) == 0 && strcmp(b + 1, kSqrt2) == 0 && b[0] == ' ',
          "TarqSqrt(\"2\", 100) into vbNullString");
    snprintf(what, sizeof what, "TQ_GET_STRING into a String holding text: %s", b);
    check(getString(h, 1 + 8, 100, "old text", b, sizeof b) == 0 && strcmp(b + 1, kSqrt2) == 0, what);
    F(Fn_L_L, "TQ_UNALLOCVAR")(h);
    setPrecision(2, savedBits);
}

// Text in through the String arguments of the module, ByVal and ByRef (the
// other shapes reach the DLL as they do from the host test, host_text.c).
static void textsIn(void) {
    char b[256], what[320];
    int32_t h = F(Fn_L_L, "TQ_ALLOCVAR")(1);
    static const struct {
        const char *name;
        int byRef;
    } kIn[] = {{"TQ_PUT_STRING", 0}, {"TQ_PUTSTRING_DS", 0}, {"TQ_PUTSTRING_PAZ", 0},
               {"TQ_PUTSTRING_VB", 1}, {"TQ_PUTSTRING_PDS", 1}};
    for (size_t i = 0; i < sizeof kIn / sizeof kIn[0]; ++i) {
        int32_t st = kIn[i].byRef ? putByRef(kIn[i].name, "-12345.6789", h) : putByVal(kIn[i].name, "-12345.6789", h);
        snprintf(what, sizeof what, "%s(%s \"-12345.6789\"): status %d, %s", kIn[i].name, kIn[i].byRef ? "ByRef" : "ByVal",
                 (int)st, text(h, b, sizeof b));
        check(st == 0 && strcmp(b, "-1.23456789*d+4") == 0, what);
    }
    F(Fn_L_L, "TQ_UNALLOCVAR")(h);
}

// Doubles and the extended export as the module declares it.
static void natives(void) {
    char b[256], what[320];
    int32_t d = F(Fn_L_L, "TQ_ALLOCVAR")(1);
    check(F(Fn_L_D_L, "TQ_PUTDOUBLE")(-2.5, d) == 0 && F(Fn_D_L, "TQ_GETANY_DOUBLE")(d) == -2.5,
          "TQ_PUTDOUBLE / TQ_GETANY_DOUBLE");
#if defined(_WIN64)
    int32_t st = F(Fn_L_D_L, "TQ_PUTEXT")(0.375, d);
#else
    // 0.375 as 80 bits: significand 0xC000000000000000, exponent 0x3FFD.
    int32_t st = F(Fn_PutExt, "TQ_PUTEXT")((int64_t)0xC000000000000000ull, 0x3FFD, d);
#endif
    snprintf(what, sizeof what, "TQ_PUTEXT(0.375): status %d, %s", (int)st, text(d, b, sizeof b));
    check(st == 0 && strcmp(b, " 3.75*d-1") == 0, what);
    check(F(Fn_D_L, "TQ_GETANY_EXT")(d) == 0.375, "TQ_GETANY_EXT As Double");
    F(Fn_L_L, "TQ_UNALLOCVAR")(d);
}

// SHA256_FILE(ByRef fileName, ByRef digest): the digest's 32 bytes reach VBA
// through the code page; StrConv(digest, vbFromUnicode) gives them back
// where that code page has one byte per character.
static void hashes(void) {
    static const char kData[] = "TARQ from VBA";
    FILE *f = fopen("vba_host.tmp", "wb");
    fwrite(kData, 1, sizeof kData - 1, f);
    fclose(f);
    unsigned char want[32];
    check(F(Fn_L_Ptr_L_Ptr, "SHA256_BUFFER")((intptr_t)kData, (int32_t)(sizeof kData - 1), (intptr_t)want) == 0,
          "SHA256_BUFFER(VarPtr, n, VarPtr)");
    VbStr name = vbStr("vba_host.tmp"), digest = NULL;
    BSTR an = toAnsi(name), ad = toAnsi(digest);
    int32_t st = F(Fn_L_RefStr_RefStr, "SHA256_FILE")(&an, &ad);
    copyBack(&name, an);
    copyBack(&digest, ad);
    remove("vba_host.tmp");
    CPINFO cp;
    if (GetCPInfo(CP_ACP, &cp) && cp.MaxCharSize == 1) {
        unsigned char got[32] = {0};
        int n = digest ? WideCharToMultiByte(CP_ACP, 0, digest, (int)SysStringLen(digest), (char *)got, 32, NULL, NULL) : 0;
        check(st == 0 && n == 32 && memcmp(got, want, 32) == 0, "SHA256_FILE(ByRef String, ByRef String)");
    } else {
        check(st == 0 && digest != NULL, "SHA256_FILE(ByRef String, ByRef String)");
        printf("note: the ANSI code page has several bytes per character; digest bytes not compared\n");
    }
    SysFreeString(name);
    SysFreeString(digest);
}

int main(int argc, char **argv) {
    setvbuf(stdout, NULL, _IONBF, 0);
    // The banner the library writes while loading goes to the null device.
    HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    HANDLE saved = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, nul);
    sDll = LoadLibraryA(argc > 1 ? argv[1] : "tarq.dll");
    SetStdHandle(STD_OUTPUT_HANDLE, saved);
    CloseHandle(nul);
    if (!sDll) {
        printf("tarq.dll could not be loaded\n0 passed, 1 failed\n");
        return 1;
    }
    workedExample();
    textsIn();
    natives();
    hashes();
    check(F(Fn_L_V, "TQ_GETGLOBALERROR")() == 0, "no error left in the error word");
    printf("VBA-style calls: %d passed, %d failed\n", sPass, sFail);
    return sFail ? 1 : 0;
}
