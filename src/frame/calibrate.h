// Setting and measuring the multiplication and squaring thresholds.
#pragma once
#include <cstdint>

// Option 3: 0 measures gTq_Threshold_Mul_Karatsuba2Way, another value sets it.
void n_SetThreshold_Mul(int32_t value);
// Option 4: re-measures the Comba threshold; sets the Karatsuba squaring
// threshold to value, or measures it when value is 0.
void n_SetThreshold_Square(int32_t value);
