// Dynamic-string handles owned by text variables, for the exports that hand
// the host the address of the library's own string handle. One cell per
// handle, allocated on first use and never moved, so the address stays valid
// while the store grows; the string in it is replaced when the variable's text
// has changed and freed when the variable is freed.
#pragma once
#include "tarq.h"
#include "base/tq_types.h"

// The cell of handle h, holding a dynamic string equal to text.
tq_dstr *n_Store_TextHandle(int32_t h, const TqStr &text);
// Frees the string held in the cell of handle h (the cell stays).
void n_Store_TextHandle_Free(int32_t h);
