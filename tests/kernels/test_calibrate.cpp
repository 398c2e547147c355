// Threshold calibration: the decision rules on synthetic times (patience,
// ties, the reference bound, wins counted over the whole run, defaults), the
// measured thresholds of a fresh initialisation within their candidate sets,
// the progress lines, and the semantics of options 3 and 4.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "kernel_harness.h"
#include "fresh.h"
#include "kernels/calibrate.h"
#include "kernels/mul.h"
#include "tarq.h"

namespace {

bool inSeries(int32_t v, int32_t from, int32_t to, int32_t step, int32_t fallback) {
    return v == fallback || (v >= from && v <= to && (v - from) % step == 0);
}

// Runs the multiplication rule on times given per candidate (missing: 5000).
struct MulRun {
    int32_t result;
    std::vector<int32_t> tried;
    std::vector<int32_t> best;
};
MulRun pickMul(uint64_t reference, std::map<int32_t, uint64_t> times) {
    MulRun run{};
    const TqMulPick pick{8, 1000, 24, 99999999999999ull, 10, 300};
    run.result = tq_PickMulThreshold(
        pick, reference,
        [&](int32_t t) {
            run.tried.push_back(t);
            return times.count(t) ? times[t] : uint64_t(5000);
        },
        [&](int32_t t, uint64_t, bool b) {
            if (b) run.best.push_back(t);
        });
    return run;
}

}  // namespace

// The multiplication rule: a best must also beat the reference; ten misses
// after the last best end the search (none without a best: all 42
// candidates); ties are neither best nor miss; never beating the reference
// gives 300.
TEST(CalibrationRules, MulPicks) {
    std::map<int32_t, uint64_t> ties;
    for (int32_t t = 8; t <= 1000; t += 24) ties[t] = 600;  // all equal to the first
    ties[8 + 24 * 30] = 550;                                 // a late improvement
    struct Case {
        uint64_t reference;
        std::map<int32_t, uint64_t> times;
        int32_t result;
        std::vector<int32_t> best;
        size_t tried;  // 0: not checked
    } cases[] = {
        {400, {}, 300, {}, 42},
        {1000, {{8, 900}, {32, 700}, {56, 600}}, 56, {8, 32, 56}, 3 + 10},  // 80 .. 296 missed
        {1000, ties, 8 + 24 * 30, {8, 8 + 24 * 30}, 0},
        {550, {{8, 600}, {32, 580}, {56, 540}}, 56, {56}, 0},
    };
    for (const Case &c : cases) {
        const MulRun run = pickMul(c.reference, c.times);
        EXPECT_EQ(run.result, c.result) << c.reference;
        EXPECT_EQ(run.best, c.best) << c.reference;
        if (c.tried) {
            EXPECT_EQ(run.tried.size(), c.tried) << c.reference;
        }
    }
}

TEST(CalibrationRules, WinsAreCountedOverTheWholeRun) {
    // Comba rule: the sixth win decides, wins need not be consecutive.
    const TqWinsPick comba{4, 6000, 12, 5, 500};
    std::vector<int32_t> reported;
    auto times = [](int32_t n) {
        const bool win = n <= 4 + 12 * 4 || n == 4 + 12 * 40;  // five early wins, one late
        return std::make_pair(uint64_t(win ? 10 : 20), uint64_t(15));
    };
    int32_t r = tq_PickByWins(comba, times, [&](int32_t n, uint64_t, uint64_t, bool, bool) { reported.push_back(n); });
    EXPECT_EQ(r, 4 + 12 * 40);
    EXPECT_EQ(reported.back(), 4 + 12 * 40);
    // A tie is a win for the new kernel.
    r = tq_PickByWins(comba, [](int32_t) { return std::make_pair(uint64_t(7), uint64_t(7)); },
                      [](int32_t, uint64_t, uint64_t, bool, bool) {});
    EXPECT_EQ(r, 4 + 12 * 5);
    // Karatsuba squaring: the ninth win; never enough wins gives 500.
    const TqWinsPick kara{12, 2000, 24, 8, 500};
    r = tq_PickByWins(kara, [](int32_t) { return std::make_pair(uint64_t(1), uint64_t(2)); },
                      [](int32_t, uint64_t, uint64_t, bool, bool) {});
    EXPECT_EQ(r, 12 + 24 * 8);
    r = tq_PickByWins(kara, [](int32_t t) { return std::make_pair(uint64_t(t < 100 ? 1 : 3), uint64_t(2)); },
                      [](int32_t, uint64_t, uint64_t, bool, bool) {});
    EXPECT_EQ(r, 500);
}

