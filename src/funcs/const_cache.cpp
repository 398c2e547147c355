// The two stores of the computed-constant cache, as never-destroyed heap
// arrays; entries start with an empty magnitude, which no lookup can mistake
// for a cached value.
#include "const_cache.h"

static TqNum *makeStore() { return new TqNum[tq_ConstCache_Entries]; }

TqNum *tq_ConstCache_Working() {
    static TqNum *s = makeStore();
    return s;
}

TqNum *tq_ConstCache_Persistent() {
    static TqNum *s = makeStore();
    return s;
}

void tq_ConstCache_Clear() {
    for (int32_t i = 0; i < tq_ConstCache_Entries; ++i) {
        tq_ConstCache_Working()[i] = TqNum();
        tq_ConstCache_Persistent()[i] = TqNum();
    }
}
