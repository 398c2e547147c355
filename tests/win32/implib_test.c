// A C program built the ordinary way against the public header and the
// import library (tarq.lib), as opposed to the run-time loading of the host
// test: the header's __stdcall prototypes, the import library's NAME@n
// symbols and the DLL's undecorated exports must all fit together.
#include <stdio.h>
#include <string.h>

#include "tarq.h"

static int sPass, sFail;
static void check(int ok, const char *what) {
    if (ok) ++sPass;
    else {
        ++sFail;
        printf("FAIL  %s\n", what);
    }
}
#define CHECK(c) check((c) != 0, #c)

static int textIs(int32_t h, int32_t format, int32_t digits, const char *want) {
    tq_dstr s = NULL;
    int ok = TQ_GET_STRING(h, format, digits, &s) == 0 && s && (size_t)TQ_DS_LEN(s) == strlen(want) &&
             memcmp(s, want, strlen(want)) == 0;
    TQ_DS_FREE(s);
    return ok;
}

int main(void) {
    CHECK(TQ_SETPRECISION(1, 1000) == 1001);
    CHECK(TQ_GETPRECISION(2) == 3328);
    CHECK(TQ_SETPRECISION(1, 38) >= 38);
    int32_t a = TQ_ALLOCVAR(3), b = TQ_ALLOCVAR(3), r = TQ_ALLOCVAR(3);
    CHECK(a >= 0 && b >= 0 && r >= 0);
    tq_dstr s = TQ_DS_NEW("123456789012345678901234567890", 30);
    CHECK(TQ_PUT_STRING(s, a) == 0);
    TQ_DS_FREE(s);
    CHECK(TQ_PUTLONG(-987654321, b) == 0);
    CHECK(TQ_MUL(a, b, r) == 0);
    CHECK(textIs(r, 8, 0, "-121932631124828532112482853211126352690"));
    int32_t d = TQ_ALLOCVAR(1);
    CHECK(TQ_PUTDOUBLE(0.375, d) == 0);
    CHECK(TQ_GETANY_DOUBLE(d) == 0.375);
    CHECK(TQ_GETANY_EXT(d) == 0.375L);
    TQ_UNALLOCVAR(d);
    CHECK(TQ_GETANY_LONG(b) == -987654321);
    CHECK(TQ_UNALLOCVAR(-1) == 16);
    CHECK(TQ_GETGLOBALERROR() == 16);
    TQ_UNALLOCVAR(a);
    TQ_UNALLOCVAR(b);
    TQ_UNALLOCVAR(r);
    printf("import library: %d passed, %d failed\n", sPass, sFail);
    return sFail ? 1 : 0;
}
