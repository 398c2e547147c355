// The same fixed sequence of library calls, written out line by line with
// every status and result, on any build of the library: the 32-bit Windows
// DLL and the 64-bit one (under Wine) must write exactly what the Linux
// library writes (the 64-bit DLL without the 80-bit lines). The
// results are specified to the last digit, so any difference is a fault in
// one of the two builds (the 32-bit build takes the portable 32-bit-limb
// paths, the Linux build the 64-bit ones).
//
// Usage: tarq_transcript [library]   (default tarq.dll / libtarq.so)
// Calls go through pointers found by name, so the program needs only the
// library file.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#define CC __stdcall
static HMODULE sLib;
// The banner the library writes while loading is not part of the transcript.
static int openLibrary(const char *path) {
    HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    HANDLE saved = GetStdHandle(STD_OUTPUT_HANDLE);
    if (nul != INVALID_HANDLE_VALUE) SetStdHandle(STD_OUTPUT_HANDLE, nul);
    sLib = LoadLibraryA(path ? path : "tarq.dll");
    SetStdHandle(STD_OUTPUT_HANDLE, saved);
    if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
    return sLib != NULL;
}
static void *symbol(const char *name) { return (void *)GetProcAddress(sLib, name); }
#else
#include <dlfcn.h>
#define CC
static void *sLib;
static int openLibrary(const char *path) { return (sLib = dlopen(path ? path : "libtarq.so", RTLD_NOW)) != NULL; }
static void *symbol(const char *name) { return dlsym(sLib, name); }
#endif

typedef void *DStr;  // the library's dynamic string (a BSTR on Windows)
typedef int32_t(CC *Fn1)(int32_t);
typedef int32_t(CC *Fn2)(int32_t, int32_t);
typedef int32_t(CC *Fn3)(int32_t, int32_t, int32_t);
typedef int32_t(CC *Fn4)(int32_t, int32_t, int32_t, int32_t);
typedef int32_t(CC *Fn5)(int32_t, int32_t, int32_t, int32_t, int32_t);
typedef int32_t(CC *Fn0)(void);
typedef DStr(CC *FnDsNew)(const char *, int32_t);
typedef void(CC *FnDsFree)(DStr);
typedef int32_t(CC *FnDsLen)(DStr);
typedef int32_t(CC *FnPut)(DStr, int32_t);
typedef int32_t(CC *FnGet)(int32_t, int32_t, int32_t, DStr *);
typedef double(CC *FnGetD)(int32_t);
#if defined(_WIN64)
typedef double(CC *FnGetX)(int32_t);
#else
typedef long double(CC *FnGetX)(int32_t);
#endif
typedef uint32_t(CC *FnGetU)(int32_t);

static FnDsNew dsNew;
static FnDsFree dsFree;
static FnDsLen dsLen;
static FnPut put;
static FnGet get;
static Fn1 allocVar, unallocVar;
static Fn2 setPrecision, getConst, convertDt;
static Fn0 getError;

static void *need(const char *name) {
    void *p = symbol(name);
    if (!p) {
        printf("missing export %s\n", name);
        fflush(stdout);
    }
    return p;
}
#define LOAD(var, type, name) (var = (type)need(name))

// The value of h in a format (digits 0: every digit), or "<status N>".
static const char *textDigits(int32_t h, int32_t format, int32_t digits) {
    static char buf[8192];
    DStr s = NULL;
    int32_t st = get(h, format, digits, &s);
    if (st) {
        snprintf(buf, sizeof buf, "<status %d>", (int)st);
    } else {
        int32_t n = dsLen(s);
        if (n >= (int32_t)sizeof buf) n = (int32_t)sizeof buf - 1;
        if (n > 0) memcpy(buf, s, (size_t)n);
        buf[n > 0 ? n : 0] = '\0';
    }
    if (s) dsFree(s);
    return buf;
}

static const char *text(int32_t h, int32_t format) { return textDigits(h, format, 0); }

static int32_t putText(int32_t h, const char *t) {
    DStr s = dsNew(t, (int32_t)strlen(t));
    int32_t st = put(s, h);
    dsFree(s);
    return st;
}

