// Text through the DLL: every shape of text argument a host can pass
// (BSTR by value and by reference, pointer to a BSTR, a 100-byte block on
// the argument stack, a zero-terminated pointer, address and length) and the
// readers of text variables. The texts values are formatted to are lines of
// the transcript (transcript.c).
#include <stdio.h>
#include <string.h>

#include "host.h"

int32_t host_Put(int32_t h, const char *text) {
    BSTR s = host_Bstr(text);
    int32_t st = T.PUT_STRING(s, h);
    SysFreeString(s);
    return st;
}

const char *host_Get(int32_t h, int32_t format, int32_t digits, char *buf, size_t cap) {
    BSTR s = NULL;
    int32_t st = T.GET_STRING(h, format, digits, &s);
    if (st != 0) snprintf(buf, cap, "<status %d>", st);
    else host_BstrText(s, buf, cap);
    SysFreeString(s);
    return buf;
}

int32_t host_NewVar(int32_t kind, const char *text) {
    int32_t h = T.ALLOCVAR(kind);
    if (text && host_Put(h, text) != 0) printf("FAIL  could not put \"%s\" into kind %d\n", text, kind);
    return h;
}

// The value of h in one fixed layout, for comparing the put exports.
static const char *sci(int32_t h, char *buf) { return host_Get(h, 2 + 8, 0, buf, 256); }

static void testPutShapes(void) {
    char b[256];
    const char *text = "-12345.678";
    int32_t ref = host_NewVar(1, text);
    char want[256];
    sci(ref, want);
    CHECK_STR(want, "-1.2345678*d+4");
    int32_t h = T.ALLOCVAR(1);

    BSTR s = host_Bstr(text);
    CHECK_EQ(T.PUTSTRING_DS(s, h), 0);
    CHECK_STR(sci(h, b), want);
    T.GETCONST(11, h);
    CHECK_EQ(T.PUTSTRING_VB(&s, h), 0);
    CHECK_STR(sci(h, b), want);
    T.GETCONST(11, h);
    CHECK_EQ(T.PUTSTRING_PDS(&s, h), 0);
    CHECK_STR(sci(h, b), want);
    SysFreeString(s);

    HostAz100 az;
    memset(&az, 'x', sizeof az);  // bytes after the terminator must not be read
    strcpy(az.text, text);
    T.GETCONST(11, h);
    CHECK_EQ(T.PUTSTRING_AZ(az, h), 0);
    CHECK_STR(sci(h, b), want);
#if !defined(_WIN64)
    // The same call through the probe: 25 words of text and the handle.
    HostProbe p;
    uint32_t args[26];
    memcpy(args, &az, sizeof az);
    args[25] = (uint32_t)h;
    T.GETCONST(11, h);
    memset(&p, 0, sizeof p);
    host_ProbeCall((void *)T.PUTSTRING_AZ, args, 26, &p);
    CHECK_EQ(p.residue, 0);
    CHECK_EQ(p.eax, 0);
    CHECK_STR(sci(h, b), want);
#endif

    T.GETCONST(11, h);
    CHECK_EQ(T.PUTSTRING_PAZ(text, h), 0);
    CHECK_STR(sci(h, b), want);
    // Address and length: exactly len bytes; a negative length looks for
    // the terminator within -len bytes.
    T.GETCONST(11, h);
    CHECK_EQ(T.PUTSTRING_FROMADD("-12345.6789999", 10, h), 0);
    CHECK_STR(sci(h, b), want);
    T.GETCONST(11, h);
    CHECK_EQ(T.PUTSTRING_FROMADD(text, -100, h), 0);
    CHECK_STR(sci(h, b), want);
    // The empty text: refused for a number, stored by a text variable.
    host_Err();
    CHECK_EQ(T.PUTSTRING_FROMADD(text, 0, h), 1);
    CHECK_EQ(host_Err(), 1);
    CHECK_STR(sci(h, b), want);
    int32_t bi = T.ALLOCVAR(3);
    s = host_Bstr("");
    CHECK_EQ(T.PUTSTRING_DS(s, bi), 1);
    CHECK_EQ(host_Err(), 1);
    CHECK_EQ(T.PUT_STRING(s, bi), 0);
    CHECK_STR(host_Get(bi, 8, 0, b, sizeof b), " 0");
    SysFreeString(s);
    T.UNALLOCVAR(bi);
    T.UNALLOCVAR(h);
    T.UNALLOCVAR(ref);
}

static void testTextVariables(void) {
    char b[256];
    int32_t t = T.ALLOCVAR(5);
    const char *text = "Hello, 32-bit world";
    CHECK_EQ(T.PUTSTRING_PAZ(text, t), 0);
    CHECK_EQ(T.GETSTRINGLENGTH(t), (int32_t)strlen(text));
    BSTR s = T.GETSTRING_DS(t);
    CHECK_STR(host_BstrText(s, b, sizeof b), text);
    SysFreeString(s);
    BSTR *ps = T.GETSTRING_PDS(t);
    CHECK(ps != NULL);
    if (ps) CHECK_STR(host_BstrText(*ps, b, sizeof b), text);
    const char *pz = T.GETSTRING_PAZ(t);
    CHECK(pz != NULL);
    if (pz) CHECK_STR(pz, text);
    memset(b, '#', sizeof b);
    CHECK_EQ(T.GETSTRING_2ADD(t, b), 0);
    CHECK(memcmp(b, text, strlen(text)) == 0 && b[strlen(text)] == '#');
    CHECK_STR(host_Get(t, 8, 0, b, sizeof b), text);
    // The empty text is a text.
    CHECK_EQ(T.PUTSTRING_FROMADD(text, 0, t), 0);
    CHECK_EQ(T.GETSTRINGLENGTH(t), 0);
    // A number is not a text: 2 and empty results.
    int32_t d = host_NewVar(1, "5");
    host_Err();
    CHECK_EQ(T.GETSTRINGLENGTH(d), 0);
    s = T.GETSTRING_DS(d);
    CHECK_EQ(T.DS_LEN(s), 0);
    T.DS_FREE(s);
    CHECK(T.GETSTRING_PDS(d) == NULL);
    CHECK(T.GETSTRING_PAZ(d) == NULL);
    CHECK_EQ(T.GETSTRING_2ADD(d, b), 2);
    CHECK_EQ(host_Err(), 2);
    T.UNALLOCVAR(d);
    T.UNALLOCVAR(t);
}

// TQ_GETPOW10 makes its output a binary float holding 10^n (zero for n < 0).
static void testPow10(void) {
    char b[256], want[64];
    int32_t h = T.ALLOCVAR(1), bin = T.ALLOCVAR(2);
    static const int32_t ns[] = {0, 1, 12, 27, 64, 100, 1000};
    for (size_t i = 0; i < sizeof ns / sizeof ns[0]; ++i) {
        CHECK_EQ(T.GETPOW10(ns[i], h), 0);
        snprintf(want, sizeof want, " 1.0*d+%d", (int)ns[i]);
        CHECK_STR(host_Get(h, 2 + 8, 30, b, sizeof b), want);
    }
    CHECK_EQ(T.COPYVAR(h, bin), 0);  // the output's kind is now binary float
    CHECK_EQ(T.GETPOW10(-1, h), 0);
    CHECK_EQ(T.ISZERO(h), 1);
    T.UNALLOCVAR(h);
    T.UNALLOCVAR(bin);
}

void host_TestText(void) {
    host_Group("text in and out");
    testPutShapes();
    testTextVariables();
    testPow10();
    CHECK_EQ(host_Err(), 0);
}
