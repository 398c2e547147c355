// Number theory and angle units through the DLL: gcd, lcm, modular inverse
// and the extended Euclidean algorithm on small big integers with known
// results, and the four angle conversions in both float kinds.
#include <math.h>
#include <stdio.h>

#include "host.h"

static void putLong(int32_t h, int32_t v) { CHECK_EQ(T.PUTLONG(v, h), 0); }

void host_TestNumberTheoryUnits(void) {
    host_Group("number theory and angle units");
    T.SETPRECISION(1, 38);
    int32_t a = T.ALLOCVAR(3), b = T.ALLOCVAR(3), x = T.ALLOCVAR(3), y = T.ALLOCVAR(3), g = T.ALLOCVAR(3);
    putLong(a, 12), putLong(b, -18);
    CHECK_EQ(T.GCD(a, b, g), 0);
    CHECK_EQ(T.GETANY_LONG(g), 6);
    putLong(a, -4), putLong(b, 6);
    CHECK_EQ(T.LCM(a, b, g), 0);
    CHECK_EQ(T.GETANY_LONG(g), 12);
    putLong(a, 0), putLong(b, 0);
    CHECK_EQ(T.LCM(a, b, g), 0);
    CHECK_EQ(T.GETANY_LONG(g), 0);
    putLong(a, 10), putLong(b, 17);
    CHECK_EQ(T.MODINV(a, b, g), 0);
    CHECK_EQ(T.GETANY_LONG(g), 12);
    putLong(a, 6), putLong(b, 9);
    CHECK_EQ(T.MODINV(a, b, g), 512);
    putLong(b, 0);
    CHECK_EQ(T.MODINV(a, b, g), 512);
    CHECK_EQ(T.GETANY_LONG(g), 0);
    CHECK_EQ(host_Err(), 512);
    putLong(a, 240), putLong(b, 46);
    CHECK_EQ(T.EXTEUCLIDALGO(a, b, x, y, g), 0);
    CHECK_EQ(T.GETANY_LONG(x), -9);
    CHECK_EQ(T.GETANY_LONG(y), 47);
    CHECK_EQ(T.GETANY_LONG(g), 2);
    T.UNALLOCVAR(a), T.UNALLOCVAR(b), T.UNALLOCVAR(x), T.UNALLOCVAR(y), T.UNALLOCVAR(g);

    for (int32_t kind = 1; kind <= 2; ++kind) {
        int32_t v = T.ALLOCVAR(kind), r = T.ALLOCVAR(kind);
        CHECK_EQ(T.PUTDOUBLE(180.0, v), 0);
        CHECK_EQ(T.CONVERTUNITS(2, v, r), 0);  // degrees to radians: pi
        CHECK(fabs(T.GETANY_DOUBLE(r) - 3.14159265358979323846) < 1e-15);
        CHECK_EQ(T.CONVERTUNITS(3, r, v), 0);  // radians to grads: 200
        CHECK(fabs(T.GETANY_DOUBLE(v) - 200.0) < 1e-12);
        CHECK_EQ(T.CONVERTUNITS(4, v, r), 0);  // grads to radians: pi
        CHECK_EQ(T.CONVERTUNITS(1, r, v), 0);  // radians to degrees: 180
        CHECK(fabs(T.GETANY_DOUBLE(v) - 180.0) < 1e-12);
        CHECK_EQ(T.CONVERTUNITS(5, v, r), 1);  // unknown code: NaN
        CHECK_EQ(host_Err(), 1);
        T.UNALLOCVAR(v), T.UNALLOCVAR(r);
    }
    CHECK_EQ(host_Err(), 0);
}