// Scientific for floats, decimal otherwise.
static int32_t formatOf(int32_t kind) { return kind <= 2 ? 2 + 8 : 8; }

static const char *const kKindName[] = {"", "dec", "bin", "int", "frac", "text"};

static const char *const kFloatValues[] = {
    "0", "1", "-1", "0.5", "2", "3", "-10", "0.001", "7.25", "-1.2345678901234567890123456789*d5",
    "3.14159265358979323846264338327950288419716939937510", "2.5*d-20", "-9.99999999999999999999*d3",
    "123456789012345678901234567890.5", "*+inf", "*NaN"};
static const char *const kIntValues[] = {"0", "1", "-1", "2", "7", "-12", "255", "65536", "4294967296",
                                         "-18446744073709551617", "123456789012345678901234567890123",
                                         "340282366920938463463374607431768211455"};
static const char *const kFracValues[] = {"0", "1", "-1", "1/3", "-22/7", "355/113", "7/2", "-1/1024",
                                          "123456789012345678901/98765432109876543210"};
// Small operands for powers and roots, whose size grows with their values.
static const char *const kSmallValues[] = {"0", "1", "-1", "2", "3", "0.5", "-2", "10"};

#define COUNT(a) (int)(sizeof a / sizeof a[0])

static void values(int32_t kind, const char *const **list, int *n) {
    if (kind <= 2) *list = kFloatValues, *n = COUNT(kFloatValues);
    else if (kind == 3) *list = kIntValues, *n = COUNT(kIntValues);
    else *list = kFracValues, *n = COUNT(kFracValues);
}

static const char *const kUnary[] = {"TQ_ABS", "TQ_REVSIGN", "TQ_INCR", "TQ_DECR", "TQ_MULBY2", "TQ_DIVBY2",
                                     "TQ_FIX", "TQ_FRAC", "TQ_SQR", "TQ_RECIPROCAL", "TQ_SQRT"};
static const char *const kTranscendental[] = {"TQ_EXP", "TQ_EXP2", "TQ_EXP10", "TQ_LOG", "TQ_LOG2", "TQ_LOG10",
                                              "TQ_SIN", "TQ_COS", "TQ_TAN", "TQ_ATAN", "TQ_ASIN"};
static const char *const kBinary[] = {"TQ_ADD", "TQ_SUB", "TQ_MUL", "TQ_DIV", "TQ_MOD", "TQ_GCD", "TQ_LCM", "TQ_MODINV"};
static const char *const kCompare[] = {"TQ_COMPARE", "TQ_IS_EQ", "TQ_IS_NE", "TQ_IS_L",
                                       "TQ_IS_LE", "TQ_IS_G", "TQ_IS_GE"};

static void unaryOps(int32_t kind, const char *const *names, int nNames, const char *const *list, int n) {
    int32_t a = allocVar(kind), r = allocVar(kind);
    for (int o = 0; o < nNames; ++o) {
        Fn2 f = (Fn2)need(names[o]);
        if (!f) continue;
        for (int i = 0; i < n; ++i) {
            putText(a, list[i]);
            putText(r, "0");
            int32_t st = f(a, r);
            printf("%s %s(%s) = %d %s err %d\n", kKindName[kind], names[o] + 3, list[i], (int)st,
                   text(r, formatOf(kind)), (int)getError());
        }
    }
    unallocVar(a);
    unallocVar(r);
}

