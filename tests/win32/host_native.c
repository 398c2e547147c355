// Native numbers through the DLL: doubles (two argument words) and 80-bit
// extended values (three argument words) in, and the same out,
// floating-point results arriving on the x87 stack (32-bit integers in every
// kind and the edges of each range are lines of the transcript). Hosts such as
// Visual Basic run with the x87 set to 53-bit precision, so the extended
// values are also checked in that mode.
#include <float.h>
#include <math.h>
#include <stdio.h>
#include <string.h>

#include "host.h"

static unsigned short fpuControl(void) {
    unsigned short cw;
    __asm__ volatile("fnstcw %0" : "=m"(cw));
    return cw;
}
static void setFpuControl(unsigned short cw) { __asm__ volatile("fldcw %0" : : "m"(cw)); }
// Precision control: bits 8..9, 3 = 64-bit significand, 2 = 53-bit.
static void setFpuPrecision(int pc) { setFpuControl((unsigned short)((fpuControl() & ~0x300u) | ((unsigned)pc << 8))); }

static uint32_t lcg(uint32_t *s) {
    *s = *s * 1664525u + 1013904223u;
    return *s;
}

static void testDoubles(void) {
    char b[256];
    int32_t d = T.TQ_ALLOCVAR(1), bf = T.TQ_ALLOCVAR(2);
    CHECK_EQ(T.TQ_PUTDOUBLE(0.1, d), 0);
    // 0.1000000000000000055511... to 18 digits.
    CHECK_STR(host_Get(d, 2 + 8, 0, b, sizeof b), " 1.00000000000000006*d-1");
#if !defined(_WIN64)
    // Through the probe: one x87 register loaded with the result, two
    // argument words removed by the callee.
    CHECK_EQ(host_Put(d, "-2.5"), 0);
    HostProbe p = host_Probe((void *)T.TQ_GETANY_DOUBLE, 1, d);
    CHECK(p.residue == 0 && host_X87Pushed(&p) == 1 && p.st0 == -2.5L);
    double x = 6.02214076e23;
    uint32_t args[3];
    memcpy(args, &x, 8);
    args[2] = (uint32_t)d;
    p = host_ProbeArgs((void *)T.TQ_PUTDOUBLE, args, 3);
    CHECK(p.residue == 0 && p.eax == 0 && host_X87Pushed(&p) == 0);
    CHECK(T.TQ_GETANY_DOUBLE(d) == x);
#endif

    // 18 significant digits carry every double there and back, in both
    // float kinds and with the x87 at either precision.
    uint32_t seed = 12345;
    int lost = 0;
    for (int pc = 3; pc >= 2; --pc) {
        unsigned short saved = fpuControl();
        setFpuPrecision(pc);
        for (int k = 0; k < 300; ++k) {
            uint64_t bits = ((uint64_t)lcg(&seed) << 32) | lcg(&seed);
            double v;
            memcpy(&v, &bits, 8);
            if (!isfinite(v) || fabs(v) > 1e306 || (v != 0 && fabs(v) < 1e-306)) continue;
            int32_t h = (k & 1) ? bf : d;
            if (T.TQ_PUTDOUBLE(v, h) != 0 || T.TQ_GETANY_DOUBLE(h) != v) {
                if (lost < 5) printf("FAIL  double %.17g (x87 precision %d) did not come back\n", v, pc);
                ++lost;
            }
        }
        setFpuControl(saved);
    }
    CHECK_EQ(lost, 0);
    CHECK_EQ(host_Err(), 0);
    T.TQ_UNALLOCVAR(d);
    T.TQ_UNALLOCVAR(bf);
}

#if !defined(_WIN64)
static void testExtended(void) {
    char b[256];
    int32_t d = T.TQ_ALLOCVAR(1);
    // A value needing all 64 bits of the extended significand and 18 digits.
    const long double big = 123456789012345678.0L;
    int lost = 0;
    for (int pc = 3; pc >= 2; --pc) {
        unsigned short saved = fpuControl();
        setFpuPrecision(pc);
        CHECK_EQ(T.TQ_PUTEXT(big, d), 0);
        CHECK_STR(host_Get(d, 4 + 8, 0, b, sizeof b), " 123456789012345678*d+0");
        long double back = T.TQ_GETANY_EXT(d);
        setFpuControl(saved);
        if (back != big) {
            printf("FAIL  extended value changed on the way back (x87 precision %d): %.21Lg\n", pc, back);
            ++lost;
        }
    }
    CHECK_EQ(lost, 0);
    // Three argument words for the value, one for the handle.
    uint32_t args[4] = {0};
    long double v = -0.375L;
    memcpy(args, &v, 10);
    args[3] = (uint32_t)d;
    HostProbe p = host_ProbeArgs((void *)T.TQ_PUTEXT, args, 4);
    CHECK(p.residue == 0 && p.eax == 0);
    CHECK_STR(host_Get(d, 2 + 8, 0, b, sizeof b), "-3.75*d-1");
    p = host_Probe((void *)T.TQ_GETANY_EXT, 1, d);
    CHECK(p.residue == 0 && host_X87Pushed(&p) == 1 && p.st0 == v);
    T.TQ_UNALLOCVAR(d);
}
#else
// The 64-bit DLL's extended float is the double: the transcript compares the
// two exports' results on every native line.
static void testExtended(void) {}
#endif

static void testTextOut(void) {
    char b[256];
    int32_t d = host_NewVar(1, "-42.125");
    BSTR s = T.TQ_GETANY_DS(d);
    CHECK_STR(host_BstrText(s, b, sizeof b), "-42.125");
    SysFreeString(s);
    memset(b, '#', sizeof b);
    CHECK_EQ(T.TQ_GETANY_S2ADD(d, b), 0);
    CHECK_STR(b, "-42.125");
    T.TQ_UNALLOCVAR(d);
}

void host_TestNative(void) {
    host_Group("native numbers");
    testDoubles();
    testExtended();
    testTextOut();
    CHECK_EQ(host_Err(), 0);
}
