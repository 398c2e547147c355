// The frame seen from a host: BSTRs made and freed on either side,
// variables and handles, the error word, refusals, calls from two host
// threads at once, and the interactive benchmark export (the precision, options,
// constants, predicates and range tests are lines of the transcript).
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "host.h"

void host_TestStrings(void) {
    host_Group("dynamic strings (BSTR)");
    // Made by the library, measured and freed by the system.
    BSTR s = T.TQ_DS_NEW("ab\0cd", 5);
    CHECK(s != NULL);
    CHECK_EQ(SysStringByteLen(s), 5);
    CHECK_EQ(T.TQ_DS_LEN(s), 5);
    CHECK(s && memcmp(s, "ab\0cd", 5) == 0);
    CHECK(s && ((const char *)s)[5] == '\0');
    SysFreeString(s);
    // Made by the system, measured and freed by the library.
    s = SysAllocStringByteLen("hello, world", 12);
    CHECK_EQ(T.TQ_DS_LEN(s), 12);
    T.TQ_DS_FREE(s);
    s = T.TQ_DS_NEW(NULL, 0);
    CHECK(s != NULL);
    CHECK_EQ(T.TQ_DS_LEN(s), 0);
    T.TQ_DS_FREE(s);
    CHECK(T.TQ_DS_NEW("x", -1) == NULL);
    CHECK_EQ(T.TQ_DS_LEN(NULL), 0);
    T.TQ_DS_FREE(NULL);
    // Many strings of many lengths through both allocators.
    int bad = 0;
    char buf[700];
    for (int i = 0; i < (int)sizeof buf; ++i) buf[i] = (char)(i * 7 + 1);
    for (int n = 0; n < 700; n += 3) {
        BSTR a = T.TQ_DS_NEW(buf, n);
        BSTR b = SysAllocStringByteLen(buf, (UINT)n);
        if (!a || !b || T.TQ_DS_LEN(a) != n || (int)SysStringByteLen(a) != n || T.TQ_DS_LEN(b) != n ||
            memcmp(a, buf, (size_t)n) != 0)
            ++bad;
        if (n % 2) {
            T.TQ_DS_FREE(a);
            SysFreeString(b);
        } else {
            SysFreeString(a);
            T.TQ_DS_FREE(b);
        }
    }
    CHECK_EQ(bad, 0);
    CHECK(HeapValidate(GetProcessHeap(), 0, NULL));
}

void host_TestVariables(void) {
    host_Group("variables, handles and the error word");
    CHECK_EQ(host_Err(), 0);
    // A fresh store hands out the lowest free slots first.
    int32_t h[6];
    for (int k = 1; k <= 5; ++k) h[k] = T.TQ_ALLOCVAR(k);
    for (int k = 1; k <= 5; ++k) CHECK_EQ(h[k], k - 1);
    CHECK_EQ(T.TQ_UNALLOCVAR(h[2]), 0);
    CHECK_EQ(T.TQ_ALLOCVAR(2), h[2]);

    CHECK_EQ(T.TQ_GETCONST(14, h[1]), 0);
    CHECK_EQ(T.TQ_COPYVAR(h[1], h[1]), 0);
    int32_t d = T.TQ_ALLOCVAR(1);
    CHECK_EQ(T.TQ_COPYVAR(h[1], d), 0);
    CHECK_EQ(T.TQ_ABS(h[1], d), 0);
    CHECK_EQ(T.TQ_REVSIGN(d, d), 0);
    CHECK_EQ(host_Err(), 0);
    // Different kinds: refused with 2.
    CHECK_EQ(T.TQ_COPYVAR(h[1], h[2]), 2);
    CHECK_EQ(host_Err(), 2);
    CHECK_EQ(host_Err(), 0);

    // Bad handles never index memory: 16 and bit 16.
    int32_t freed = T.TQ_ALLOCVAR(1);
    CHECK_EQ(T.TQ_UNALLOCVAR(freed), 0);
    CHECK_EQ(T.TQ_UNALLOCVAR(-1), 16);
    CHECK_EQ(T.TQ_UNALLOCVAR(0x7fffffff), 16);
    CHECK_EQ(host_Err(), 16);
    CHECK_EQ(T.TQ_UNALLOCVAR(freed), 0);  // a freed slot again: harmless
    CHECK_EQ(host_Err(), 0);
    CHECK_EQ(T.TQ_COPYVAR(freed, h[1]), 16);
    CHECK_EQ(T.TQ_COPYVAR(h[1], -7), 16);
    CHECK_EQ(T.TQ_ABS(123456789, h[1]), 16);
    CHECK_EQ(T.TQ_REVSIGN(h[1], freed), 16);
    CHECK_EQ(T.TQ_GETCONST(14, freed), 16);
    CHECK_EQ(T.TQ_GETCONST(14, (int32_t)0x80000000), 16);
    CHECK_EQ(host_Err(), 16);
    // Two failures of different bits before one read: both bits.
    CHECK_EQ(T.TQ_COPYVAR(h[1], h[2]), 2);
    CHECK_EQ(T.TQ_UNALLOCVAR(-5), 16);
    CHECK_EQ(host_Err(), 18);
    CHECK_EQ(host_Err(), 0);

    // Growth of the store beyond its first 5001 slots, and reuse after.
    static int32_t many[6000];
    int ordered = 1;
    for (int i = 0; i < 6000; ++i) {
        many[i] = T.TQ_ALLOCVAR(3);
        if (i > 0 && many[i] <= many[i - 1]) ordered = 0;
    }
    CHECK(ordered);
    CHECK(many[5999] > 5000);
    CHECK_EQ(T.TQ_GETCONST(27, many[5999]), 0);
    CHECK_EQ(T.TQ_UNALLOCVAR(many[5999] + 1), 0);  // inside the grown store, never used
    for (int i = 0; i < 6000; ++i) T.TQ_UNALLOCVAR(many[i]);
    CHECK_EQ(T.TQ_ALLOCVAR(3), many[0]);
    T.TQ_UNALLOCVAR(many[0]);
    CHECK_EQ(host_Err(), 0);
    for (int k = 1; k <= 5; ++k) T.TQ_UNALLOCVAR(h[k]);
    T.TQ_UNALLOCVAR(d);
}

