// The variable store: one slot per handle, slots 0..highest. A slot is free
// while its InUse is 0. The store grows by 1000 slots when every slot is taken.
#pragma once
#include <cstdint>
#include <vector>

#include "base/tq_types.h"
#include "numbers/number.h"  // n_SetZero

extern std::vector<TqNum> gTq_Store;
extern int32_t gTq_Store_HighestHandle;  // highest handle ever returned (option 10)

constexpr int32_t tq_Store_InitialHighest = 5000;
constexpr int32_t tq_Store_Growth = 1000;

void n_Store_Create();
int32_t n_Store_Highest();
// Sets the highest slot (option 2), keeping the contents of the remaining slots.
void n_Store_Resize(int32_t highest);
// Allocates the lowest free slot as zero of the given kind; returns its handle.
int32_t n_Store_Alloc(int32_t kind);
// Frees a slot (InUse 0, both strings empty); the other fields are kept.
void n_Store_Release(int32_t h);
// True for a handle of an allocated slot.
inline bool n_Store_Valid(int32_t h) {
    // A negative h is a large unsigned one: one comparison bounds it both ways.
    return static_cast<uint32_t>(h) < gTq_Store.size() && gTq_Store[static_cast<uint32_t>(h)].V.InUse != 0;
}
// The slot of h when n_Store_Valid(h), else null. The slot's address is
// compared with the store's end in 64-bit integers (h taken unsigned, no
// wrap-around even in a 32-bit process): no division of the store's length
// by the slot size, and the address is at hand for the caller.
inline TqNum *n_Store_Slot(int32_t h) {
    const uint64_t begin = reinterpret_cast<uintptr_t>(gTq_Store.data());
    const uint64_t at = begin + uint64_t{static_cast<uint32_t>(h)} * sizeof(TqNum);
    if (at >= begin + uint64_t{gTq_Store.size()} * sizeof(TqNum)) return nullptr;
    TqNum *slot = reinterpret_cast<TqNum *>(static_cast<uintptr_t>(at));
    return slot->V.InUse != 0 ? slot : nullptr;
}
