// Test entry point. The consistency-warning pauses are shortened so that tests
// exercising them do not wait five seconds each, and the FreshProcess tests
// run only in the child processes that tq_RunFresh starts for them.
#include <gtest/gtest.h>

#include <cstdlib>

#include "base/tq_state.h"

int main(int argc, char **argv) {
    gTq_WarningPauseMs = 1;
    ::testing::InitGoogleTest(&argc, argv);
    if (!std::getenv("TARQ_FRESH_CHILD")) {
        std::string filter = ::testing::GTEST_FLAG(filter);
        filter += filter.find('-') == std::string::npos ? "-FreshProcess.*" : ":FreshProcess.*";
        ::testing::GTEST_FLAG(filter) = filter;
    }
    return RUN_ALL_TESTS();
}