// What a host sees of refusals (the values themselves are lines of the
// transcript): kinds never mix, no numeric constant goes into a text
// variable, a division by zero is refused, not a crash.
void host_TestRefusals(void) {
    host_Group("refusals");
    int32_t x = host_NewVar(1, "1.5"), bx = host_NewVar(2, "1"), z = T.TQ_ALLOCVAR(1), t = T.TQ_ALLOCVAR(5);
    int32_t a = host_NewVar(3, "12345678901234567890"), b = T.TQ_ALLOCVAR(3), q = T.TQ_ALLOCVAR(3), r = T.TQ_ALLOCVAR(3);
    host_Err();
    CHECK_EQ(T.TQ_ADD(x, bx, z), 2);
    CHECK_EQ(T.TQ_GETCONST(11, t), 2);
    CHECK_EQ(host_Err(), 2);
    T.TQ_GETCONST(11, b);
    CHECK(T.TQ_DIVINT(a, b, q, r) != 0);
    CHECK(host_Err() != 0);
    int32_t all[] = {x, bx, z, t, a, b, q, r};
    for (size_t i = 0; i < sizeof all / sizeof all[0]; ++i) T.TQ_UNALLOCVAR(all[i]);
    CHECK_EQ(host_Err(), 0);
}

// Two host threads allocate and free at once; the global lock keeps the
// store consistent, so no handle is handed out twice.
enum { kPerThread = 400 };
static int32_t sHandles[2][kPerThread];

static DWORD WINAPI allocWorker(LPVOID arg) {
    int32_t *out = (int32_t *)arg;
    for (int i = 0; i < kPerThread; ++i) {
        out[i] = T.TQ_ALLOCVAR(1 + i % 4);
        if (i % 3 == 0) T.TQ_GETCONST(14, out[i]);
    }
    return 0;
}

void host_TestThreads(void) {
    host_Group("two host threads");
    HANDLE th[2];
    for (int t = 0; t < 2; ++t) th[t] = CreateThread(NULL, 0, allocWorker, sHandles[t], 0, NULL);
    CHECK(th[0] && th[1]);
    CHECK_EQ(WaitForMultipleObjects(2, th, TRUE, 60000), WAIT_OBJECT_0);
    CloseHandle(th[0]);
    CloseHandle(th[1]);
    static unsigned char seen[20000];
    memset(seen, 0, sizeof seen);
    int dup = 0, bad = 0;
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < kPerThread; ++i) {
            int32_t hh = sHandles[t][i];
            if (hh < 0 || hh >= (int32_t)sizeof seen) ++bad;
            else if (seen[hh]++) ++dup;
        }
    CHECK_EQ(bad, 0);
    CHECK_EQ(dup, 0);
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < kPerThread; ++i) T.TQ_UNALLOCVAR(sHandles[t][i]);
    CHECK_EQ(host_Err(), 0);
}

// The benchmark asks for its run time and operand length; with standard
// input at the null device it takes the environment's values or its
// defaults, runs its passes and hands back the last operand.
void host_TestBenchmark(void) {
    host_Group("the benchmark export");
    putenv("TARQ_TEST2_MINUTES=0");
    putenv("TARQ_TEST2_LENGTH=64");
    if (!freopen("NUL", "r", stdin)) printf("note: standard input stays as it was\n");
    BSTR operand = NULL;
    CHECK_EQ(T.TQ_TEST2(0, &operand, 0), 0);
    CHECK(operand != NULL && SysStringByteLen(operand) > 0);
    SysFreeString(operand);
    CHECK_EQ(T.TQ_TEST(12345), 0);
    CHECK_EQ(host_Err(), 0);
}
