// Arithmetic through the DLL: the values themselves, big integers of every
// size included, are lines of the transcript (transcript.c), compared with
// the Linux library's; here what a host sees of refusals.
#include "host.h"

void host_TestArith(void) {
    host_Group("arithmetic");
    // Kinds never mix; division by zero is refused, not a crash.
    int32_t x = host_NewVar(1, "1.5"), bx = host_NewVar(2, "1"), z = T.TQ_ALLOCVAR(1);
    int32_t a = host_NewVar(3, "12345678901234567890"), b = T.TQ_ALLOCVAR(3), q = T.TQ_ALLOCVAR(3), r = T.TQ_ALLOCVAR(3);
    host_Err();
    CHECK_EQ(T.TQ_ADD(x, bx, z), 2);
    CHECK_EQ(host_Err(), 2);
    T.TQ_GETCONST(11, b);
    CHECK(T.TQ_DIVINT(a, b, q, r) != 0);
    CHECK(host_Err() != 0);
    int32_t all[] = {x, bx, z, a, b, q, r};
    for (size_t i = 0; i < sizeof all / sizeof all[0]; ++i) T.TQ_UNALLOCVAR(all[i]);
    CHECK_EQ(host_Err(), 0);
}
