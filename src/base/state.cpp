// Definitions of the process-wide state, the diagnostics trace and the global
// lock. The plain variables are constant-initialised, so they hold their values
// before any dynamic initialiser (the load step in frame/init.cpp) runs; the
// strings and the vector are made first of all (TQ_MADE_FIRST).
#include "platform.h"
#include "tq_state.h"

int32_t gTq_Prec_Bytes_Internal = 0;
int32_t gTq_Prec_Digits_Internal = 0;
TqStr gTq_Prec_Pow10 TQ_MADE_FIRST;

int32_t gTq_Threshold_Mul_Karatsuba2Way = 0;
int32_t gTq_Threshold_Mul_Karatsuba3Way = 0;
int32_t gTq_Threshold_Mul_Karatsuba2Way_V5 = 0;
int32_t gTq_Threshold_Square_Comba = 0;
int32_t gTq_Threshold_Square_Karatsuba = 0;
int32_t gTq_Threshold_Mul_Toom3 = 4 * 1200;  // measured: Toom-3 gains from about 1,200 words
int32_t gTq_Threshold_Mul_Ntt = 4 * 16000;
int32_t gTq_Threshold_Square_Toom3 = 4 * 1200;
int32_t gTq_Threshold_Square_Ntt = 4 * 8000;
int32_t gTq_Threshold_Div_DC = 48;
int32_t gTq_Threshold_Mant2Dec_Base = 24;
int32_t gTq_Threshold_CutRecip = 8;
int32_t gTq_Kernel_Limb64 = 1;
int32_t gTq_SmallFloat = 1;

int32_t gTq_Opt_Pow10_Precision = 0;
int32_t gTq_Opt_ReduceFractions = 1;
int32_t gTq_Opt_DefaultFormat = 0;
int32_t gTq_Opt_DefaultDigits = 0;
int32_t gTq_Opt_DiskCache = 0;
std::string gTq_Cache_FileN_Constants TQ_MADE_FIRST;
std::string gTq_Cache_FileN_Tables TQ_MADE_FIRST;
std::vector<TqStr> gTq_SmallPrimes TQ_MADE_FIRST;
int32_t gTq_SmallPrimes_Count = -1;

int32_t gTq_MaxThreads = 0;
std::atomic<int32_t> gTq_RunningThreads{0};
int32_t gTq_Karatsuba_Depth = 0;

int32_t gTq_Initialised = 0;
std::atomic<uint32_t> gTq_ErrorWord{0};
int32_t gTq_WarningPauseMs = 5000;

static tq_TraceSink sTraceSink = nullptr;

void n_Trace(const std::string &line) {
    if (sTraceSink) sTraceSink(line);
}
void n_Trace(const char *line) {
    if (sTraceSink) sTraceSink(line);
}
void tq_SetTraceSink(tq_TraceSink sink) { sTraceSink = sink; }
bool n_TraceOn() { return sTraceSink != nullptr; }
void tq_WarningPause() { tq_SleepMs(gTq_WarningPauseMs); }

void tq_Lock() { tq_PlatformLock(); }
void tq_Unlock() { tq_PlatformUnlock(); }
