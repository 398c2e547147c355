// Arithmetic through the DLL. Big integers of many sizes (crossing the
// multiplication and division thresholds of the 32-bit build) are checked
// against the host's own schoolbook arithmetic, the largest products by
// residues; roots and powers of big integers against known values.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "host.h"
#include "host_bignum.h"

typedef struct {
    int neg;
    HostBig m;
} SBig;

enum { kTextCap = kBigMaxWords * 8 + 16 };
static char sText[kTextCap];
static SBig sA, sB, sWant, sGot, sQ, sR, sTmp;
static HostBig sProd;

static uint32_t sSeed = 20261207u;
static uint32_t rnd(void) {
    sSeed ^= sSeed << 13;
    sSeed ^= sSeed >> 17;
    sSeed ^= sSeed << 5;
    return sSeed;
}

// Random magnitude of n words in one of a few shapes: random bits, all
// ones (long carries), a lone top bit, sparse words.
static void randomBig(SBig *x, int32_t n, int allowNegative) {
    int shape = (int)(rnd() % 5);
    for (int32_t i = 0; i < n; ++i) {
        uint32_t w = rnd();
        if (shape == 1) w = 0xFFFFFFFFu;
        if (shape == 2) w = (i == n - 1) ? 0x80000000u : 0;
        if (shape == 3) w = (rnd() % 4 == 0) ? rnd() : 0;
        x->m.w[i] = w;
    }
    if (n > 0 && x->m.w[n - 1] == 0) x->m.w[n - 1] = 1;
    x->m.n = n;
    big_Trim(&x->m);
    x->neg = allowNegative && x->m.n > 0 && (rnd() & 1);
}

static void toLibrary(const SBig *x, int32_t h) {
    char *p = sText;
    if (x->neg) *p++ = '-';
    *p++ = '&';
    *p++ = 'h';
    big_ToHex(&x->m, p);
    int32_t st = host_Put(h, sText);
    if (st) printf("FAIL  putting a %d-word integer: status %d\n", (int)x->m.n, st);
}

// Reads h back in hexadecimal; 0 when the text is not " &h..." or "-&h...".
static int fromLibrary(int32_t h, SBig *x) {
    host_Get(h, 16, 0, sText, sizeof sText);
    if ((sText[0] != ' ' && sText[0] != '-') || sText[1] != '&' || sText[2] != 'h') return 0;
    x->neg = sText[0] == '-';
    return big_FromHex(sText + 3, &x->m);
}

static int same(const SBig *a, const SBig *b) {
    return a->m.n == b->m.n && big_Cmp(&a->m, &b->m) == 0 && (a->m.n == 0 || a->neg == b->neg);
}

static void sAdd(const SBig *a, const SBig *b, int negateB, SBig *r) {
    int bneg = negateB ? !b->neg : b->neg;
    if (a->neg == bneg) {
        big_Add(&a->m, &b->m, &r->m);
        r->neg = a->neg;
    } else if (big_Cmp(&a->m, &b->m) >= 0) {
        big_Sub(&a->m, &b->m, &r->m);
        r->neg = a->neg;
    } else {
        big_Sub(&b->m, &a->m, &r->m);
        r->neg = bneg;
    }
    if (r->m.n == 0) r->neg = 0;
}

static int sFailures;
static void report(const char *op, int32_t na, int32_t nb) {
    if (sFailures++ < 8) printf("FAIL  %s of %d-word and %d-word integers differs from the host's\n", op, (int)na, (int)nb);
}

