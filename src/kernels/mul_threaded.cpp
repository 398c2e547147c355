// Threaded Karatsuba multiplication on operands of unequal lengths. Each level
// splits at the middle of the longer operand (rounded down to whole limbs),
// works on the effective (significant) length of every half, and either
// splits both operands (three products: low, high and the middle product of
// the absolute half differences) or, when the shorter operand does not reach
// the split, only the longer one (two products: A0 x B and |A0 - A1| x B,
// from which A1 x B follows). Up to two of a level's products go to new
// worker threads while the shared running count is below the maximum; the
// calling thread always computes the low product and joins its own workers
// before it combines the results. A worker that cannot be created is replaced
// by a direct call, and the running count is given back.
#include "mul_threaded.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "base/platform.h"
#include "base/tq_state.h"
#include "kernels/addsub.h"
#include "kernels/mul.h"

std::atomic<int32_t> gTq_Debug_TotalThreadsCreated{0};
int32_t gTq_Debug_FailThreadStart = 0;
int32_t gTq_Threshold_Mul_ThreadMin = 2048;

namespace {

// The five fields of one worker's product.
struct WorkRecord {
    const uint8_t *A;
    int32_t LenA;
    const uint8_t *B;
    int32_t LenB;
    uint8_t *R;
};

// The depth counter is shared with the single-threaded Karatsuba code; here
// several threads move it, so every update is atomic.
void depthAdd(int32_t d) { std::atomic_ref<int32_t>(gTq_Karatsuba_Depth).fetch_add(d, std::memory_order_relaxed); }

// The threshold below which both operands go to the schoolbook kernel; never
// below one word, or the split would produce empty halves.
int32_t baseThreshold() {
    int32_t t = gTq_Threshold_Mul_Karatsuba2Way_V5;
    if (t < 4) t = gTq_Threshold_Mul_Karatsuba2Way;
    return t < 4 ? 4 : t;
}

// Length up to and including the highest non-zero word; 4 for all zeros.
int32_t effectiveLength(const uint8_t *p, int32_t len) {
    int32_t w = len / 4;
    while (w > 1) {
        uint32_t x;
        std::memcpy(&x, p + 4 * (w - 1), 4);
        if (x) break;
        --w;
    }
    return 4 * (w > 0 ? w : 1);
}

// Takes a slot in the running count when one is free (never past the maximum).
bool reserveWorker() {
    int32_t running = gTq_RunningThreads.load(std::memory_order_relaxed);
    while (running < gTq_MaxThreads) {
        if (gTq_RunningThreads.compare_exchange_weak(running, running + 1)) return true;
    }
    return false;
}

void workerMain(void *p) {
    gTq_Debug_TotalThreadsCreated.fetch_add(1);
    const WorkRecord *w = static_cast<const WorkRecord *>(p);
    h_Mul_Karatsuba2Way_V5_helper(w->A, w->LenA, w->B, w->LenB, w->R);
    gTq_RunningThreads.fetch_sub(1);
}

// The workers of one level: at most two, joined before the level combines.
struct LevelWorkers {
    WorkRecord Records[3];
    void *Handles[3];
    int32_t K = 0;

