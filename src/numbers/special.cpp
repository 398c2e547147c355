// The three 4 x 4 tables that decide every operation meeting an infinity or
// NaN, indexed [Special of a][Special of b]. Codes 0..3 are the result's
// Special; negative codes ask for a sign rule applied by the operation.
#include "special.h"

#include <cstring>

#include "base/tq_state.h"

int32_t gTq_SpecialTable_Add[4][4];
int32_t gTq_SpecialTable_Mul[4][4];
int32_t gTq_SpecialTable_Div[4][4];

void n_SpecialTables_Fill() {
    static const int32_t add[4][4] = {{0, 1, 2, 3}, {1, 1, 3, 3}, {2, 3, 2, 3}, {3, 3, 3, 3}};
    static const int32_t div[4][4] = {{0, -1, -1, 3}, {-2, 3, 3, 3}, {-3, 3, 3, 3}, {3, 3, 3, 3}};
    static const int32_t mul[4][4] = {{0, -2, -3, 3}, {-4, 1, 2, 3}, {-5, 2, 1, 3}, {3, 3, 3, 3}};
    std::memcpy(gTq_SpecialTable_Add, add, sizeof add);
    std::memcpy(gTq_SpecialTable_Div, div, sizeof div);
    std::memcpy(gTq_SpecialTable_Mul, mul, sizeof mul);
}