static void testBigIntegers(void) {
    static const int32_t sizes[] = {1, 2, 3, 5, 8, 13, 24, 40, 64, 100, 170, 300, 511, 800, 1400, 2000};
    int32_t a = T.ALLOCVAR(3), b = T.ALLOCVAR(3), r = T.ALLOCVAR(3), q = T.ALLOCVAR(3);
    int checked = 0;
    sFailures = 0;
    for (size_t k = 0; k < sizeof sizes / sizeof sizes[0]; ++k)
        for (int variant = 0; variant < 3; ++variant) {
            int32_t na = sizes[k], nb = variant == 0 ? na : variant == 1 ? (na + 1) / 2 : 1 + (int32_t)(rnd() % (uint32_t)na);
            randomBig(&sA, na, 1);
            randomBig(&sB, nb, 1);
            toLibrary(&sA, a);
            toLibrary(&sB, b);

            T.ADD(a, b, r);
            sAdd(&sA, &sB, 0, &sWant);
            if (!fromLibrary(r, &sGot) || !same(&sGot, &sWant)) report("sum", na, nb);
            T.SUB(a, b, r);
            sAdd(&sA, &sB, 1, &sWant);
            if (!fromLibrary(r, &sGot) || !same(&sGot, &sWant)) report("difference", na, nb);
            T.MUL(a, b, r);
            big_Mul(&sA.m, &sB.m, &sWant.m);
            sWant.neg = sWant.m.n && (sA.neg != sB.neg);
            if (!fromLibrary(r, &sGot) || !same(&sGot, &sWant)) report("product", na, nb);
            // An operand used as input and output at once.
            T.COPYVAR(a, q);
            T.MUL(q, q, q);
            big_Mul(&sA.m, &sA.m, &sWant.m);
            sWant.neg = 0;
            if (!fromLibrary(q, &sGot) || !same(&sGot, &sWant)) report("square", na, na);

            // Division of magnitudes: a = q*b + r with 0 <= r < b.
            sA.neg = sB.neg = 0;
            toLibrary(&sA, a);
            toLibrary(&sB, b);
            if (T.DIVINT(a, b, q, r) != 0 || !fromLibrary(q, &sQ) || !fromLibrary(r, &sR) || sQ.neg || sR.neg) {
                report("quotient and remainder", na, nb);
            } else {
                big_Mul(&sQ.m, &sB.m, &sProd);
                big_Add(&sProd, &sR.m, &sTmp.m);
                if (big_Cmp(&sTmp.m, &sA.m) != 0 || big_Cmp(&sR.m, &sB.m) >= 0) report("quotient and remainder", na, nb);
            }
            checked += 5;
        }
    CHECK_EQ(sFailures, 0);
    printf("%d big-integer results compared with the host's arithmetic\n", checked);
    // Division by zero is refused, not a crash.
    host_Err();
    T.GETCONST(11, b);
    CHECK(T.DIVINT(a, b, q, r) != 0);
    CHECK(host_Err() != 0);
    T.UNALLOCVAR(a);
    T.UNALLOCVAR(b);
    T.UNALLOCVAR(r);
    T.UNALLOCVAR(q);
}

// Value of the library's hexadecimal text " &h..." modulo p.
static uint32_t hexMod(const char *t, uint32_t p) {
    uint64_t v = 0;
    for (t += 3; *t; ++t) {
        const int d = *t <= '9' ? *t - '0' : (*t | 32) - 'a' + 10;
        v = (v * 16 + (uint32_t)d) % p;
    }
    return (uint32_t)v;
}

