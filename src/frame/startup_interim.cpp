// Interim start-up steps: fixed thresholds and exact powers of ten, used until
// the calibration, the powers-of-ten table and the cache files replace them.
#include "kernels/pow.h"
#include "pow10.h"
#include "startup.h"
#include "tq_state.h"

void n_Init_Constants() {
    if (gTq_Threshold_Mul_Karatsuba2Way != 0) return;
    gTq_Threshold_Mul_Karatsuba2Way = 300;
    gTq_Threshold_Mul_Karatsuba3Way = 300;
    gTq_Threshold_Square_Comba = 48;
    gTq_Threshold_Square_Karatsuba = 500;
}

void n_Init_PowersOf10Table() {}
void n_Cache_SaveAtUnload() {}

void n_Pow10_Lookup(int32_t n, TarqVar &v, TqStr &MantN) {
    v.Sign = 1;
    v.Special = 0;
    v.Expo = 0;
    v.NumType = TarqBinFloat;
    if (n < 0) {
        MantN = tq_Word(0);
        return;
    }
    h_Pow(tq_Word(10), tq_Word(static_cast<uint32_t>(n)), MantN);
    size_t low = 0;
    while (low + 1 < MantN.size() / 4 && tq_W(MantN)[low] == 0) ++low;
    if (low) {
        MantN.erase(0, low * 4);
        v.Expo += static_cast<int32_t>(low * 4);
    }
}

void n_Pow10_Integer(int32_t n, TqStr &R) {
    TarqVar v;
    TqStr m;
    n_Pow10_Lookup(n, v, m);
    R = TqStr(static_cast<size_t>(v.Expo), '\0') + m;
}

#include "cache.h"
#include "calibrate.h"

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

int32_t n_Cache_Read(int32_t) { return 1; }
int32_t n_Cache_Save(int32_t, int32_t) { return gTq_Opt_DiskCache ? 0 : 1; }