static void binaryOps(int32_t kind, const char *const *list, int n) {
    int32_t a = allocVar(kind), b = allocVar(kind), r = allocVar(kind), q = allocVar(kind);
    for (int o = 0; o < COUNT(kBinary); ++o) {
        Fn3 f = (Fn3)need(kBinary[o]);
        if (!f) continue;
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                putText(a, list[i]);
                putText(b, list[j]);
                putText(r, "0");
                int32_t st = f(a, b, r);
                printf("%s %s(%s, %s) = %d %s err %d\n", kKindName[kind], kBinary[o] + 3, list[i], list[j], (int)st,
                       text(r, formatOf(kind)), (int)getError());
            }
    }
    for (int o = 0; o < COUNT(kCompare); ++o) {
        Fn2 f = (Fn2)need(kCompare[o]);
        if (!f) continue;
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                putText(a, list[i]);
                putText(b, list[j]);
                int32_t v = f(a, b);
                printf("%s %s(%s, %s) = %d err %d\n", kKindName[kind], kCompare[o] + 3, list[i], list[j], (int)v,
                       (int)getError());
            }
    }
    Fn5 extEuclid = (Fn5)need("TQ_EXTEUCLIDALGO");
    for (int i = 0; extEuclid && kind == 3 && i < n; ++i)
        for (int j = 0; j < n; ++j) {
            putText(a, list[i]);
            putText(b, list[j]);
            int32_t st = extEuclid(a, b, q, r, b);
            printf("int EXTEUCLID(%s, %s) = %d %s", list[i], list[j], (int)st, text(q, 8));
            printf(" %s", text(r, 8));
            printf(" %s err %d\n", text(b, 8), (int)getError());
        }
    Fn3 units = (Fn3)need("TQ_CONVERTUNITS");
    for (int32_t code = 0; units && kind <= 2 && code <= 5; ++code)
        for (int i = 0; i < n; ++i) {
            putText(a, list[i]);
            int32_t st = units(code, a, r);
            printf("%s UNITS%d(%s) = %d %s err %d\n", kKindName[kind], (int)code, list[i], (int)st,
                   text(r, formatOf(kind)), (int)getError());
        }
    Fn4 divInt = (Fn4)need("TQ_DIVINT");
    for (int i = 0; divInt && i < n; ++i)
        for (int j = 0; j < n; ++j) {
            putText(a, list[i]);
            putText(b, list[j]);
            int32_t st = divInt(a, b, q, r);
            printf("%s DIVINT(%s, %s) = %d %s", kKindName[kind], list[i], list[j], (int)st, text(q, formatOf(kind)));
            printf(" rem %s err %d\n", text(r, formatOf(kind)), (int)getError());
        }
    unallocVar(a);
    unallocVar(b);
    unallocVar(r);
    unallocVar(q);
}

static void powersAndRoots(int32_t kind) {
    int32_t a = allocVar(kind), b = allocVar(kind), c = allocVar(kind), r = allocVar(kind), m = allocVar(kind);
    Fn3 pw = (Fn3)need("TQ_POW");
    Fn5 root = (Fn5)need("TQ_ROOT");
    Fn4 powMod = (Fn4)need("TQ_POWMOD");
    const int n = COUNT(kSmallValues);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            putText(a, kSmallValues[i]);
            putText(b, kSmallValues[j]);
            if (pw) {
                int32_t st = pw(a, b, r);
                printf("%s POW(%s, %s) = %d %s err %d\n", kKindName[kind], kSmallValues[i], kSmallValues[j], (int)st,
                       text(r, formatOf(kind)), (int)getError());
            }
            if (root) {
                int32_t st = root(a, b, 1, r, m);
                printf("%s ROOT(%s, %s) = %d %s", kKindName[kind], kSmallValues[i], kSmallValues[j], (int)st,
                       text(r, formatOf(kind)));
                printf(" rem %s err %d\n", text(m, formatOf(kind)), (int)getError());
            }
            if (powMod && kind == 3) {
                putText(c, "1000000007");
                int32_t st = powMod(a, b, c, r);
                printf("int POWMOD(%s, %s, 1000000007) = %d %s err %d\n", kSmallValues[i], kSmallValues[j], (int)st,
                       text(r, 8), (int)getError());
            }
        }
    unallocVar(a);
    unallocVar(b);
    unallocVar(c);
    unallocVar(r);
    unallocVar(m);
}

// Big integers of many sizes (across the multiplication and division
// thresholds, up to the transform's sizes) from a fixed xorshift sequence, in
// a few shapes: random bits, all ones, a lone top bit, sparse words. Results
// are written as their hexadecimal length and FNV-1a digest.
static uint32_t sSeed = 20261207u;
static uint32_t rnd(void) {
    sSeed ^= sSeed << 13;
    sSeed ^= sSeed >> 17;
    sSeed ^= sSeed << 5;
    return sSeed;
}

