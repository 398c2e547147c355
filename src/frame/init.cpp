// The load and unload sequence and the lazy initialisation. The load step runs
// from a static object at library load, after the constant-initialised state
// of base/state.cpp exists.
#include <cmath>
#include <cstdlib>
#include <ctime>

#include "base/platform.h"
#include "base/tq_state.h"
#include "frame/cache.h"
#include "frame/store.h"
#include "kernels/calibrate.h"
#include "numbers/pow10.h"
#include "numbers/precision.h"
#include "numbers/special.h"

static int32_t sStartupDone = 0;

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
    // A tables file read before the initialisation (cache directory set
    // first) and finer than the start-up table is cut in memory and written
    // back at the table's size: otherwise every later start reads and hashes
    // it whole, while its entries beyond the table are built on demand.
    const bool finerFile = n_Pow10_TablePrecision() > gTq_Opt_Pow10_Precision;
    n_Init_PowersOf10Table();
    if (finerFile && gTq_Opt_DiskCache) (void)n_Cache_Save(2, 0);  // a file left as it was only costs time
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

// The powers-of-ten table reads and writes its part of the cache files here.
static int32_t readTablesFile() { return n_Cache_Read(2); }
static void saveTablesFile() { n_Cache_Save(2, 0); }

static void loadLibrary() {
    tq_PlatformLockInit();
    n_Pow10_SetDiskCache(readTablesFile, saveTablesFile);
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
