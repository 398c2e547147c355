// Native range tests and the interactive benchmark export, through the DLL
// (the comparison predicates are in the transcript).
#include <stdio.h>
#include <stdlib.h>

#include "host.h"

static void testRanges(void) {
    struct {
        int32_t kind;
        const char *text;
        int32_t code, inside;
    } cases[] = {
        {1, "2147483647.9", 6, 1}, {3, "2147483648", 6, 0},  {1, "-2147483648.5", 6, 1},
        {3, "-2147483649", 6, 0},  {3, "4294967295", 7, 1},  {3, "4294967296", 7, 0},
        {3, "-1", 7, 0},           {1, "1*d307", 8, 1},      {1, "1*d400", 8, 0},
        {1, "1*d400", 9, 1},       {1, "1*d5000", 9, 0},     {2, "0.5", 8, 1},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        int32_t h = host_NewVar(cases[i].kind, cases[i].text);
        if (T.ISINRANGE(h, cases[i].code) != cases[i].inside)
            printf("FAIL  range code %d of %s\n", cases[i].code, cases[i].text);
        CHECK_EQ(T.ISINRANGE(h, cases[i].code), cases[i].inside);
        T.UNALLOCVAR(h);
    }
}

// The benchmark asks for its run time and operand length; with standard
// input at the null device it takes the environment's values or its
// defaults, runs its passes and hands back the last operand.
static void testBenchmark(void) {
    putenv("TARQ_TEST2_MINUTES=0");
    putenv("TARQ_TEST2_LENGTH=64");
    if (!freopen("NUL", "r", stdin)) printf("note: standard input stays as it was\n");
    BSTR operand = NULL;
    CHECK_EQ(T.TEST2(0, &operand, 0), 0);
    CHECK(operand != NULL && SysStringByteLen(operand) > 0);
    SysFreeString(operand);
    CHECK_EQ(T.TEST(12345), 0);
}

void host_TestPredicates(void) {
    host_Group("range tests and the benchmark export");
    testRanges();
    testBenchmark();
    CHECK_EQ(host_Err(), 0);
}
