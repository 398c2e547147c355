// Text through the DLL: every shape of text argument a host can pass
// (BSTR by value and by reference, pointer to a BSTR, a 100-byte block on
// the argument stack, a zero-terminated pointer, address and length) and the
// readers of text variables. The texts values are formatted to, and the
// rules of empty texts, are lines of the transcript (transcript.c) and of the
// Linux tests.
#include <stdio.h>
#include <string.h>

#include "host.h"

int32_t host_Put(int32_t h, const char *text) {
    BSTR s = host_Bstr(text);
    int32_t st = T.TQ_PUT_STRING(s, h);
    SysFreeString(s);
    return st;
}

const char *host_Get(int32_t h, int32_t format, int32_t digits, char *buf, size_t cap) {
    BSTR s = NULL;
    int32_t st = T.TQ_GET_STRING(h, format, digits, &s);
    if (st != 0) snprintf(buf, cap, "<status %d>", st);
    else host_BstrText(s, buf, cap);
    SysFreeString(s);
    return buf;
}

int32_t host_NewVar(int32_t kind, const char *text) {
    int32_t h = T.TQ_ALLOCVAR(kind);
    if (text && host_Put(h, text) != 0) printf("FAIL  could not put \"%s\" into kind %d\n", text, kind);
    return h;
}

// A put export's status and the value it left in h (then cleared).
static void expectPut(int32_t st, int32_t h, const char *what) {
    char b[256];
    if (st != 0 || strcmp(host_Get(h, 2 + 8, 0, b, sizeof b), "-1.2345678*d+4") != 0)
        printf("FAIL  %s: status %d, %s\n", what, (int)st, b);
    CHECK(st == 0 && strcmp(b, "-1.2345678*d+4") == 0);
    T.TQ_GETCONST(11, h);
}

// Every shape of text in, the text variables' readers out (the values are
// those of the Linux library: the texts themselves matter here).
static void testPutShapes(void) {
    const char *text = "-12345.678";
    int32_t h = T.TQ_ALLOCVAR(1);
    BSTR s = host_Bstr(text);
    expectPut(T.TQ_PUT_STRING(s, h), h, "PUT_STRING");
    expectPut(T.TQ_PUTSTRING_DS(s, h), h, "PUTSTRING_DS");
    expectPut(T.TQ_PUTSTRING_VB(&s, h), h, "PUTSTRING_VB");
    expectPut(T.TQ_PUTSTRING_PDS(&s, h), h, "PUTSTRING_PDS");
    SysFreeString(s);
    tq_az100 az;
    memset(&az, 'x', sizeof az);  // bytes after the terminator must not be read
    strcpy(az.text, text);
    expectPut(T.TQ_PUTSTRING_AZ(az, h), h, "PUTSTRING_AZ");
#if !defined(_WIN64)
    // The same call through the probe: 25 words of text and the handle.
    uint32_t args[26];
    memcpy(args, &az, sizeof az);
    args[25] = (uint32_t)h;
    HostProbe p = host_ProbeArgs((void *)T.TQ_PUTSTRING_AZ, args, 26);
    CHECK_EQ(p.residue, 0);
    expectPut((int32_t)p.eax, h, "PUTSTRING_AZ through the probe");
#endif
    expectPut(T.TQ_PUTSTRING_PAZ(text, h), h, "PUTSTRING_PAZ");
    // Address and length: exactly len bytes; a negative length looks for
    // the terminator within -len bytes.
    expectPut(T.TQ_PUTSTRING_FROMADD("-12345.6789999", 10, h), h, "PUTSTRING_FROMADD(10)");
    expectPut(T.TQ_PUTSTRING_FROMADD(text, -100, h), h, "PUTSTRING_FROMADD(-100)");
    T.TQ_UNALLOCVAR(h);

    char b[256];
    int32_t t = T.TQ_ALLOCVAR(5);
    text = "Hello, 32-bit world";
    CHECK_EQ(T.TQ_PUTSTRING_PAZ(text, t), 0);
    CHECK_EQ(T.TQ_GETSTRINGLENGTH(t), (int32_t)strlen(text));
    s = T.TQ_GETSTRING_DS(t);
    CHECK_STR(host_BstrText(s, b, sizeof b), text);
    SysFreeString(s);
    BSTR *ps = T.TQ_GETSTRING_PDS(t);
    CHECK(ps != NULL && strcmp(host_BstrText(*ps, b, sizeof b), text) == 0);
    const char *pz = T.TQ_GETSTRING_PAZ(t);
    CHECK(pz != NULL && strcmp(pz, text) == 0);
    memset(b, '#', sizeof b);
    CHECK_EQ(T.TQ_GETSTRING_2ADD(t, b), 0);
    CHECK(memcmp(b, text, strlen(text)) == 0 && b[strlen(text)] == '#');
    CHECK_STR(host_Get(t, 8, 0, b, sizeof b), text);
    T.TQ_UNALLOCVAR(t);
}

void host_TestText(void) {
    host_Group("text in and out");
    testPutShapes();
    CHECK_EQ(host_Err(), 0);
}
