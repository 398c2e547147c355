// The common body of the exports that put a text into a variable.
#pragma once
#include "base/tq_types.h"

// Parses text into variable h with its current kind, under the lock the caller
// holds. initAlways runs the lazy start-up for every kind; otherwise it runs
// for every kind but text. rejectEmpty refuses an empty text for numeric kinds.
int32_t n_PutText(const TqStr &text, int32_t h, bool initAlways, bool rejectEmpty);
