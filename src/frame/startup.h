// Start-up steps run by the lazy initialisation and at unload.
#pragma once
#include <cstdint>

// Measures (or restores) the multiplication and squaring thresholds; runs only
// while gTq_Threshold_Mul_Karatsuba2Way is 0.
void n_Init_Constants();
// Brings the powers-of-ten table to gTq_Opt_Pow10_Precision.
void n_Init_PowersOf10Table();
// Saves the cache files at unload when disk caching is on.
void n_Cache_SaveAtUnload();
