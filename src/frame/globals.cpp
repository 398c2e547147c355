// Definitions of the process-wide state, the load and unload sequence and the
// lazy initialisation. The load step runs from a static object defined after
// all state in this file, so the state exists before it is used.
#include <cmath>
#include <cstdlib>
#include <ctime>

#include "platform.h"
#include "precision.h"
#include "special.h"
#include "startup.h"
#include "store.h"
#include "tq_state.h"

int32_t gTq_Prec_Bytes_Internal = 0;
int32_t gTq_Prec_Digits_Internal = 0;
TqStr gTq_Prec_Pow10;

int32_t gTq_Threshold_Mul_Karatsuba2Way = 0;
int32_t gTq_Threshold_Mul_Karatsuba3Way = 0;
int32_t gTq_Threshold_Mul_Karatsuba2Way_V5 = 0;
int32_t gTq_Threshold_Square_Comba = 0;
int32_t gTq_Threshold_Square_Karatsuba = 0;
int32_t gTq_Threshold_Div_DC = 48;
int32_t gTq_Threshold_Mant2Dec_Base = 24;
int32_t gTq_Threshold_CutRecip = 8;
int32_t gTq_Kernel_Limb64 = 1;

int32_t gTq_Opt_Pow10_Precision = 0;
int32_t gTq_Opt_ReduceFractions = 1;
int32_t gTq_Opt_DefaultFormat = 0;
int32_t gTq_Opt_DefaultDigits = 0;
int32_t gTq_Opt_DiskCache = 0;
std::string gTq_Cache_FileN_Constants;
std::string gTq_Cache_FileN_Tables;
std::vector<TqStr> gTq_SmallPrimes;
int32_t gTq_SmallPrimes_Count = -1;

int32_t gTq_MaxThreads = 0;
std::atomic<int32_t> gTq_RunningThreads{0};
int32_t gTq_Karatsuba_Depth = 0;

int32_t gTq_Initialised = 0;
std::atomic<uint32_t> gTq_ErrorWord{0};
int32_t gTq_WarningPauseMs = 5000;

static tq_TraceSink sTraceSink = nullptr;
static int32_t sStartupDone = 0;

void n_Trace(const std::string &line) {
    if (sTraceSink) sTraceSink(line);
}
void tq_SetTraceSink(tq_TraceSink sink) { sTraceSink = sink; }
bool n_TraceOn() { return sTraceSink != nullptr; }
void tq_WarningPause() { tq_SleepMs(gTq_WarningPauseMs); }

void tq_Lock() { tq_PlatformLock(); }
void tq_Unlock() { tq_PlatformUnlock(); }

// Maximum worker threads: NUMBER_OF_PROCESSORS rounded to the nearest integer,
// minus one when positive; 0 when the variable is missing.
static int32_t maxThreadsFromEnvironment() {
    std::string s = tq_GetEnv("NUMBER_OF_PROCESSORS");
    if (s.empty()) return 0;
    double d = std::atof(s.c_str());
    if (!(d > 0) || d > 1e6) return 0;
    int32_t n = static_cast<int32_t>(std::lround(d));
    return n > 0 ? n - 1 : 0;
}

void n_Init_TARQ(int32_t withDefaultPrecision) {
    TqLockGuard guard;
    if (gTq_Initialised) return;
    n_Trace("n_Init_TARQ  ...");
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    gTq_Initialised = 1;
    gTq_Opt_ReduceFractions = 1;
    gTq_Opt_Pow10_Precision = 6000;
    gTq_MaxThreads = maxThreadsFromEnvironment();
    gTq_RunningThreads = 0;
    n_Trace("Max. threads to start (nr of logical processors - 1): " + std::to_string(gTq_MaxThreads));
    n_Init_Constants();
    n_Init_PowersOf10Table();
    if (withDefaultPrecision && gTq_Prec_Bytes_Internal == 0) n_SetPrecision_Export(1, 38);
    n_Trace("n_Init_TARQ done ...");
}

static void startupTables() {
    if (sStartupDone) return;
    sStartupDone = 1;
    n_Store_Create();
    n_PrecisionSets_Create();
    n_SpecialTables_Fill();
}

static const char *const kBannerRule = "===========================================================";

static void loadLibrary() {
    tq_PlatformLockInit();
    startupTables();
    tq_ConsoleWriteLine(kBannerRule);
    tq_ConsoleWriteLine("================       T  A  R  Q       ===================");
    tq_ConsoleWriteLine(kBannerRule);
    tq_ConsoleWriteLine(" ");
    tq_ConsoleWriteLine("Arbitrary precision floating point and integer math library ");
    tq_ConsoleWriteLine(" ");
    tq_ConsoleWriteLine(kBannerRule);
}

static void unloadLibrary() {
    TqLockGuard guard;
    n_Cache_SaveAtUnload();
}

namespace {
struct TqLoader {
    TqLoader() { loadLibrary(); }
    ~TqLoader() { unloadLibrary(); }
};
TqLoader sLoader;
}  // namespace
