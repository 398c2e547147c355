// Helpers shared by the trigonometric operations: variables of a given kind,
// sign and zero tests, the common argument checks and the series' term
// precision.
#pragma once
#include "base/tq_types.h"
#include "numbers/precision.h"  // TqPrecisionScope
#include "tarq.h"  // the constant codes

// a > b and a = b by the comparison of numbers (a - b at the current
// working precision).
bool trig_Greater(const TqNum &a, const TqNum &b);
bool trig_Equal(const TqNum &a, const TqNum &b);
// Result NaN, error bits 1 and 8 raised; returns tq_Err_Invalid.
int32_t trig_SetNaN(TqNum &r);
// The checks every trigonometric operation starts with: kinds (status 2) and
// special inputs (NaN result, status 1). Returns 0 when the operation may go on.
int32_t trig_CommonChecks(const TqNum &x, TqNum &r);

// Convergence of a series: the new and the previous sum, cut to the caller's
// precision, agree in magnitude and exponent.
bool trig_Converged(TqPrecisionScope &prec, const TqNum &sum, const TqNum &previous);

// Terms of a series need less precision as they shrink: a term that lies g
// bytes below the sum only has to be right to the sum's last place. These set
// the working precision for computing the next term and put it back.
class TqTermPrecision {
public:
    // fullBytes: the precision of the sum.
    explicit TqTermPrecision(int32_t fullBytes) : full_(fullBytes) {}
    // Switches to the precision the term after `term` needs next to `sum`, and
    // cuts a copy of `factor` (the series' multiplier) to it when that saves work.
    const TqNum &enter(const TqNum &sum, const TqNum &term, const TqNum &factor);
    void leave();  // back to the sum's precision

private:
    int32_t full_;
    int32_t bytes_ = 0;
    TqNum factorCut_;
};

// The largest index a series runs to.
constexpr int32_t tq_Series_MaxK = 2000000;
