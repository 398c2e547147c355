// The benchmark exports: TQ_TEST does nothing; TQ_TEST2 with a run time of 0
// makes exactly one pass without errors, measures the threaded threshold
// within its candidates, reports its lines and leaves the last second operand
// in the caller's string; a length of 0 multiplies the one word 1.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "kernel_harness.h"
#include "frame/dstr.h"
#include "exports/bench_exports.h"
#include "kernels/mul_threaded.h"
#include "tarq.h"

namespace {

std::string lineStarting(const std::string &prefix) {
    for (const auto &l : TraceCollector::lines())
        if (l.rfind(prefix, 0) == 0) return l.substr(prefix.size());
    return "<missing>";
}

}  // namespace

TEST(BenchExports, TestDoesNothing) {
    EXPECT_EQ(TQ_TEST(0), 0);
    EXPECT_EQ(TQ_TEST(-12345), 0);
}

TEST(BenchExports, Test2WithRunTimeZero) {
    tq_EnsureInit();
    SetGlobal threads(gTq_MaxThreads, 1);
    // No terminal: the answers come from the environment.
    ASSERT_NE(std::freopen("/dev/null", "r", stdin), nullptr);
    setenv("TARQ_TEST2_MINUTES", "0", 1);
    setenv("TARQ_TEST2_LENGTH", "1202", 1);  // rounded down to 1200 bytes
    tq_dstr operand = tq_DS_Make("old");
    {
        TraceCollector trace;
        EXPECT_EQ(TQ_TEST2(0, &operand, 0), 0);
        EXPECT_EQ(lineStarting(">>>> Errors :"), "0");
        EXPECT_EQ(lineStarting("Loops done                  :"), "1");
        EXPECT_NE(lineStarting("Kara2   : gTq_Tix4Sum/gTq_Tix5Sum     : "), "<missing>");
        EXPECT_NE(lineStarting("gTq_Debug_TotalThreadsCreated in one function call! :"), "<missing>");
        EXPECT_NE(lineStarting("here ....."), "<missing>");
        const int32_t t5 = gTq_Threshold_Mul_Karatsuba2Way_V5;
        EXPECT_TRUE(t5 == 300 || (t5 >= 48 && t5 <= 1000 && (t5 - 48) % 32 == 0)) << t5;
        EXPECT_EQ(lineStarting("gTq_Threshold_Mul_Karatsuba2Way_V5:"), std::to_string(t5));
    }
    const std::string last = tq_DS_Read(operand);
    EXPECT_TRUE(tq_IsTrimmed(last));
    EXPECT_LE(last.size(), 2400u);
    EXPECT_GE(last.size(), 800u);  // 300..600 words, at most a few top zeros lost
    TQ_DS_FREE(operand);
    unsetenv("TARQ_TEST2_MINUTES");
    unsetenv("TARQ_TEST2_LENGTH");
}

TEST(BenchExports, RaceWithLengthZeroMultipliesOnes) {
    tq_EnsureInit();
    TraceCollector trace;
    TqStr lastB;
    EXPECT_EQ(n_Test2_Race(0, 0, lastB), 0);
    EXPECT_EQ(lastB, tq_Word(1));
    EXPECT_EQ(lineStarting("Loops done                  :"), "1");
}

// A short timed run makes several passes, all without errors, with workers.
TEST(BenchExports, RaceSeveralPassesWithWorkers) {
    tq_EnsureInit();
    SetGlobal threads(gTq_MaxThreads, 2), t5(gTq_Threshold_Mul_Karatsuba2Way_V5, 64), floor(gTq_Threshold_Mul_ThreadMin, 0);
    TraceCollector trace;
    TqStr lastB;
    EXPECT_EQ(n_Test2_Race(0.2 / 60, 3000, lastB), 0);
    EXPECT_GT(std::atoi(lineStarting("Loops done                  :").c_str()), 1);
}
