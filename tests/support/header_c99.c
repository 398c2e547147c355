/* Compiles the public header as strict C99. */
#include "tarq.h"

int32_t header_c99_probe(void) { return TQ_KIND_TEXT + (int32_t)sizeof(tq_az100); }