static void randomHex(char *p, int32_t words) {
    const uint32_t shape = rnd() % 4;
    if (rnd() & 1) *p++ = '-';
    p += sprintf(p, "&h");
    for (int32_t i = words - 1; i >= 0; --i) {
        uint32_t w = rnd();
        if (shape == 1) w = 0xFFFFFFFFu;
        if (shape == 2) w = i == words - 1 ? 0x80000000u : 0;
        if (shape == 3 && rnd() % 4) w = 0;
        p += sprintf(p, "%08lx", (unsigned long)(w | (i == words - 1)));
    }
}

static const char *digest(int32_t h) {
    static char buf[4][48];
    static int k;
    k = (k + 1) % 4;
    DStr s = NULL;
    const int32_t st = get(h, 16, 0, &s);
    const int32_t n = st ? 0 : dsLen(s);
    uint32_t f = 2166136261u;
    for (int32_t i = 0; i < n; ++i) f = (f ^ ((const unsigned char *)s)[i]) * 16777619u;
    if (s) dsFree(s);
    if (st) snprintf(buf[k], sizeof buf[k], "<status %d>", (int)st);
    else snprintf(buf[k], sizeof buf[k], "%d:%08lx", (int)n, (unsigned long)f);
    return buf[k];
}

static void bigIntegers(void) {
    static const int32_t sizes[][2] = {{1, 1},       {2, 1},       {3, 2},         {5, 5},       {8, 3},
                                       {13, 13},     {24, 12},     {40, 40},       {64, 20},     {100, 100},
                                       {170, 85},    {300, 300},   {511, 200},     {800, 800},   {1400, 700},
                                       {2000, 2000}, {2000, 1},    {24000, 24000}, {40000, 17000}};
    Fn3 add = (Fn3)need("TQ_ADD"), sub = (Fn3)need("TQ_SUB"), mul = (Fn3)need("TQ_MUL");
    Fn4 divInt = (Fn4)need("TQ_DIVINT");
    if (!add || !sub || !mul || !divInt) return;
    char *ta = (char *)malloc(9 * 40000 + 8), *tb = (char *)malloc(9 * 40000 + 8);
    int32_t a = allocVar(3), b = allocVar(3), q = allocVar(3), r = allocVar(3);
    for (int k = 0; k < COUNT(sizes); ++k) {
        randomHex(ta, sizes[k][0]);
        randomHex(tb, sizes[k][1]);
        putText(a, ta);
        putText(b, tb);
        printf("int BIG %d x %d words:", (int)sizes[k][0], (int)sizes[k][1]);
        Fn3 ops[] = {add, sub, mul};
        for (int o = 0; o < 3; ++o) {
            const int32_t st = ops[o](a, b, r);
            printf(" %s %d %s", kBinary[o] + 3, (int)st, digest(r));
        }
        putText(q, ta);  // the operand as its own result
        int32_t st = mul(q, q, q);
        printf(" SQR %d %s", (int)st, digest(q));
        st = divInt(a, b, q, r);
        printf(" DIVINT %d %s", (int)st, digest(q));
        const char *rem = digest(r);
        printf(" rem %s err %d\n", rem, (int)getError());
    }
    // Powers, roots and modular powers of several words.
    static const char *const kRows[][3] = {
        {"3", "100", ""}, {"-7", "1001", ""}, {"10000000000000000000000000000000000012345", "2", "root"},
        {"1606938044258990275541962092341162602522202993782792835301383", "5", "root"},  // 2^200 + 7
        {"4", "13", "497"}, {"&h123456789ABCDEF0123456789", "&hFEDCBA987654321", "&h100000000000000000000001D"}};
    Fn3 pw = (Fn3)need("TQ_POW");
    Fn5 root = (Fn5)need("TQ_ROOT");
    Fn4 powMod = (Fn4)need("TQ_POWMOD");
    for (int k = 0; pw && root && powMod && k < COUNT(kRows); ++k) {
        putText(a, kRows[k][0]);
        putText(b, kRows[k][1]);
        putText(q, kRows[k][2][0] == '&' || kRows[k][2][0] == '4' ? kRows[k][2] : "0");
        const int32_t st = !kRows[k][2][0]           ? pw(a, b, r)
                           : kRows[k][2][0] == 'r' ? root(a, b, 1, r, q)
                                                   : powMod(a, b, q, r);
        printf("int %s(%s, %s, %s) = %d %s", !kRows[k][2][0] ? "POW" : kRows[k][2][0] == 'r' ? "ROOT" : "POWMOD",
               kRows[k][0], kRows[k][1], kRows[k][2], (int)st, text(r, 8));
        const char *second = text(q, 8);
        printf(" %s err %d\n", second, (int)getError());
    }
    // All ones squared: the largest coefficients the transform carries.
    char *p = ta + sprintf(ta, "&h");
    memset(p, 'F', 8 * 20000);
    p[8 * 20000] = '\0';
    putText(a, ta);
    const int32_t st = mul(a, a, r);
    const char *sq = digest(r);
    printf("int BIG (2^640000 - 1)^2: %d %s err %d\n", (int)st, sq, (int)getError());
    unallocVar(a);
    unallocVar(b);
    unallocVar(q);
    unallocVar(r);
    free(ta);
    free(tb);
}

