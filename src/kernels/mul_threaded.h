// The threaded Karatsuba multiplication (used by the benchmark export and the
// measurement of its threshold; the ordinary multiplication never starts
// threads).
#pragma once
#include <atomic>
#include <cstdint>

#include "base/tq_types.h"

// Workers started since the last reset (TQ_TEST2 resets and reports it).
extern std::atomic<int32_t> gTq_Debug_TotalThreadsCreated;

// Tests set it to make every thread creation fail (the sub-product is then
// computed on the calling thread).
extern int32_t gTq_Debug_FailThreadStart;

// A sub-product whose shorter operand is below this many bytes is computed on
// the calling thread: starting a thread costs more than such a product saves.
extern int32_t gTq_Threshold_Mul_ThreadMin;

// Stack of every worker thread.
constexpr uint32_t tq_Thread_StackBytes = 1048576;

// R = A x B, trimmed when trim is non-zero. Operands of any lengths (multiples
// of 4); both at most gTq_Threshold_Mul_Karatsuba2Way_V5 bytes go to the
// schoolbook kernel (trimmed). Otherwise the untrimmed result has la + lb
// bytes. Up to two sub-products per level go to worker threads while the
// running count gTq_RunningThreads is below gTq_MaxThreads.
void h_Mul_Karatsuba2Way_V5(TqStr A, TqStr B, int32_t &trim, TqStr &R);
// Writes the lenA + lenB bytes of A x B at R. R overlaps neither operand and
// is zero beyond what the call writes.
void h_Mul_Karatsuba2Way_V5_helper(const uint8_t *A, int32_t lenA, const uint8_t *B, int32_t lenB, uint8_t *R);
