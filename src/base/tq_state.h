// Process-wide state of the library: working precision, thresholds, options,
// the global error word, the global lock and the diagnostics trace.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "tq_types.h"

// Marks a static object of the library that the load and unload steps
// (frame/init.cpp) or a host's own static objects use: it is made before every
// static object without such a mark and so destroyed after all of them. The
// order of translation units is the linker's (MinGW even runs them in reverse
// link order), so without the mark the unload step could find the file names
// and a host's destructor the variable store already destroyed.
#define TQ_MADE_FIRST __attribute__((init_priority(101)))

// Working precision (bytes, a multiple of 4; 0 before the first setting).
extern int32_t gTq_Prec_Bytes_Internal;
extern int32_t gTq_Prec_Digits_Internal;
extern TqStr gTq_Prec_Pow10;  // 10^gTq_Prec_Digits_Internal, empty until n_Prec_Pow10 forms it

// Multiplication and squaring crossovers, in bytes of one operand. They are 0
// at load and given their values by the start-up calibration.
extern int32_t gTq_Threshold_Mul_Karatsuba2Way;
extern int32_t gTq_Threshold_Mul_Karatsuba3Way;
extern int32_t gTq_Threshold_Mul_Karatsuba2Way_V5;
extern int32_t gTq_Threshold_Square_Comba;
extern int32_t gTq_Threshold_Square_Karatsuba;
// The crossovers above Karatsuba (bytes of the shorter operand): Toom-3 and
// the number-theoretic transform. Fixed values measured on the development
// machine (bench_mul and CPU-time runs of the kernels alone), not
// calibrated at start-up (the transform's crossover varies little between
// machines and measuring it would cost more than the start-up allows).
extern int32_t gTq_Threshold_Mul_Toom3;
extern int32_t gTq_Threshold_Mul_Ntt;
extern int32_t gTq_Threshold_Square_Toom3;
extern int32_t gTq_Threshold_Square_Ntt;

// Division, modular-power and decimal-expansion crossovers (in 32-bit words),
// and the limb width of their inner loops: 1 processes two words at a time
// with 128-bit products where the compiler offers them, 0 keeps the portable
// one-word loops (the results are the same; tests run both).
extern int32_t gTq_Threshold_Div_DC;
extern int32_t gTq_Threshold_Mant2Dec_Base;
// Smallest divisor and quotient (in 32-bit words) for which the decimal cut
// divides through a cached reciprocal of the power of ten.
extern int32_t gTq_Threshold_CutRecip;
extern int32_t gTq_Kernel_Limb64;
// 1 lets the float addition, multiplication and division take their
// short-operand paths (stack arrays, arith/small_float.cpp); 0 keeps the
// general ones (the results are the same; tests run both).
extern int32_t gTq_SmallFloat;

// Options.
extern int32_t gTq_Opt_Pow10_Precision;   // bytes
extern int32_t gTq_Opt_ReduceFractions;   // option 6
extern int32_t gTq_Opt_DefaultFormat;     // option 7
extern int32_t gTq_Opt_DefaultDigits;     // option 8
extern int32_t gTq_Opt_DiskCache;         // option 9 succeeded
extern std::string gTq_Cache_FileN_Constants;
extern std::string gTq_Cache_FileN_Tables;
extern std::vector<TqStr> gTq_SmallPrimes;  // option 1; 1-based, entry 0 unused
extern int32_t gTq_SmallPrimes_Count;       // -1 while never built

// Threads of the threaded multiplication.
extern int32_t gTq_MaxThreads;
extern std::atomic<int32_t> gTq_RunningThreads;
extern int32_t gTq_Karatsuba_Depth;  // recursion depth, for diagnostic indentation only

// Lazy initialisation flag.
extern int32_t gTq_Initialised;

// Special-value combination tables, indexed [a.Special][b.Special].
extern int32_t gTq_SpecialTable_Add[4][4];
extern int32_t gTq_SpecialTable_Mul[4][4];
extern int32_t gTq_SpecialTable_Div[4][4];

// Global error word: failures OR their bits into it.
extern std::atomic<uint32_t> gTq_ErrorWord;
inline int32_t tq_RaiseErr(int32_t bits) {
    gTq_ErrorWord.fetch_or(static_cast<uint32_t>(bits));
    return bits;
}

// Diagnostics trace. Lines are discarded unless a sink is installed (tests
// install one to observe the library's diagnostic lines).
typedef void (*tq_TraceSink)(const std::string &line);
void n_Trace(const std::string &line);
// A fixed line: no string is built (nothing allocated) while no sink listens,
// so a trace after a result is stored cannot fail the call.
void n_Trace(const char *line);
void tq_SetTraceSink(tq_TraceSink sink);
// True while a sink is installed: lines that are costly to build (numbers as
// text) are only built then.
bool n_TraceOn();

// Pause used by the two internal consistency warnings (5000 ms). Tests may
// shorten it.
void tq_WarningPause();
extern int32_t gTq_WarningPauseMs;

// The global re-entrant lock.
void tq_Lock();
void tq_Unlock();
struct TqLockGuard {
    TqLockGuard() { tq_Lock(); }
    ~TqLockGuard() { tq_Unlock(); }
    TqLockGuard(const TqLockGuard &) = delete;
    TqLockGuard &operator=(const TqLockGuard &) = delete;
};

// Lazy initialisation; withDefaultPrecision 0 skips the 38-digit default
// (used when the first call is itself a precision change).
void n_Init_TARQ(int32_t withDefaultPrecision = 1);
inline void tq_EnsureInit() {
    if (!gTq_Initialised) n_Init_TARQ();
}