// Texts in and out: every layout, radix and digit count, special values and
// texts the parser refuses.
static void formats(void) {
    static const struct {
        int32_t kind;
        const char *in;
        int32_t format, digits;
    } rows[] = {{1, "123.45", 1, 0},    {1, "123.45", 2, 0},       {1, "123.45", 4, 0},  {1, "123.45", 4, 3},
                {1, "99999", 2, 2},     {1, "99999", 4, 2},        {1, "-0.001200", 10, 0},
                {1, "-0.001200", 24, 0}, {1, "*+inf", 1, 0},        {1, "*NaN", 2, 5},    {1, "12x4", 8, 0},
                {3, "255", 16, 0},      {3, "255", 18, 0},         {3, "-&h123456789ABCDEF0123456789", 16, 0},
                {3, "0", 8, 0},         {4, "-3/4", 8, 0},         {4, "7", 8, 0},       {2, "1.5", 17, 0}};
    for (int k = 0; k < COUNT(rows); ++k) {
        const int32_t h = allocVar(rows[k].kind), st = putText(h, rows[k].in);
        const char *out = textDigits(h, rows[k].format, rows[k].digits);
        const int32_t err = getError();
        printf("%s FORMAT(%s, %d, %d) = %d %s err %d\n", kKindName[rows[k].kind], rows[k].in, (int)rows[k].format,
               (int)rows[k].digits, (int)st, out, (int)err);
        unallocVar(h);
    }
}

