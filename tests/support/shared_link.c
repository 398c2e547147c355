/* A C host linked against libtarq.so: allocates, sets a precision, reads the
 * error word, and makes and frees a dynamic string. */
#include <stdio.h>
#include <string.h>

#include "tarq.h"

int main(void) {
    int failures = 0;
    int32_t h = TQ_ALLOCVAR(TQ_KIND_BIGINT);
    if (h != 0) { printf("first handle %d\n", h); failures++; }
    if (TQ_SETPRECISION(1, 40) != 48) { printf("precision\n"); failures++; }
    if (TQ_UNALLOCVAR(-1) != TQ_ERR_HANDLE) { printf("unalloc\n"); failures++; }
    if (TQ_GETGLOBALERROR() != TQ_ERR_HANDLE) { printf("error word\n"); failures++; }
    tq_dstr s = TQ_DS_NEW("abc", 3);
    if (TQ_DS_LEN(s) != 3 || memcmp(s, "abc", 4) != 0) { printf("dstr\n"); failures++; }
    TQ_DS_FREE(s);
    printf("%d passed, %d failed\n", 5 - failures, failures);
    return failures ? 1 : 0;
}
