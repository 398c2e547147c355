// The variable store: lowest free slot first, growth by 1000 slots.
#include "store.h"

#include "base/tq_state.h"
#include "store_text.h"

std::vector<TqNum> gTq_Store TQ_MADE_FIRST;  // a host may release variables after main
int32_t gTq_Store_HighestHandle = 0;
// No slot below this index is free; lets allocation skip the taken prefix.
static int32_t sFreeHint = 0;

void n_Store_Release(int32_t h) {
    TqNum &v = gTq_Store[h];
    v.V.InUse = 0;
    v.MantN.clear();
    v.DenN.clear();
    n_Store_TextHandle_Free(h);
    if (h < sFreeHint) sFreeHint = h;
}

void n_Store_Create() {
    if (gTq_Store.empty()) gTq_Store.resize(tq_Store_InitialHighest + 1);
}

int32_t n_Store_Highest() { return static_cast<int32_t>(gTq_Store.size()) - 1; }

void n_Store_Resize(int32_t highest) {
    gTq_Store.resize(static_cast<size_t>(highest) + 1);
    if (sFreeHint > highest + 1) sFreeHint = highest + 1;
}

int32_t n_Store_Alloc(int32_t kind) {
    int32_t n = static_cast<int32_t>(gTq_Store.size());
    int32_t slot = -1;
    for (int32_t i = sFreeHint; i < n; ++i) {
        if (gTq_Store[i].V.InUse == 0) {
            slot = i;
            break;
        }
    }
    if (slot < 0) {
        slot = n;
        n_Store_Resize(n_Store_Highest() + tq_Store_Growth);
    }
    sFreeHint = slot + 1;
    TqNum &v = gTq_Store[slot];
    v.V.InUse = 1;
    v.V.NumType = kind;
    n_SetZero(v);
    if (slot > gTq_Store_HighestHandle) gTq_Store_HighestHandle = slot;
    return slot;
}