// Precision and options set and read back, and the native range tests.
static void settingsAndRanges(void) {
    static const struct {
        const char *name;
        int32_t a, b;
    } calls[] = {{"TQ_SETPRECISION", 1, 1000}, {"TQ_GETPRECISION", 2, 0}, {"TQ_GETPRECISION", 1, 0},
                 {"TQ_GETPRECISION", 3, 0},    {"TQ_SETPRECISION", 1, 0}, {"TQ_GETPRECISION", 2, 0},
                 {"TQ_SETPRECISION", 2, 1},    {"TQ_SETPRECISION", 3, 5}, {"TQ_SETPRECISION", 1, 38},
                 {"TQ_SETOPTION", 11, 0},      {"TQ_GETOPTION", 11, 0},   {"TQ_SETOPTION", 6, 5},
                 {"TQ_GETOPTION", 6, 0},       {"TQ_SETOPTION", 6, 0},    {"TQ_GETOPTION", 6, 0},
                 {"TQ_SETOPTION", 6, 1},       {"TQ_SETOPTION", 1, 0},    {"TQ_GETOPTION", 1, 0},
                 {"TQ_SETOPTION", 1, 20000},   {"TQ_GETOPTION", 1, 0},    {"TQ_SETOPTION", 1, -1},
                 {"TQ_GETOPTION", 1, 0},       {"TQ_SETOPTION", 2, -1},   {"TQ_GETOPTION", 9, 0}};
    for (int k = 0; k < COUNT(calls); ++k) {
        void *f = need(calls[k].name);
        if (!f) continue;
        const int32_t got = strncmp(calls[k].name, "TQ_GET", 6) == 0 ? ((Fn1)f)(calls[k].a) : ((Fn2)f)(calls[k].a, calls[k].b);
        printf("%s(%d, %d) = %d err %d\n", calls[k].name + 3, (int)calls[k].a, (int)calls[k].b, (int)got, (int)getError());
    }
    static const struct {
        int32_t kind;
        const char *text;
        int32_t code;
    } ranges[] = {{1, "2147483647.9", 6}, {3, "2147483648", 6}, {1, "-2147483648.5", 6}, {3, "-2147483649", 6},
                  {3, "4294967295", 7},   {3, "4294967296", 7}, {3, "-1", 7},            {1, "1*d307", 8},
                  {1, "1*d400", 8},       {1, "1*d400", 9},     {1, "1*d5000", 9},       {2, "0.5", 8}};
    Fn2 pow10 = (Fn2)need("TQ_GETPOW10");
    static const int32_t ns[] = {-1, 0, 1, 12, 27, 64, 100, 1000};
    for (int k = 0; pow10 && k < COUNT(ns); ++k) {
        const int32_t h = allocVar(1), st = pow10(ns[k], h);  // the output becomes a binary float
        printf("POW10(%d) = %d %s", (int)ns[k], (int)st, textDigits(h, 2 + 8, 30));
        printf(" %s err %d\n", text(h, 16 + 2), (int)getError());
        unallocVar(h);
    }
    Fn2 inRange = (Fn2)need("TQ_ISINRANGE");
    for (int k = 0; inRange && k < COUNT(ranges); ++k) {
        const int32_t h = allocVar(ranges[k].kind);
        putText(h, ranges[k].text);
        const int32_t got = inRange(h, ranges[k].code);
        printf("%s INRANGE(%s, %d) = %d err %d\n", kKindName[ranges[k].kind], ranges[k].text, (int)ranges[k].code,
               (int)got, (int)getError());
        unallocVar(h);
    }
}

static void constantsAndConversions(void) {
    int32_t h[5];
    for (int32_t k = 1; k <= 4; ++k) h[k] = allocVar(k);
    for (int32_t k = 1; k <= 4; ++k)
        for (int32_t code = 1; code <= 33; ++code) {
            int32_t st = getConst(code, h[k]);
            printf("%s CONST(%d) = %d %s err %d\n", kKindName[k], (int)code, (int)st, text(h[k], formatOf(k)),
                   (int)getError());
        }
    for (int32_t from = 1; from <= 4; ++from) {
        const char *const *list;
        int n;
        values(from, &list, &n);
        for (int i = 0; i < n; ++i)
            for (int32_t to = 1; to <= 4; ++to) {
                putText(h[from], list[i]);
                int32_t st = convertDt(h[from], h[to]);
                printf("CONVERT %s(%s) to %s = %d %s err %d\n", kKindName[from], list[i], kKindName[to], (int)st,
                       text(h[to], formatOf(to)), (int)getError());
            }
    }
    for (int32_t k = 1; k <= 4; ++k) unallocVar(h[k]);
}

// Beside the float values: the edges of the 32-bit integers, the double and
// the 80-bit extended value.
static const char *const kNativeEdges[] = {"2147483647.9", "-2147483648.7", "2147483648", "-0.2", "4294967295.5",
                                           "1*d307", "1*d308", "4.9*d-324", "123456789012345678", "1*d400", "1*d5000"};