// Products far above the host's schoolbook reach (the transform of the
// 32-bit build): each checked modulo two primes against the product of the
// operands' residues, and (2^k - 1)^2 = 2^2k - 2^(k+1) + 1 word by word.
static void testLargeProducts(void) {
    static const int32_t shapes[][2] = {{24000, 24000}, {40000, 17000}, {12000, 0}};
    static const uint32_t primes[] = {4294967291u, 4294967279u};
    const size_t cap = 2 * 64000 * 8 + 16;
    char *ta = (char *)malloc(cap), *tb = (char *)malloc(cap), *tr = (char *)malloc(cap);
    int32_t a = T.ALLOCVAR(3), b = T.ALLOCVAR(3), r = T.ALLOCVAR(3);
    for (size_t k = 0; k < sizeof shapes / sizeof shapes[0]; ++k) {
        const int32_t na = shapes[k][0], nb = shapes[k][1] ? shapes[k][1] : na;
        char *texts[2] = {ta, tb};
        const int32_t lens[2] = {na, nb};
        for (int side = 0; side < 2; ++side) {
            char *p = texts[side];
            *p++ = '&';
            *p++ = 'h';
            for (int32_t i = 0; i < lens[side]; ++i) p += sprintf(p, i ? "%08x" : "%x", rnd() | (i ? 0 : 1u));
        }
        host_Put(a, ta);
        if (shapes[k][1]) host_Put(b, tb);
        T.MUL(a, shapes[k][1] ? b : a, r);
        host_Get(a, 16, 0, ta, cap);
        host_Get(shapes[k][1] ? b : a, 16, 0, tb, cap);
        host_Get(r, 16, 0, tr, cap);
        for (size_t j = 0; j < 2; ++j) {
            const uint64_t want = (uint64_t)hexMod(ta, primes[j]) * hexMod(tb, primes[j]) % primes[j];
            if (hexMod(tr, primes[j]) != want) printf("FAIL  %d x %d-word product wrong modulo %u\n", (int)na, (int)nb, primes[j]);
            CHECK(hexMod(tr, primes[j]) == want);
        }
    }
    // All-ones operands: the largest coefficients the transform has to carry.
    const int32_t words = 20000;
    char *p = ta;
    p += sprintf(p, "&h");
    for (int32_t i = 0; i < 8 * words; ++i) *p++ = 'F';
    *p = 0;
    host_Put(a, ta);
    T.MUL(a, a, r);
    host_Get(r, 16, 0, tr, cap);
    // 2^2k - 2^(k+1) + 1 in hexadecimal: F..FE followed by 0..01 (k/4 - 1 and k/4 digits).
    int ok = strncmp(tr, " &h", 3) == 0 && strlen(tr) == 3 + (size_t)16 * words;
    for (int32_t i = 0; ok && i < 8 * words; ++i)
        ok = tr[3 + i] == (i == 8 * words - 1 ? 'E' : 'F') && tr[3 + 8 * words + i] == (i == 8 * words - 1 ? '1' : '0');
    CHECK(ok);
    T.UNALLOCVAR(a);
    T.UNALLOCVAR(b);
    T.UNALLOCVAR(r);
    free(ta);
    free(tb);
    free(tr);
}

// Kinds never mix (the float and fraction values themselves are in the
// transcript, compared with the Linux library's).
static void testKindsNeverMix(void) {
    int32_t x = host_NewVar(1, "1.5"), bx = host_NewVar(2, "1"), z = T.ALLOCVAR(1);
    host_Err();
    CHECK_EQ(T.ADD(x, bx, z), 2);
    CHECK_EQ(host_Err(), 2);
    T.UNALLOCVAR(x);
    T.UNALLOCVAR(bx);
    T.UNALLOCVAR(z);
}

// Exact roots and powers of big integers.
static void testRootsPowers(void) {
    char buf[256];
    int32_t a = T.ALLOCVAR(3), n = T.ALLOCVAR(3), m = T.ALLOCVAR(3), r = T.ALLOCVAR(3), rem = T.ALLOCVAR(3);
    host_Put(a, "3");
    host_Put(n, "100");
    CHECK_EQ(T.POW(a, n, r), 0);
    CHECK_STR(host_Get(r, 8, 0, buf, sizeof buf), " 515377520732011331036461129765621272702107522001");
    host_Put(a, "4");
    host_Put(n, "13");
    host_Put(m, "497");
    CHECK_EQ(T.POWMOD(a, n, m, r), 0);
    CHECK_STR(host_Get(r, 8, 0, buf, sizeof buf), " 445");
    host_Put(a, "10000000000000000000000000000000000012345");
    host_Put(n, "2");
    CHECK_EQ(T.ROOT(a, n, 1, r, rem), 0);
    CHECK_STR(host_Get(r, 8, 0, buf, sizeof buf), " 100000000000000000000");
    CHECK_STR(host_Get(rem, 8, 0, buf, sizeof buf), " 12345");
    host_Put(a, "1606938044258990275541962092341162602522202993782792835301383");  // 2^200 + 7
    host_Put(n, "5");
    CHECK_EQ(T.ROOT(a, n, 1, r, rem), 0);
    CHECK_STR(host_Get(r, 8, 0, buf, sizeof buf), " 1099511627776");
    CHECK_STR(host_Get(rem, 8, 0, buf, sizeof buf), " 7");
    int32_t all[] = {a, n, m, r, rem};
    for (size_t i = 0; i < sizeof all / sizeof all[0]; ++i) T.UNALLOCVAR(all[i]);
}

void host_TestArith(void) {
    host_Group("arithmetic");
    testBigIntegers();
    testLargeProducts();
    testKindsNeverMix();
    testRootsPowers();
    CHECK_EQ(host_Err(), 0);
}
