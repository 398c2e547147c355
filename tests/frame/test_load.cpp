// Load-time behaviour: the banner, the maximum worker threads, dynamic
// strings and concurrent use of the lock; and a host's static
// variable released at exit, after main (under the sanitizers a store already
// destroyed by then is a use after free).
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "fresh.h"
#include "frame/dstr.h"
#include "base/platform.h"
#include "base/tq_state.h"
#include "tarq.h"

// The worker count the initialisation takes from NUMBER_OF_PROCESSORS.
TEST(FreshProcess, MaxThreads) {
    TQ_FRESH_ONLY();
    TQ_GETPRECISION(1);
    EXPECT_EQ(gTq_MaxThreads, std::atoi(std::getenv("TARQ_TEST_WANT")));
}
TEST(FreshProcess, SetPrecisionFirstSkipsTheDefault) {
    TQ_FRESH_ONLY();
    EXPECT_EQ(TQ_SETPRECISION(1, 1000), 1001);
    EXPECT_EQ(gTq_Initialised, 1);
    EXPECT_EQ(TQ_GETPRECISION(1), 1001);
}

namespace {
struct HeldUntilExit {
    int32_t h = -1;
    ~HeldUntilExit() {
        if (h >= 0) TQ_UNALLOCVAR(h);
    }
} sHeldUntilExit;  // made before the library's own static objects here
}  // namespace

TEST(Load, VariableReleasedAfterMain) {
    sHeldUntilExit.h = TQ_ALLOCVAR(3);
    ASSERT_GE(sHeldUntilExit.h, 0);
}

TEST(Load, MaxThreadsFromTheEnvironment) {
    for (const auto &[env, want] : std::vector<std::pair<std::string, std::string>>{
             {"NUMBER_OF_PROCESSORS=8", "7"}, {"NUMBER_OF_PROCESSORS=1", "0"},
             {"NUMBER_OF_PROCESSORS", "0"}, {"NUMBER_OF_PROCESSORS=3.6", "3"}})
        EXPECT_TRUE(tq_RunFresh("MaxThreads", {env, "TARQ_TEST_WANT=" + want})) << env;
    EXPECT_TRUE(tq_RunFresh("SetPrecisionFirstSkipsTheDefault"));
}

TEST(Load, BannerOnlyWhenAskedFor) {
    unsetenv("TARQ_CONSOLE");
    testing::internal::CaptureStderr();
    tq_ConsoleWriteLine("quiet");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    setenv("TARQ_CONSOLE", "1", 1);
    testing::internal::CaptureStderr();
    tq_ConsoleWriteLine(std::string(300, 'x'));
    tq_ConsoleWriteLine("$CON:CLOSE");
    std::string out = testing::internal::GetCapturedStderr();
    unsetenv("TARQ_CONSOLE");
    EXPECT_EQ(out, std::string(255, 'x') + "\n") << "lines are cut at 255 characters";
}

TEST(DynamicStrings, MakeMeasureFree) {
    tq_dstr s = TQ_DS_NEW("a\0b", 3);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(TQ_DS_LEN(s), 3);
    EXPECT_EQ(tq_DS_Read(s), std::string("a\0b", 3));
    EXPECT_EQ(s[3], '\0') << "a zero byte follows the text";
    tq_DS_Assign(&s, "longer text");
    EXPECT_EQ(tq_DS_Read(s), "longer text");
    TQ_DS_FREE(s);
    TQ_DS_FREE(nullptr);
    EXPECT_EQ(TQ_DS_LEN(nullptr), 0);
    EXPECT_EQ(TQ_DS_NEW(nullptr, -4), nullptr);
    tq_dstr e = TQ_DS_NEW(nullptr, 0);
    EXPECT_EQ(TQ_DS_LEN(e), 0);
    TQ_DS_FREE(e);
}

TEST(Lock, ExportsFromSeveralThreads) {
    TQ_GETGLOBALERROR();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 500; ++i) {
                int32_t h = TQ_ALLOCVAR(TQ_KIND_BIGINT);
                TQ_GETCONST(20, h);
                TQ_UNALLOCVAR(-1);
                TQ_UNALLOCVAR(h);
            }
        });
    for (auto &t : threads) t.join();
    EXPECT_EQ(TQ_GETGLOBALERROR(), 16) << "a failure in one thread is seen from another";
}