static void nativeValues(void) {
    FnGetD getD = (FnGetD)need("TQ_GETANY_DOUBLE");
    FnGetX getX = (FnGetX)need("TQ_GETANY_EXT");
    Fn1 getL = (Fn1)need("TQ_GETANY_LONG");
    FnGetU getU = (FnGetU)need("TQ_GETANY_DWORD");
    int32_t h = allocVar(1);
    for (int i = 0; i < COUNT(kFloatValues) + COUNT(kNativeEdges); ++i) {
        const char *t = i < COUNT(kFloatValues) ? kFloatValues[i] : kNativeEdges[i - COUNT(kFloatValues)];
        putText(h, t);
        double d = getD ? getD(h) : 0;
        uint64_t db;
        memcpy(&db, &d, 8);
        int32_t l = getL ? getL(h) : 0;
        uint32_t u = getU ? getU(h) : 0;
        printf("NATIVE %s: double %08lx%08lx long %ld dword %lu err %d\n", t, (unsigned long)(db >> 32),
               (unsigned long)(db & 0xffffffffu), (long)l, (unsigned long)u, (int)getError());
#if !defined(_WIN64)
        // The 80-bit extended value; the 64-bit DLL has none (its extended
        // export is the double), and its comparison leaves these lines out.
        long double x = getX ? getX(h) : 0;
        uint64_t xm = 0;
        uint16_t xe = 0;
        memcpy(&xm, &x, 8);
        memcpy(&xe, (const char *)&x + 8, 2);
        printf("EXT %s: %04x:%08lx%08lx err %d\n", t, (unsigned)xe, (unsigned long)(xm >> 32),
               (unsigned long)(xm & 0xffffffffu), (int)getError());
#else
        double x = getX ? getX(h) : 0;
        int32_t errX = getError();
        double again = getD ? getD(h) : 0;
        if (memcmp(&x, &again, 8) != 0 || errX != getError())
            printf("EXT %s: the extended result is not the double\n", t);
#endif
    }
    unallocVar(h);
    // 32-bit integers put into every kind and read back.
    Fn2 putL = (Fn2)need("TQ_PUTLONG"), putW = (Fn2)need("TQ_PUTDWORD");
    static const int32_t kWords[] = {-5, INT32_MIN, INT32_MAX, -1};
    for (int32_t k = 1; putL && putW && getL && getU && k <= 5; ++k) {
        h = allocVar(k);
        for (int i = 0; i < COUNT(kWords); ++i) {
            int32_t st = putL(kWords[i], h);
            printf("%s PUTLONG(%ld) = %d %s", kKindName[k], (long)kWords[i], (int)st, text(h, 8));
            const int32_t l = getL(h);
            st = putW(kWords[i], h);
            printf(" long %ld PUTDWORD = %d %s", (long)l, (int)st, text(h, 8));
            const int32_t l2 = getL(h);
            const uint32_t u = getU(h);
            printf(" long %ld dword %lu err %d\n", (long)l2, (unsigned long)u, (int)getError());
        }
        unallocVar(h);
    }
}

int main(int argc, char **argv) {
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (!openLibrary(argc > 1 ? argv[1] : NULL)) {
        printf("cannot load the library\n");
        return 2;
    }
    if (!LOAD(dsNew, FnDsNew, "TQ_DS_NEW") || !LOAD(dsFree, FnDsFree, "TQ_DS_FREE") ||
        !LOAD(dsLen, FnDsLen, "TQ_DS_LEN") || !LOAD(put, FnPut, "TQ_PUT_STRING") ||
        !LOAD(get, FnGet, "TQ_GET_STRING") || !LOAD(allocVar, Fn1, "TQ_ALLOCVAR") ||
        !LOAD(unallocVar, Fn1, "TQ_UNALLOCVAR") || !LOAD(setPrecision, Fn2, "TQ_SETPRECISION") ||
        !LOAD(getConst, Fn2, "TQ_GETCONST") || !LOAD(convertDt, Fn2, "TQ_CONVERTDT") ||
        !LOAD(getError, Fn0, "TQ_GETGLOBALERROR"))
        return 2;

    static const int32_t kDigits[] = {38, 150};
    for (int p = 0; p < COUNT(kDigits); ++p) {
        printf("PRECISION %d -> %d\n", (int)kDigits[p], (int)setPrecision(1, kDigits[p]));
        for (int32_t kind = 1; kind <= 4; ++kind) {
            if (p > 0 && kind > 2) continue;  // exact kinds do not depend on the precision
            const char *const *list;
            int n;
            values(kind, &list, &n);
            unaryOps(kind, kUnary, COUNT(kUnary), list, n);
            if (kind <= 2) unaryOps(kind, kTranscendental, COUNT(kTranscendental), list, n);
            binaryOps(kind, list, n);
            powersAndRoots(kind);
        }
        constantsAndConversions();
        nativeValues();
    }
    formats();
    bigIntegers();
    settingsAndRanges();
    printf("end of transcript\n");
    return 0;
}
