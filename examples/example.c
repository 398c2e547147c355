/* A small host program: sets a precision, stores numbers, and shows the
 * global error word. */
#include <stdio.h>

#include "tarq.h"

int main(void) {
    int32_t digits = TQ_SETPRECISION(1, 100);
    printf("working precision: %d decimal digits (%d bits)\n", digits, TQ_GETPRECISION(2));

    int32_t a = TQ_ALLOCVAR(TQ_KIND_BINFLOAT);
    int32_t b = TQ_ALLOCVAR(TQ_KIND_FRACTION);
    TQ_GETCONST(28, a); /* 1.0625 */
    TQ_GETCONST(13, b); /* 1/2 */
    printf("allocated handles %d and %d\n", a, b);

    int32_t status = TQ_COPYVAR(a, b); /* different kinds: refused */
    printf("copy between kinds: status %d\n", status);
    status = TQ_UNALLOCVAR(-1);
    printf("freeing handle -1: status %d\n", status);
    printf("global error word: %d (then %d after reading)\n", TQ_GETGLOBALERROR(), TQ_GETGLOBALERROR());
    return 0;
}
