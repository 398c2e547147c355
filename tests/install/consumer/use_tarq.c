/* Installed-library consumer: the square root of 2 to 40 digits and 2^100
 * as a big integer, through the C interface. */
#include <stdio.h>

#include "tarq.h"

static void show(int32_t h, int32_t format, int32_t digits) {
    tq_dstr s = NULL;
    if (TQ_GET_STRING(h, format, digits, &s) != 0) {
        puts("formatting failed");
        return;
    }
    puts(s);
    TQ_DS_FREE(s);
}

int main(void) {
    TQ_SETPRECISION(1, 50);
    int32_t x = TQ_ALLOCVAR(TQ_KIND_DECFLOAT), r = TQ_ALLOCVAR(TQ_KIND_DECFLOAT);
    int32_t b = TQ_ALLOCVAR(TQ_KIND_BIGINT), p = TQ_ALLOCVAR(TQ_KIND_BIGINT);
    if (TQ_PUTSTRING_PAZ("2", x) || TQ_SQRT(x, r) || TQ_PUTLONG(2, b) || TQ_PUTLONG(100, p) || TQ_POW(b, p, b))
        return 1;
    show(r, TQ_FORMAT_NORMAL | TQ_FORMAT_DEC, 40);
    show(b, TQ_FORMAT_NORMAL | TQ_FORMAT_DEC, 0);
    return 0;
}