// A fresh initialisation measures all three thresholds.
TEST(FreshProcess, CalibratedThresholds) {
    TQ_FRESH_ONLY();
    TraceCollector trace;
    ASSERT_EQ(TQ_GETPRECISION(1), 38);
    EXPECT_TRUE(inSeries(gTq_Threshold_Mul_Karatsuba2Way, 8, 1000, 24, 300)) << gTq_Threshold_Mul_Karatsuba2Way;
    EXPECT_TRUE(inSeries(gTq_Threshold_Square_Comba, 4, 6000, 12, 500)) << gTq_Threshold_Square_Comba;
    EXPECT_TRUE(inSeries(gTq_Threshold_Square_Karatsuba, 12, 2000, 24, 500)) << gTq_Threshold_Square_Karatsuba;
    EXPECT_EQ(gTq_Threshold_Mul_Karatsuba3Way, gTq_Threshold_Mul_Karatsuba2Way);
    EXPECT_EQ(TQ_GETOPTION(3), gTq_Threshold_Mul_Karatsuba2Way);
    EXPECT_EQ(TQ_GETOPTION(4), gTq_Threshold_Square_Karatsuba);
    // The multiplication benchmark runs loud, the squaring benchmarks quiet.
    auto has = [](const std::string &s) { return TraceCollector::has(s, true); };
    EXPECT_TRUE(has("Calculating the Karatsuba en Comba threshold values from scratch"));
    EXPECT_TRUE(has("j:2300"));
    EXPECT_TRUE(has("9 ->10000 *20000"));
    EXPECT_TRUE(has("Threshold:8 ;"));
    EXPECT_TRUE(has("--> Karatsuba threshold should be at least:" + std::to_string(gTq_Threshold_Mul_Karatsuba2Way)));
    EXPECT_FALSE(has("--> Comba threshold should be at least:"));
    EXPECT_TRUE(has("gTq_Threshold_Mul_Karatsuba3Way:"));
}

// Option 3 before the initialisation: the multiplication threshold is kept,
// and the squaring thresholds are still measured (0 would break squaring).
TEST(FreshProcess, OptionThreeBeforeInitialisation) {
    TQ_FRESH_ONLY();
    EXPECT_EQ(TQ_SETOPTION(3, 256), 0);
    ASSERT_EQ(TQ_GETPRECISION(1), 38);
    EXPECT_EQ(gTq_Threshold_Mul_Karatsuba2Way, 256);
    EXPECT_TRUE(inSeries(gTq_Threshold_Square_Comba, 4, 6000, 12, 500));
    EXPECT_TRUE(inSeries(gTq_Threshold_Square_Karatsuba, 12, 2000, 24, 500));
    TqStr r;
    h_Square(TqStr(4000, '\xFF'), r);
    Mpz a(TqStr(4000, '\xFF')), want, got(r);
    mpz_mul(want, a, a);
    EXPECT_EQ(mpz_cmp(want, got), 0);
}

TEST(FreshDriver, CalibrationProcesses) {
    EXPECT_TRUE(tq_RunFresh("CalibratedThresholds"));
    EXPECT_TRUE(tq_RunFresh("OptionThreeBeforeInitialisation"));
}

TEST(CalibrationOptions, ThreeAndFour) {
    tq_EnsureInit();
    KernelSettingsGuard guard;
    EXPECT_EQ(TQ_SETOPTION(3, 123), 0);
    EXPECT_EQ(TQ_GETOPTION(3), 123);
    EXPECT_EQ(TQ_SETOPTION(3, 2), 0);  // below one word: raised
    EXPECT_EQ(TQ_GETOPTION(3), 4);
    EXPECT_EQ(TQ_SETOPTION(3, -50), 0);
    EXPECT_EQ(TQ_GETOPTION(3), 4);
    EXPECT_EQ(TQ_SETOPTION(3, 0), 0);  // measured
    EXPECT_TRUE(inSeries(TQ_GETOPTION(3), 8, 1000, 24, 300));
    // Option 4 re-measures the Comba threshold even with a value given.
    gTq_Threshold_Square_Comba = 9999;
    EXPECT_EQ(TQ_SETOPTION(4, 640), 0);
    EXPECT_EQ(TQ_GETOPTION(4), 640);
    EXPECT_TRUE(inSeries(gTq_Threshold_Square_Comba, 4, 6000, 12, 500));
    EXPECT_EQ(TQ_SETOPTION(4, 0), 0);
    EXPECT_TRUE(inSeries(TQ_GETOPTION(4), 12, 2000, 24, 500));
    EXPECT_EQ(TQ_SETOPTION(4, 1), 0);
    EXPECT_EQ(TQ_GETOPTION(4), 4);
}
