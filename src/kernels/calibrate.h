// The threshold benchmarks and the decision rules behind them. Every
// benchmark times the competing kernels on operands of all-0xFF words for a
// rising series of candidate thresholds and returns the chosen length in
// bytes; while it runs it leaves each candidate in the global it measures.
// A quiet flag of 0 passes the progress lines to the diagnostics trace.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

// Option 3: 0 measures gTq_Threshold_Mul_Karatsuba2Way, another value sets it.
void n_SetThreshold_Mul(int32_t value);
// Option 4: re-measures the Comba threshold; sets the Karatsuba squaring
// threshold to value, or measures it when value is 0.
void n_SetThreshold_Square(int32_t value);
// Start-up step: measures (or restores) the multiplication and squaring
// thresholds; runs only while gTq_Threshold_Mul_Karatsuba2Way is 0.
void n_Init_Constants();
// A threshold that the kernels can work with (a multiplication or squaring
// crossover in bytes): at least one word, and not absurdly large.
bool tq_ThresholdSane(int32_t t);

int32_t h_Calibrate_Mul_Karatsuba2Way(int32_t &quiet);
int32_t h_Calibrate_Mul_Karatsuba2Way_V5(int32_t &quiet);
int32_t h_Calibrate_Square_Comba(int32_t &quiet);
int32_t h_Calibrate_Square_Karatsuba(int32_t &quiet);

// The rule of the multiplication benchmarks: candidates From, From + Step, ...
// up to To. A candidate whose time is below both the best so far and the
// reference becomes the best (misses reset); one above the best counts a
// miss, and Patience misses end the search. Default when none qualifies.
struct TqMulPick {
    int32_t From, To, Step;
    uint64_t BestInit;
    int32_t Patience;
    int32_t Default;
};
typedef std::function<uint64_t(int32_t candidate)> tq_TimeOf;
// report(candidate, time, became best) for every candidate tried.
typedef std::function<void(int32_t, uint64_t, bool)> tq_MulReport;
int32_t tq_PickMulThreshold(const TqMulPick &p, uint64_t reference, const tq_TimeOf &timeOf,
                            const tq_MulReport &report);

// The rule of the squaring benchmarks: for each candidate the new kernel's
// time and the reference time; the new kernel wins a candidate when it is not
// slower, and the candidate of the win that takes the count above WinsAbove
// is the result (wins are counted over the whole run). Default otherwise.
struct TqWinsPick {
    int32_t From, To, Step;
    int32_t WinsAbove;
    int32_t Default;
};
typedef std::function<std::pair<uint64_t, uint64_t>(int32_t candidate)> tq_TimePair;  // (new, reference)
// report(candidate, new time, reference time, won, decided)
typedef std::function<void(int32_t, uint64_t, uint64_t, bool, bool)> tq_WinsReport;
int32_t tq_PickByWins(const TqWinsPick &p, const tq_TimePair &times, const tq_WinsReport &report);
