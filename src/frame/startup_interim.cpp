// Interim threshold steps: fixed thresholds, used until the calibration
// replaces them.
#include "calibrate.h"
#include "startup.h"
#include "tq_state.h"

void n_Init_Constants() {
    n_Trace("n_Init_Constants");
    if (gTq_Threshold_Mul_Karatsuba2Way != 0) return;
    n_Trace("Calculating the Karatsuba en Comba threshold values from scratch");
    gTq_Threshold_Mul_Karatsuba2Way = 300;
    gTq_Threshold_Mul_Karatsuba3Way = 300;
    gTq_Threshold_Square_Comba = 48;
    gTq_Threshold_Square_Karatsuba = 500;
}

// Thresholds below one word would make the recursions split for ever.
void n_SetThreshold_Mul(int32_t value) {
    if (value == 0) value = 300;
    if (value < 8) value = 8;
    gTq_Threshold_Mul_Karatsuba2Way = value;
}

void n_SetThreshold_Square(int32_t value) {
    gTq_Threshold_Square_Comba = 48;
    if (value == 0) value = 500;
    if (value < 12) value = 12;
    gTq_Threshold_Square_Karatsuba = value;
}