    void product(const uint8_t *a, int32_t la, const uint8_t *b, int32_t lb, uint8_t *r) {
        if (K < 2 && std::min(la, lb) >= gTq_Threshold_Mul_ThreadMin && reserveWorker()) {
            Records[K] = WorkRecord{a, la, b, lb, r};
            void *h = gTq_Debug_FailThreadStart ? nullptr
                                                : tq_ThreadStart(workerMain, &Records[K], tq_Thread_StackBytes);
            if (h) {
                Handles[K++] = h;
                return;
            }
            gTq_RunningThreads.fetch_sub(1);
        }
        h_Mul_Karatsuba2Way_V5_helper(a, la, b, lb, r);
    }
    void join() {
        if (K > 0 && !tq_ThreadJoinAll(Handles, K)) n_Trace("WaitForMultipleObjects FAILED ~!!!!!");
        K = 0;
    }
};

void baseCase(const uint8_t *A, int32_t lenA, const uint8_t *B, int32_t lenB, uint8_t *R) {
    if (lenA % 4) n_Trace("h_Mul_Karatsuba2Way_helper: Error 2: (lLenh1 MOD lWordLength) <> 0" + std::to_string(lenA));
    if (lenB % 4) n_Trace("h_Mul_Karatsuba2Way_helper: Error 2: (lLenh2 MOD lWordLength) <> 0" + std::to_string(lenB));
    int32_t trim = 0;
    h_Mul_schoolbook_Ptr(A, lenA, B, lenB, trim, R);
}

// Both operands split at h (h < lenB <= lenA).
void balanced(const uint8_t *A, int32_t lenA, const uint8_t *B, int32_t lenB, uint8_t *R, int32_t h) {
    const uint8_t *A0 = A, *A1 = A + h, *B0 = B, *B1 = B + h;
    const int32_t lA0 = effectiveLength(A0, h), lA1 = effectiveLength(A1, lenA - h);
    const int32_t lB0 = effectiveLength(B0, h), lB1 = effectiveLength(B1, lenB - h);
    const int32_t mA = std::max(lA0, lA1), mB = std::max(lB0, lB1), s = mA + mB;
    const int32_t tz = std::max(lA0 + lB0, lA1 + lB1) + 4;
    const int32_t tl = std::max(tz - 4, s) + 4;
    // [0, s) middle product; [s, s + mB) |B0 - B1|; [s + mB, s + s) |A0 - A1|;
    // afterwards [s, s + tl) the sum T, with room for a carry word past it.
    TqStr scratch(static_cast<size_t>(tl + s), '\0');
    uint8_t *S = reinterpret_cast<uint8_t *>(scratch.data());
    LevelWorkers workers;
    const int32_t cA = h_Compare_Ptr(A0, lA0, A1, lA1);
    const int32_t cB = cA ? h_Compare_Ptr(B0, lB0, B1, lB1) : 0;
    uint8_t flag = 0;
    if (cA && cB) {
        if (cA < 0)
            h_Sub_Ptr1(A0, lA0, A1, lA1, S + s + mB, flag);
        else
            h_Sub_Ptr1(A1, lA1, A0, lA0, S + s + mB, flag);
        if (cB < 0)
            h_Sub_Ptr1(B0, lB0, B1, lB1, S + s, flag);
        else
            h_Sub_Ptr1(B1, lB1, B0, lB0, S + s, flag);
        workers.product(S + s, mB, S + s + mB, mA, S);
    }
    workers.product(A1, lA1, B1, lB1, R + 2 * h);
    h_Mul_Karatsuba2Way_V5_helper(A0, lA0, B0, lB0, R);
    workers.join();
    // T = z2 + z0; its carry word may still hold difference bytes.
    h_Add_Ptr1(R + 2 * h, lA1 + lB1, R, lA0 + lB0, S + s, flag);
    if (!flag) std::memset(S + s + tz - 4, 0, 4);
    const int32_t sign = cA * cB;
    if (sign < 0)
        h_Add_Ptr1(S + s, tz, S, s, S + s, flag);
    else if (sign > 0)
        h_Sub_Ptr1(S + s, tz, S, s, S + s, flag);
    const int32_t t = effectiveLength(S + s, tl);
    h_Add_Ptr1(R + h, lenA + lenB - h, S + s, t, R + h, flag);
}

// Only A split at h (lenB <= h): A x B = A0 x B + (A1 x B) 256^h, where
// A1 x B = A0 x B -/+ |A0 - A1| x B.
void longSplit(const uint8_t *A, int32_t lenA, const uint8_t *B, int32_t lenB, uint8_t *R, int32_t h) {
    const uint8_t *A0 = A, *A1 = A + h;
    const int32_t lA0 = effectiveLength(A0, h), lA1 = effectiveLength(A1, lenA - h);
    const int32_t lB0 = effectiveLength(B, lenB);
    const int32_t mA = std::max(lA0, lA1), s = lB0 + mA;
    const int32_t tl = std::max(lA0 + lB0, s) + 4;
    // [0, s) the product M; from s the difference D, later T.
    TqStr scratch(static_cast<size_t>(tl + s), '\0');
    uint8_t *S = reinterpret_cast<uint8_t *>(scratch.data());
    LevelWorkers workers;
    const int32_t c = h_Compare_Ptr(A1, lA1, A0, lA0);  // +1 when A1 < A0
    uint8_t flag = 0;
    if (c) {
        if (c > 0)
            h_Sub_Ptr1(A0, lA0, A1, lA1, S + s, flag);
        else
            h_Sub_Ptr1(A1, lA1, A0, lA0, S + s, flag);
        workers.product(S + s, mA, B, lB0, S);
    }
    h_Mul_Karatsuba2Way_V5_helper(A0, lA0, B, lB0, R);
    workers.join();
    flag = 0;
    if (c < 0)
        h_Add_Ptr1(R, lA0 + lB0, S, s, S + s, flag);
    else if (c == 0)
        std::memcpy(S + s, R, static_cast<size_t>(lA0 + lB0));
    else
        h_Sub_Ptr1(R, lA0 + lB0, S, s, S + s, flag);
    if (flag) n_Trace("CarryFlag <> 0");
    const int32_t t = effectiveLength(S + s, tl);
    h_Add_Ptr1(R + h, lenA + lenB - h, S + s, t, R + h, flag);
}

}  // namespace

void h_Mul_Karatsuba2Way_V5_helper(const uint8_t *A, int32_t lenA, const uint8_t *B, int32_t lenB, uint8_t *R) {
    depthAdd(1);
    const int32_t t5 = baseThreshold();
    if (lenA <= t5 && lenB <= t5) {
        baseCase(A, lenA, B, lenB, R);
    } else {
        if (lenB > lenA) {
            std::swap(A, B);
            std::swap(lenA, lenB);
        }
        // The split is rounded down to whole 64-bit limbs where that leaves a
        // half, so that the halves stay limb-aligned for the 64-bit loops;
        // lenA is at least two words here.
        int32_t h = (lenA / 2) & ~7;
        if (h == 0) h = 4;
        if (h < lenB)
            balanced(A, lenA, B, lenB, R, h);
        else
            longSplit(A, lenA, B, lenB, R, h);
    }
    depthAdd(-1);
}

void h_Mul_Karatsuba2Way_V5(TqStr A, TqStr B, int32_t &trim, TqStr &R) {
    const int32_t la = tq_Len(A), lb = tq_Len(B), t5 = baseThreshold();
    if (la <= t5 && lb <= t5) {
        int32_t one = 1;
        h_Mul_schoolbook(A, B, one, R);
        return;
    }
    TqStr r(static_cast<size_t>(la + lb), '\0');
    h_Mul_Karatsuba2Way_V5_helper(reinterpret_cast<const uint8_t *>(A.data()), la,
                                  reinterpret_cast<const uint8_t *>(B.data()), lb, reinterpret_cast<uint8_t *>(r.data()));
    if (trim) h_Trim(r);
    R = std::move(r);
}
