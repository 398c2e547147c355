// Dynamic-string cells of text variables (see store_text.h).
#include "store_text.h"

#include <vector>

#include "dstr.h"

// Never destroyed: the cells must outlive every static destructor.
static std::vector<tq_dstr *> &cells() {
    static auto *c = new std::vector<tq_dstr *>();
    return *c;
}

tq_dstr *n_Store_TextHandle(int32_t h, const TqStr &text) {
    std::vector<tq_dstr *> &c = cells();
    if (static_cast<size_t>(h) >= c.size()) c.resize(static_cast<size_t>(h) + 1, nullptr);
    if (!c[h]) c[h] = new tq_dstr(nullptr);
    tq_dstr *cell = c[h];
    if (!*cell || tq_DS_Read(*cell) != text) tq_DS_Assign(cell, text);
    return cell;
}

void n_Store_TextHandle_Free(int32_t h) {
    std::vector<tq_dstr *> &c = cells();
    if (h < 0 || static_cast<size_t>(h) >= c.size() || !c[h]) return;
    if (*c[h]) TQ_DS_FREE(*c[h]);
    *c[h] = nullptr;
}
